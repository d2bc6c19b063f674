// Reading DXF text into the substitute host's drawing model.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "cad/dxf/dxf_file.h"
#include "cad/dxf/dxf_source.h"
#include "cad/dxf/fingerprint.h"
#include "cad/names.h"

namespace navisaz::dxf {

namespace {

using sim::EntityKind;

constexpr const char* Versions[] = {"AC1009", "AC1012", "AC1014", "AC1015", "AC1018",
                                    "AC1021", "AC1024", "AC1027", "AC1032"};
constexpr const char* FirstUtf8Version = "AC1021";
constexpr double DegreesPerRadian = 180.0 / std::numbers::pi;

double Number(const Tag& tag) {
    const std::string_view text = TrimBlanks(tag.value);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        throw DxfError(tag.line + 1, "value \"" + std::string(tag.value) + "\" of group code " +
                                         std::to_string(tag.code) + " is not a number");
    }
    return value;
}

std::int32_t Integer(const Tag& tag) {
    const double value = Number(tag);
    if (value != std::floor(value) || std::fabs(value) > 2147483647.0) {
        throw DxfError(tag.line + 1, "value \"" + std::string(tag.value) + "\" of group code " +
                                         std::to_string(tag.code) + " is not a whole number");
    }
    return static_cast<std::int32_t>(value);
}

// Sets the coordinate of p that tag carries when its code is base (x), base + 10 (y) or
// base + 20 (z); true when it did.
bool PointCoordinate(const Tag& tag, int base, Point3& p) {
    if (tag.code == base) {
        p.x = Number(tag);
    } else if (tag.code == base + 10) {
        p.y = Number(tag);
    } else if (tag.code == base + 20) {
        p.z = Number(tag);
    } else {
        return false;
    }
    return true;
}

bool IsStructure(const Tag& tag, std::string_view name) {
    return tag.code == 0 && TrimBlanks(tag.value) == name;
}

struct KindName {
    const char* dxf;
    EntityKind kind;
};
constexpr KindName ModeledKinds[] = {
    {"TEXT", EntityKind::Text},
    {"MTEXT", EntityKind::MText},
    {"POINT", EntityKind::Point},
    {"LINE", EntityKind::Line},
    {"LWPOLYLINE", EntityKind::LwPolyline},
    {"CIRCLE", EntityKind::Circle},
    {"HATCH", EntityKind::Hatch},
    {"INSERT", EntityKind::Insert},
    {"LEADER", EntityKind::Leader},
};

std::optional<EntityKind> ModeledKind(std::string_view name) {
    for (const KindName& k : ModeledKinds) {
        if (name == k.dxf)
            return k.kind;
    }
    return std::nullopt;
}

// The host's alignment code from the DXF horizontal (72) and vertical (73) justification.
std::int32_t AlignmentCode(std::int32_t horizontal, std::int32_t vertical) {
    if (vertical == 0)
        return horizontal;  // left, center, right, aligned, middle, fit
    // vertical 3 top, 2 middle, 1 bottom; horizontal 0 left, 1 center, 2 right
    const std::int32_t row = vertical == 3 ? 6 : vertical == 2 ? 9 : 12;
    return row + std::clamp(horizontal, 0, 2);
}

class Reader {
  public:
    explicit Reader(std::string bytes) : source_(std::make_shared<FileSource>()) {
        source_->file = ReadTags(std::move(bytes));
    }

