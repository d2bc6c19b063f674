// Writing the substitute host's drawing model back as DXF text.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <numbers>
#include <optional>
#include <set>

#include "cad/dxf/dxf_file.h"
#include "cad/dxf/dxf_source.h"
#include "cad/dxf/fingerprint.h"
#include "cad/dxf/new_drawing.h"
#include "cad/names.h"

namespace navisaz::dxf {

namespace {

using sim::EntityKind;

constexpr double DegreesPerRadian = 180.0 / std::numbers::pi;
constexpr const char* FirstSubclassVersion = "AC1015";  // R2000: subclass markers and owners
constexpr std::size_t MTextChunk = 250;

std::string Real(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    std::string text = buffer;
    if (text.find_first_of(".eEn") == std::string::npos)
        text += ".0";
    return text;
}

std::string Hex(std::uint64_t value) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
    return buffer;
}

// The DXF horizontal and vertical justification of a host alignment code.
std::pair<int, int> Justification(std::int32_t alignment) {
    if (alignment <= 5)
        return {alignment, 0};
    const int column = (alignment - 6) % 3;
    const int vertical = alignment <= 8 ? 3 : alignment <= 11 ? 2 : 1;
    return {column, vertical};
}

class Writer {
  public:
    Writer(const sim::Drawing& drawing, std::shared_ptr<const FileSource> source)
        : drawing_(drawing),
          source_(std::move(source)),
          seed_(drawing.handleSeed),
          out_(source_->file.lineEnding) {
        subclasses_ = source_->version >= FirstSubclassVersion;
    }

    std::string Write() {
        const TagFile& file = source_->file;
        out_.Reserve(file.bytes->size() + 4096);
        out_.Raw(file.prefix);
        // What changes before the entities: new table entries and blocks, changed entries, the
        // handle seed. Edits are laid out by position; everything between is copied.
        std::map<std::size_t, std::string> inserts = TableAndBlockAdditions();
        const std::map<std::size_t, std::pair<std::size_t, std::string>> replacements =
            ChangedTableEntries();
        std::set<std::size_t> stops;
        for (const auto& [at, text] : inserts)
            stops.insert(at);
        for (const auto& [at, change] : replacements)
            stops.insert(at);
        if (source_->handseedValue != SIZE_MAX)
            stops.insert(source_->handseedValue);
        std::size_t copied = 0;
        std::size_t seedPosition = SIZE_MAX;  // where the seed's value was written
        std::size_t seedLength = 0;
        for (const std::size_t at : stops) {
            if (at >= source_->entitiesBegin)
                break;
            out_.Copy(file, copied, at);
            copied = at;
            if (const auto add = inserts.find(at); add != inserts.end())
                out_.Raw(add->second);
            if (const auto change = replacements.find(at); change != replacements.end()) {
                out_.Raw(change->second.second);
                copied = change->second.first;
            } else if (at == source_->handseedValue) {
                const Tag seed = file[at];
                out_.Raw(seed.codeText);
                out_.Raw(file.lineEnding);
                seedPosition = out_.Size();
                seedLength = seed.value.size();
                out_.Raw(seed.value);
                out_.Raw(file.lineEnding);
                copied = at + 1;
            }
        }
        out_.Copy(file, copied, source_->entitiesBegin);
        WriteEntities(out_);
        out_.Copy(file, source_->entitiesEnd, file.size());
        // New handles were handed out above: the seed in the header passes them.
        if (seedPosition != SIZE_MAX && seed_ != source_->handseedRead) {
            out_.Replace(seedPosition, seedLength, Hex(seed_));
        }
        return out_.Take();
    }

  private:
    std::string NewHandle() { return Hex(seed_++); }

    std::string Encoded(const std::u16string& text) const { return source_->encoding.Encode(text); }

