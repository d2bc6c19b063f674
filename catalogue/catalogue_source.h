#pragma once

// Where the catalogue window's data comes from: the working SQLite store beside the Access file,
// made from that file once when only the Access file exists. The Access file is never written.

#include <filesystem>
#include <functional>
#include <memory>

#include "catalogue/feature_store.h"

namespace navisaz {

// Rows done, rows in all.
using ImportProgress = std::function<void(std::size_t done, std::size_t total)>;

std::unique_ptr<FeatureStore> OpenCatalogue(const std::filesystem::path& accessFile,
                                            const ImportProgress& progress = {});

}  // namespace navisaz