    std::shared_ptr<sim::Drawing> Read() {
        auto drawing = std::make_shared<sim::Drawing>();
        drawing_ = drawing.get();
        const TagFile& tags = source_->file;
        if (tags.empty() || !IsStructure(tags.back(), "EOF")) {
            throw DxfError(0, "the file ends without EOF: it is truncated or not a DXF file");
        }
        bool sawEntities = false;
        std::size_t i = 0;
        while (!IsStructure(tags[i], "EOF")) {
            if (!IsStructure(tags[i], "SECTION") || i + 1 >= tags.size() || tags[i + 1].code != 2) {
                throw DxfError(tags[i].line, "expected a SECTION with its name, found group code " +
                                                 std::to_string(tags[i].code) + " \"" +
                                                 std::string(tags[i].value) + "\"");
            }
            const std::string name(TrimBlanks(tags[i + 1].value));
            const std::size_t begin = i + 2;
            std::size_t end = begin;
            while (end < tags.size() && !IsStructure(tags[end], "ENDSEC")) {
                if (IsStructure(tags[end], "SECTION") || IsStructure(tags[end], "EOF"))
                    break;
                ++end;
            }
            if (end >= tags.size() || !IsStructure(tags[end], "ENDSEC")) {
                throw DxfError(tags[i].line, "section " + name + " is not closed by ENDSEC");
            }
            if (name == "HEADER")
                ReadHeader(begin, end);
            if (name == "TABLES")
                ReadTables(begin, end);
            if (name == "BLOCKS")
                ReadBlocks(begin, end);
            if (name == "ENTITIES") {
                sawEntities = true;
                ReadEntities(begin, end);
            }
            i = end + 1;
        }
        if (!sawEntities) {
            throw DxfError(0, "the file has no ENTITIES section");
        }
        NoteImplicitEntries();
        drawing->preserved = source_;
        return drawing;
    }

  private:
    template <typename Record>
    void NoteImplicit(const char* table, const std::vector<Record>& records) {
        const auto& read = source_->tableEntries[table];
        for (const Record& record : records) {
            if (!read.contains(FoldCase(record.name))) {
                source_->implicitEntries[table].insert(FoldCase(record.name));
            }
        }
    }
    void NoteImplicitEntries() {
        NoteImplicit("LAYER", drawing_->layers);
        NoteImplicit("STYLE", drawing_->textStyles);
        NoteImplicit("LTYPE", drawing_->linetypes);
    }

    std::u16string Text(const Tag& tag) const { return source_->encoding.Decode(tag.value); }

    void ReadHeader(std::size_t begin, std::size_t end) {
        const TagFile& tags = source_->file;
        std::string codePage = "ANSI_1252";
        source_->version = "AC1009";
        for (std::size_t i = begin; i < end; ++i) {
            if (tags[i].code != 9 || i + 1 >= end)
                continue;
            const std::string_view name = TrimBlanks(tags[i].value);
            const Tag& value = tags[i + 1];
            if (name == "$ACADVER")
                source_->version = std::string(TrimBlanks(value.value));
            if (name == "$DWGCODEPAGE")
                codePage = std::string(TrimBlanks(value.value));
            if (name == "$HANDSEED") {
                source_->handseedValue = i + 1;
                const std::string_view hex = TrimBlanks(value.value);
                std::uint64_t seed = 0;
                const auto [at, error] =
                    std::from_chars(hex.data(), hex.data() + hex.size(), seed, 16);
                if (hex.empty() || error != std::errc() || at != hex.data() + hex.size()) {
                    throw DxfError(value.line + 1, "$HANDSEED \"" + std::string(value.value) +
                                                       "\" is not a hexadecimal handle");
                }
                drawing_->handleSeed = seed;
                source_->handseedRead = seed;
            }
            if (name == "$INSBASE") {
                drawing_->SetVariable(u"INSBASE",
                                      PointVariant({Number(value), Number(tags[i + 2]), 0}));
            }
            if (name == "$CELTSCALE")
                drawing_->SetVariable(u"CELTSCALE", Variant(Number(value)));
            if (name == "$LTSCALE")
                drawing_->SetVariable(u"LTSCALE", Variant(Number(value)));
            if (name == "$TEXTSIZE")
                drawing_->SetVariable(u"TEXTSIZE", Variant(Number(value)));
        }
        if (!KnownVersion(source_->version)) {
            throw DxfError(0, "unknown DXF version " + source_->version +
                                  " (R12 to R2018, AC1009 to AC1032, can be read)");
        }
        source_->encoding = TextEncoding(source_->version >= FirstUtf8Version, codePage);
        // Names are decoded once the encoding is known.
        for (std::size_t i = begin; i < end; ++i) {
            if (tags[i].code != 9 || i + 1 >= end)
                continue;
            const std::string_view name = TrimBlanks(tags[i].value);
            if (name == "$CLAYER")
                drawing_->SetVariable(u"CLAYER", Variant(Text(tags[i + 1])));
            if (name == "$CELTYPE")
                drawing_->SetVariable(u"CELTYPE", Variant(Text(tags[i + 1])));
            if (name == "$TEXTSTYLE") {
                drawing_->SetVariable(u"TEXTSTYLE", Variant(Text(tags[i + 1])));
            }
        }
    }

