#include "cad/sim/sim_objects.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_map>
#include <unordered_set>

#include "cad/host_error.h"
#include "cad/names.h"
#include "cad/sim/lin_file.h"
#include "cad/sim/sim_application.h"

namespace navisaz::sim {

namespace {

constexpr const char* UserCancelled = "Input cancelled by the user";

[[noreturn]] void Unsupported(const EntityData& entity, const char* member) {
    throw HostError("Object doesn't support this property or method: " +
                    Narrow(AutomationObjectName(entity.kind)) + "." + member);
}

[[noreturn]] void InvalidArgument(const char* what) {
    throw HostError(std::string("Invalid argument ") + what);
}

// The index of an Item call: an integer within 0..count-1.
std::size_t IndexOf(const Variant& index, std::size_t count) {
    if (index.IsString())
        InvalidArgument("index: a number expected");
    const std::int32_t i = index.ToInt32();
    if (i < 0 || static_cast<std::size_t>(i) >= count)
        InvalidArgument("index: out of range");
    return static_cast<std::size_t>(i);
}

// The record an Item call means: by name (any case) or by position.
template <typename Record>
Record& ItemRecord(std::vector<Record>& records, const Variant& index) {
    if (index.IsString()) {
        for (Record& record : records) {
            if (SameName(record.name, index.ToString()))
                return record;
        }
        throw HostError("Key not found: " + Narrow(index.ToString()));
    }
    return records[IndexOf(index, records.size())];
}

// Hashing and comparing handles without regard to case, without copying them.
struct FoldedHash {
    std::size_t operator()(std::u16string_view text) const {
        std::size_t hash = 1469598103934665603ULL;
        for (char16_t c : text) {
            if (c >= u'a' && c <= u'z')
                c = static_cast<char16_t>(c - 32);
            hash = (hash ^ c) * 1099511628211ULL;
        }
        return hash;
    }
};
struct FoldedEqual {
    bool operator()(std::u16string_view a, std::u16string_view b) const { return SameName(a, b); }
};

class SimObject {
  public:
    SimObject(std::shared_ptr<SimApplication> host, std::shared_ptr<Drawing> drawing)
        : host_(std::move(host)), drawing_(std::move(drawing)) {}

  protected:
    SimApplication& Host() const {
        host_->CheckFree();
        return *host_;
    }
    Drawing& Data() const {
        host_->CheckFree();
        return *drawing_;
    }
    std::shared_ptr<SimApplication> host_;
    std::shared_ptr<Drawing> drawing_;
};

// ---------------------------------------------------------------- entities

class SimEntity : public AcadEntity, SimObject {
  public:
    SimEntity(std::shared_ptr<SimApplication> host, std::shared_ptr<Drawing> drawing, EntityRef e)
        : SimObject(std::move(host), std::move(drawing)), e_(std::move(e)) {}

    std::u16string ObjectName() override { return AutomationObjectName(Get().kind); }
    std::int32_t EntityType() override { return EntityTypeCode(Get().kind); }
    std::u16string Handle() override { return Get().handle; }

    std::u16string TextString() override { return Text("TextString").text; }
    void put_TextString(const std::u16string& text) override { Text("TextString").text = text; }
    double Height() override { return Text("Height").height; }
    void put_Height(double height) override {
        if (!(height > 0))
            InvalidArgument("Height: must be positive");
        Text("Height").height = height;
    }
    double Rotation() override { return Text("Rotation").rotation; }
    void put_Rotation(double radians) override { Text("Rotation").rotation = radians; }
    Variant InsertionPoint() override {
        EntityData& e = Get();
        if (e.kind == EntityKind::Insert)
            return PointVariant(e.insertion);
        return PointVariant(Text("InsertionPoint").insertion);
    }
    void put_InsertionPoint(const Variant& point) override {
        EntityData& e = Get();
        const Point3 p = PointFromVariant(point);
        if (e.kind == EntityKind::Insert) {
            e.insertion = p;
        } else {
            Text("InsertionPoint").insertion = p;
        }
    }
    std::int32_t Alignment() override { return SingleLine("Alignment").alignment; }
    void put_Alignment(std::int32_t alignment) override {
        if (alignment < 0 || alignment > 14)
            InvalidArgument("Alignment");
        SingleLine("Alignment").alignment = alignment;
    }
    bool Backward() override { return SingleLine("Backward").backward; }
    void put_Backward(bool backward) override { SingleLine("Backward").backward = backward; }
    std::u16string StyleName() override { return Text("StyleName").style; }
    void put_StyleName(const std::u16string& style) override {
        EntityData& e = Text("StyleName");
        const TextStyleData* found = Data().FindTextStyle(style);
        if (found == nullptr) {
            throw HostError("Key not found: text style " + Narrow(style));
        }
        e.style = found->name;
    }
    double Width() override {
        EntityData& e = Get();
        if (e.kind != EntityKind::MText)
            Unsupported(e, "Width");
        return e.width;
    }
    Variant Coordinates() override {
        EntityData& e = Get();
        std::vector<double> values;
        switch (e.kind) {
            case EntityKind::Point:
                values = {e.points[0].x, e.points[0].y, e.points[0].z};
                break;
            case EntityKind::LwPolyline:
                for (const Point3& p : e.points) {
                    values.push_back(p.x);
                    values.push_back(p.y);
                }
                break;
            case EntityKind::Leader:
                for (const Point3& p : e.points) {
                    values.insert(values.end(), {p.x, p.y, p.z});
                }
                break;
            default:
                Unsupported(e, "Coordinates");
        }
        return DoublesVariant(values);
    }

