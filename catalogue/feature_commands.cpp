#include "catalogue/feature_commands.h"

#include <numbers>

#include "catalogue/feature_store.h"
#include "engine/typed_text.h"
#include "support/number_parse.h"
#include "support/run_path.h"

namespace navisaz {

namespace {

constexpr std::int32_t ColorByLayer = 256;
constexpr std::int32_t BlockReference = 7;
constexpr std::int32_t HatchEntity = 17;
constexpr std::int32_t LineEntity = 19;
constexpr std::int32_t PolylineEntity = 23;
constexpr std::int32_t LightweightPolylineEntity = 24;
constexpr std::int32_t PredefinedPattern = 0;
constexpr const char16_t* HatchLayerSuffix = u"_H";

// The numbers the catalogue stores as text; an empty or malformed one raises ConvertError.
std::int32_t ColorOf(const FeatureRecord& feature) {
    return StrToInt(feature.color);
}
double NumberOf(Platform& platform, const std::u16string& field) {
    return static_cast<double>(StrToFloat(field, platform.DecimalSeparator()));
}

// Takes the window out of the host's window for the lifetime of the guard. The window goes back
// also when the user cancels or a call fails, so it is never left hidden.
class SteppedAside {
  public:
    explicit SteppedAside(FeatureCommands& commands) : commands_(commands) {
        commands_.StepAside();
    }
    ~SteppedAside() {
        try {
            commands_.ShowInHost();
        } catch (const std::exception&) {
            // The host went away meanwhile: the window stays where it is, and the error that
            // ended the command (if any) is the one the user sees.
        }
    }
    SteppedAside(const SteppedAside&) = delete;
    SteppedAside& operator=(const SteppedAside&) = delete;