    void ReadTables(std::size_t begin, std::size_t end) {
        const TagFile& tags = source_->file;
        std::string table;
        for (std::size_t i = begin; i < end; ++i) {
            if (tags[i].code != 0)
                continue;
            const std::string_view type = TrimBlanks(tags[i].value);
            if (type == "TABLE") {
                table = i + 1 < end ? std::string(TrimBlanks(tags[i + 1].value)) : "";
                continue;
            }
            if (type == "ENDTAB") {
                source_->tableEnd[table] = i;
                continue;
            }
            std::size_t next = i + 1;
            while (next < end && tags[next].code != 0)
                ++next;
            ReadTableEntry(table, i, next);
        }
    }

    void ReadTableEntry(const std::string& table, std::size_t begin, std::size_t end) {
        const TagFile& tags = source_->file;
        std::u16string name;
        for (std::size_t i = begin; i < end; ++i) {
            if (tags[i].code == 2) {
                name = Text(tags[i]);
                break;
            }
        }
        if (name.empty())
            return;
        source_->tableEntries[table][FoldCase(name)] = begin;
        if (table == "LAYER") {
            sim::LayerData layer{.name = name};
            for (std::size_t i = begin; i < end; ++i) {
                if (tags[i].code == 62)
                    layer.color = std::abs(Integer(tags[i]));
                if (tags[i].code == 6)
                    layer.linetype = Text(tags[i]);
                if (tags[i].code == 370)
                    layer.lineweight = Integer(tags[i]);
            }
            Replace(drawing_->layers, layer);
            source_->layersRead[FoldCase(name)] = layer;
        } else if (table == "STYLE") {
            sim::TextStyleData style{.name = name};
            for (std::size_t i = begin; i < end; ++i) {
                if (tags[i].code == 3)
                    style.fontFile = Text(tags[i]);
                if (tags[i].code == 4)
                    style.bigFontFile = Text(tags[i]);
                if (tags[i].code == 40)
                    style.height = Number(tags[i]);
                if (tags[i].code == 41)
                    style.widthFactor = Number(tags[i]);
                if (tags[i].code == 71)
                    style.generationFlag = Integer(tags[i]);
                if (tags[i].code == 1000 && style.typeface.empty())
                    style.typeface = Text(tags[i]);
            }
            Replace(drawing_->textStyles, style);
            source_->stylesRead[FoldCase(name)] = style;
        } else if (table == "LTYPE") {
            sim::LinetypeData linetype{.name = name};
            for (std::size_t i = begin; i < end; ++i) {
                if (tags[i].code == 3)
                    linetype.description = Text(tags[i]);
                if (tags[i].code == 49)
                    linetype.pattern.push_back(Number(tags[i]));
            }
            Replace(drawing_->linetypes, linetype);
            source_->linetypesRead[FoldCase(name)] = linetype.description;
        }
    }

    template <typename Record>
    static void Replace(std::vector<Record>& records, const Record& record) {
        for (Record& existing : records) {
            if (SameName(existing.name, record.name)) {
                existing = record;
                return;
            }
        }
        records.push_back(record);
    }

    void ReadBlocks(std::size_t begin, std::size_t end) {
        const TagFile& tags = source_->file;
        source_->blocksEnd = end;
        sim::BlockDefinition* block = nullptr;
        std::size_t i = begin;
        while (i < end) {
            std::size_t next = i + 1;
            while (next < end && tags[next].code != 0)
                ++next;
            const std::string_view type = TrimBlanks(tags[i].value);
            if (type == "BLOCK") {
                sim::BlockDefinition definition;
                for (std::size_t k = i; k < next; ++k) {
                    if (tags[k].code == 2)
                        definition.name = Text(tags[k]);
                    if (tags[k].code == 10)
                        definition.basePoint.x = Number(tags[k]);
                    if (tags[k].code == 20)
                        definition.basePoint.y = Number(tags[k]);
                    if (tags[k].code == 30)
                        definition.basePoint.z = Number(tags[k]);
                }
                source_->blocksRead.push_back(FoldCase(definition.name));
                drawing_->blocks.push_back(std::move(definition));
                block = &drawing_->blocks.back();
            } else if (type == "ENDBLK") {
                block = nullptr;
            } else if (block != nullptr) {
                if (sim::EntityRef entity = ReadEntity(i, next))
                    block->entities.push_back(entity);
            }
            i = next;
        }
    }

