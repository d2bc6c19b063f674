#pragma once

// The substitute host's drawing model: plain data, with no automation objects. The automation
// wrappers (sim_objects.h) and the DXF reader and writer work on it.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cad/variant.h"

namespace navisaz::sim {

enum class EntityKind { Text, MText, Point, Line, LwPolyline, Circle, Hatch, Insert, Leader };

// Colour numbers as the host uses them.
inline constexpr std::int32_t ColorByBlock = 0;
inline constexpr std::int32_t ColorByLayer = 256;
inline constexpr std::int32_t LineweightByLayer = -1;

struct EntityData {
    EntityKind kind = EntityKind::Point;
    std::u16string handle{};
    std::u16string layer = u"0";
    std::int32_t color = ColorByLayer;
    std::u16string linetype = u"ByLayer";
    double linetypeScale = 1.0;
    std::int32_t lineweight = LineweightByLayer;

    // Texts (single and multi-line).
    std::u16string text{};
    Point3 insertion{};
    double height = 1.0;
    double rotation = 0.0;       // radians
    std::int32_t alignment = 0;  // a leader keeps its type here
    bool backward = false;
    std::u16string style = u"Standard";
    double width = 0.0;  // multi-line text: the width that wraps its lines

    // Geometry: a point's position, a line's two ends, a polyline's or leader's vertices, a
    // circle's centre.
    std::vector<Point3> points{};
    std::vector<double> startWidths{};  // lightweight polyline, per vertex
    std::vector<double> endWidths{};
    double constantWidth = 0.0;
    bool closed = false;
    double radius = 0.0;

    // Hatch.
    std::u16string patternName = u"SOLID";
    std::int32_t patternType = 1;  // predefined
    double patternAngle = 0.0;     // radians
    double patternScale = 1.0;
    std::vector<std::vector<Point3>> loops{};

    // Block reference.
    std::u16string blockName{};
    double xScale = 1.0;
    double yScale = 1.0;
    double zScale = 1.0;

    bool erased = false;  // set when the entity leaves the drawing

    bool operator==(const EntityData&) const = default;

    // Whatever a file held for this entity that the host does not model, kept for writing back.
    std::shared_ptr<const void> preserved{};
};
using EntityRef = std::shared_ptr<EntityData>;

struct TextStyleData {
    std::u16string name{};
    std::u16string fontFile{};
    std::u16string bigFontFile{};
    std::int32_t generationFlag = 0;  // 2 backwards, 4 upside down
    double height = 0.0;
    double widthFactor = 1.0;
    std::u16string typeface{};  // a Windows font chosen with SetFont
    bool bold = false;
    bool italic = false;
    std::int32_t charset = 0;
    std::int32_t pitchAndFamily = 0;
    std::shared_ptr<const void> preserved{};
};

struct LayerData {
    std::u16string name{};
    std::int32_t color = 7;
    std::int32_t lineweight = -3;  // default
    std::u16string linetype = u"Continuous";
    std::shared_ptr<const void> preserved{};
};

struct LinetypeData {
    std::u16string name{};
    std::u16string description{};
    std::vector<double> pattern{};  // dash lengths: positive drawn, negative gaps, 0 dots
    std::u16string definition{};    // the pattern line as the .lin file wrote it
    std::shared_ptr<const void> preserved{};
};

struct BlockDefinition {
    std::u16string name{};
    Point3 basePoint{};
    std::vector<EntityRef> entities{};
    std::shared_ptr<const void> preserved{};
};

struct SelectionSetData {
    std::u16string name{};
    std::vector<EntityRef> entities{};
};

// One open drawing.
class Drawing {
  public:
    Drawing();

    std::u16string name = u"Drawing1.dwg";
    std::u16string path{};  // empty for a drawing never saved

    std::vector<EntityRef> modelSpace{};
    std::vector<EntityRef> paperSpace{};
    bool modelSpaceActive = true;

    std::vector<TextStyleData> textStyles{};
    std::vector<LayerData> layers{};
    std::vector<LinetypeData> linetypes{};
    std::vector<BlockDefinition> blocks{};
    std::vector<SelectionSetData> selectionSets{};

    // What the file the drawing came from held beyond the model, for writing it back.
    std::shared_ptr<const void> preserved{};

    // A fresh handle, and the seed the next one comes from.
    std::u16string NewHandle();
    std::uint64_t handleSeed = 0x100;

    // System variables by name (any case).
    Variant Variable(const std::u16string& name) const;
    void SetVariable(const std::u16string& name, const Variant& value);
    const std::map<std::u16string, Variant>& Variables() const { return variables_; }

    // Lookups by name (any case); nullptr when absent.
    TextStyleData* FindTextStyle(const std::u16string& name);
    LayerData* FindLayer(const std::u16string& name);
    LinetypeData* FindLinetype(const std::u16string& name);
    BlockDefinition* FindBlock(const std::u16string& name);

    std::vector<EntityRef>& ActiveSpace() { return modelSpaceActive ? modelSpace : paperSpace; }
    EntityRef FindEntity(const std::u16string& handle) const;
    // Removes the entity from its space and from every selection set.
    void Erase(EntityData* entity);

    // Adds an entity with a fresh handle on the current layer, line type and colour.
    EntityRef AddEntity(std::vector<EntityRef>& space, EntityKind kind);

  private:
    std::map<std::u16string, Variant> variables_;  // by folded name
};

// The DXF type name ("TEXT", "LWPOLYLINE", ...) and automation object name ("AcDbText", ...) of
// an entity kind, and the host's entity type code.
std::u16string DxfTypeName(EntityKind kind);
std::u16string AutomationObjectName(EntityKind kind);
std::int32_t EntityTypeCode(EntityKind kind);

}  // namespace navisaz::sim
