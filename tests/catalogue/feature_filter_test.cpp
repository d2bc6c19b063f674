#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <fstream>

#include "cad/names.h"

#include "catalogue/catalogue_choices.h"
#include "catalogue/catalogue_fixture.h"
#include "catalogue/feature.h"
#include "catalogue/feature_store.h"

namespace navisaz {
namespace {

FeatureFilter Filter(int type, FeatureKind kind, std::u16string search = {}, bool library = false) {
    FeatureFilter filter;
    filter.type = type;
    filter.kind = kind;
    filter.search = std::move(search);
    filter.library = library;
    return filter;
}

TEST(FilterText, SpellsTheFilterAsTheWindowsProgramShowsIt) {
    struct Case {
        FeatureFilter filter;
        std::u16string text;
    };
    const Case cases[] = {
        {Filter(0, FeatureKind::All), u""},
        {Filter(0, FeatureKind::All, u"   "), u""},
        {Filter(5, FeatureKind::All), u" (a = 5) "},
        {Filter(5, FeatureKind::Surface), u" (a = 5) and ( Hatch_Name  <> '-' )"},
        {Filter(0, FeatureKind::Surface), u" ( Hatch_Name  <> '-' )"},
        {Filter(0, FeatureKind::Point), u" (IsExist = true)  and ( Block_Name  <> '-' )"},
        {Filter(0, FeatureKind::All, u" باغ "), u" (Farsi_Name like '%باغ%' )"},
        {Filter(1, FeatureKind::Point, u"x"),
         u" (a = 1) and (IsExist = true)  and ( Block_Name  <> '-' )and (Farsi_Name like '%x%' )"},
        {Filter(9, FeatureKind::All, u"it's"), u" (a = 9) and (Farsi_Name like '%it's%' )"},
        // Line features add no text of their own.
        {Filter(3, FeatureKind::Line), u" (a = 3) "},
        {Filter(4, FeatureKind::Surface, u"x", true), u"Block_Name  <> '-' "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FilterText(c.filter), c.text);
}

class FeatureFiltering : public testing::CatalogueFixture {};

// The store's query and the in-memory test agree, and both list what a user expects.
TEST_F(FeatureFiltering, ListsTheFeaturesAFilterMeans) {
    struct Case {
        FeatureFilter filter;
        std::vector<std::int64_t> ids;
    };
    const Case cases[] = {
        {Filter(0, FeatureKind::All), {1, 2, 3, 4, 5, 6, 7, 8}},
        {Filter(1, FeatureKind::All), {1, 2}},
        {Filter(7, FeatureKind::All), {7}},  // " 7 " is type 7
        // A block name alone is not enough: its block must be in the library.
        {Filter(0, FeatureKind::Point), {1, 7}},
        {Filter(0, FeatureKind::Line), {2, 3, 4, 6, 8}},
        {Filter(0, FeatureKind::Surface), {2, 6}},
        {Filter(3, FeatureKind::Surface), {}},
        // The search is literal: quotes, percent signs and underscores are characters.
        {Filter(0, FeatureKind::All, u"'"), {6}},
        {Filter(0, FeatureKind::All, u"50%"), {6}},
        {Filter(0, FeatureKind::All, u"%"), {6}},
        {Filter(0, FeatureKind::All, u"_"), {7}},
        {Filter(0, FeatureKind::All, u"' OR 1=1 --"), {}},
        {Filter(0, FeatureKind::All, u"tank"), {7}},
        {Filter(0, FeatureKind::All, u"  آب "), {5}},
        {Filter(1, FeatureKind::All, u"درخت"), {1}},
        {Filter(3, FeatureKind::All, u"درخت"), {}},
        // After the library load every feature with a block name, whatever else is chosen.
        {Filter(3, FeatureKind::Surface, u"zzz", true), {1, 5, 7}},
    };
    const std::vector<FeatureRecord> features = store->Features();
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(FilterText(c.filter)));
        EXPECT_EQ(store->FilteredIds(c.filter), c.ids);
        std::vector<std::int64_t> matched;
        for (const FeatureRecord& f : features)
            if (Matches(c.filter, f))
                matched.push_back(f.id);
        EXPECT_EQ(matched, c.ids);
    }
}

TEST_F(FeatureFiltering, IsExistLastsAcrossAReopen) {
    store->SetIsExist(5, true);
    store->SetIsExist(1, false);
    store.reset();
    FeatureStore reopened(file);
    EXPECT_EQ(reopened.FilteredIds(Filter(0, FeatureKind::Point)),
              (std::vector<std::int64_t>{5, 7}));
}

TEST_F(FeatureFiltering, AnUncommittedTransactionChangesNothing) {
    {
        FeatureStore::Transaction transaction(*store);
        store->SetIsExist(2, true);
    }
    EXPECT_FALSE(Feature(2).isExist);
    {
        FeatureStore::Transaction transaction(*store);
        store->SetIsExist(2, true);
        transaction.Commit();
    }
    EXPECT_TRUE(Feature(2).isExist);
}

TEST(FeatureStoreErrors, AMissingOrIncompleteStoreIsAClearError) {
    const testing::ScratchFolder scratch;
    const std::filesystem::path& folder = scratch.path();
    try {
        FeatureStore store(folder / "absent.sqlite");
        ADD_FAILURE() << "a missing store opened";
    } catch (const CatalogueError& error) {
        EXPECT_NE(std::string(error.what()).find("was not found"), std::string::npos);
    }
    {
        // A table "standard" that lacks columns.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "incomplete");
        db.setDatabaseName(QString::fromStdString((folder / "incomplete.sqlite").string()));
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("CREATE TABLE standard (ID INTEGER, Farsi_Name TEXT)");
        db.close();
    }
    QSqlDatabase::removeDatabase("incomplete");
    try {
        FeatureStore store(folder / "incomplete.sqlite");
        ADD_FAILURE() << "an incomplete store opened";
    } catch (const CatalogueError& error) {
        EXPECT_NE(std::string(error.what()).find("Layer_DWG"), std::string::npos);
    }
    std::ofstream(folder / "garbage.sqlite") << "this is not a database, just some text bytes";
    EXPECT_THROW(FeatureStore(folder / "garbage.sqlite"), CatalogueError);
}

TEST(CatalogueChoices, MenusSetCaptionsTagsAndTheFilter) {
    CatalogueChoices choices;
    EXPECT_EQ(choices.scaleCaption, u"مقياس   1:500");
    EXPECT_EQ(choices.ScaleFactor(), 0.5);
    EXPECT_EQ(FilterText(choices.Filter()), u"");  // the type caption names vegetation, tag 0
    choices.ChooseType(FeatureTypeChoices[6]);
    EXPECT_EQ(choices.typeCaption, u"نوع:ساختمان");
    choices.ChooseKind(FeatureKindChoices[4]);
    EXPECT_EQ(choices.kindCaption, u"عوارض سطحي");
    EXPECT_EQ(FilterText(choices.Filter()), u" (a = 5) and ( Hatch_Name  <> '-' )");
    const std::u16string before = FilterText(choices.Filter());
    choices.ChooseScale(MapScaleChoices[8].caption, MapScaleChoices[8].tag);
    EXPECT_EQ(choices.scaleCaption, u"مقياس    1:10000");
    EXPECT_EQ(choices.ScaleFactor(), 10.0);
    EXPECT_EQ(FilterText(choices.Filter()), before);  // the scale leaves the list alone
    choices.libraryFilter = true;
    choices.SetSearch(u"x");
    EXPECT_FALSE(choices.Filter().library);
    choices.SetSearch(u"");
    choices.ChooseType(FeatureTypeChoices[0]);
    choices.ChooseKind(FeatureKindChoices[0]);
    EXPECT_EQ(FilterText(choices.Filter()), u"");
}

}  // namespace
}  // namespace navisaz
