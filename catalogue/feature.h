#pragma once

// One feature of the NCC catalogue (a row of the table "standard") and the choices that narrow
// the list of features.

#include <cstdint>
#include <string>

namespace navisaz {

// The columns the program uses; the table holds more, which are kept but not read.
struct FeatureRecord {
    std::int64_t id = 0;
    std::u16string farsiName;  // Farsi_Name
    std::u16string type;       // a: the feature type number, 1 to 9
    std::u16string definition;
    std::u16string recognition;
    std::u16string layer;        // Layer_DWG
    std::u16string color;        // Color_DWG
    std::u16string linetype;     // Style_DWG
    std::u16string weight;       // Weight_DWG, millimetres
    std::u16string blockName;    // Block_Name; "-": none
    std::u16string hatchName;    // Hatch_Name; "-": none
    std::u16string hatchRotate;  // Hatch_Rotate, degrees
    std::u16string objectType;   // Object_Type
    bool isExist = false;        // IsExist: the block was found in the block library
};

// Kinds of object the list can be narrowed to.
enum class FeatureKind { All = 0, Point = 1, Line = 2, Surface = 3 };

struct FeatureFilter {
    int type = 0;  // 0: every type
    FeatureKind kind = FeatureKind::All;
    std::u16string search;  // matched literally within Farsi_Name
    // After the block library was loaded: every feature with a block name, whatever the rest.
    bool library = false;
};

// The filter as the data-access filter text of the Windows program spells it, for display and
// for the record: " (a = 5) and ( Hatch_Name  <> '-' )" and so on. It is never run as SQL.
std::u16string FilterText(const FeatureFilter& filter);

// Whether a feature is listed under a filter. Point features are those whose block is in the
// library; line features those drawn with a line type and no block; surface features those with
// a hatch pattern. The search text is matched literally (a quote or a % is just a character).
bool Matches(const FeatureFilter& filter, const FeatureRecord& feature);

}  // namespace navisaz
