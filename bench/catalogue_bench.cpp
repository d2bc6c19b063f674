// The catalogue's filter on a large catalogue (the window filters on every key of the search
// edit), and the in-memory test the store's query must agree with.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>
#include <filesystem>

#include "catalogue/feature_store.h"

using namespace navisaz;

namespace {

constexpr int Features = 20000;

struct BigCatalogue {
    BigCatalogue() {
        file = std::filesystem::temp_directory_path() /
               ("navisaz-catalogue-bench-" + std::to_string(::getpid()) + ".sqlite");
        std::filesystem::remove(file);
        FeatureStore::Create(file);
        store = std::make_unique<FeatureStore>(file);
        FeatureStore::Transaction transaction(*store);
        const QStringList names = {"درخت", "جاده", "چاه آب", "ساختمان", "رودخانه", "مرز"};
        for (int i = 0; i < Features; ++i) {
            store->Insert({{"Farsi_Name", names[i % names.size()] + QString(" %1").arg(i)},
                           {"a", QString::number(i % 9 + 1)},
                           {"Style_DWG", "CONTINUOUS"},
                           {"Block_Name", i % 3 == 0 ? "B" : "-"},
                           {"Hatch_Name", i % 4 == 0 ? "ANSI31" : "-"},
                           {"IsExist", i % 2}});
        }
        transaction.Commit();
    }
    ~BigCatalogue() {
        store.reset();
        std::filesystem::remove(file);
    }
    std::filesystem::path file;
    std::unique_ptr<FeatureStore> store;
};

BigCatalogue& Catalogue() {
    static BigCatalogue catalogue;
    return catalogue;
}

void BM_FilterBySearch(benchmark::State& state) {
    FeatureFilter filter;
    filter.search = u"چاه";
    for (auto _ : state)
        benchmark::DoNotOptimize(Catalogue().store->FilteredIds(filter));
    state.SetItemsProcessed(state.iterations() * Features);
}
BENCHMARK(BM_FilterBySearch)->Unit(benchmark::kMillisecond);

void BM_FilterByTypeAndKind(benchmark::State& state) {
    FeatureFilter filter;
    filter.type = 4;
    filter.kind = FeatureKind::Point;
    for (auto _ : state)
        benchmark::DoNotOptimize(Catalogue().store->FilteredIds(filter));
    state.SetItemsProcessed(state.iterations() * Features);
}
BENCHMARK(BM_FilterByTypeAndKind)->Unit(benchmark::kMillisecond);

void BM_FilterInMemory(benchmark::State& state) {
    const std::vector<FeatureRecord> features = Catalogue().store->Features();
    FeatureFilter filter;
    filter.search = u"چاه";
    for (auto _ : state) {
        std::size_t listed = 0;
        for (const FeatureRecord& f : features)
            listed += Matches(filter, f) ? 1 : 0;
        benchmark::DoNotOptimize(listed);
    }
    state.SetItemsProcessed(state.iterations() * Features);
}
BENCHMARK(BM_FilterInMemory)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
