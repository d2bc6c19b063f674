#pragma once

// The catalogue's store: the table "standard" in a SQLite file, through Qt SQL.

#include <QString>
#include <QVariantHash>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "catalogue/feature.h"

namespace navisaz {

class CatalogueError : public std::runtime_error {
  public:
    explicit CatalogueError(const std::string& message) : std::runtime_error(message) {}
};

// A column of the table "standard", in the order the catalogue declares them.
struct StandardColumn {
    const char* name;
    const char* sqlType;
};
const std::vector<StandardColumn>& StandardColumns();

class FeatureStore {
  public:
    // Opens the SQLite store; raises CatalogueError when it is missing, unreadable or lacks the
    // table or one of its columns.
    explicit FeatureStore(const std::filesystem::path& file);
    ~FeatureStore();
    FeatureStore(const FeatureStore&) = delete;
    FeatureStore& operator=(const FeatureStore&) = delete;

    // Creates an empty store with the table (for imports and our own catalogue).
    static void Create(const std::filesystem::path& file);

    // Adds a feature from column values (columns of the table only); returns its ID.
    std::int64_t Insert(const QVariantHash& values);

    std::vector<FeatureRecord> Features() const;
    std::optional<FeatureRecord> Feature(std::int64_t id) const;
    // The IDs of the features a filter lists, in ID order. The filter's values are bound to the
    // query, never pasted into it.
    std::vector<std::int64_t> FilteredIds(const FeatureFilter& filter) const;
    void SetIsExist(std::int64_t id, bool exists);
    // Groups many writes into one; rolled back unless committed.
    class Transaction {
      public:
        explicit Transaction(FeatureStore& store);
        ~Transaction();
        Transaction(const Transaction&) = delete;
        Transaction& operator=(const Transaction&) = delete;
        void Commit();

      private:
        QString connection_;
        bool open_ = false;
    };

    const QString& connectionName() const { return connection_; }
    const std::filesystem::path& file() const { return file_; }

  private:
    std::filesystem::path file_;
    QString connection_;
};

// Where the catalogue's data is: the Access file "CADSupport\standard_ZAMINI.mdb" relative to the
// current folder, and beside it the SQLite file of the same name that is the working store.
std::filesystem::path CatalogueAccessFile();
std::filesystem::path WorkingStoreFor(const std::filesystem::path& accessFile);

}  // namespace navisaz
