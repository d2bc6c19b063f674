#pragma once

// tacad: the adapter through which every command reaches the CAD host. It attaches to a running
// host, tests that the host takes calls, caches the active drawing's objects and wraps the
// prompting, text, label, layer and macro operations the commands share.

#include <cstdint>
#include <memory>
#include <string>

#include "cad/automation.h"
#include "cad/host_error.h"
#include "support/platform.h"
#include "support/records.h"

namespace navisaz {

// A cached host object. Using an empty one raises HostError instead of crashing, as a call on an
// adapter that never connected must.
template <typename T>
class HostRef {
  public:
    HostRef() = default;
    HostRef(std::shared_ptr<T> object) : object_(std::move(object)) {}
    HostRef& operator=(std::shared_ptr<T> object) {
        object_ = std::move(object);
        return *this;
    }
    T* operator->() const {
        if (!object_) {
            throw HostError("The CAD host object is not available (no connection to the host)");
        }
        return object_.get();
    }
    const std::shared_ptr<T>& get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

  private:
    std::shared_ptr<T> object_;
};

// A picked point in extended precision.
struct PointRecord {
    long double x = 0;
    long double y = 0;
    long double z = 0;
};

// The messages the adapter shows.
inline constexpr const char16_t* HostNotFoundMessage = u"اتوکد يافت نشد";
inline constexpr const char16_t* HostBusyMessage = u"ابتدا از دستور جاري اتوکد خارج شويد";
inline constexpr const char16_t* LeaveCommandMessage = u"از دستور جاري خارج شويد";
// The point prompt every command that asks for a point shows.
inline constexpr const char16_t* PointPrompt = u"محل نقطه را انتخاب کنيد : ";

class tacad {
  public:
    // Connects and sets the drawing up (the Persian text styles, "Romanc" current). A failure
    // Connect passes on leaves Create; test Connected afterwards.
    static std::unique_ptr<tacad> Create(Platform& platform, HostLocator& locator);
    // Only initialised: the caller connects and refreshes.
    static std::unique_ptr<tacad> CreateBare(Platform& platform, HostLocator& locator);

    void Connect();
    void RefreshDocument();
    void ShowAcadWindow();
    void ShowOwnWindow();
    std::shared_ptr<AcadTextStyle> CreateFarsiStyles();
    void DefineTextStyle(const std::string& name, const std::string& fontFile);

    // Prompting, picking and selection.
    static Variant MakePoint(long double x, long double y, long double z);
    static Variant PointToVariant(const PointRecord& point);
    static Variant Point2dToVariant(const mcoor2d& point);
    void GetPoint(PointRecord& point, const std::string& prompt, bool promptFirst);
    // mode 1: any entities; mode 6: only entities of the DXF type typeName.
    std::shared_ptr<AcadSelectionSet> SelectEntities(std::uint8_t mode,
                                                     const std::string& typeName);
    EntityPtr PickText(mText& text);

    // Texts and coordinate labels.
    EntityPtr AddText(const mText& text);
    void AddCoordinateLabel(const EntityPtr& point, std::int32_t decimals, long double addX,
                            long double addY, long double divisor, float textHeight);

    // Layers, line types, hatch settings.
    void SetLinetype(const std::string& name, float scale);
    void SetHatchDefaults(const std::string& name, float angle, float scale);
    std::shared_ptr<navisaz::AcadLayer> CreateLayer(const std::string& name, std::int32_t colour,
                                                    float widthMm);

    // The cached host objects.
    HostRef<AcadApplication> AcadApp;
    HostRef<AcadDocuments> AcadDocs;
    HostRef<navisaz::AcadLayouts> AcadLayouts;
    HostRef<AcadDocument> AcadDoc;
    HostRef<AcadLayout> AcadActiveLayout;
    HostRef<navisaz::AcadPlot> AcadPlot;
    HostRef<AcadUtility> AcadUtil;
    HostRef<AcadBlock> AcadModel;
    HostRef<AcadBlock> AcadPaper;
    HostRef<AcadLayout> AcadModelLayout;
    HostRef<AcadPreferences> AcadPrefs;
    HostRef<AcadPreferencesOutput> AcadPrefsOutput;
    HostRef<AcadSelectionSets> AcadSelSets;
    HostRef<navisaz::AcadLayers> AcadLayers;
    bool Connected = false;
    HostRef<Dispatch> AcadAppVar;

    Platform& platform() const { return platform_; }

  private:
    tacad(Platform& platform, HostLocator& locator) : platform_(platform), locator_(locator) {}
    // 8-bit program text as the host's UTF-16, through the system code page.
    std::u16string ToHost(const std::string& text) const;

    Platform& platform_;
    HostLocator& locator_;
};

// The ProgIDs under which a running host is looked for, in this order.
extern const char16_t* const HostProgIds[46];

}  // namespace navisaz
