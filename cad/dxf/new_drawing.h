#pragma once

#include <memory>

#include "cad/dxf/dxf_source.h"

namespace navisaz::dxf {

// The file a drawing that never was one is written into: an empty R2018 drawing.
std::shared_ptr<const FileSource> NewDrawingSource();

}  // namespace navisaz::dxf
