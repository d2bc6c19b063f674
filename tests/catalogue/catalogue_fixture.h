#pragma once

// A small catalogue in a temporary SQLite store: features of several types and kinds, with names
// that hold quotes, percent signs, underscores, Latin and Persian letters.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "catalogue/feature_store.h"
#include "scratch_folder.h"

namespace navisaz::testing {

struct FixtureFeature {
    const char16_t* name;
    const char* type;
    const char16_t* layer;
    const char* color;
    const char* linetype;
    const char* weight;
    const char* block;
    const char* hatch;
    const char* rotate;
    bool isExist;
};

// IDs are the row numbers, from 1.
inline const FixtureFeature FixtureFeatures[] = {
    {u"درخت منفرد", "1", u"TREE", "3", "CONTINUOUS", "0.25", "TREE", "-", "0", true},
    {u"باغ", "1", u"GARDEN", "3", "CONTINUOUS", "0.18", "-", "GRASS", "45", false},
    {u"جاده آسفالته", "3", u"ROAD", "1", "CONTINUOUS", "0.5", "-", "-", "0", false},
    {u"خط آهن", "3", u"RAIL", "8", "RAILWAY", "0.35", "-", "-", "0", false},
    {u"چاه آب", "4", u"WELL", "5", "CONTINUOUS", "0.25", "WELL", "-", "0", false},
    {u"ساختمان 'قديمي' 50%", "5", u"BUILDING", "7", "CONTINUOUS", "0.35", "-", "ANSI31", "45",
     false},
    {u"Tank_A", " 7 ", u"TANK", "2", "", "0.25", "TANK", "-", "0", true},
    {u"محدوده شهر", "6", u"BOUNDARY", "6", "DASHED", "0.7", "-", "-", "0", false},
};

inline void FillCatalogue(FeatureStore& store) {
    for (const FixtureFeature& f : FixtureFeatures) {
        store.Insert({{"Farsi_Name", QString::fromStdU16String(f.name)},
                      {"a", f.type},
                      {"Layer_DWG", QString::fromStdU16String(f.layer)},
                      {"Color_DWG", f.color},
                      {"Style_DWG", f.linetype},
                      {"Weight_DWG", f.weight},
                      {"Block_Name", f.block},
                      {"Hatch_Name", f.hatch},
                      {"Hatch_Rotate", f.rotate},
                      {"Object_Type", "test"},
                      {"Definition", "definition"},
                      {"IsExist", f.isExist}});
    }
}

class CatalogueFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        file = folder / "standard_ZAMINI.sqlite";
        FeatureStore::Create(file);
        store = std::make_unique<FeatureStore>(file);
        FillCatalogue(*store);
    }
    void TearDown() override { store.reset(); }
    FeatureRecord Feature(std::int64_t id) const {
        for (const FeatureRecord& f : store->Features())
            if (f.id == id)
                return f;
        ADD_FAILURE() << "no feature " << id;
        return {};
    }

    ScratchFolder scratch;
    const std::filesystem::path& folder = scratch.path();
    std::filesystem::path file;
    std::unique_ptr<FeatureStore> store;
};

}  // namespace navisaz::testing
