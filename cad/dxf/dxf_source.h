#pragma once

// What a drawing read from DXF keeps of its file, so that writing it back changes only what the
// host changed.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "cad/dxf/tags.h"
#include "cad/dxf/text_encoding.h"
#include "cad/sim/drawing.h"

namespace navisaz::dxf {

struct FileSource;

// Where an entity stands in the file it was read from, and the digest of the model read; an
// entity whose model still has that digest is written back as its tags.
struct EntitySource {
    const FileSource* origin = nullptr;
    std::size_t begin = 0;
    std::size_t end = 0;
    std::uint64_t fingerprint = 0;
};

struct FileSource {
    TagFile file;
    std::string version;
    TextEncoding encoding{false, "ANSI_1252"};

    // Tag index ranges [begin, end).
    std::size_t entitiesBegin = 0;  // first tag after "2 ENTITIES"
    std::size_t entitiesEnd = 0;    // the ENDSEC of ENTITIES
    std::size_t handseedValue = SIZE_MAX;
    std::uint64_t handseedRead = 0;

    // Entities in file order: the model read (nullptr for kinds the host does not model, which
    // are written back as they were) and the tags' range.
    struct Item {
        sim::EntityRef entity;
        std::size_t begin;
        std::size_t end;
    };
    std::vector<Item> entities;

    // Table entries by table name ("LAYER") and folded entry name, and where each table ends.
    std::map<std::string, std::map<std::u16string, std::size_t>> tableEntries;  // begin index
    std::map<std::string, std::size_t> tableEnd;                                // index of ENDTAB
    // Entries every drawing has ("0", "Standard", "Continuous", ...) that the file itself did not
    // hold: not new, so not written.
    std::map<std::string, std::set<std::u16string>> implicitEntries;
    std::size_t blocksEnd = SIZE_MAX;        // index of the BLOCKS section's ENDSEC
    std::vector<std::u16string> blocksRead;  // folded names
    std::map<std::u16string, sim::LayerData> layersRead;
    std::map<std::u16string, sim::TextStyleData> stylesRead;
    std::map<std::u16string, std::u16string> linetypesRead;  // folded name → description
};

}  // namespace navisaz::dxf
