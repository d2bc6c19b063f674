#include "commands/support_files.h"

#include <algorithm>

#include "cad/names.h"
#include "support/run_path.h"

namespace navisaz {

namespace fs = std::filesystem;

namespace {

// Windows paths as this system writes them.
std::u16string NativeSeparators(std::u16string path) {
#ifndef _WIN32
    std::replace(path.begin(), path.end(), u'\\', u'/');
#endif
    return path;
}

}  // namespace

fs::path SupportFile(Platform& platform, const std::u16string& relative) {
    return ResolveCase(fs::path(NativeSeparators(ReadRunPath(platform) + relative)));
}

fs::path SupportTargetFolder(tacad& adapter) {
    const std::u16string searchPath = adapter.AcadPrefs->Files()->SupportPath();
    return fs::path(NativeSeparators(searchPath.substr(0, searchPath.find(u';'))));
}

bool CopyUnlessPresent(const fs::path& source, const fs::path& folder, const std::string& name) {
    std::error_code error;
    const fs::path target = folder / name;
    if (fs::exists(target, error))
        return true;
    return fs::copy_file(source, target, error) && !error;
}

}  // namespace navisaz