    // The entities in file order, then the new ones.
    void WriteEntities(TagWriter& out) {
        const TagFile& file = source_->file;
        std::set<const sim::EntityData*> written;
        for (const FileSource::Item& item : source_->entities) {
            if (!item.entity) {
                out.Copy(file, item.begin, item.end);
                continue;
            }
            if (item.entity->erased)
                continue;
            written.insert(item.entity.get());
            AppendEntity(out, *item.entity, ModelSpaceOwner());
        }
        for (const auto* space : {&drawing_.modelSpace, &drawing_.paperSpace}) {
            for (const sim::EntityRef& entity : *space) {
                if (!written.contains(entity.get())) {
                    AppendEntity(out, *entity, ModelSpaceOwner());
                }
            }
        }
    }

    // The handle of the entry group beginning at begin, or "" when it has none.
    std::string HandleAt(std::size_t begin) const {
        const TagFile& tags = source_->file;
        for (std::size_t i = begin + 1; i < tags.size() && tags[i].code != 0; ++i) {
            if (tags[i].code == 5 || tags[i].code == 105)
                return std::string(TrimBlanks(tags[i].value));
        }
        return "";
    }

    const std::string& ModelSpaceOwner() {
        if (!modelSpaceOwner_) {
            modelSpaceOwner_ = "";
            const auto table = source_->tableEntries.find("BLOCK_RECORD");
            if (table != source_->tableEntries.end()) {
                const auto entry = table->second.find(u"*MODEL_SPACE");
                if (entry != table->second.end())
                    modelSpaceOwner_ = HandleAt(entry->second);
            }
        }
        return *modelSpaceOwner_;
    }

    // The handle of a table itself (its TABLE tag group), for its new entries' owner.
    std::string TableHandle(const std::string& table) const {
        const auto end = source_->tableEnd.find(table);
        if (end == source_->tableEnd.end())
            return "";
        const TagFile& tags = source_->file;
        for (std::size_t i = end->second; i-- > 0;) {
            if (tags[i].code == 0 && TrimBlanks(tags[i].value) == "TABLE")
                return HandleAt(i);
        }
        return "";
    }

    // What an entity's regeneration keeps of the tags it was read from: its handle, owner,
    // reactor and application groups and extended data.
    struct Kept {
        std::string handle;
        std::string owner;
        std::vector<Tag> groups;                   // 102 {...} groups
        std::size_t xdataBegin = 0, xdataEnd = 0;  // from the first 1001 on
        bool attributesFollow = false;
    };
    Kept KeptTags(const EntitySource& origin) const {
        Kept kept;
        const TagFile& tags = source_->file;
        bool inGroup = false;
        for (std::size_t i = origin.begin + 1; i < origin.end; ++i) {
            const Tag& t = tags[i];
            if (t.code == 1001) {
                kept.xdataBegin = i;
                kept.xdataEnd = origin.end;
                break;
            }
            if (t.code == 102)
                inGroup = TrimBlanks(t.value).starts_with("{");
            if (inGroup || t.code == 102) {
                kept.groups.push_back(t);
                if (t.code == 102 && TrimBlanks(t.value) == "}")
                    inGroup = false;
                continue;
            }
            if ((t.code == 5 || t.code == 105) && kept.handle.empty())
                kept.handle = TrimBlanks(t.value);
            if (t.code == 330 && kept.owner.empty())
                kept.owner = TrimBlanks(t.value);
            if (t.code == 66)
                kept.attributesFollow = TrimBlanks(t.value) == "1";
        }
        return kept;
    }