  private:
    FeatureCommands& commands_;
};

}  // namespace

FeatureCommands::FeatureCommands(Platform& platform, HostLocator& hosts, std::u16string windowName)
    : platform_(platform),
      windowName_(std::move(windowName)),
      adapter_(tacad::Create(platform, hosts)) {}

void FeatureCommands::ShowInHost() {
    platform_.SetWindowParent(windowName_, adapter_->AcadApp->HWND(), CatalogueWindowLeft,
                              CatalogueWindowTop);
}

void FeatureCommands::StepAside() {
    platform_.SetWindowParent(windowName_, 0, 0, 0);
}

void FeatureCommands::Hatch(const FeatureRecord& feature, double scale, DrawMode mode) {
    adapter_->RefreshDocument();
    adapter_->CreateLayer(TypedWindowsBytes(feature.layer + HatchLayerSuffix), ColorOf(feature),
                          static_cast<float>(NumberOf(platform_, feature.weight)));
    adapter_->SetLinetype(TypedWindowsBytes(feature.linetype), 0.0f);
    adapter_->SetHatchDefaults(TypedWindowsBytes(feature.hatchName),
                               static_cast<float>(NumberOf(platform_, feature.hatchRotate)),
                               static_cast<float>(scale));
    if (mode == DrawMode::New) {
        adapter_->AcadDoc->SendCommand(u"h ");
    } else if (mode == DrawMode::MatchExisting) {
        MatchExisting(feature, scale);
    }
}

void FeatureCommands::Polyline(const FeatureRecord& feature, double scale, DrawMode mode) {
    // Works on the document of the last refresh, as the host's own polyline button does.
    adapter_->CreateLayer(TypedWindowsBytes(feature.layer), ColorOf(feature),
                          static_cast<float>(NumberOf(platform_, feature.weight)));
    adapter_->SetLinetype(TypedWindowsBytes(feature.linetype), static_cast<float>(scale));
    if (mode == DrawMode::New) {
        adapter_->AcadDoc->SendCommand(u"pl ");
    } else if (mode == DrawMode::MatchExisting) {
        MatchExisting(feature, scale);
    }
}

void FeatureCommands::Block(const FeatureRecord& feature, double scale, DrawMode mode) {
    PointRecord at;
    {
        SteppedAside aside(*this);
        adapter_->RefreshDocument();
        adapter_->CreateLayer(TypedWindowsBytes(feature.layer), ColorOf(feature), 0.0f);
        adapter_->GetPoint(at, TypedWindowsBytes(PointPrompt), true);
    }
    const auto attempt = [&](const std::u16string& name) {
        try {
            if (mode == DrawMode::New) {
                adapter_->AcadModel->InsertBlock(tacad::PointToVariant(at), name, scale, scale,
                                                 scale, 0.0, Variant(std::u16string()));
            } else if (mode == DrawMode::MatchExisting) {
                MatchExisting(feature, scale);
            }
            adapter_->AcadDoc->SendCommand(u"r ");
            return true;
        } catch (const std::exception&) {
            return false;
        }
    };
    if (attempt(feature.blockName))
        return;
    if (attempt(ReadRunPath(platform_) + BlockFolder + feature.blockName + u".dwg"))
        return;
    platform_.ShowMessage(BlockNotFoundMessage + feature.blockName);
}

void FeatureCommands::MatchExisting(const FeatureRecord& feature, double scale) {
    SteppedAside aside(*this);
    // Each command makes only its own layer; a picked entity of another kind may need the
    // feature's other layer, which is added (with the host's defaults) when the drawing lacks it.
    const auto PutOnLayer = [this](AcadEntity& entity, const std::u16string& layer) {
        adapter_->AcadLayers->Add(layer);
        entity.put_Layer(layer);
    };
    const std::shared_ptr<AcadSelectionSet> picked = adapter_->SelectEntities(1, "");
    for (std::int32_t i = 0; i < picked->Count(); ++i) {
        const EntityPtr entity = picked->Item(Variant(i));
        switch (entity->EntityType()) {
            case LineEntity:
            case PolylineEntity:
            case LightweightPolylineEntity:
                entity->put_color(ColorByLayer);
                PutOnLayer(*entity, feature.layer);
                entity->put_Linetype(feature.linetype);
                entity->put_LinetypeScale(scale);
                break;
            case HatchEntity:
                entity->put_color(ColorByLayer);
                PutOnLayer(*entity, feature.layer + HatchLayerSuffix);
                entity->SetPattern(PredefinedPattern, feature.hatchName);
                // The catalogue holds degrees; the hatch takes radians.
                entity->put_PatternAngle(NumberOf(platform_, feature.hatchRotate) *
                                         std::numbers::pi / 180.0);
                entity->put_PatternScale(scale);
                break;
            case BlockReference:
                entity->put_color(ColorByLayer);
                PutOnLayer(*entity, feature.layer);
                entity->put_XScaleFactor(scale);
                entity->put_YScaleFactor(scale);
                break;
            default:
                break;
        }
    }
}

EntityPtr FeatureCommands::InsertAtOrigin(const std::u16string& name, double scale) {
    return adapter_->AcadModel->InsertBlock(tacad::MakePoint(0, 0, 0), name, scale, scale, scale,
                                            0.0, Variant(std::u16string()));
}

void FeatureCommands::LoadBlockLibrary(FeatureStore& store, double scale,
                                       const LoadProgress& progress) {
    // Defines the library's blocks in the drawing; the reference itself is not wanted.
    InsertAtOrigin(ReadRunPath(platform_) + BlockLibraryDrawing, 1.0)->Delete();

    FeatureFilter library;
    library.library = true;
    std::vector<FeatureRecord> features;
    for (FeatureRecord& feature : store.Features()) {
        if (Matches(library, feature))
            features.push_back(std::move(feature));
    }
    FeatureStore::Transaction transaction(store);
    for (std::size_t i = 0; i < features.size(); ++i) {
        bool exists = true;
        try {
            InsertAtOrigin(features[i].blockName, scale)->Delete();
        } catch (const std::exception&) {
            exists = false;
        }
        store.SetIsExist(features[i].id, exists);
        if (progress)
            progress(i + 1, features.size());
    }
    transaction.Commit();
}

}  // namespace navisaz
