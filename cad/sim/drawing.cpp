#include "cad/sim/drawing.h"

#include <algorithm>
#include <cstdio>

#include "cad/names.h"

namespace navisaz::sim {

namespace {

struct KindNames {
    EntityKind kind;
    const char16_t* dxfName;
    const char16_t* objectName;
    std::int32_t typeCode;  // the host's entity type enumeration
};

constexpr KindNames EntityKinds[] = {
    {EntityKind::Text, u"TEXT", u"AcDbText", 32},
    {EntityKind::MText, u"MTEXT", u"AcDbMText", 21},
    {EntityKind::Point, u"POINT", u"AcDbPoint", 22},
    {EntityKind::Line, u"LINE", u"AcDbLine", 19},
    {EntityKind::LwPolyline, u"LWPOLYLINE", u"AcDbPolyline", 24},
    {EntityKind::Circle, u"CIRCLE", u"AcDbCircle", 8},
    {EntityKind::Hatch, u"HATCH", u"AcDbHatch", 17},
    {EntityKind::Insert, u"INSERT", u"AcDbBlockReference", 7},
    {EntityKind::Leader, u"LEADER", u"AcDbLeader", 18},
};

const KindNames& NamesOf(EntityKind kind) {
    for (const KindNames& names : EntityKinds) {
        if (names.kind == kind) {
            return names;
        }
    }
    return EntityKinds[0];
}

template <typename Record>
Record* FindByName(std::vector<Record>& records, const std::u16string& name) {
    const auto found = std::find_if(records.begin(), records.end(),
                                    [&](const Record& r) { return SameName(r.name, name); });
    return found == records.end() ? nullptr : &*found;
}

}  // namespace

std::u16string DxfTypeName(EntityKind kind) {
    return NamesOf(kind).dxfName;
}
std::u16string AutomationObjectName(EntityKind kind) {
    return NamesOf(kind).objectName;
}
std::int32_t EntityTypeCode(EntityKind kind) {
    return NamesOf(kind).typeCode;
}

Drawing::Drawing() {
    textStyles.push_back({.name = u"Standard", .fontFile = u"txt"});
    layers.push_back({.name = u"0"});
    linetypes.push_back({.name = u"ByBlock"});
    linetypes.push_back({.name = u"ByLayer"});
    linetypes.push_back({.name = u"Continuous", .description = u"Solid line"});
    SetVariable(u"CLAYER", Variant(u"0"));
    SetVariable(u"CECOLOR", Variant(u"BYLAYER"));
    SetVariable(u"CELTYPE", Variant(u"ByLayer"));
    SetVariable(u"CELTSCALE", Variant(1.0));
    SetVariable(u"TEXTSTYLE", Variant(u"Standard"));
    SetVariable(u"HPNAME", Variant(u"ANSI31"));
    SetVariable(u"HPANG", Variant(0.0));
    SetVariable(u"HPSCALE", Variant(1.0));
    SetVariable(u"LTSCALE", Variant(1.0));
}

std::u16string Drawing::NewHandle() {
    char digits[20];
    std::snprintf(digits, sizeof digits, "%llX", static_cast<unsigned long long>(handleSeed++));
    return Widen(digits);
}

Variant Drawing::Variable(const std::u16string& name) const {
    const auto found = variables_.find(FoldCase(name));
    return found == variables_.end() ? Variant() : found->second;
}

void Drawing::SetVariable(const std::u16string& name, const Variant& value) {
    variables_[FoldCase(name)] = value;
}

TextStyleData* Drawing::FindTextStyle(const std::u16string& n) {
    return FindByName(textStyles, n);
}
LayerData* Drawing::FindLayer(const std::u16string& n) {
    return FindByName(layers, n);
}
LinetypeData* Drawing::FindLinetype(const std::u16string& n) {
    return FindByName(linetypes, n);
}
BlockDefinition* Drawing::FindBlock(const std::u16string& n) {
    return FindByName(blocks, n);
}

EntityRef Drawing::FindEntity(const std::u16string& handle) const {
    for (const auto* space : {&modelSpace, &paperSpace}) {
        for (const EntityRef& entity : *space) {
            if (SameName(entity->handle, handle)) {
                return entity;
            }
        }
    }
    return nullptr;
}

void Drawing::Erase(EntityData* entity) {
    entity->erased = true;
    const auto sameEntity = [entity](const EntityRef& e) { return e.get() == entity; };
    std::erase_if(modelSpace, sameEntity);
    std::erase_if(paperSpace, sameEntity);
    for (SelectionSetData& set : selectionSets) {
        std::erase_if(set.entities, sameEntity);
    }
}

EntityRef Drawing::AddEntity(std::vector<EntityRef>& space, EntityKind kind) {
    auto entity = std::make_shared<EntityData>();
    entity->kind = kind;
    entity->handle = NewHandle();
    entity->layer = Variable(u"CLAYER").IsString() ? Variable(u"CLAYER").ToString() : u"0";
    entity->linetype =
        Variable(u"CELTYPE").IsString() ? Variable(u"CELTYPE").ToString() : u"ByLayer";
    const Variant scale = Variable(u"CELTSCALE");
    entity->linetypeScale = scale.IsEmpty() ? 1.0 : scale.ToDouble();
    const Variant color = Variable(u"CECOLOR");
    if (color.IsString()) {
        const std::u16string text = FoldCase(color.ToString());
        if (text == u"BYBLOCK") {
            entity->color = ColorByBlock;
        } else if (text != u"BYLAYER") {
            entity->color = 0;
            for (const char16_t c : text) {
                if (c < u'0' || c > u'9') {
                    entity->color = ColorByLayer;
                    break;
                }
                entity->color = entity->color * 10 + (c - u'0');
            }
        }
    }
    if (const Variant style = Variable(u"TEXTSTYLE"); style.IsString()) {
        entity->style = style.ToString();
    }
    space.push_back(entity);
    return entity;
}

}  // namespace navisaz::sim