    void AppendEntity(TagWriter& out, const sim::EntityData& e, const std::string& owner) {
        const auto* origin = static_cast<const EntitySource*>(e.preserved.get());
        if (origin != nullptr && origin->origin != source_.get())
            origin = nullptr;
        if (origin != nullptr && Fingerprint(e) == origin->fingerprint) {
            out.Copy(source_->file, origin->begin, origin->end);
            return;
        }
        Kept keep = origin ? KeptTags(*origin) : Kept{};
        if (keep.handle.empty())
            keep.handle = e.handle.empty() ? NewHandle() : Narrow(e.handle);
        if (keep.owner.empty())
            keep.owner = owner;
        const bool paper = std::any_of(drawing_.paperSpace.begin(), drawing_.paperSpace.end(),
                                       [&e](const sim::EntityRef& p) { return p.get() == &e; });
        const auto add = [&out](int code, const std::string& value) { out.Add(code, value); };
        const auto point = [&add](int code, const Point3& p, bool withZ = true) {
            add(code, Real(p.x));
            add(code + 10, Real(p.y));
            if (withZ)
                add(code + 20, Real(p.z));
        };
        add(0, Narrow(sim::DxfTypeName(e.kind)));
        add(5, keep.handle);
        for (const Tag& group : keep.groups)
            out.Add(group);
        if (subclasses_) {
            if (!keep.owner.empty())
                add(330, keep.owner);
            add(100, "AcDbEntity");
        }
        if (paper)
            add(67, "1");
        add(8, Encoded(e.layer));
        if (!SameName(e.linetype, u"ByLayer"))
            add(6, Encoded(e.linetype));
        if (e.color != sim::ColorByLayer)
            add(62, std::to_string(e.color));
        if (subclasses_ && e.lineweight != sim::LineweightByLayer)
            add(370, std::to_string(e.lineweight));
        if (e.linetypeScale != 1.0)
            add(48, Real(e.linetypeScale));
        const auto subclass = [&](const char* name) {
            if (subclasses_)
                add(100, name);
        };
        switch (e.kind) {
            case EntityKind::Text: {
                const auto [horizontal, vertical] = Justification(e.alignment);
                subclass("AcDbText");
                point(10, e.insertion);
                add(40, Real(e.height));
                add(1, Encoded(e.text));
                if (e.rotation != 0)
                    add(50, Real(e.rotation * DegreesPerRadian));
                add(7, Encoded(e.style));
                if (e.backward)
                    add(71, "2");
                if (horizontal != 0)
                    add(72, std::to_string(horizontal));
                if (e.alignment != 0)
                    point(11, e.insertion);
                subclass("AcDbText");
                if (vertical != 0)
                    add(73, std::to_string(vertical));
                break;
            }
            case EntityKind::MText: {
                subclass("AcDbMText");
                point(10, e.insertion);
                add(40, Real(e.height));
                add(41, Real(e.width));
                add(71, "1");
                add(72, "5");
                const std::string text = Encoded(e.text);
                std::size_t at = 0;
                while (text.size() - at > MTextChunk) {
                    add(3, text.substr(at, MTextChunk));
                    at += MTextChunk;
                }
                add(1, text.substr(at));
                add(7, Encoded(e.style));
                if (e.rotation != 0)
                    add(50, Real(e.rotation * DegreesPerRadian));
                break;
            }
            case EntityKind::Point:
                subclass("AcDbPoint");
                point(10, e.points.empty() ? Point3{} : e.points[0]);
                break;
            case EntityKind::Line:
                subclass("AcDbLine");
                point(10, e.points.size() > 0 ? e.points[0] : Point3{});
                point(11, e.points.size() > 1 ? e.points[1] : Point3{});
                break;
            case EntityKind::Circle:
                subclass("AcDbCircle");
                point(10, e.points.empty() ? Point3{} : e.points[0]);
                add(40, Real(e.radius));
                break;
            case EntityKind::LwPolyline: {
                subclass("AcDbPolyline");
                add(90, std::to_string(e.points.size()));
                add(70, e.closed ? "1" : "0");
                if (e.constantWidth != 0)
                    add(43, Real(e.constantWidth));
                if (!e.points.empty() && e.points[0].z != 0)
                    add(38, Real(e.points[0].z));
                for (std::size_t v = 0; v < e.points.size(); ++v) {
                    point(10, e.points[v], false);
                    const double start = v < e.startWidths.size() ? e.startWidths[v] : 0;
                    const double end = v < e.endWidths.size() ? e.endWidths[v] : 0;
                    if (start != 0 || end != 0) {
                        add(40, Real(start));
                        add(41, Real(end));
                    }
                }
                break;
            }
            case EntityKind::Hatch: {
                const bool solid = SameName(e.patternName, u"SOLID");
                subclass("AcDbHatch");
                point(10, Point3{});
                add(210, "0.0");
                add(220, "0.0");
                add(230, "1.0");
                add(2, Encoded(e.patternName));
                add(70, solid ? "1" : "0");
                add(71, "0");
                add(91, std::to_string(e.loops.size()));
                for (const auto& loop : e.loops) {
                    add(92, "3");  // external polyline boundary
                    add(72, "0");
                    add(73, "1");
                    add(93, std::to_string(loop.size()));
                    for (const Point3& p : loop)
                        point(10, p, false);
                    add(97, "0");
                }
                add(75, "0");
                add(76, std::to_string(e.patternType));
                if (!solid) {
                    add(52, Real(e.patternAngle * DegreesPerRadian));
                    add(41, Real(e.patternScale));
                    add(77, "0");
                    add(78, "0");
                }
                add(98, "0");
                break;
            }
            case EntityKind::Insert:
                subclass("AcDbBlockReference");
                if (keep.attributesFollow)
                    add(66, "1");
                add(2, Encoded(e.blockName));
                point(10, e.insertion);
                if (e.xScale != 1)
                    add(41, Real(e.xScale));
                if (e.yScale != 1)
                    add(42, Real(e.yScale));
                if (e.zScale != 1)
                    add(43, Real(e.zScale));
                if (e.rotation != 0)
                    add(50, Real(e.rotation * DegreesPerRadian));
                break;
            case EntityKind::Leader:
                subclass("AcDbLeader");
                add(3, "Standard");
                add(71, "1");
                add(72, "0");
                add(73, "3");
                add(74, "0");
                add(75, "0");
                add(40, "0.0");
                add(41, "0.0");
                add(76, std::to_string(e.points.size()));
                for (const Point3& p : e.points)
                    point(10, p);
                break;
        }
        if (keep.xdataEnd > keep.xdataBegin)
            out.Copy(source_->file, keep.xdataBegin, keep.xdataEnd);
    }