    std::int32_t color() override { return Get().color; }
    void put_color(std::int32_t color) override {
        if (color < 0 || color > 256)
            InvalidArgument("color");
        Get().color = color;
    }
    std::u16string Layer() override { return Get().layer; }
    void put_Layer(const std::u16string& layer) override {
        EntityData& e = Get();
        const LayerData* found = Data().FindLayer(layer);
        if (found == nullptr)
            throw HostError("Key not found: layer " + Narrow(layer));
        e.layer = found->name;
    }
    std::u16string Linetype() override { return Get().linetype; }
    void put_Linetype(const std::u16string& linetype) override {
        EntityData& e = Get();
        const LinetypeData* found = Data().FindLinetype(linetype);
        if (found == nullptr)
            throw HostError("Key not found: line type " + Narrow(linetype));
        e.linetype = found->name;
    }
    double LinetypeScale() override { return Get().linetypeScale; }
    void put_LinetypeScale(double scale) override {
        if (!(scale > 0))
            InvalidArgument("LinetypeScale: must be positive");
        Get().linetypeScale = scale;
    }

    void Move(const Variant& fromPoint, const Variant& toPoint) override {
        EntityData& e = Get();
        const Point3 from = PointFromVariant(fromPoint);
        const Point3 to = PointFromVariant(toPoint);
        const Point3 d{to.x - from.x, to.y - from.y, to.z - from.z};
        const auto shift = [&d](Point3& p) {
            p.x += d.x;
            p.y += d.y;
            p.z += d.z;
        };
        shift(e.insertion);
        for (Point3& p : e.points)
            shift(p);
        for (auto& loop : e.loops) {
            for (Point3& p : loop)
                shift(p);
        }
    }
    void Delete() override {
        EntityData& e = Get();
        Data().Erase(&e);
    }
    void Update() override { Get(); }
    void GetBoundingBox(Variant& minPoint, Variant& maxPoint) override {
        EntityData& e = Get();
        Point3 low, high;
        if (e.kind == EntityKind::Text) {
            const TextStyleData* style = Data().FindTextStyle(e.style);
            TextExtents(e, style ? style->widthFactor : 1.0, low, high);
        } else if (e.kind == EntityKind::Circle) {
            const Point3& c = e.points.at(0);
            low = {c.x - e.radius, c.y - e.radius, c.z};
            high = {c.x + e.radius, c.y + e.radius, c.z};
        } else if (!e.points.empty()) {
            low = high = e.points[0];
            for (const Point3& p : e.points) {
                low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
                high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
            }
        } else {
            Unsupported(e, "GetBoundingBox");
        }
        minPoint = PointVariant(low);
        maxPoint = PointVariant(high);
    }

    void SetPattern(std::int32_t patternType, const std::u16string& name) override {
        EntityData& e = Hatch("SetPattern");
        if (patternType < 0 || patternType > 2 || name.empty())
            InvalidArgument("SetPattern");
        e.patternType = patternType;
        e.patternName = name;
    }
    std::u16string PatternName() override { return Hatch("PatternName").patternName; }
    double PatternAngle() override { return Hatch("PatternAngle").patternAngle; }
    void put_PatternAngle(double radians) override { Hatch("PatternAngle").patternAngle = radians; }
    double PatternScale() override { return Hatch("PatternScale").patternScale; }
    void put_PatternScale(double scale) override {
        if (!(scale > 0))
            InvalidArgument("PatternScale: must be positive");
        Hatch("PatternScale").patternScale = scale;
    }

    std::u16string Name() override { return Insert("Name").blockName; }
    double XScaleFactor() override { return Insert("XScaleFactor").xScale; }
    void put_XScaleFactor(double scale) override {
        if (scale == 0)
            InvalidArgument("XScaleFactor");
        Insert("XScaleFactor").xScale = scale;
    }
    double YScaleFactor() override { return Insert("YScaleFactor").yScale; }
    void put_YScaleFactor(double scale) override {
        if (scale == 0)
            InvalidArgument("YScaleFactor");
        Insert("YScaleFactor").yScale = scale;
    }

    Variant Invoke(std::u16string_view member, CallKind kind,
                   const std::vector<Variant>& args) override {
        const bool put = kind == CallKind::PropertyPut && !args.empty();
        if (SameName(member, u"ObjectName"))
            return ObjectName();
        if (SameName(member, u"Handle"))
            return Handle();
        if (SameName(member, u"EntityType"))
            return EntityType();
        if (SameName(member, u"TextString")) {
            if (put)
                put_TextString(args[0].ToString());
            return put ? Variant() : Variant(TextString());
        }
        if (SameName(member, u"Height")) {
            if (put)
                put_Height(args[0].ToDouble());
            return put ? Variant() : Variant(Height());
        }
        if (SameName(member, u"Layer")) {
            if (put)
                put_Layer(args[0].ToString());
            return put ? Variant() : Variant(Layer());
        }
        if (SameName(member, u"color")) {
            if (put)
                put_color(args[0].ToInt32());
            return put ? Variant() : Variant(color());
        }
        return Dispatch::Invoke(member, kind, args);
    }

