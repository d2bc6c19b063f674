// Writing the substitute host's drawing model back as DXF text.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <set>

#include "cad/dxf/dxf_file.h"
#include "cad/dxf/dxf_source.h"
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

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
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
        : drawing_(drawing), source_(std::move(source)), seed_(drawing.handleSeed) {
        subclasses_ = source_->version >= FirstSubclassVersion;
    }

    std::string Write() {
        const std::vector<Tag>& tags = source_->file.tags;
        const std::map<std::size_t, std::vector<Tag>> inserts = TableAndBlockAdditions();
        const std::map<std::size_t, std::pair<std::size_t, std::vector<Tag>>> replacements =
            ChangedTableEntries();
        TagFile out;
        out.lineEnding = source_->file.lineEnding;
        out.afterEnd = source_->file.afterEnd;
        out.endsWithLineBreak = source_->file.endsWithLineBreak;
        // Everything before the entities, with table additions and changed entries.
        std::size_t i = 0;
        while (i < source_->entitiesBegin) {
            if (const auto add = inserts.find(i); add != inserts.end()) {
                out.tags.insert(out.tags.end(), add->second.begin(), add->second.end());
            }
            if (const auto change = replacements.find(i); change != replacements.end()) {
                out.tags.insert(out.tags.end(), change->second.second.begin(),
                                change->second.second.end());
                i = change->second.first;
                continue;
            }
            out.tags.push_back(tags[i]);
            ++i;
        }
        // The entities in file order, then the new ones.
        std::set<const sim::EntityData*> written;
        for (const FileSource::Item& item : source_->entities) {
            if (!item.entity) {
                out.tags.insert(out.tags.end(),
                                tags.begin() + static_cast<std::ptrdiff_t>(item.begin),
                                tags.begin() + static_cast<std::ptrdiff_t>(item.end));
                continue;
            }
            if (item.entity->erased)
                continue;
            written.insert(item.entity.get());
            AppendEntity(out.tags, *item.entity, ModelSpaceOwner());
        }
        for (const auto* space : {&drawing_.modelSpace, &drawing_.paperSpace}) {
            for (const sim::EntityRef& entity : *space) {
                if (!written.contains(entity.get())) {
                    AppendEntity(out.tags, *entity, ModelSpaceOwner());
                }
            }
        }
        // The rest as it was.
        out.tags.insert(out.tags.end(),
                        tags.begin() + static_cast<std::ptrdiff_t>(source_->entitiesEnd),
                        tags.end());
        if (source_->handseedValue != SIZE_MAX && seed_ != source_->handseedRead) {
            // The seed goes past every handle now in the file.
            for (Tag& tag : out.tags) {
                if (tag.line == tags[source_->handseedValue].line && tag.code == 5) {
                    tag.value = Hex(seed_);
                    break;
                }
            }
        }
        return WriteTags(out);
    }

  private:
    std::string NewHandle() { return Hex(seed_++); }

    std::string Encoded(const std::u16string& text) const { return source_->encoding.Encode(text); }

    // The handle of a table entry or table as the file wrote it, or "" when absent.
    std::string HandleAt(std::size_t begin) const {
        const std::vector<Tag>& tags = source_->file.tags;
        for (std::size_t i = begin + 1; i < tags.size() && tags[i].code != 0; ++i) {
            if (tags[i].code == 5 || tags[i].code == 105)
                return std::string(Trimmed(tags[i].value));
        }
        return "";
    }

    std::string ModelSpaceOwner() const {
        const auto table = source_->tableEntries.find("BLOCK_RECORD");
        if (table == source_->tableEntries.end())
            return "";
        const auto entry = table->second.find(u"*MODEL_SPACE");
        return entry == table->second.end() ? "" : HandleAt(entry->second);
    }

    // The handle of a table itself (its TABLE tag group), for its new entries' owner.
    std::string TableHandle(const std::string& table) const {
        const auto end = source_->tableEnd.find(table);
        if (end == source_->tableEnd.end())
            return "";
        const std::vector<Tag>& tags = source_->file.tags;
        for (std::size_t i = end->second; i-- > 0;) {
            if (tags[i].code == 0 && Trimmed(tags[i].value) == "TABLE")
                return HandleAt(i);
        }
        return "";
    }

    // The tags of an entry group beginning at begin that the regeneration keeps: its handle,
    // owner, reactor groups and extended data.
    struct Kept {
        std::string handle;
        std::string owner;
        std::vector<Tag> groups;  // 102 {...} groups
        std::vector<Tag> xdata;   // from the first 1001 on
        bool attributesFollow = false;
    };
    static Kept KeptTags(const std::vector<Tag>& tags) {
        Kept kept;
        bool inGroup = false;
        for (std::size_t i = 1; i < tags.size(); ++i) {
            const Tag& t = tags[i];
            if (t.code == 1001) {
                kept.xdata.assign(tags.begin() + static_cast<std::ptrdiff_t>(i), tags.end());
                break;
            }
            if (t.code == 102)
                inGroup = Trimmed(t.value).starts_with("{");
            if (inGroup || t.code == 102) {
                kept.groups.push_back(t);
                if (t.code == 102 && Trimmed(t.value) == "}")
                    inGroup = false;
                continue;
            }
            if ((t.code == 5 || t.code == 105) && kept.handle.empty())
                kept.handle = std::string(Trimmed(t.value));
            if (t.code == 330 && kept.owner.empty())
                kept.owner = std::string(Trimmed(t.value));
            if (t.code == 66)
                kept.attributesFollow = Trimmed(t.value) == "1";
        }
        return kept;
    }

    void AppendEntity(std::vector<Tag>& out, const sim::EntityData& e, const std::string& owner) {
        const auto* kept = static_cast<const EntitySource*>(e.preserved.get());
        if (kept != nullptr) {
            sim::EntityData current = e;
            current.preserved = nullptr;
            if (current == kept->model) {
                out.insert(out.end(), kept->tags.begin(), kept->tags.end());
                return;
            }
        }
        Kept keep = kept ? KeptTags(kept->tags) : Kept{};
        if (keep.handle.empty())
            keep.handle = e.handle.empty() ? NewHandle() : Narrow(e.handle);
        if (keep.owner.empty())
            keep.owner = owner;
        const bool paper = std::any_of(drawing_.paperSpace.begin(), drawing_.paperSpace.end(),
                                       [&e](const sim::EntityRef& p) { return p.get() == &e; });
        const auto add = [&out](int code, std::string value) {
            out.push_back(Tag::Make(code, std::move(value)));
        };
        const auto point = [&add](int code, const Point3& p, bool withZ = true) {
            add(code, Real(p.x));
            add(code + 10, Real(p.y));
            if (withZ)
                add(code + 20, Real(p.z));
        };
        add(0, Narrow(sim::DxfTypeName(e.kind)));
        add(5, keep.handle);
        out.insert(out.end(), keep.groups.begin(), keep.groups.end());
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
        out.insert(out.end(), keep.xdata.begin(), keep.xdata.end());
    }

    // Layer, style and line-type entries in the file whose model changed: (first index) →
    // (index after the entry, the entry's new tags).
    std::map<std::size_t, std::pair<std::size_t, std::vector<Tag>>> ChangedTableEntries() {
        std::map<std::size_t, std::pair<std::size_t, std::vector<Tag>>> changes;
        const auto entryEnd = [this](std::size_t begin) {
            std::size_t end = begin + 1;
            while (end < source_->file.tags.size() && source_->file.tags[end].code != 0)
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
    std::vector<Tag> PatchedEntry(std::size_t begin, std::size_t end,
                                  const std::vector<std::pair<int, std::string>>& values) {
        const std::vector<Tag>& tags = source_->file.tags;
        std::vector<Tag> entry(tags.begin() + static_cast<std::ptrdiff_t>(begin),
                               tags.begin() + static_cast<std::ptrdiff_t>(end));
        for (const auto& [code, value] : values) {
            if (code == 370 && !subclasses_)
                continue;
            auto found = std::find_if(entry.begin(), entry.end(),
                                      [code](const Tag& t) { return t.code == code; });
            if (found != entry.end()) {
                found->value = value;
                continue;
            }
            auto xdata = std::find_if(entry.begin(), entry.end(),
                                      [](const Tag& t) { return t.code == 1001; });
            entry.insert(xdata, Tag::Make(code, value));
        }
        return entry;
    }

    // New layers, styles and line types, each before its table's end; new blocks before the end
    // of the blocks section.
    std::map<std::size_t, std::vector<Tag>> TableAndBlockAdditions() {
        std::map<std::size_t, std::vector<Tag>> inserts;
        const auto isNew = [this](const char* table, const std::u16string& name) {
            const std::u16string folded = FoldCase(name);
            const auto found = source_->tableEntries.find(table);
            if (found != source_->tableEntries.end() && found->second.contains(folded))
                return false;
            const auto implicit = source_->implicitEntries.find(table);
            return implicit == source_->implicitEntries.end() || !implicit->second.contains(folded);
        };
        const auto header = [this](std::vector<Tag>& out, const char* type, const char* table,
                                   const char* subclass, const std::u16string& name) {
            out.push_back(Tag::Make(0, type));
            out.push_back(Tag::Make(5, NewHandle()));
            if (subclasses_) {
                const std::string owner = TableHandle(table);
                if (!owner.empty())
                    out.push_back(Tag::Make(330, owner));
                out.push_back(Tag::Make(100, "AcDbSymbolTableRecord"));
                out.push_back(Tag::Make(100, subclass));
            }
            out.push_back(Tag::Make(2, Encoded(name)));
            out.push_back(Tag::Make(70, "0"));
        };
        if (const auto end = source_->tableEnd.find("LAYER"); end != source_->tableEnd.end()) {
            std::vector<Tag>& out = inserts[end->second];
            for (const sim::LayerData& layer : drawing_.layers) {
                if (!isNew("LAYER", layer.name))
                    continue;
                header(out, "LAYER", "LAYER", "AcDbLayerTableRecord", layer.name);
                out.push_back(Tag::Make(62, std::to_string(layer.color)));
                out.push_back(Tag::Make(6, Encoded(layer.linetype)));
                if (subclasses_)
                    out.push_back(Tag::Make(370, std::to_string(layer.lineweight)));
            }
        }
        if (const auto end = source_->tableEnd.find("STYLE"); end != source_->tableEnd.end()) {
            std::vector<Tag>& out = inserts[end->second];
            for (const sim::TextStyleData& style : drawing_.textStyles) {
                if (!isNew("STYLE", style.name))
                    continue;
                header(out, "STYLE", "STYLE", "AcDbTextStyleTableRecord", style.name);
                out.push_back(Tag::Make(40, Real(style.height)));
                out.push_back(Tag::Make(41, Real(style.widthFactor)));
                out.push_back(Tag::Make(50, "0.0"));
                out.push_back(Tag::Make(71, std::to_string(style.generationFlag)));
                out.push_back(Tag::Make(42, "2.5"));
                out.push_back(Tag::Make(3, Encoded(StyleFontFile(style))));
                out.push_back(Tag::Make(4, Encoded(style.bigFontFile)));
            }
        }
        if (const auto end = source_->tableEnd.find("LTYPE"); end != source_->tableEnd.end()) {
            std::vector<Tag>& out = inserts[end->second];
            for (const sim::LinetypeData& linetype : drawing_.linetypes) {
                if (!isNew("LTYPE", linetype.name))
                    continue;
                header(out, "LTYPE", "LTYPE", "AcDbLinetypeTableRecord", linetype.name);
                out.push_back(Tag::Make(3, Encoded(linetype.description)));
                out.push_back(Tag::Make(72, "65"));
                out.push_back(Tag::Make(73, std::to_string(linetype.pattern.size())));
                double total = 0;
                for (const double dash : linetype.pattern)
                    total += std::fabs(dash);
                out.push_back(Tag::Make(40, Real(total)));
                for (const double dash : linetype.pattern) {
                    out.push_back(Tag::Make(49, Real(dash)));
                    if (subclasses_)
                        out.push_back(Tag::Make(74, "0"));
                }
            }
        }
        if (source_->blocksEnd != SIZE_MAX) {
            std::vector<Tag>& out = inserts[source_->blocksEnd];
            std::vector<Tag> records;
            for (const sim::BlockDefinition& block : drawing_.blocks) {
                if (std::find(source_->blocksRead.begin(), source_->blocksRead.end(),
                              FoldCase(block.name)) != source_->blocksRead.end()) {
                    continue;
                }
                std::string record;
                if (subclasses_) {
                    header(records, "BLOCK_RECORD", "BLOCK_RECORD", "AcDbBlockTableRecord",
                           block.name);
                    records.pop_back();  // block records carry no flags
                    record = records[records.size() - 5].value;
                }
                out.push_back(Tag::Make(0, "BLOCK"));
                out.push_back(Tag::Make(5, NewHandle()));
                if (subclasses_) {
                    out.push_back(Tag::Make(330, record));
                    out.push_back(Tag::Make(100, "AcDbEntity"));
                }
                out.push_back(Tag::Make(8, "0"));
                if (subclasses_)
                    out.push_back(Tag::Make(100, "AcDbBlockBegin"));
                out.push_back(Tag::Make(2, Encoded(block.name)));
                out.push_back(Tag::Make(70, "0"));
                out.push_back(Tag::Make(10, Real(block.basePoint.x)));
                out.push_back(Tag::Make(20, Real(block.basePoint.y)));
                out.push_back(Tag::Make(30, Real(block.basePoint.z)));
                out.push_back(Tag::Make(3, Encoded(block.name)));
                out.push_back(Tag::Make(1, ""));
                for (const sim::EntityRef& entity : block.entities) {
                    sim::EntityData copy = *entity;
                    copy.preserved = nullptr;
                    copy.handle.clear();
                    AppendEntity(out, copy, record);
                }
                out.push_back(Tag::Make(0, "ENDBLK"));
                out.push_back(Tag::Make(5, NewHandle()));
                if (subclasses_) {
                    out.push_back(Tag::Make(330, record));
                    out.push_back(Tag::Make(100, "AcDbEntity"));
                }
                out.push_back(Tag::Make(8, "0"));
                if (subclasses_)
                    out.push_back(Tag::Make(100, "AcDbBlockEnd"));
            }
            if (!records.empty()) {
                if (const auto end = source_->tableEnd.find("BLOCK_RECORD");
                    end != source_->tableEnd.end()) {
                    auto& slot = inserts[end->second];
                    slot.insert(slot.end(), records.begin(), records.end());
                }
            }
        }
        return inserts;
    }

    const sim::Drawing& drawing_;
    std::shared_ptr<const FileSource> source_;
    std::uint64_t seed_;
    bool subclasses_ = false;
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
