// The catalogue we ship: enough features of every type, and everything they name is shipped too.

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "cad/dxf/dxf_file.h"
#include "cad/names.h"
#include "catalogue/feature_store.h"

namespace navisaz {
namespace {

namespace fs = std::filesystem;

const fs::path Support = fs::path(NAVISAZ_BINARY_DIR) / "bin" / "CADSupport";

std::set<std::u16string> ShippedLinetypes() {
    std::set<std::u16string> names = {u"CONTINUOUS"};
    for (const auto& entry : fs::directory_iterator(Support / "LineTypes")) {
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);)
            if (line.starts_with("*"))
                names.insert(FoldCase(Widen(line.substr(1, line.find(',') - 1))));
    }
    return names;
}

TEST(SampleCatalogue, EveryFeatureNamesWhatWeShip) {
    FeatureStore store(Support / "standard_ZAMINI.sqlite");
    const std::vector<FeatureRecord> features = store.Features();
    EXPECT_GE(features.size(), 40u);
    std::set<std::u16string> types;
    const std::set<std::u16string> linetypes = ShippedLinetypes();
    const auto library = dxf::OpenDxf(Support / "BRMT2000-3.dxf");
    bool someOnlyInTheFolder = false;
    for (const FeatureRecord& f : features) {
        SCOPED_TRACE(Narrow(f.farsiName));
        types.insert(f.type);
        EXPECT_FALSE(f.farsiName.empty());
        EXPECT_FALSE(f.definition.empty());
        EXPECT_FALSE(f.recognition.empty());
        EXPECT_TRUE(linetypes.contains(FoldCase(f.linetype)));
        EXPECT_NO_THROW(std::stoi(Narrow(f.color)));
        if (f.blockName != u"-") {
            EXPECT_TRUE(fs::exists(Support / "Blocks" / (Narrow(f.blockName) + ".dxf")));
            if (library->FindBlock(f.blockName) == nullptr)
                someOnlyInTheFolder = true;
        }
    }
    EXPECT_EQ(types.size(), 9u);
    EXPECT_TRUE(someOnlyInTheFolder);  // the block command's second attempt has a case to show
}

}  // namespace
}  // namespace navisaz