  private:
    EntityData& Get() {
        Host();
        if (e_->erased) {
            throw HostError("Object was erased");
        }
        return *e_;
    }
    EntityData& Text(const char* member) {
        EntityData& e = Get();
        if (e.kind != EntityKind::Text && e.kind != EntityKind::MText)
            Unsupported(e, member);
        return e;
    }
    EntityData& SingleLine(const char* member) {
        EntityData& e = Get();
        if (e.kind != EntityKind::Text)
            Unsupported(e, member);
        return e;
    }
    EntityData& Hatch(const char* member) {
        EntityData& e = Get();
        if (e.kind != EntityKind::Hatch)
            Unsupported(e, member);
        return e;
    }
    EntityData& Insert(const char* member) {
        EntityData& e = Get();
        if (e.kind != EntityKind::Insert)
            Unsupported(e, member);
        return e;
    }

    EntityRef e_;
};

// ---------------------------------------------------------------- spaces and layouts

class SimLayout : public AcadLayout {
  public:
    explicit SimLayout(std::u16string name) : name_(std::move(name)) {}
    std::u16string Name() override { return name_; }

  private:
    std::u16string name_;
};

class SimLayouts : public AcadLayouts, SimObject {
  public:
    using SimObject::SimObject;
    std::int32_t Count() override {
        Host();
        return 2;
    }
    std::shared_ptr<AcadLayout> Item(const Variant& index) override {
        Host();
        return std::make_shared<SimLayout>(IndexOf(index, 2) == 0 ? u"Model" : u"Layout1");
    }
};

class SimPlot : public AcadPlot {};

class SimBlock : public AcadBlock, SimObject {
  public:
    SimBlock(std::shared_ptr<SimApplication> host, std::shared_ptr<Drawing> drawing, bool model)
        : SimObject(std::move(host), std::move(drawing)), model_(model) {}

    std::u16string Name() override {
        Host();
        return model_ ? u"*Model_Space" : u"*Paper_Space";
    }
    std::int32_t Count() override { return static_cast<std::int32_t>(Space().size()); }
    EntityPtr Item(const Variant& index) override {
        auto& space = Space();
        return Wrap(space[IndexOf(index, space.size())]);
    }
    EntityPtr AddText(const std::u16string& text, const Variant& insertionPoint,
                      double height) override {
        const Point3 at = PointFromVariant(insertionPoint);
        if (!(height > 0))
            InvalidArgument("Height: must be positive");
        EntityRef e = Data().AddEntity(Space(), EntityKind::Text);
        e->text = text;
        e->insertion = at;
        e->height = height;
        return Wrap(e);
    }
    EntityPtr AddMText(const Variant& insertionPoint, double width,
                       const std::u16string& text) override {
        const Point3 at = PointFromVariant(insertionPoint);
        if (width < 0)
            InvalidArgument("Width");
        EntityRef e = Data().AddEntity(Space(), EntityKind::MText);
        e->text = text;
        e->insertion = at;
        e->width = width;
        const Variant size = Data().Variable(u"TEXTSIZE");
        e->height = size.IsEmpty() ? 2.5 : size.ToDouble();
        return Wrap(e);
    }
    EntityPtr AddLeader(const Variant& points, const Variant& annotation,
                        std::int32_t leaderType) override {
        const std::vector<double> values = DoublesFromVariant(points);
        if (values.size() < 6 || values.size() % 3 != 0)
            InvalidArgument("PointsArray");
        if (!annotation.IsNull() && !annotation.IsEmpty() && !annotation.IsObject()) {
            InvalidArgument("Annotation");
        }
        if (leaderType < 0 || leaderType > 3)
            InvalidArgument("Type");
        EntityRef e = Data().AddEntity(Space(), EntityKind::Leader);
        for (std::size_t i = 0; i < values.size(); i += 3) {
            e->points.push_back({values[i], values[i + 1], values[i + 2]});
        }
        e->alignment = leaderType;  // kept as the leader's type
        return Wrap(e);
    }
    EntityPtr InsertBlock(const Variant& insertionPoint, const std::u16string& name, double xScale,
                          double yScale, double zScale, double rotation, const Variant&) override {
        const Point3 at = PointFromVariant(insertionPoint);
        if (xScale == 0 || yScale == 0 || zScale == 0)
            InvalidArgument("scale");
        Drawing& drawing = Data();
        std::u16string blockName = name;
        const bool isFile = name.find_first_of(u"\\/") != std::u16string::npos ||
                            FoldCase(name).ends_with(u".DWG") || FoldCase(name).ends_with(u".DXF");
        if (isFile) {
            blockName = DefineBlockFromFile(drawing, name);
        } else if (drawing.FindBlock(name) == nullptr) {
            throw HostError("Invalid input: no block named " + Narrow(name));
        }
        EntityRef e = drawing.AddEntity(Space(), EntityKind::Insert);
        e->blockName = drawing.FindBlock(blockName)->name;
        e->insertion = at;
        e->xScale = xScale;
        e->yScale = yScale;
        e->zScale = zScale;
        e->rotation = rotation;
        return Wrap(e);
    }
    std::shared_ptr<AcadLayout> Layout() override {
        Host();
        return std::make_shared<SimLayout>(model_ ? u"Model" : u"Layout1");
    }

