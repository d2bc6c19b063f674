#include "commands/installer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cad/host_fixture.h"
#include "cad/names.h"

namespace navisaz {
namespace {

namespace fs = std::filesystem;

class Installer : public testing::HostFixture {
  protected:
    void SetUp() override {
        StartHost();
        root = fs::temp_directory_path() / ("navisaz-install-" + std::to_string(::getpid()));
        fs::remove_all(root);
        for (const char* folder : {"Fonts", "IPT", "Shapes", "LineTypes", "Lisps"}) {
            fs::create_directories(root / "install" / "CADSupport" / folder);
        }
        fs::create_directories(root / "support");
        fs::create_directories(root / "windows" / "Fonts");
        Write("Fonts/naskhd.shx", "font");
        Write("IPT/IBadr.ttf", "ipt one");
        Write("IPT/IZar.ttf", "ipt two");
        Write("Shapes/symbols.shx", "shapes");
        Write("LineTypes/ncc.lin", "*FENCE,Fence\nA,.5,-.25\n");
        Write("LineTypes/readme.txt", "no line types here");
        Write("Lisps/abc.lsp", "(defun c:abc () (princ))\n");
        Write("Lisps/x\") (command \"erase\" \"all\") (princ \".lsp", "(princ)\n");
        platform.settings[{u"Navisaz", u"RUNPATH"}] = Widen((root / "install").string() + "/");
        platform.windowsFolder = Widen((root / "windows").string());
        host->supportFolders = {Widen((root / "support").string())};
    }
    void TearDown() override { fs::remove_all(root); }
    void Write(const std::string& relative, const std::string& contents) {
        std::ofstream(root / "install" / "CADSupport" / relative, std::ios::binary) << contents;
    }
    std::string Read(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    void Click(void (*handler)(const CommandContext&)) {
        const CommandContext context{controls, platform, hosts};
        RunGuarded(platform, [&] { handler(context); });
    }
    fs::path root;
    MemoryControls controls;
};

TEST_F(Installer, CopiesLoadsAndOverwrites) {
    Click(Button4Click);
    ASSERT_TRUE(platform.errors.empty()) << Narrow(platform.errors.front());
    const fs::path support = root / "support";
    for (const char* file : {"naskhd.shx", "IBadr.ttf", "IZar.ttf", "symbols.shx", "ncc.lin",
                             "readme.txt", "abc.lsp"}) {
        EXPECT_TRUE(fs::exists(support / file)) << file;
    }
    EXPECT_EQ(Read(root / "windows" / "Fonts" / "IZar.ttf"), "ipt two");
    EXPECT_EQ(drawing().Variable(u"SHPNAME").ToString(), (support / "symbols.shx").u16string());
    EXPECT_NE(drawing().FindLinetype(u"FENCE"), nullptr);  // the text file's load failed quietly
    const std::vector<std::u16string> expected = {u"(Load \"abc.lsp\")\r", LoadAllLinetypesCommand,
                                                  u"re "};
    EXPECT_EQ(std::vector<std::u16string>(host->commandLog.end() - 3, host->commandLog.end()),
              expected);
    EXPECT_TRUE(host->lispCommands.contains(u"ABC"));
    // The file whose name would have broken out of the load expression is not loaded.
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].starts_with(UnsafeLispNameMessage));
    for (const std::u16string& sent : host->commandLog) {
        EXPECT_EQ(sent.find(u"erase"), std::u16string::npos);
    }
    EXPECT_FALSE(host->Busy());

    // A second run overwrites the copies.
    std::ofstream(support / "naskhd.shx") << "changed";
    Click(Button4Click);
    EXPECT_EQ(Read(support / "naskhd.shx"), "font");
}

TEST_F(Installer, NothingIsCopiedWithoutAHost) {
    hosts.Clear();
    Click(Button4Click);
    EXPECT_TRUE(fs::is_empty(root / "support"));
    EXPECT_EQ(platform.messages.front(), HostNotFoundMessage);
}

TEST(LispLoadCommand, RefusesNamesThatCouldChangeTheExpression) {
    EXPECT_EQ(LispLoadCommand(u"kateb.lsp"), u"(Load \"kateb.lsp\")\r");
    for (const char16_t* bad :
         {u"a\".lsp", u"a\\b.lsp", u"a(.lsp", u"a).lsp", u"a\r.lsp", u"a\x1b.lsp"}) {
        EXPECT_FALSE(LispLoadCommand(bad).has_value()) << Narrow(bad);
    }
}

TEST_F(Installer, TheIptFontInstallerIsOpenedInTheInstallFolder) {
    Click(Button19Click);
    ASSERT_EQ(platform.opened.size(), 1u);
    EXPECT_EQ(platform.opened[0], Widen((root / "install" / "InstalIPTFonts.exe").string()));
    EXPECT_TRUE(host->commandLog.empty());
}

}  // namespace
}  // namespace navisaz
