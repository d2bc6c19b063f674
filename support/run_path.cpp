#include "support/run_path.h"

namespace navisaz {

std::u16string ReadRunPath(Platform& platform) {
    return platform.ReadSetting(RunPathKey, RunPathValue);
}

void WriteRunPath(Platform& platform) {
    std::u16string folder = platform.ProgramFolder();
    // The folder keeps the separator style it came with: '\' on Windows, '/' elsewhere.
    const char16_t separator = folder.find(u'\\') != std::u16string::npos ? u'\\' : u'/';
    if (folder.empty() || (folder.back() != u'\\' && folder.back() != u'/')) {
        folder.push_back(separator);
    }
    platform.WriteSetting(RunPathKey, RunPathValue, folder);
}

}  // namespace navisaz