  private:
    std::vector<EntityRef>& Space() const { return model_ ? Data().modelSpace : Data().paperSpace; }
    EntityPtr Wrap(EntityRef e) const { return MakeEntityObject(host_, drawing_, std::move(e)); }

    // Reads a drawing file and (re)defines the block named after it from its model space.
    std::u16string DefineBlockFromFile(Drawing& drawing, const std::u16string& path) {
        if (!host_->drawingFileReader) {
            throw HostError("Cannot read drawing files: " + Narrow(path));
        }
        const std::shared_ptr<Drawing> source = host_->drawingFileReader(path);
        std::u16string stem = path.substr(path.find_last_of(u"\\/") + 1);
        stem = stem.substr(0, stem.find_last_of(u'.'));
        BlockDefinition* block = drawing.FindBlock(stem);
        if (block == nullptr) {
            drawing.blocks.push_back({.name = stem});
            block = &drawing.blocks.back();
        }
        block->entities.clear();
        const Variant base = source->Variable(u"INSBASE");
        block->basePoint = base.IsArray() ? PointFromVariant(base) : Point3{};
        for (const EntityRef& entity : source->modelSpace) {
            auto copy = std::make_shared<EntityData>(*entity);
            copy->handle = drawing.NewHandle();
            block->entities.push_back(std::move(copy));
        }
        // The blocks the file's own inserts need come along.
        for (const BlockDefinition& nested : source->blocks) {
            if (drawing.FindBlock(nested.name) == nullptr && !nested.name.starts_with(u"*")) {
                drawing.blocks.push_back(nested);
            }
        }
        return stem;
    }

    bool model_;
};

// ---------------------------------------------------------------- prompting

class SimUtility : public AcadUtility, SimObject {
  public:
    using SimObject::SimObject;

    void Prompt(const std::u16string& message) override {
        SimApplication& host = Host();
        host.WriteLine(message);
        host.User().ShowText(message);
    }
    Variant GetPoint(const Variant& basePoint, const Variant& prompt) override {
        SimApplication& host = Host();
        std::optional<Point3> base;
        if (!basePoint.IsEmpty())
            base = PointFromVariant(basePoint);
        const std::u16string text = prompt.IsEmpty() ? u"" : prompt.ToString();
        ConsumeInputRules();
        const PointAnswer answer = host.User().GetPoint(text, base);
        switch (answer.kind) {
            case PointAnswer::Kind::Point:
                return PointVariant(answer.point);
            case PointAnswer::Kind::Enter:
                throw HostError("Method GetPoint failed: no point was given");
            case PointAnswer::Kind::Cancel:
                break;
        }
        throw HostError(UserCancelled);
    }
    void InitializeUserInput(std::int32_t bits, const Variant& keywords) override {
        Host();
        bits_ = bits;
        keywords_ = keywords.IsEmpty() ? u"" : keywords.ToString();
    }
    std::int32_t GetInteger(const Variant& prompt) override {
        SimApplication& host = Host();
        const std::u16string text = prompt.IsEmpty() ? u"" : prompt.ToString();
        const std::int32_t bits = ConsumeInputRules();
        for (;;) {
            const TypedAnswer answer = host.User().GetInput(text);
            switch (answer.kind) {
                case TypedAnswer::Kind::Integer:
                    return answer.integer;
                case TypedAnswer::Kind::Text:
                    // Free text comes back as a "keyword" when the caller allowed it (bit 128).
                    if (bits & 128)
                        throw HostError(UserInputIsAKeyword);
                    host.WriteLine(u"Requires an integer value.");
                    continue;
                case TypedAnswer::Kind::Enter:
                    if (bits & 1) {
                        host.WriteLine(u"Requires an integer value.");
                        continue;
                    }
                    throw HostError("Method GetInteger failed: no value was given");
                case TypedAnswer::Kind::Cancel:
                    throw HostError(UserCancelled);
            }
        }
    }

  private:
    // Input rules hold for the next prompt only.
    std::int32_t ConsumeInputRules() {
        const std::int32_t bits = bits_;
        bits_ = 0;
        keywords_.clear();
        return bits;
    }
    std::int32_t bits_ = 0;
    std::u16string keywords_;
};

// ---------------------------------------------------------------- selection

// What a selection filter of DXF group codes keeps: code 0 (type names, comma-separated, '*'
// for any) and code 8 (layer names).
EntityFilter FilterFrom(const Variant& filterType, const Variant& filterData) {
    if (filterType.IsEmpty() && filterData.IsEmpty()) {
        return [](const EntityData&) { return true; };
    }
    const Variant::Array& codes = filterType.ToArray();
    const Variant::Array& values = filterData.ToArray();
    if (codes.size() != values.size() || codes.empty())
        InvalidArgument("FilterType");
    std::vector<std::pair<std::int32_t, std::vector<std::u16string>>> tests;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const std::int32_t code = codes[i].ToInt32();
        if (code != 0 && code != 8)
            InvalidArgument("FilterType: unsupported group code");
        std::vector<std::u16string> names;
        const std::u16string list = FoldCase(values[i].ToString());
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t comma = std::min(list.find(u',', start), list.size());
            names.push_back(list.substr(start, comma - start));
            start = comma + 1;
        }
        tests.emplace_back(code, std::move(names));
    }
    return [tests](const EntityData& e) {
        for (const auto& [code, names] : tests) {
            const std::u16string value = FoldCase(code == 0 ? DxfTypeName(e.kind) : e.layer);
            const bool matches = std::any_of(
                names.begin(), names.end(), [&](const auto& n) { return n == u"*" || n == value; });
            if (!matches)
                return false;
        }
        return true;
    };
}

