#include "catalogue/access_import.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <atomic>
#include <memory>

extern "C" {
#include <mdbtools.h>
}

namespace navisaz {

namespace fs = std::filesystem;

namespace {

struct MdbClose {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct TableFree {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using AccessFile = std::unique_ptr<MdbHandle, MdbClose>;
using AccessTable = std::unique_ptr<MdbTableDef, TableFree>;

AccessFile OpenAccess(const fs::path& file) {
    if (!fs::is_regular_file(file))
        throw AccessImportError("the Access file " + file.string() + " was not found");
    AccessFile mdb(mdb_open(file.c_str(), MDB_NOFLAGS));
    if (!mdb)
        throw AccessImportError("cannot read " + file.string() + " as an Access file");
    if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        throw AccessImportError("cannot read the table list of " + file.string());
    }
    return mdb;
}

const char* SqlType(int accessType) {
    switch (accessType) {
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
            return "INTEGER";
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC:
            return "REAL";
        default:
            return "TEXT";
    }
}

QString Quoted(const char* name) {
    return "\"" + QString::fromUtf8(name).replace("\"", "\"\"") + "\"";
}

std::atomic<int> importConnections{0};

}  // namespace

std::vector<std::string> AccessTables(const fs::path& accessFile) {
    const AccessFile mdb = OpenAccess(accessFile);
    std::vector<std::string> tables;
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (mdb_is_user_table(entry))
            tables.emplace_back(entry->object_name);
    }
    return tables;
}

void ImportAccessTable(const fs::path& accessFile, const std::string& tableName,
                       const fs::path& sqliteFile,
                       const std::function<void(std::size_t, std::size_t)>& progress) {
    const AccessFile mdb = OpenAccess(accessFile);
    std::string name = tableName;
    AccessTable table(mdb_read_table_by_name(mdb.get(), name.data(), MDB_TABLE));
    if (!table)
        throw AccessImportError("the Access file " + accessFile.string() + " has no table \"" +
                                tableName + "\"");
    mdb_read_columns(table.get());
    mdb_rewind_table(table.get());

    struct Bound {
        std::string name;
        int type;
        std::vector<char> value;
        int length = 0;
    };
    std::vector<Bound> columns(table->num_cols);
    for (unsigned c = 0; c < table->num_cols; ++c) {
        const auto* column = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, c));
        columns[c].name = column->name;
        columns[c].type = column->col_type;
        columns[c].value.assign(mdb->bind_size + 1, '\0');
        mdb_bind_column(table.get(), static_cast<int>(c + 1), columns[c].value.data(),
                        &columns[c].length);
    }

    const QString connection = QString("navisaz-access-import-%1").arg(++importConnections);
    std::string failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
        db.setDatabaseName(QString::fromStdString(sqliteFile.string()));
        const auto fail = [&](const QString& why) {
            failure = "cannot import \"" + tableName + "\": " + why.toStdString();
        };
        if (!db.open()) {
            fail(db.lastError().text());
        } else {
            db.transaction();
            QStringList definitions, marks;
            for (const Bound& column : columns) {
                definitions << Quoted(column.name.c_str()) + " " + SqlType(column.type);
                marks << "?";
            }
            QSqlQuery query(db);
            if (!query.exec("CREATE TABLE " + Quoted(tableName.c_str()) + " (" +
                            definitions.join(", ") + ")")) {
                fail(query.lastError().text());
            } else {
                query.prepare("INSERT INTO " + Quoted(tableName.c_str()) + " VALUES (" +
                              marks.join(", ") + ")");
                const std::size_t total = table->num_rows;
                std::size_t done = 0;
                while (failure.empty() && mdb_fetch_row(table.get())) {
                    for (const Bound& column : columns) {
                        const QString text = QString::fromUtf8(column.value.data(), column.length);
                        if (column.length == 0 && column.type != MDB_TEXT &&
                            column.type != MDB_MEMO) {
                            query.addBindValue(QVariant());
                        } else if (column.type == MDB_BOOL) {
                            // Yes/No as 1/0, whatever words the library writes for them.
                            const QString yes = text.trimmed().toLower();
                            query.addBindValue(
                                yes == "1" || yes == "-1" || yes == "true" || yes == "yes" ? 1 : 0);
                        } else if (std::string_view(SqlType(column.type)) == "INTEGER") {
                            query.addBindValue(text.toLongLong());
                        } else if (std::string_view(SqlType(column.type)) == "REAL") {
                            query.addBindValue(text.toDouble());
                        } else {
                            query.addBindValue(text);
                        }
                    }
                    if (!query.exec())
                        fail(query.lastError().text());
                    if (progress)
                        progress(++done, std::max(total, done));
                }
            }
            if (failure.empty() && !db.commit())
                fail(db.lastError().text());
            if (!failure.empty())
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!failure.empty())
        throw AccessImportError(failure);
}

}  // namespace navisaz
