#include "catalogue/feature_store.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <atomic>

namespace navisaz {

namespace fs = std::filesystem;

namespace {

std::atomic<int> connections{0};

QString NewConnectionName() {
    return QString("navisaz-catalogue-%1").arg(++connections);
}

std::u16string Text(const QSqlQuery& query, const char* column) {
    return query.value(column).toString().toStdU16String();
}

FeatureRecord ReadFeature(const QSqlQuery& query) {
    FeatureRecord f;
    f.id = query.value("ID").toLongLong();
    f.farsiName = Text(query, "Farsi_Name");
    f.type = Text(query, "a");
    f.definition = Text(query, "Definition");
    f.recognition = Text(query, "Recognition");
    f.layer = Text(query, "Layer_DWG");
    f.color = Text(query, "Color_DWG");
    f.linetype = Text(query, "Style_DWG");
    f.weight = Text(query, "Weight_DWG");
    f.blockName = Text(query, "Block_Name");
    f.hatchName = Text(query, "Hatch_Name");
    f.hatchRotate = Text(query, "Hatch_Rotate");
    f.objectType = Text(query, "Object_Type");
    f.isExist = query.value("IsExist").toBool();
    return f;
}

}  // namespace

const std::vector<StandardColumn>& StandardColumns() {
    static const std::vector<StandardColumn> columns = {
        {"ID", "INTEGER PRIMARY KEY AUTOINCREMENT"},
        {"Farsi_Name", "TEXT"},
        {"English_Name", "TEXT"},
        {"Category", "TEXT"},
        {"Class", "TEXT"},
        {"Subclass", "TEXT"},
        {"a", "TEXT"},
        {"b", "TEXT"},
        {"Layer_DGN", "TEXT"},
        {"Color_DGN", "TEXT"},
        {"Style_DGN", "TEXT"},
        {"Weight_DGN", "TEXT"},
        {"Element_Type", "TEXT"},
        {"Photogrametry", "TEXT"},
        {"Definition", "TEXT"},
        {"Recognition", "TEXT"},
        {"Layer_DWG", "TEXT"},
        {"Color_DWG", "TEXT"},
        {"Style_DWG", "TEXT"},
        {"Weight_DWG", "TEXT"},
        {"Feature_Type", "TEXT"},
        {"Block_Name", "TEXT"},
        {"Block_Sc", "TEXT"},
        {"Hatch_Name", "TEXT"},
        {"Hatch_Rotate", "TEXT"},
        {"Hatch_Scale", "TEXT"},
        {"Row_Offset", "TEXT"},
        {"Column_Offset", "TEXT"},
        {"Number", "TEXT"},
        {"cod", "TEXT"},
        {"j", "TEXT"},
        {"Data_Collection", "TEXT"},
        {"Description", "TEXT"},
        {"Scale", "TEXT"},
        {"Object_Type", "TEXT"},
        {"IsExist", "INTEGER NOT NULL DEFAULT 0"},
    };
    return columns;
}

FeatureStore::FeatureStore(const fs::path& file) : file_(file), connection_(NewConnectionName()) {
    if (!fs::is_regular_file(file)) {
        throw CatalogueError("the catalogue database " + file.string() + " was not found");
    }
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection_);
    db.setDatabaseName(QString::fromStdString(file.string()));
    if (!db.open()) {
        const std::string why = db.lastError().text().toStdString();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        throw CatalogueError("cannot open the catalogue database " + file.string() + ": " + why);
    }
    const QSqlRecord record = db.record("standard");
    std::string missing;
    for (const StandardColumn& column : StandardColumns()) {
        if (record.indexOf(column.name) < 0)
            missing += std::string(missing.empty() ? "" : ", ") + column.name;
    }
    if (!missing.empty()) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection_);
        throw CatalogueError(record.isEmpty()
                                 ? "the catalogue database " + file.string() +
                                       " has no table \"standard\""
                                 : "the table \"standard\" lacks the columns " + missing);
    }
}

FeatureStore::~FeatureStore() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