class SimSelectionSet : public AcadSelectionSet, SimObject {
  public:
    SimSelectionSet(std::shared_ptr<SimApplication> host, std::shared_ptr<Drawing> drawing,
                    std::u16string name)
        : SimObject(std::move(host), std::move(drawing)), name_(std::move(name)) {}

    std::u16string Name() override { return Set().name; }
    std::int32_t Count() override { return static_cast<std::int32_t>(Set().entities.size()); }
    EntityPtr Item(const Variant& index) override {
        SelectionSetData& set = Set();
        return MakeEntityObject(host_, drawing_, set.entities[IndexOf(index, set.entities.size())]);
    }
    void Clear() override { Set().entities.clear(); }
    void SelectOnScreen(const Variant& filterType, const Variant& filterData) override {
        SelectionSetData& set = Set();
        const EntityFilter accepts = FilterFrom(filterType, filterData);
        Drawing& drawing = Data();
        const SelectionAnswer answer =
            host_->User().SelectOnScreen(u"Select objects: ", drawing, accepts);
        if (answer.cancelled)
            throw HostError(UserCancelled);
        // Picks count only for entities of the active space that pass the filter, each once.
        const std::vector<EntityRef>& space = drawing.ActiveSpace();
        std::unordered_map<std::u16string_view, const EntityRef*, FoldedHash, FoldedEqual> onScreen;
        onScreen.reserve(space.size());
        for (const EntityRef& e : space)
            onScreen.emplace(e->handle, &e);
        std::unordered_set<const EntityData*> taken(set.entities.size() + answer.handles.size());
        for (const EntityRef& e : set.entities)
            taken.insert(e.get());
        for (const std::u16string& handle : answer.handles) {
            const auto found = onScreen.find(handle);
            if (found == onScreen.end() || !accepts(**found->second))
                continue;
            if (taken.insert(found->second->get()).second) {
                set.entities.push_back(*found->second);
            }
        }
    }
    void Delete() override {
        Set();
        std::erase_if(Data().selectionSets,
                      [this](const SelectionSetData& s) { return SameName(s.name, name_); });
    }

  private:
    SelectionSetData& Set() const {
        for (SelectionSetData& set : Data().selectionSets) {
            if (SameName(set.name, name_))
                return set;
        }
        throw HostError("Selection set " + Narrow(name_) + " was deleted");
    }
    std::u16string name_;
};

class SimSelectionSets : public AcadSelectionSets, SimObject {
  public:
    using SimObject::SimObject;
    std::int32_t Count() override { return static_cast<std::int32_t>(Data().selectionSets.size()); }
    std::shared_ptr<AcadSelectionSet> Item(const Variant& index) override {
        return Wrap(ItemRecord(Data().selectionSets, index).name);
    }
    std::shared_ptr<AcadSelectionSet> Add(const std::u16string& name) override {
        auto& sets = Data().selectionSets;
        if (name.empty())
            InvalidArgument("Name");
        for (const SelectionSetData& set : sets) {
            if (SameName(set.name, name))
                throw HostError("Duplicate record name: " + Narrow(name));
        }
        sets.push_back({name, {}});
        return Wrap(name);
    }

  private:
    std::shared_ptr<AcadSelectionSet> Wrap(const std::u16string& name) const {
        return std::make_shared<SimSelectionSet>(host_, drawing_, name);
    }
};

// ---------------------------------------------------------------- tables

class SimTextStyle : public AcadTextStyle, SimObject {
  public:
    SimTextStyle(std::shared_ptr<SimApplication> host, std::shared_ptr<Drawing> drawing,
                 std::u16string name)
        : SimObject(std::move(host), std::move(drawing)), name_(std::move(name)) {}
    std::u16string Name() override { return Style().name; }
    std::u16string fontFile() override { return Style().fontFile; }
    void put_fontFile(const std::u16string& file) override {
        TextStyleData& style = Style();
        style.fontFile = file;
        style.typeface.clear();
    }
    std::int32_t TextGenerationFlag() override { return Style().generationFlag; }
    void put_TextGenerationFlag(std::int32_t flag) override {
        if (flag != 0 && flag != 2 && flag != 4 && flag != 6)
            InvalidArgument("TextGenerationFlag");
        Style().generationFlag = flag;
    }
    void SetFont(const std::u16string& typeface, bool bold, bool italic, std::int32_t charset,
                 std::int32_t pitchAndFamily) override {
        TextStyleData& style = Style();
        if (typeface.empty())
            InvalidArgument("Typeface");
        style.typeface = typeface;
        style.fontFile.clear();
        style.bold = bold;
        style.italic = italic;
        style.charset = charset;
        style.pitchAndFamily = pitchAndFamily;
    }
    std::u16string Typeface() override { return Style().typeface; }
    Variant Invoke(std::u16string_view member, CallKind kind,
                   const std::vector<Variant>& args) override {
        if (SameName(member, u"Name"))
            return Name();
        if (SameName(member, u"fontFile")) {
            if (kind == CallKind::PropertyPut && !args.empty()) {
                put_fontFile(args[0].ToString());
                return {};
            }
            return fontFile();
        }
        if (SameName(member, u"TextGenerationFlag")) {
            if (kind == CallKind::PropertyPut && !args.empty()) {
                put_TextGenerationFlag(args[0].ToInt32());
                return {};
            }
            return TextGenerationFlag();
        }
        return Dispatch::Invoke(member, kind, args);
    }

