#pragma once

#include <filesystem>
#include <string>

#include "cad/cadole.h"
#include "support/platform.h"

namespace navisaz {

// A file of the support tree: the install folder followed by a relative path written with
// backslashes, as a path of this system.
std::filesystem::path SupportFile(Platform& platform, const std::u16string& relative);

// The first folder of the host's support file search path, where support files are copied so
// that the host finds them by bare name.
std::filesystem::path SupportTargetFolder(tacad& adapter);

// Copies source into folder under its own name unless a file of that name is there already;
// false when the copy failed (the caller decides whether that matters).
bool CopyUnlessPresent(const std::filesystem::path& source, const std::filesystem::path& folder,
                       const std::string& name);

}  // namespace navisaz