    // Layer and style entries in the file whose model changed: (first index) → (index after the
    // entry, the entry's new text).
    std::map<std::size_t, std::pair<std::size_t, std::string>> ChangedTableEntries() {
        std::map<std::size_t, std::pair<std::size_t, std::string>> changes;
        const auto entryEnd = [this](std::size_t begin) {
            std::size_t end = begin + 1;
            while (end < source_->file.size() && source_->file[end].code != 0)
                ++end;
            return end;
        };
        const auto entries = [this](const char* table) {
            const auto found = source_->tableEntries.find(table);
            return found == source_->tableEntries.end() ? std::map<std::u16string, std::size_t>{}
                                                        : found->second;
        };
        for (const auto& [name, begin] : entries("LAYER")) {
            const auto read = source_->layersRead.find(name);
            for (const sim::LayerData& layer : drawing_.layers) {
                if (FoldCase(layer.name) != name || read == source_->layersRead.end())
                    continue;
                const sim::LayerData& was = read->second;
                if (layer.color != was.color || layer.lineweight != was.lineweight ||
                    layer.linetype != was.linetype) {
                    const std::size_t end = entryEnd(begin);
                    changes[begin] = {end, PatchedEntry(begin, end,
                                                        {{62, std::to_string(layer.color)},
                                                         {370, std::to_string(layer.lineweight)},
                                                         {6, Encoded(layer.linetype)}})};
                }
            }
        }
        for (const auto& [name, begin] : entries("STYLE")) {
            const auto read = source_->stylesRead.find(name);
            for (const sim::TextStyleData& style : drawing_.textStyles) {
                if (FoldCase(style.name) != name || read == source_->stylesRead.end())
                    continue;
                const sim::TextStyleData& was = read->second;
                if (style.fontFile != was.fontFile || style.generationFlag != was.generationFlag ||
                    style.typeface != was.typeface) {
                    const std::size_t end = entryEnd(begin);
                    changes[begin] = {end,
                                      PatchedEntry(begin, end,
                                                   {{3, Encoded(StyleFontFile(style))},
                                                    {71, std::to_string(style.generationFlag)}})};
                }
            }
        }
        return changes;
    }

