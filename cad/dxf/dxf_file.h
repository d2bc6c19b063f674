#pragma once

// Drawings as DXF files for the substitute host. What the host models (its entities, the text
// styles, layers, line types and blocks, the header variables it uses) is read into a Drawing;
// everything else is kept as the file had it and written back unchanged, so a drawing opened and
// saved without edits is the same file apart from the handle seed.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "cad/dxf/dxf_error.h"
#include "cad/sim/drawing.h"

namespace navisaz::dxf {

// The DXF versions read and written: R12 (AC1009) to R2018 (AC1032).
bool KnownVersion(const std::string& acadVersion);

// Reads DXF text into a drawing. Raises DxfError naming the line or the reason; nothing is
// half-read.
std::shared_ptr<sim::Drawing> ReadDxf(std::string bytes);
// The drawing as DXF text, in the version and encoding it was read in.
std::string WriteDxf(const sim::Drawing& drawing);

std::shared_ptr<sim::Drawing> OpenDxf(const std::filesystem::path& path);
// Writes a temporary file beside the target, flushes it and renames it over the target; the
// previous file is kept as "name.bak". A failed save leaves the old file as it was and raises
// DxfError saying why.
void SaveDxf(const sim::Drawing& drawing, const std::filesystem::path& path);

// The file a block insert by file name reads: the file itself, or for a ".dwg" path that does
// not exist, the ".dxf" of the same name beside it (no DWG reader is available here).
std::filesystem::path BlockDrawingFile(const std::filesystem::path& requested);

}  // namespace navisaz::dxf

namespace navisaz::sim {
class SimApplication;
}

namespace navisaz::dxf {

// Lets the host insert drawing files as blocks: the file (or the DXF beside a missing ".dwg") is
// read as DXF; a path written with backslashes is taken as the same path with slashes. A file
// that cannot be read fails the insert as a host error.
void ReadDrawingFilesAsDxf(sim::SimApplication& host);

}  // namespace navisaz::dxf