  private:
    TextStyleData& Style() const {
        TextStyleData* style = Data().FindTextStyle(name_);
        if (style == nullptr)
            throw HostError("Text style " + Narrow(name_) + " was deleted");
        return *style;
    }
    std::u16string name_;
};

class SimTextStyles : public AcadTextStyles, SimObject {
  public:
    using SimObject::SimObject;
    std::int32_t Count() override { return static_cast<std::int32_t>(Data().textStyles.size()); }
    std::shared_ptr<AcadTextStyle> Item(const Variant& index) override {
        return Wrap(ItemRecord(Data().textStyles, index).name);
    }
    std::shared_ptr<AcadTextStyle> Add(const std::u16string& name) override {
        Drawing& drawing = Data();
        if (name.empty())
            InvalidArgument("Name");
        if (const TextStyleData* existing = drawing.FindTextStyle(name)) {
            return Wrap(existing->name);
        }
        drawing.textStyles.push_back({.name = name, .fontFile = u"txt"});
        return Wrap(name);
    }

  private:
    std::shared_ptr<AcadTextStyle> Wrap(const std::u16string& name) const {
        return std::make_shared<SimTextStyle>(host_, drawing_, name);
    }
};

bool IsLineweightCode(std::int32_t code) {
    static constexpr std::int32_t Codes[] = {-3, -2,  0,   5,   9,   13,  15,  18, 20,
                                             25, 30,  35,  40,  50,  53,  60,  70, 80,
                                             90, 100, 106, 120, 140, 158, 200, 211};
    return std::find(std::begin(Codes), std::end(Codes), code) != std::end(Codes);
}

class SimLayer : public AcadLayer, SimObject {
  public:
    SimLayer(std::shared_ptr<SimApplication> host, std::shared_ptr<Drawing> drawing,
             std::u16string name)
        : SimObject(std::move(host), std::move(drawing)), name_(std::move(name)) {}
    std::u16string Name() override { return Layer().name; }
    std::int32_t color() override { return Layer().color; }
    void put_color(std::int32_t color) override {
        if (color < 1 || color > 255)
            InvalidArgument("color: a layer takes 1 to 255");
        Layer().color = color;
    }
    std::int32_t Lineweight() override { return Layer().lineweight; }
    void put_Lineweight(std::int32_t lineweight) override {
        if (!IsLineweightCode(lineweight))
            InvalidArgument("Lineweight");
        Layer().lineweight = lineweight;
    }
    Variant Invoke(std::u16string_view member, CallKind kind,
                   const std::vector<Variant>& args) override {
        if (SameName(member, u"Name"))
            return Name();
        if (SameName(member, u"color")) {
            if (kind == CallKind::PropertyPut && !args.empty()) {
                put_color(args[0].ToInt32());
                return {};
            }
            return color();
        }
        return Dispatch::Invoke(member, kind, args);
    }

  private:
    LayerData& Layer() const {
        LayerData* layer = Data().FindLayer(name_);
        if (layer == nullptr)
            throw HostError("Layer " + Narrow(name_) + " was deleted");
        return *layer;
    }
    std::u16string name_;
};

class SimLayers : public AcadLayers, SimObject {
  public:
    using SimObject::SimObject;
    std::int32_t Count() override { return static_cast<std::int32_t>(Data().layers.size()); }
    std::shared_ptr<AcadLayer> Item(const Variant& index) override {
        return Wrap(ItemRecord(Data().layers, index).name);
    }
    std::shared_ptr<AcadLayer> Add(const std::u16string& name) override {
        Drawing& drawing = Data();
        if (name.empty() || name.find_first_of(u"<>/\\\":;?*|,=`") != std::u16string::npos) {
            InvalidArgument("Name");
        }
        if (const LayerData* existing = drawing.FindLayer(name))
            return Wrap(existing->name);
        drawing.layers.push_back({.name = name});
        return Wrap(name);
    }

  private:
    std::shared_ptr<AcadLayer> Wrap(const std::u16string& name) const {
        return std::make_shared<SimLayer>(host_, drawing_, name);
    }
};

class SimLinetype : public AcadLinetype {
  public:
    explicit SimLinetype(LinetypeData data) : data_(std::move(data)) {}
    std::u16string Name() override { return data_.name; }
    std::u16string Description() override { return data_.description; }

  private:
    LinetypeData data_;
};