    static std::u16string StyleFontFile(const sim::TextStyleData& style) {
        return style.typeface.empty() ? style.fontFile : style.typeface + u".ttf";
    }

    // An entry's tags with the given codes set: replaced where present, else added before its
    // extended data.
    std::string PatchedEntry(std::size_t begin, std::size_t end,
                             const std::vector<std::pair<int, std::string>>& values) {
        const TagFile& tags = source_->file;
        // Each read tag, with the value that replaces its own, if any.
        std::vector<std::pair<Tag, std::optional<std::string>>> entry;
        for (std::size_t i = begin; i < end; ++i)
            entry.push_back({tags[i], std::nullopt});
        for (const auto& [code, value] : values) {
            if (code == 370 && !subclasses_)
                continue;
            auto found = std::find_if(entry.begin(), entry.end(),
                                      [code](const auto& t) { return t.first.code == code; });
            if (found != entry.end()) {
                found->second = value;
                continue;
            }
            auto xdata = std::find_if(entry.begin(), entry.end(),
                                      [](const auto& t) { return t.first.code == 1001; });
            entry.insert(xdata, {Tag{code, 0, {}, {}}, value});
        }
        TagWriter text(source_->file.lineEnding);
        for (const auto& [tag, value] : entry) {
            Tag written = tag;
            if (value)
                written.value = *value;
            text.Add(written);
        }
        return text.Take();
    }

