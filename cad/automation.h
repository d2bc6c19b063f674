#pragma once

// The host contract: one interface per automation object of the CAD host the program drives,
// one method per member it calls, with the member's name and argument order. Property getters
// carry the member's name, setters put_ and the name. The Windows backend maps each method to its
// dispatch identifier; the substitute host implements them directly. Every failure is a
// HostError.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cad/variant.h"

namespace navisaz {

enum class CallKind { PropertyGet, PropertyPut, Method };

// Every automation object. Invoke is late binding by member name (case-insensitive), for the
// calls the program makes through an untyped handle.
class Dispatch : public std::enable_shared_from_this<Dispatch> {
  public:
    virtual ~Dispatch() = default;
    virtual Variant Invoke(std::u16string_view member, CallKind kind,
                           const std::vector<Variant>& args);
};

class AcadEntity : public Dispatch {
  public:
    virtual std::u16string ObjectName() = 0;  // "AcDbText", "AcDbMText", "AcDbPoint", ...
    virtual std::int32_t EntityType() = 0;    // 7 insert, 17 hatch, 19 line, 24 lwpolyline, ...
    virtual std::u16string Handle() = 0;

    virtual std::u16string TextString() = 0;
    virtual void put_TextString(const std::u16string& text) = 0;
    virtual double Height() = 0;
    virtual void put_Height(double height) = 0;
    virtual double Rotation() = 0;
    virtual void put_Rotation(double radians) = 0;
    virtual Variant InsertionPoint() = 0;
    virtual void put_InsertionPoint(const Variant& point) = 0;
    virtual std::int32_t Alignment() = 0;
    virtual void put_Alignment(std::int32_t alignment) = 0;
    virtual bool Backward() = 0;
    virtual void put_Backward(bool backward) = 0;
    virtual std::u16string StyleName() = 0;
    virtual void put_StyleName(const std::u16string& style) = 0;
    virtual double Width() = 0;  // multi-line text
    virtual Variant Coordinates() = 0;

    virtual std::int32_t color() = 0;
    virtual void put_color(std::int32_t color) = 0;
    virtual std::u16string Layer() = 0;
    virtual void put_Layer(const std::u16string& layer) = 0;
    virtual std::u16string Linetype() = 0;
    virtual void put_Linetype(const std::u16string& linetype) = 0;
    virtual double LinetypeScale() = 0;
    virtual void put_LinetypeScale(double scale) = 0;

    virtual void Move(const Variant& fromPoint, const Variant& toPoint) = 0;
    virtual void Delete() = 0;
    virtual void Update() = 0;
    virtual void GetBoundingBox(Variant& minPoint, Variant& maxPoint) = 0;

    // Hatch.
    virtual void SetPattern(std::int32_t patternType, const std::u16string& name) = 0;
    virtual std::u16string PatternName() = 0;
    virtual double PatternAngle() = 0;
    virtual void put_PatternAngle(double radians) = 0;
    virtual double PatternScale() = 0;
    virtual void put_PatternScale(double scale) = 0;

