#include "commands/installer.h"

#include <algorithm>
#include <filesystem>

#include "cad/names.h"
#include "commands/support_files.h"
#include "support/run_path.h"

namespace navisaz {

namespace fs = std::filesystem;

namespace {

constexpr const char16_t* IptFontInstaller = u"InstalIPTFonts.exe";

bool HasExtension(const fs::path& file, const std::string& extension) {
    if (extension.empty())
        return true;  // "*.*": every entry
    std::string own = file.extension().string();
    std::transform(own.begin(), own.end(), own.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return own == extension;
}

// The files of a support folder that match a pattern ("*.shx": extension ".shx"), in name order.
std::vector<fs::path> Matches(Platform& platform, const std::u16string& folder,
                              const std::string& extension) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(SupportFile(platform, folder), error)) {
        if (entry.is_regular_file(error) && HasExtension(entry.path(), extension)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Copies over whatever is there; a copy that fails leaves the load to use what the folder holds.
void CopyOver(const fs::path& source, const fs::path& folder) {
    std::error_code error;
    fs::copy_file(source, folder / source.filename(), fs::copy_options::overwrite_existing, error);
}

}  // namespace

std::optional<std::u16string> LispLoadCommand(const std::u16string& fileName) {
    for (const char16_t c : fileName) {
        if (c == u'"' || c == u'\\' || c == u'(' || c == u')' || c < 0x20 || c == 0x7F) {
            return std::nullopt;
        }
    }
    return u"(Load \"" + fileName + u"\")\r";
}

void Button4Click(const CommandContext& context) {
    Platform& platform = context.platform;
    const fs::path fontsFolder = fs::path(platform.WindowsFolder()) / "Fonts";
    const std::unique_ptr<tacad> adapter = context.CreateAdapter();
    if (!adapter->Connected)
        return;
    const fs::path target = SupportTargetFolder(*adapter);

    for (const fs::path& font : Matches(platform, u"CADSupport\\Fonts", ".shx")) {
        CopyOver(font, target);
    }
    for (const fs::path& font : Matches(platform, u"CADSupport\\IPT", ".ttf")) {
        CopyOver(font, target);
        CopyOver(font, fontsFolder);
    }
    for (const fs::path& shape : Matches(platform, u"CADSupport\\Shapes", ".shx")) {
        CopyOver(shape, target);
        adapter->AcadDoc->LoadShapeFile((target / shape.filename()).u16string());
    }
    const std::shared_ptr<AcadLinetypes> linetypes = adapter->AcadDoc->Linetypes();
    for (const fs::path& file : Matches(platform, u"CADSupport\\LineTypes", "")) {
        CopyOver(file, target);
        try {
            linetypes->Load(u"*", (target / file.filename()).u16string());
        } catch (const std::exception&) {
            // A file without line types, or line types already loaded: the rest go on.
        }
    }
    for (const fs::path& lisp : Matches(platform, u"CADSupport\\Lisps", ".lsp")) {
        CopyOver(lisp, target);
        const std::u16string name = lisp.filename().u16string();
        if (const auto load = LispLoadCommand(name)) {
            adapter->AcadDoc->SendCommand(*load);
        } else {
            platform.ShowMessage(UnsafeLispNameMessage + name);
        }
    }
    adapter->AcadDoc->SendCommand(LoadAllLinetypesCommand);
    adapter->AcadDoc->SendCommand(u"re ");
}

void Button19Click(const CommandContext& context) {
    const std::u16string folder = ReadRunPath(context.platform);
    context.platform.ShellOpen(SupportFile(context.platform, IptFontInstaller).u16string(), folder);
}

}  // namespace navisaz