    // New layers, styles and line types, each before its table's end; new blocks before the end
    // of the blocks section.
    std::map<std::size_t, std::string> TableAndBlockAdditions() {
        std::map<std::size_t, std::string> inserts;
        const auto isNew = [this](const char* table, const std::u16string& name) {
            const std::u16string folded = FoldCase(name);
            const auto found = source_->tableEntries.find(table);
            if (found != source_->tableEntries.end() && found->second.contains(folded))
                return false;
            const auto implicit = source_->implicitEntries.find(table);
            return implicit == source_->implicitEntries.end() || !implicit->second.contains(folded);
        };
        const auto header = [this](TagWriter& out, const char* type, const char* table,
                                   const char* subclass, const std::u16string& name,
                                   const std::string& handle) {
            out.Add(0, type);
            out.Add(5, handle);
            if (subclasses_) {
                const std::string owner = TableHandle(table);
                if (!owner.empty())
                    out.Add(330, owner);
                out.Add(100, "AcDbSymbolTableRecord");
                out.Add(100, subclass);
            }
            out.Add(2, Encoded(name));
        };
        const std::string& lineEnding = source_->file.lineEnding;
        if (const auto end = source_->tableEnd.find("LAYER"); end != source_->tableEnd.end()) {
            TagWriter out(lineEnding);
            for (const sim::LayerData& layer : drawing_.layers) {
                if (!isNew("LAYER", layer.name))
                    continue;
                header(out, "LAYER", "LAYER", "AcDbLayerTableRecord", layer.name, NewHandle());
                out.Add(70, "0");
                out.Add(62, std::to_string(layer.color));
                out.Add(6, Encoded(layer.linetype));
                if (subclasses_)
                    out.Add(370, std::to_string(layer.lineweight));
            }
            inserts[end->second] += out.Take();
        }
        if (const auto end = source_->tableEnd.find("STYLE"); end != source_->tableEnd.end()) {
            TagWriter out(lineEnding);
            for (const sim::TextStyleData& style : drawing_.textStyles) {
                if (!isNew("STYLE", style.name))
                    continue;
                header(out, "STYLE", "STYLE", "AcDbTextStyleTableRecord", style.name, NewHandle());
                out.Add(70, "0");
                out.Add(40, Real(style.height));
                out.Add(41, Real(style.widthFactor));
                out.Add(50, "0.0");
                out.Add(71, std::to_string(style.generationFlag));
                out.Add(42, "2.5");
                out.Add(3, Encoded(StyleFontFile(style)));
                out.Add(4, Encoded(style.bigFontFile));
            }
            inserts[end->second] += out.Take();
        }
        if (const auto end = source_->tableEnd.find("LTYPE"); end != source_->tableEnd.end()) {
            TagWriter out(lineEnding);
            for (const sim::LinetypeData& linetype : drawing_.linetypes) {
                if (!isNew("LTYPE", linetype.name))
                    continue;
                header(out, "LTYPE", "LTYPE", "AcDbLinetypeTableRecord", linetype.name,
                       NewHandle());
                out.Add(70, "0");
                out.Add(3, Encoded(linetype.description));
                out.Add(72, "65");
                out.Add(73, std::to_string(linetype.pattern.size()));
                double total = 0;
                for (const double dash : linetype.pattern)
                    total += std::fabs(dash);
                out.Add(40, Real(total));
                for (const double dash : linetype.pattern) {
                    out.Add(49, Real(dash));
                    if (subclasses_)
                        out.Add(74, "0");
                }
            }
            inserts[end->second] += out.Take();
        }
        if (source_->blocksEnd != SIZE_MAX) {
            TagWriter out(lineEnding);
            TagWriter records(lineEnding);
            for (const sim::BlockDefinition& block : drawing_.blocks) {
                if (std::find(source_->blocksRead.begin(), source_->blocksRead.end(),
                              FoldCase(block.name)) != source_->blocksRead.end()) {
                    continue;
                }
                const std::string record = NewHandle();
                if (subclasses_) {
                    header(records, "BLOCK_RECORD", "BLOCK_RECORD", "AcDbBlockTableRecord",
                           block.name, record);
                }
                out.Add(0, "BLOCK");
                out.Add(5, NewHandle());
                if (subclasses_) {
                    out.Add(330, record);
                    out.Add(100, "AcDbEntity");
                }
                out.Add(8, "0");
                if (subclasses_)
                    out.Add(100, "AcDbBlockBegin");
                out.Add(2, Encoded(block.name));
                out.Add(70, "0");
                out.Add(10, Real(block.basePoint.x));
                out.Add(20, Real(block.basePoint.y));
                out.Add(30, Real(block.basePoint.z));
                out.Add(3, Encoded(block.name));
                out.Add(1, "");
                for (const sim::EntityRef& entity : block.entities) {
                    sim::EntityData copy = *entity;
                    copy.preserved = nullptr;
                    copy.handle.clear();
                    AppendEntity(out, copy, record);
                }
                out.Add(0, "ENDBLK");
                out.Add(5, NewHandle());
                if (subclasses_) {
                    out.Add(330, record);
                    out.Add(100, "AcDbEntity");
                }
                out.Add(8, "0");
                if (subclasses_)
                    out.Add(100, "AcDbBlockEnd");
            }
            inserts[source_->blocksEnd] += out.Take();
            if (const auto end = source_->tableEnd.find("BLOCK_RECORD");
                end != source_->tableEnd.end()) {
                inserts[end->second] += records.Take();
            }
        }
        return inserts;
    }

    const sim::Drawing& drawing_;
    std::shared_ptr<const FileSource> source_;
    std::uint64_t seed_;
    TagWriter out_;
    bool subclasses_ = false;
    std::optional<std::string> modelSpaceOwner_;
};

}  // namespace

std::string WriteDxf(const sim::Drawing& drawing) {
    auto source = std::static_pointer_cast<const FileSource>(drawing.preserved);
    if (!source) {
        // A drawing that never was a file: written into a new R2018 drawing.
        source = NewDrawingSource();
    }
    return Writer(drawing, source).Write();
}

}  // namespace navisaz::dxf
