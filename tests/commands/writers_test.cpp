#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>
#include "cad/host_fixture.h"
#include "cad/names.h"
#include "commands/writers.h"
#include "engine/ipt_encoder.h"
#include "engine/naskh_encoder.h"
#include "engine/number_words.h"
#include "support/number_parse.h"
#include "text_helpers.h"

namespace navisaz {
namespace {

namespace fs = std::filesystem;

class Writers : public testing::HostFixture {
  protected:
    void SetUp() override { StartHost(); }
    void Click(void (*handler)(const CommandContext&)) {
        const CommandContext context{controls, platform, hosts};
        RunGuarded(platform, [&] { handler(context); });
    }
    std::u16string Glyphs(std::string (*encode)(std::string_view), const char* persian) {
        return WidenBytes(CodePage::Windows1256, encode(testing::Cp1256(persian)));
    }
    MemoryControls controls;
};

std::string Naskh(std::string_view text) {
    return WindowsToNaskh(text);
}
std::string Ipt(std::string_view text) {
    return WindowsToIpt(text);
}

TEST_F(Writers, NaskhWriterWritesEachLineOnePitchLower) {
    struct Case {
        const char* name;
        bool modelSpace;
        char16_t separator;
        const char16_t* height;
        double pitch;
    };
    const Case cases[] = {
        {"model space", true, u'.', u"2.5", 3.75},
        {"paper space", false, u'.', u"2.5", 3.75},
        {"comma separator", true, u',', u"2,5", 3.75},
        {"height one", true, u'.', u"1", 1.5},
    };
    for (const Case& c : cases) {
        drawing().modelSpace.clear();
        drawing().paperSpace.clear();
        drawing().modelSpaceActive = c.modelSpace;
        platform.decimalSeparator = c.separator;
        controls.SetText(Control::Memo1, u"سلام\r\n\r\nکتاب ۱۲");
        controls.SetText(Control::ETextHt, c.height);
        user->QueuePoint(100, 200, 5);
        Click(Button3Click);
        EXPECT_TRUE(platform.errors.empty()) << c.name;
        const auto& space = c.modelSpace ? drawing().modelSpace : drawing().paperSpace;
        ASSERT_EQ(space.size(), 2u) << c.name;
        EXPECT_EQ(space[0]->text, Glyphs(Naskh, "سلام")) << c.name;
        EXPECT_EQ(space[1]->text, Glyphs(Naskh, "کتاب 12")) << c.name;
        EXPECT_EQ(space[0]->insertion, (Point3{100, 200, 0})) << c.name;
        EXPECT_EQ(space[1]->insertion, (Point3{100, 200 - 2 * c.pitch, 0})) << c.name;
        for (const auto& text : space) {
            EXPECT_EQ(text->style, u"farsi");
            EXPECT_EQ(text->height, 2 * c.pitch / 3);
        }
    }
    // The point was asked with the prompt first: no rubber band.
    EXPECT_EQ(user->pickBases.back(), std::nullopt);
    EXPECT_EQ(host->history.back(), PointPrompt);
}

TEST_F(Writers, NaskhWriterFailures) {
    // An empty memo still asks for the point and writes nothing.
    user->QueuePoint(0, 0);
    Click(Button3Click);
    EXPECT_EQ(user->pickBases.size(), 1u);
    EXPECT_TRUE(drawing().modelSpace.empty());

    // A height that is not a number stops before the prompt.
    controls.SetText(Control::Memo1, u"سلام");
    controls.SetText(Control::ETextHt, u"abc");
    Click(Button3Click);
    EXPECT_EQ(platform.errors,
              std::vector<std::u16string>{u"'abc' is not a valid floating point value"});
    EXPECT_EQ(user->pickBases.size(), 1u);

    // A cancelled pick ends the command with the host's message.
    controls.SetText(Control::ETextHt, u"1");
    user->QueueEscape();
    Click(Button3Click);
    EXPECT_EQ(platform.errors.size(), 2u);
    EXPECT_TRUE(drawing().modelSpace.empty());

    // No host: the adapter says so and nothing else happens.
    hosts.Clear();
    Click(Button3Click);
    EXPECT_EQ(platform.messages.front(), HostNotFoundMessage);
    EXPECT_EQ(platform.errors.size(), 2u);
}

TEST_F(Writers, IptWriterAlwaysWritesIntoModelSpace) {
    drawing().modelSpaceActive = false;
    controls.SetText(Control::Memo1, u"سلام\n\nبب");
    controls.SetText(Control::ETextHt, u"2");
    user->QueuePoint(10, 20);
    Click(Button8Click);
    ASSERT_EQ(drawing().modelSpace.size(), 2u);
    EXPECT_TRUE(drawing().paperSpace.empty());
    EXPECT_EQ(drawing().modelSpace[0]->text, Glyphs(Ipt, "سلام"));
    EXPECT_EQ(drawing().modelSpace[1]->insertion, (Point3{10, 14, 0}));
    EXPECT_EQ(drawing().modelSpace[1]->style, u"farsiIPT");
    EXPECT_EQ(drawing().FindTextStyle(u"farsiIPT")->fontFile, u"IBadr.ttf");
}

TEST_F(Writers, IptTextOfTheWholeMemoGoesToTheClipboard) {
    controls.SetText(Control::Memo1, u"سلام\nبب");
    Click(Button9Click);
    EXPECT_EQ(platform.clipboard,
              WidenBytes(CodePage::Windows1256,
                         WindowsToIpt(testing::Cp1256("سلام") + "\r\n" + testing::Cp1256("بب"))));
    EXPECT_TRUE(host->commandLog.empty());  // no connection to the host
}

TEST_F(Writers, NumberSpeller) {
    struct Case {
        const char16_t* typed;
        const char16_t* field;  // what Edit2 holds afterwards
        std::int64_t spelled;   // -1: the memo keeps its text
        std::u16string message;
    };
    const Case cases[] = {
        {u"1000", u"1000", 1000, u""},
        {u"1,000", u"1000", 1000, u""},
        {u"12 500", u"12500", 12500, u""},
        {u"-7", u"-7", -7, u""},
        {u"12a", u"12a", -1, u"12a يک عدد نميباشد"},
        {u"", u"", -1, u""},
        {u"99999999999999999999", u"99999999999999999999", -1,
         u"99999999999999999999 يک عدد نميباشد"},
    };
    for (const Case& c : cases) {
        controls.SetText(Control::Memo1, u"before");
        controls.SetText(Control::Edit2, c.typed);
        platform.messages.clear();
        Click(Edit2Change);
        EXPECT_EQ(controls.Text(Control::Edit2), c.field);
        EXPECT_EQ(controls.Text(Control::Memo1),
                  c.spelled == -1 ? u"before"
                                  : WidenBytes(CodePage::Windows1256, NumberToWords(c.spelled)));
        EXPECT_EQ(platform.messages, c.message.empty() ? std::vector<std::u16string>{}
                                                       : std::vector<std::u16string>{c.message});
    }
}

TEST_F(Writers, SpelledNumberToTheClipboard) {
    controls.SetText(Control::Edit2, u"21");
    Click(Button10Click);
    EXPECT_EQ(platform.clipboard, u"بيست و يک");
    EXPECT_NE(
        std::find(platform.events.begin(), platform.events.end(), u"keyboard layout: 00000429"),
        platform.events.end());
    controls.SetText(Control::Edit2, u"1,000");  // not cleaned here
    Click(Button10Click);
    EXPECT_EQ(platform.messages.back(), u"1,000 يک عدد نميباشد");
}

TEST_F(Writers, LispWritersInstallLoadAndStartTheirCommand) {
    const fs::path root =
        fs::temp_directory_path() / ("navisaz-lisp-" + std::to_string(::getpid()));
    const fs::path install = root / "install";
    const fs::path target = root / "support";
    fs::create_directories(install / "CADSupport" / "Lisps");
    fs::create_directories(install / "CADSupport" / "fonts");
    fs::create_directories(target);
    std::ofstream(install / "CADSupport" / "Lisps" / "Kateb.lsp") << "(defun c:kateb () (princ))\n";
    std::ofstream(install / "CADSupport" / "fonts" / "naskhd.shx") << "shape font";
    platform.settings[{u"Navisaz", u"RUNPATH"}] = Widen(install.string() + "/");
    host->supportFolders = {Widen(target.string()), u"/elsewhere"};

    Click(Button5Click);
    EXPECT_TRUE(platform.errors.empty())
        << (platform.errors.empty() ? std::string() : Narrow(platform.errors[0]));
    EXPECT_TRUE(fs::exists(target / "Kateb.lsp"));
    EXPECT_TRUE(fs::exists(target / "naskhd.shx"));
    const std::vector<std::u16string> sent(host->commandLog.end() - 2, host->commandLog.end());
    EXPECT_EQ(sent, (std::vector<std::u16string>{u"(Load \"kateb.lsp\")\r", u"kateb\r"}));
    EXPECT_EQ(host->lispCommandsRun, std::vector<std::u16string>{u"kateb"});
    EXPECT_EQ(drawing().Variable(u"TEXTSTYLE").ToString(), u"farsi");
    EXPECT_EQ(drawing().FindTextStyle(u"farsi")->generationFlag, 2);

    // A second run keeps the copies already there.
    std::ofstream(target / "Kateb.lsp") << "(defun c:kateb () (princ \"mine\"))\n";
    Click(Button5Click);
    std::ifstream kept(target / "Kateb.lsp");
    std::string first;
    std::getline(kept, first);
    EXPECT_EQ(first, "(defun c:kateb () (princ \"mine\"))");
    fs::remove_all(root);
}

}  // namespace
}  // namespace navisaz
