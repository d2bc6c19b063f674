#pragma once

// The catalogue window's drawing commands: each prepares the host so that what is drawn next
// follows the current feature's standard (layer, colour, line weight, line type, hatch pattern)
// at the chosen map scale, then starts the host's own command for a new entity or restyles
// entities the user picks. A fourth command loads the block library and records which features'
// blocks it holds.

#include <functional>
#include <memory>
#include <string>

#include "cad/cadole.h"
#include "catalogue/feature.h"
#include "support/platform.h"

namespace navisaz {

class FeatureStore;

inline constexpr const char16_t* CatalogueWindowName = u"TFStandard";
inline constexpr int CatalogueWindowLeft = 671;
inline constexpr int CatalogueWindowTop = 36;
inline constexpr const char16_t* BlockNotFoundMessage = u"بلاک يافت نشد    ";
// Relative to the install folder.
inline constexpr const char16_t* BlockLibraryDrawing = u"CADSupport\\BRMT2000-3.dwg";
inline constexpr const char16_t* BlockFolder = u"CadSupport\\Blocks\\";

// The radio group "جديد" / "انطباق موجود".
enum class DrawMode { New = 0, MatchExisting = 1 };

// Called after each feature of the library load: features done, features in all.
using LoadProgress = std::function<void(std::size_t done, std::size_t total)>;

class FeatureCommands {
  public:
    FeatureCommands(Platform& platform, HostLocator& hosts,
                    std::u16string windowName = CatalogueWindowName);

    // Whether the window may be built: the adapter found a host that takes calls.
    bool Connected() const { return adapter_ && adapter_->Connected; }
    // Puts the window inside the host's main window.
    void ShowInHost();
    // Takes the window out of the host's window while the user picks there.
    void StepAside();

    // scale is the map scale factor (the denominator / 1000).
    void Hatch(const FeatureRecord& feature, double scale, DrawMode mode);
    void Polyline(const FeatureRecord& feature, double scale, DrawMode mode);
    void Block(const FeatureRecord& feature, double scale, DrawMode mode);
    // Restyles the entities the user picks by their kind: lines and polylines, hatches, blocks.
    void MatchExisting(const FeatureRecord& feature, double scale);
    // Loads the block library drawing and writes IsExist for every feature with a block name.
    void LoadBlockLibrary(FeatureStore& store, double scale, const LoadProgress& progress = {});

    tacad& adapter() { return *adapter_; }

  private:
    EntityPtr InsertAtOrigin(const std::u16string& name, double scale);

    Platform& platform_;
    std::u16string windowName_;
    std::unique_ptr<tacad> adapter_;
};

}  // namespace navisaz
