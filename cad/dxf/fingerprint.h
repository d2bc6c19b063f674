#pragma once

#include <cstdint>

#include "cad/sim/drawing.h"

namespace navisaz::dxf {

// A 64-bit digest of everything the host models of an entity (not what the file kept beside
// it): an entity whose digest is the one it was read with is written back as it was read.
std::uint64_t Fingerprint(const sim::EntityData& entity);

}  // namespace navisaz::dxf