class SimLinetypes : public AcadLinetypes, SimObject {
  public:
    using SimObject::SimObject;
    std::int32_t Count() override { return static_cast<std::int32_t>(Data().linetypes.size()); }
    std::shared_ptr<AcadLinetype> Item(const Variant& index) override {
        return std::make_shared<SimLinetype>(ItemRecord(Data().linetypes, index));
    }
    void Load(const std::u16string& name, const std::u16string& fileName) override {
        Drawing& drawing = Data();
        const auto path = host_->FindSupportFile(fileName);
        if (!path)
            throw HostError("Error loading file: " + Narrow(fileName));
        std::ifstream file(Narrow(*path), std::ios::binary);
        std::stringstream contents;
        contents << file.rdbuf();
        const std::vector<LinetypeData> loaded = ParseLinFile(contents.str(), Narrow(fileName));
        bool any = false;
        for (const LinetypeData& linetype : loaded) {
            if (name != u"*" && !SameName(linetype.name, name))
                continue;
            any = true;
            if (drawing.FindLinetype(linetype.name) != nullptr) {
                if (name == u"*")
                    continue;  // all: the loaded ones stay as they are
                throw HostError("Duplicate record name: " + Narrow(linetype.name));
            }
            drawing.linetypes.push_back(linetype);
        }
        if (!any)
            throw HostError("Linetype " + Narrow(name) + " not found in " + Narrow(fileName));
    }
};

// ---------------------------------------------------------------- document

class SimDocument : public AcadDocument, SimObject {
  public:
    using SimObject::SimObject;

    std::u16string Name() override { return Data().name; }
    std::shared_ptr<AcadBlock> ModelSpace() override {
        Host();
        return std::make_shared<SimBlock>(host_, drawing_, true);
    }
    std::shared_ptr<AcadBlock> PaperSpace() override {
        Host();
        return std::make_shared<SimBlock>(host_, drawing_, false);
    }
    std::int32_t ActiveSpace() override { return Data().modelSpaceActive ? 1 : 0; }
    void put_ActiveSpace(std::int32_t space) override {
        if (space != 0 && space != 1)
            InvalidArgument("ActiveSpace");
        Data().modelSpaceActive = space == 1;
    }
    std::shared_ptr<AcadLayers> Layers() override {
        Host();
        return std::make_shared<SimLayers>(host_, drawing_);
    }
    std::shared_ptr<AcadLayer> ActiveLayer() override {
        const std::u16string name = Data().Variable(u"CLAYER").ToString();
        return Layers()->Item(Variant(name));
    }
    void put_ActiveLayer(const std::shared_ptr<AcadLayer>& layer) override {
        Drawing& drawing = Data();
        if (!layer)
            InvalidArgument("ActiveLayer");
        const std::u16string name = layer->Name();
        if (drawing.FindLayer(name) == nullptr)
            InvalidArgument("ActiveLayer: not of this drawing");
        drawing.SetVariable(u"CLAYER", Variant(name));
    }
    std::shared_ptr<AcadLayouts> Layouts() override {
        Host();
        return std::make_shared<SimLayouts>(host_, drawing_);
    }
    std::shared_ptr<AcadLayout> ActiveLayout() override {
        return std::make_shared<SimLayout>(Data().modelSpaceActive ? u"Model" : u"Layout1");
    }
    std::shared_ptr<AcadPlot> Plot() override {
        Host();
        return std::make_shared<SimPlot>();
    }
    std::shared_ptr<AcadSelectionSets> SelectionSets() override {
        Host();
        return std::make_shared<SimSelectionSets>(host_, drawing_);
    }
    std::shared_ptr<AcadUtility> Utility() override {
        Host();
        return std::make_shared<SimUtility>(host_, drawing_);
    }
    std::shared_ptr<AcadTextStyles> TextStyles() override {
        Host();
        return std::make_shared<SimTextStyles>(host_, drawing_);
    }
    std::shared_ptr<AcadLinetypes> Linetypes() override {
        Host();
        return std::make_shared<SimLinetypes>(host_, drawing_);
    }
    void SendCommand(const std::u16string& command) override {
        SimApplication& host = Host();
        host.commandLog.push_back(command);
        host.TypeCommand(*drawing_, command);
    }
    void SetVariable(const std::u16string& name, const Variant& value) override {
        Drawing& drawing = Data();
        if (drawing.Variable(name).IsEmpty()) {
            throw HostError("Error setting system variable " + Narrow(name));
        }
        drawing.SetVariable(name, value);
    }
    Variant GetVariable(const std::u16string& name) override {
        const Variant value = Data().Variable(name);
        if (value.IsEmpty())
            throw HostError("Error getting system variable " + Narrow(name));
        return value;
    }
    void LoadShapeFile(const std::u16string& fullPath) override {
        SimApplication& host = Host();
        if (!std::filesystem::exists(Narrow(fullPath))) {
            throw HostError("Error loading shape file: " + Narrow(fullPath));
        }
        host.WriteLine(u"Shape file loaded: " + fullPath);
        Data().SetVariable(u"SHPNAME", Variant(fullPath));
    }
    void Regen(std::int32_t) override { Host(); }

