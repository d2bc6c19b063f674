#include "catalogue/catalogue_source.h"

#include "catalogue/access_import.h"

namespace navisaz {

namespace fs = std::filesystem;

std::unique_ptr<FeatureStore> OpenCatalogue(const fs::path& accessFile,
                                            const ImportProgress& progress) {
    const fs::path store = WorkingStoreFor(accessFile);
    if (!fs::exists(store)) {
        if (!fs::exists(accessFile)) {
            throw CatalogueError("the catalogue database " + accessFile.string() +
                                 " was not found");
        }
        // Imported once into a file beside the store, which takes its place only when whole.
        fs::path partial = store;
        partial += ".partial";
        fs::remove(partial);
        try {
            ImportAccessTable(accessFile, "standard", partial, progress);
            const FeatureStore check(partial);  // has every column the window needs
        } catch (const std::exception& error) {
            fs::remove(partial);
            throw CatalogueError(std::string("cannot import the catalogue: ") + error.what());
        }
        fs::rename(partial, store);
    }
    return std::make_unique<FeatureStore>(store);
}

}  // namespace navisaz