    // Block reference.
    virtual std::u16string Name() = 0;
    virtual double XScaleFactor() = 0;
    virtual void put_XScaleFactor(double scale) = 0;
    virtual double YScaleFactor() = 0;
    virtual void put_YScaleFactor(double scale) = 0;
};
using EntityPtr = std::shared_ptr<AcadEntity>;

class AcadLayout : public Dispatch {
  public:
    virtual std::u16string Name() = 0;
};

class AcadLayouts : public Dispatch {
  public:
    virtual std::int32_t Count() = 0;
    virtual std::shared_ptr<AcadLayout> Item(const Variant& index) = 0;
};

class AcadPlot : public Dispatch {};

// Model space or paper space.
class AcadBlock : public Dispatch {
  public:
    virtual std::u16string Name() = 0;
    virtual std::int32_t Count() = 0;
    virtual EntityPtr Item(const Variant& index) = 0;
    virtual EntityPtr AddText(const std::u16string& text, const Variant& insertionPoint,
                              double height) = 0;
    virtual EntityPtr AddMText(const Variant& insertionPoint, double width,
                               const std::u16string& text) = 0;
    virtual EntityPtr AddLeader(const Variant& points, const Variant& annotation,
                                std::int32_t leaderType) = 0;
    // name is a block of the drawing or a drawing file to insert as a block.
    virtual EntityPtr InsertBlock(const Variant& insertionPoint, const std::u16string& name,
                                  double xScale, double yScale, double zScale, double rotation,
                                  const Variant& password) = 0;
    virtual std::shared_ptr<AcadLayout> Layout() = 0;
};

class AcadUtility : public Dispatch {
  public:
    virtual void Prompt(const std::u16string& message) = 0;
    // Both arguments are optional (Empty); the result is an array of three doubles.
    virtual Variant GetPoint(const Variant& basePoint, const Variant& prompt) = 0;
    virtual void InitializeUserInput(std::int32_t bits, const Variant& keywords) = 0;
    virtual std::int32_t GetInteger(const Variant& prompt) = 0;
};

class AcadSelectionSet : public Dispatch {
  public:
    virtual std::u16string Name() = 0;
    virtual std::int32_t Count() = 0;
    virtual EntityPtr Item(const Variant& index) = 0;
    virtual void Clear() = 0;
    // Optional filter: DXF group codes (array of 16-bit integers) and their values.
    virtual void SelectOnScreen(const Variant& filterType, const Variant& filterData) = 0;
    virtual void Delete() = 0;
};

class AcadSelectionSets : public Dispatch {
  public:
    virtual std::int32_t Count() = 0;
    virtual std::shared_ptr<AcadSelectionSet> Item(const Variant& index) = 0;
    virtual std::shared_ptr<AcadSelectionSet> Add(const std::u16string& name) = 0;
};

class AcadTextStyle : public Dispatch {
  public:
    virtual std::u16string Name() = 0;
    virtual std::u16string fontFile() = 0;
    virtual void put_fontFile(const std::u16string& file) = 0;
    virtual std::int32_t TextGenerationFlag() = 0;
    virtual void put_TextGenerationFlag(std::int32_t flag) = 0;
    virtual void SetFont(const std::u16string& typeface, bool bold, bool italic,
                         std::int32_t charset, std::int32_t pitchAndFamily) = 0;
    virtual std::u16string Typeface() = 0;  // the Windows font set by SetFont, if any
};

class AcadTextStyles : public Dispatch {
  public:
    virtual std::int32_t Count() = 0;
    virtual std::shared_ptr<AcadTextStyle> Item(const Variant& index) = 0;
    // Returns the style of that name, new or existing.
    virtual std::shared_ptr<AcadTextStyle> Add(const std::u16string& name) = 0;
};

class AcadLayer : public Dispatch {
  public:
    virtual std::u16string Name() = 0;
    virtual std::int32_t color() = 0;
    virtual void put_color(std::int32_t color) = 0;
    virtual std::int32_t Lineweight() = 0;
    virtual void put_Lineweight(std::int32_t lineweight) = 0;
};

class AcadLayers : public Dispatch {
  public:
    virtual std::int32_t Count() = 0;
    virtual std::shared_ptr<AcadLayer> Item(const Variant& index) = 0;
    // Returns the layer of that name, new or existing.
    virtual std::shared_ptr<AcadLayer> Add(const std::u16string& name) = 0;
};

class AcadLinetype : public Dispatch {
  public:
    virtual std::u16string Name() = 0;
    virtual std::u16string Description() = 0;
};

class AcadLinetypes : public Dispatch {
  public:
    virtual std::int32_t Count() = 0;
    virtual std::shared_ptr<AcadLinetype> Item(const Variant& index) = 0;
    // Loads the named line type ("*" for all) from a .lin file.
    virtual void Load(const std::u16string& name, const std::u16string& fileName) = 0;
};

class AcadDocument : public Dispatch {
  public:
    virtual std::u16string Name() = 0;
    virtual std::shared_ptr<AcadBlock> ModelSpace() = 0;
    virtual std::shared_ptr<AcadBlock> PaperSpace() = 0;
    virtual std::int32_t ActiveSpace() = 0;  // 1 model space, 0 paper space
    virtual void put_ActiveSpace(std::int32_t space) = 0;
    virtual std::shared_ptr<AcadLayers> Layers() = 0;
    virtual std::shared_ptr<AcadLayer> ActiveLayer() = 0;
    virtual void put_ActiveLayer(const std::shared_ptr<AcadLayer>& layer) = 0;
    virtual std::shared_ptr<AcadLayouts> Layouts() = 0;
    virtual std::shared_ptr<AcadLayout> ActiveLayout() = 0;
    virtual std::shared_ptr<AcadPlot> Plot() = 0;
    virtual std::shared_ptr<AcadSelectionSets> SelectionSets() = 0;
    virtual std::shared_ptr<AcadUtility> Utility() = 0;
    virtual std::shared_ptr<AcadTextStyles> TextStyles() = 0;
    virtual std::shared_ptr<AcadLinetypes> Linetypes() = 0;
    virtual void SendCommand(const std::u16string& command) = 0;
    virtual void SetVariable(const std::u16string& name, const Variant& value) = 0;
    virtual Variant GetVariable(const std::u16string& name) = 0;
    virtual void LoadShapeFile(const std::u16string& fullPath) = 0;
    virtual void Regen(std::int32_t which) = 0;
};

class AcadDocuments : public Dispatch {
  public:
    virtual std::int32_t Count() = 0;
    virtual std::shared_ptr<AcadDocument> Item(const Variant& index) = 0;
};

class AcadPreferencesOutput : public Dispatch {};

class AcadPreferencesFiles : public Dispatch {
  public:
    // The default property: the support file search path, folders separated by ';'.
    virtual std::u16string SupportPath() = 0;
};

class AcadPreferences : public Dispatch {
  public:
    virtual std::shared_ptr<AcadPreferencesOutput> Output() = 0;
    virtual std::shared_ptr<AcadPreferencesFiles> Files() = 0;
};

class AcadApplication : public Dispatch {
  public:
    virtual std::shared_ptr<AcadDocument> ActiveDocument() = 0;
    virtual std::shared_ptr<AcadDocuments> Documents() = 0;
    virtual std::shared_ptr<AcadPreferences> Preferences() = 0;
    virtual bool Visible() = 0;
    virtual void put_Visible(bool visible) = 0;
    virtual std::int64_t HWND() = 0;
};

// Finds a running host by ProgID, as the system's lookup of an active automation object does.
// Raises HostLookupError when nothing answers under that ProgID.
class HostLocator {
  public:
    virtual ~HostLocator() = default;
    virtual std::shared_ptr<AcadApplication> GetActiveObject(const std::u16string& progId) = 0;
};

}  // namespace navisaz