void FeatureStore::Create(const fs::path& file) {
    const QString name = NewConnectionName();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(QString::fromStdString(file.string()));
        if (!db.open()) {
            throw CatalogueError("cannot create " + file.string() + ": " +
                                 db.lastError().text().toStdString());
        }
        QString statement = "CREATE TABLE IF NOT EXISTS standard (";
        bool first = true;
        for (const StandardColumn& column : StandardColumns()) {
            statement += QString(first ? "" : ", ") + column.name + " " + column.sqlType;
            first = false;
        }
        statement += ")";
        QSqlQuery query(db);
        if (!query.exec(statement)) {
            throw CatalogueError("cannot create the table: " +
                                 query.lastError().text().toStdString());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

std::int64_t FeatureStore::Insert(const QVariantHash& values) {
    QStringList columns;
    QStringList marks;
    QVariantList bound;
    for (const StandardColumn& column : StandardColumns()) {
        if (!values.contains(column.name))
            continue;
        columns << column.name;
        marks << "?";
        bound << values.value(column.name);
    }
    if (columns.size() != values.size()) {
        throw CatalogueError("the table \"standard\" has no column of that name");
    }
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare(columns.isEmpty() ? QString("INSERT INTO standard DEFAULT VALUES")
                                    : "INSERT INTO standard (" + columns.join(", ") + ") VALUES (" +
                                          marks.join(", ") + ")");
    for (const QVariant& value : bound)
        query.addBindValue(value);
    if (!query.exec()) {
        throw CatalogueError("cannot add a feature: " + query.lastError().text().toStdString());
    }
    return query.lastInsertId().toLongLong();
}

std::vector<FeatureRecord> FeatureStore::Features() const {
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.setForwardOnly(true);
    if (!query.exec("SELECT * FROM standard ORDER BY ID")) {
        throw CatalogueError("cannot read the catalogue: " +
                             query.lastError().text().toStdString());
    }
    std::vector<FeatureRecord> features;
    while (query.next()) {
        features.push_back(ReadFeature(query));
    }
    return features;
}

void FeatureStore::SetIsExist(std::int64_t id, bool exists) {
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare("UPDATE standard SET IsExist = ? WHERE ID = ?");
    query.addBindValue(exists ? 1 : 0);
    query.addBindValue(static_cast<qlonglong>(id));
    if (!query.exec()) {
        throw CatalogueError("cannot record IsExist: " + query.lastError().text().toStdString());
    }
}

std::optional<FeatureRecord> FeatureStore::Feature(std::int64_t id) const {
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.prepare("SELECT * FROM standard WHERE ID = ?");
    query.addBindValue(static_cast<qlonglong>(id));
    if (!query.exec()) {
        throw CatalogueError("cannot read the catalogue: " +
                             query.lastError().text().toStdString());
    }
    if (!query.next())
        return std::nullopt;
    return ReadFeature(query);
}

std::vector<std::int64_t> FeatureStore::FilteredIds(const FeatureFilter& filter) const {
    // Blanks and tabs around a value do not count, and a missing value is an empty one.
    const auto field = [](const char* column) {
        return QString("TRIM(COALESCE(%1, ''), ' ' || char(9))").arg(column);
    };
    QStringList conditions;
    QVariantList values;
    if (filter.library) {
        conditions << field("Block_Name") + " <> '-'";
    } else {
        if (filter.type > 0) {
            conditions << field("a") + " = ?";
            values << QString::number(filter.type);
        }
        switch (filter.kind) {
            case FeatureKind::Point:
                conditions << "IsExist <> 0" << field("Block_Name") + " <> '-'";
                break;
            case FeatureKind::Line:
                conditions << field("Style_DWG") + " NOT IN ('', '-')"
                           << field("Block_Name") + " IN ('', '-')";
                break;
            case FeatureKind::Surface:
                conditions << field("Hatch_Name") + " <> '-'";
                break;
            case FeatureKind::All:
                break;
        }
        const QString search = QString::fromStdU16String(filter.search).trimmed();
        if (!search.isEmpty()) {
            // instr matches literally: a quote, % or _ is just a character.
            conditions << "instr(lower(COALESCE(Farsi_Name, '')), lower(?)) > 0";
            values << search;
        }
    }
    QString statement = "SELECT ID FROM standard";
    if (!conditions.isEmpty())
        statement += " WHERE " + conditions.join(" AND ");
    statement += " ORDER BY ID";
    QSqlQuery query(QSqlDatabase::database(connection_));
    query.setForwardOnly(true);
    query.prepare(statement);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        throw CatalogueError("cannot filter the catalogue: " +
                             query.lastError().text().toStdString());
    }
    std::vector<std::int64_t> ids;
    while (query.next())
        ids.push_back(query.value(0).toLongLong());
    return ids;
}

FeatureStore::Transaction::Transaction(FeatureStore& store) : connection_(store.connectionName()) {
    open_ = QSqlDatabase::database(connection_).transaction();
}

FeatureStore::Transaction::~Transaction() {
    if (open_)
        QSqlDatabase::database(connection_).rollback();
}

void FeatureStore::Transaction::Commit() {
    if (open_ && !QSqlDatabase::database(connection_).commit()) {
        throw CatalogueError("cannot save the catalogue: " +
                             QSqlDatabase::database(connection_).lastError().text().toStdString());
    }
    open_ = false;
}

fs::path CatalogueAccessFile() {
    return fs::path("CADSupport") / "standard_ZAMINI.mdb";
}

fs::path WorkingStoreFor(const fs::path& accessFile) {
    fs::path store = accessFile;
    store.replace_extension(".sqlite");
    return store;
}

}  // namespace navisaz
