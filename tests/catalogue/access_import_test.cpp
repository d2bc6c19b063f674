#include "catalogue/access_import.h"

#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <fstream>
#include <sstream>

#include "catalogue/catalogue_fixture.h"
#include "catalogue/catalogue_source.h"

namespace navisaz {
namespace {

namespace fs = std::filesystem;

const fs::path Fruit = fs::path(NAVISAZ_BINARY_DIR) / "testdata" / "fruit.mdb";

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct ImportedStore {
    explicit ImportedStore(const fs::path& file)
        : db(QSqlDatabase::addDatabase("QSQLITE", "imported")) {
        db.setDatabaseName(QString::fromStdString(file.string()));
        EXPECT_TRUE(db.open());
    }
    ~ImportedStore() {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("imported");
    }
    QVariant Value(const QString& sql) {
        QSqlQuery query(db);
        EXPECT_TRUE(query.exec(sql) && query.next()) << sql.toStdString();
        return query.value(0);
    }
    QSqlDatabase db;
};

class AccessImport : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fs::exists(Fruit))
            << "scripts/test fetches the sample Access file into " << Fruit;
    }
    testing::ScratchFolder scratch;
    const fs::path& folder = scratch.path();
};

TEST_F(AccessImport, CopiesTablesColumnsAndRows) {
    EXPECT_EQ(AccessTables(Fruit), (std::vector<std::string>{"Fruit", "Fruit Salad", "Veggie Salad",
                                                             "Muffin/Bread", "Dried"}));
    const std::string before = Contents(Fruit);
    const fs::path target = folder / "fruit.sqlite";
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    ImportAccessTable(Fruit, "Fruit", target, [&](std::size_t done, std::size_t total) {
        progress.emplace_back(done, total);
    });
    ImportAccessTable(Fruit, "Muffin/Bread", target);  // a name that needs quoting
    EXPECT_EQ(Contents(Fruit), before);                // the Access file is only read
    EXPECT_EQ(progress.back(), (std::pair<std::size_t, std::size_t>{37, 37}));

    ImportedStore store(target);
    EXPECT_EQ(store.Value("SELECT count(*) FROM Fruit").toInt(), 37);
    EXPECT_EQ(store.Value("SELECT count(*) FROM \"Muffin/Bread\"").toInt(), 13);
    EXPECT_EQ(
        store.Value("SELECT type FROM pragma_table_info('Fruit') WHERE name = 'Fruit'").toString(),
        "TEXT");
    EXPECT_EQ(
        store.Value("SELECT type FROM pragma_table_info('Fruit') WHERE name = 'Vit A'").toString(),
        "INTEGER");
    EXPECT_EQ(store.Value("SELECT \"Vit A\" FROM Fruit WHERE Fruit = 'Apricot'").toInt(), 420);
    EXPECT_EQ(store.Value("SELECT typeof(Sugar) FROM Fruit WHERE Fruit = 'Apple'").toString(),
              "integer");
    EXPECT_EQ(store.Value("SELECT count(*) FROM \"Muffin/Bread\" WHERE fruit = 'Carrots'").toInt(),
              1);
}

TEST_F(AccessImport, FailuresSayWhyAndLeaveNothingBehind) {
    const fs::path target = folder / "x.sqlite";
    EXPECT_THROW(ImportAccessTable(Fruit, "No such table", target), AccessImportError);
    EXPECT_THROW(AccessTables(folder / "absent.mdb"), AccessImportError);
    std::ofstream(folder / "text.mdb") << "not an Access file";
    EXPECT_THROW(AccessTables(folder / "text.mdb"), AccessImportError);
    ImportAccessTable(Fruit, "Dried", target);
    EXPECT_THROW(ImportAccessTable(Fruit, "Dried", target), AccessImportError);  // already there
    ImportedStore store(target);
    EXPECT_EQ(store.Value("SELECT count(*) FROM Dried").toInt(), 12);
}

// The catalogue's own source: the working store, or one made from the Access file.
TEST_F(AccessImport, TheCatalogueOpensItsWorkingStoreOrSaysWhatIsMissing) {
    const fs::path access = folder / "CADSupport" / "standard_ZAMINI.mdb";
    fs::create_directories(access.parent_path());
    try {
        OpenCatalogue(access);
        ADD_FAILURE() << "opened without a database";
    } catch (const CatalogueError& error) {
        EXPECT_NE(std::string(error.what()).find("standard_ZAMINI.mdb was not found"),
                  std::string::npos);
    }
    // An Access file without the table "standard": a clear error and no store left half-made.
    fs::copy_file(Fruit, access);
    try {
        OpenCatalogue(access);
        ADD_FAILURE() << "opened an Access file without the catalogue table";
    } catch (const CatalogueError& error) {
        EXPECT_NE(std::string(error.what()).find("no table \"standard\""), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(WorkingStoreFor(access)));
    EXPECT_EQ(Contents(access), Contents(Fruit));
    // The working store beside it is used as it is.
    FeatureStore::Create(WorkingStoreFor(access));
    {
        FeatureStore store(WorkingStoreFor(access));
        testing::FillCatalogue(store);
    }
    EXPECT_EQ(OpenCatalogue(access)->Features().size(), std::size(testing::FixtureFeatures));
}

}  // namespace
}  // namespace navisaz