    void ReadEntities(std::size_t begin, std::size_t end) {
        const TagFile& tags = source_->file;
        source_->entitiesBegin = begin;
        source_->entitiesEnd = end;
        std::size_t i = begin;
        while (i < end) {
            if (tags[i].code != 0) {
                throw DxfError(tags[i].line,
                               "expected an entity (group code 0), found group code " +
                                   std::to_string(tags[i].code));
            }
            std::size_t next = i + 1;
            while (next < end && tags[next].code != 0)
                ++next;
            sim::EntityRef entity = ReadEntity(i, next);
            if (entity) {
                bool paper = false;
                for (std::size_t k = i; k < next; ++k) {
                    if (tags[k].code == 67)
                        paper = Integer(tags[k]) == 1;
                }
                (paper ? drawing_->paperSpace : drawing_->modelSpace).push_back(entity);
            }
            source_->entities.push_back({entity, i, next});
            i = next;
        }
    }

    // The model of one entity, or nullptr for a kind the host does not model.
    sim::EntityRef ReadEntity(std::size_t begin, std::size_t end) {
        const TagFile& tags = source_->file;
        const auto kind = ModeledKind(TrimBlanks(tags[begin].value));
        if (!kind)
            return nullptr;
        auto e = std::make_shared<sim::EntityData>();
        e->kind = *kind;
        e->style = u"Standard";
        std::int32_t horizontal = 0, vertical = 0;
        Point3 first{}, second{};
        bool hasSecond = false;
        std::u16string mtextChunks;
        int hatchLoopVertices = 0;  // vertices still to read for the current hatch loop
        bool inHatchLoops = false;
        for (std::size_t k = begin + 1; k < end; ++k) {
            const Tag& t = tags[k];
            if (t.code == 1001)
                break;  // extended data: kept, not modeled
            switch (t.code) {
                case 5:
                    e->handle = Text(t);
                    break;
                case 8:
                    e->layer = Text(t);
                    break;
                case 62:
                    e->color = Integer(t);
                    break;
                case 6:
                    e->linetype = Text(t);
                    break;
                case 48:
                    e->linetypeScale = Number(t);
                    break;
                case 370:
                    e->lineweight = Integer(t);
                    break;
                default:
                    break;
            }
            switch (*kind) {
                case EntityKind::Text:
                    if (t.code == 1)
                        e->text = Text(t);
                    PointCoordinate(t, 10, first);
                    hasSecond = PointCoordinate(t, 11, second) || hasSecond;
                    if (t.code == 40)
                        e->height = Number(t);
                    if (t.code == 50)
                        e->rotation = Number(t) / DegreesPerRadian;
                    if (t.code == 7)
                        e->style = Text(t);
                    if (t.code == 71)
                        e->backward = (Integer(t) & 2) != 0;
                    if (t.code == 72)
                        horizontal = Integer(t);
                    if (t.code == 73)
                        vertical = Integer(t);
                    break;
                case EntityKind::MText:
                    if (t.code == 3)
                        mtextChunks += Text(t);
                    if (t.code == 1)
                        e->text = mtextChunks + Text(t);
                    PointCoordinate(t, 10, e->insertion);
                    if (t.code == 40)
                        e->height = Number(t);
                    if (t.code == 41)
                        e->width = Number(t);
                    if (t.code == 50)
                        e->rotation = Number(t) / DegreesPerRadian;
                    if (t.code == 11)
                        second.x = Number(t), hasSecond = true;
                    if (t.code == 21)
                        second.y = Number(t);
                    if (t.code == 7)
                        e->style = Text(t);
                    break;
                case EntityKind::Point:
                case EntityKind::Circle:
                case EntityKind::Line:
                    PointCoordinate(t, 10, first);
                    hasSecond = PointCoordinate(t, 11, second) || hasSecond;
                    if (t.code == 40)
                        e->radius = Number(t);
                    break;
                case EntityKind::LwPolyline:
                    if (t.code == 70)
                        e->closed = (Integer(t) & 1) != 0;
                    if (t.code == 43)
                        e->constantWidth = Number(t);
                    if (t.code == 38)
                        first.z = Number(t);
                    if (t.code == 10) {
                        e->points.push_back({Number(t), 0, first.z});
                        e->startWidths.push_back(0);
                        e->endWidths.push_back(0);
                    }
                    if (!e->points.empty()) {
                        if (t.code == 20)
                            e->points.back().y = Number(t);
                        if (t.code == 40)
                            e->startWidths.back() = Number(t);
                        if (t.code == 41)
                            e->endWidths.back() = Number(t);
                    }
                    break;
                case EntityKind::Hatch:
                    if (t.code == 2)
                        e->patternName = Text(t);
                    if (t.code == 52)
                        e->patternAngle = Number(t) / DegreesPerRadian;
                    if (t.code == 41)
                        e->patternScale = Number(t);
                    if (t.code == 76)
                        e->patternType = Integer(t);
                    if (t.code == 91)
                        inHatchLoops = true;
                    if (t.code == 75 || t.code == 98)
                        inHatchLoops = false;
                    if (inHatchLoops && t.code == 93) {
                        hatchLoopVertices = Integer(t);
                        e->loops.emplace_back();
                    }
                    if (inHatchLoops && hatchLoopVertices > 0 && t.code == 10) {
                        e->loops.back().push_back({Number(t), 0, 0});
                    }
                    if (inHatchLoops && hatchLoopVertices > 0 && t.code == 20 &&
                        !e->loops.empty() && !e->loops.back().empty()) {
                        e->loops.back().back().y = Number(t);
                        --hatchLoopVertices;
                    }
                    break;
                case EntityKind::Insert:
                    if (t.code == 2)
                        e->blockName = Text(t);
                    PointCoordinate(t, 10, e->insertion);
                    if (t.code == 41)
                        e->xScale = Number(t);
                    if (t.code == 42)
                        e->yScale = Number(t);
                    if (t.code == 43)
                        e->zScale = Number(t);
                    if (t.code == 50)
                        e->rotation = Number(t) / DegreesPerRadian;
                    break;
                case EntityKind::Leader:
                    if (t.code == 10)
                        e->points.push_back({Number(t), 0, 0});
                    if (!e->points.empty() && t.code == 20)
                        e->points.back().y = Number(t);
                    if (!e->points.empty() && t.code == 30)
                        e->points.back().z = Number(t);
                    break;
            }
        }
        if (*kind == EntityKind::Text) {
            e->alignment = AlignmentCode(horizontal, vertical);
            e->insertion = (e->alignment != 0 && hasSecond) ? second : first;
        }
        if (*kind == EntityKind::MText && hasSecond && e->rotation == 0) {
            e->rotation = std::atan2(second.y, second.x);
        }
        if (*kind == EntityKind::Point || *kind == EntityKind::Circle)
            e->points = {first};
        if (*kind == EntityKind::Line)
            e->points = {first, second};
        if (e->handle.empty())
            e->handle = drawing_->NewHandle();
        e->preserved = std::make_shared<EntitySource>(
            EntitySource{source_.get(), begin, end, Fingerprint(*e)});
        return e;
    }

    std::shared_ptr<FileSource> source_;
    sim::Drawing* drawing_ = nullptr;
};

}  // namespace

bool KnownVersion(const std::string& acadVersion) {
    return std::any_of(std::begin(Versions), std::end(Versions),
                       [&acadVersion](const char* v) { return acadVersion == v; });
}

std::shared_ptr<sim::Drawing> ReadDxf(std::string bytes) {
    return Reader(std::move(bytes)).Read();
}

}  // namespace navisaz::dxf