    Variant Invoke(std::u16string_view member, CallKind kind,
                   const std::vector<Variant>& args) override {
        const bool put = kind == CallKind::PropertyPut && !args.empty();
        if (SameName(member, u"Name"))
            return Name();
        if (SameName(member, u"ActiveLayer")) {
            if (put) {
                put_ActiveLayer(std::dynamic_pointer_cast<AcadLayer>(args[0].ToObject()));
                return {};
            }
            return Variant(std::static_pointer_cast<Dispatch>(ActiveLayer()));
        }
        if (SameName(member, u"ActiveTextStyle")) {
            if (put) {
                const auto style = std::dynamic_pointer_cast<AcadTextStyle>(args[0].ToObject());
                if (!style)
                    InvalidArgument("ActiveTextStyle");
                Drawing& drawing = Data();
                const TextStyleData* found = drawing.FindTextStyle(style->Name());
                if (found == nullptr)
                    InvalidArgument("ActiveTextStyle: not of this drawing");
                drawing.SetVariable(u"TEXTSTYLE", Variant(found->name));
                return {};
            }
            return Variant(std::static_pointer_cast<Dispatch>(
                TextStyles()->Item(Variant(Data().Variable(u"TEXTSTYLE").ToString()))));
        }
        if (SameName(member, u"ActiveSpace")) {
            if (put)
                put_ActiveSpace(args[0].ToInt32());
            return put ? Variant() : Variant(ActiveSpace());
        }
        if (SameName(member, u"SendCommand") && !args.empty()) {
            SendCommand(args[0].ToString());
            return {};
        }
        if (SameName(member, u"GetVariable") && !args.empty())
            return GetVariable(args[0].ToString());
        if (SameName(member, u"SetVariable") && args.size() >= 2) {
            SetVariable(args[0].ToString(), args[1]);
            return {};
        }
        return Dispatch::Invoke(member, kind, args);
    }
};

class SimDocuments : public AcadDocuments {
  public:
    explicit SimDocuments(std::shared_ptr<SimApplication> host) : host_(std::move(host)) {}
    std::int32_t Count() override {
        host_->CheckFree();
        return static_cast<std::int32_t>(host_->drawings.size());
    }
    std::shared_ptr<AcadDocument> Item(const Variant& index) override {
        host_->CheckFree();
        if (index.IsString()) {
            for (const auto& drawing : host_->drawings) {
                if (SameName(drawing->name, index.ToString())) {
                    return host_->DocumentObject(drawing);
                }
            }
            throw HostError("Key not found: " + Narrow(index.ToString()));
        }
        return host_->DocumentObject(host_->drawings[IndexOf(index, host_->drawings.size())]);
    }

  private:
    std::shared_ptr<SimApplication> host_;
};

class SimPreferencesOutput : public AcadPreferencesOutput {};

class SimPreferencesFiles : public AcadPreferencesFiles {
  public:
    explicit SimPreferencesFiles(std::shared_ptr<SimApplication> host) : host_(std::move(host)) {}
    std::u16string SupportPath() override {
        host_->CheckFree();
        std::u16string path;
        for (const std::u16string& folder : host_->supportFolders) {
            if (!path.empty())
                path += u';';
            path += folder;
        }
        return path;
    }

  private:
    std::shared_ptr<SimApplication> host_;
};

class SimPreferences : public AcadPreferences {
  public:
    explicit SimPreferences(std::shared_ptr<SimApplication> host) : host_(std::move(host)) {}
    std::shared_ptr<AcadPreferencesOutput> Output() override {
        host_->CheckFree();  // the busy test reads this
        return std::make_shared<SimPreferencesOutput>();
    }
    std::shared_ptr<AcadPreferencesFiles> Files() override {
        host_->CheckFree();
        return std::make_shared<SimPreferencesFiles>(host_);
    }

  private:
    std::shared_ptr<SimApplication> host_;
};

}  // namespace

void TextExtents(const EntityData& text, double widthFactor, Point3& minPoint, Point3& maxPoint) {
    const double length =
        static_cast<double>(text.text.size()) * text.height * CharacterWidthInHeights * widthFactor;
    const double along = text.backward ? -length : length;
    const double c = std::cos(text.rotation);
    const double s = std::sin(text.rotation);
    const Point3& o = text.insertion;
    const Point3 corners[4] = {
        o,
        {o.x + along * c, o.y + along * s, o.z},
        {o.x - text.height * s, o.y + text.height * c, o.z},
        {o.x + along * c - text.height * s, o.y + along * s + text.height * c, o.z},
    };
    minPoint = maxPoint = corners[0];
    for (const Point3& p : corners) {
        minPoint = {std::min(minPoint.x, p.x), std::min(minPoint.y, p.y), o.z};
        maxPoint = {std::max(maxPoint.x, p.x), std::max(maxPoint.y, p.y), o.z};
    }
}

std::shared_ptr<AcadDocument> MakeDocumentObject(std::shared_ptr<SimApplication> host,
                                                 std::shared_ptr<Drawing> drawing) {
    return std::make_shared<SimDocument>(std::move(host), std::move(drawing));
}

std::shared_ptr<AcadEntity> MakeEntityObject(std::shared_ptr<SimApplication> host,
                                             std::shared_ptr<Drawing> drawing, EntityRef entity) {
    return std::make_shared<SimEntity>(std::move(host), std::move(drawing), std::move(entity));
}

std::shared_ptr<AcadDocuments> MakeDocumentsObject(std::shared_ptr<SimApplication> host) {
    return std::make_shared<SimDocuments>(std::move(host));
}

std::shared_ptr<AcadPreferences> MakePreferencesObject(std::shared_ptr<SimApplication> host) {
    return std::make_shared<SimPreferences>(std::move(host));
}

}  // namespace navisaz::sim
