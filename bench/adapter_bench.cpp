// Reading texts through the adapter from the substitute host: select 100,000 texts on screen and
// read each one's string, height and rotation.

#include <benchmark/benchmark.h>

#include "cad/cadole.h"
#include "cad/running_hosts.h"
#include "cad/sim/sim_application.h"
#include "support/recording_platform.h"

namespace navisaz::bench {
namespace {

constexpr int TextCount = 100000;

struct TextDrawing {
    RunningHosts hosts;
    RecordingPlatform platform;
    std::shared_ptr<sim::ScriptedOperator> user = std::make_shared<sim::ScriptedOperator>();
    std::shared_ptr<sim::SimApplication> host = std::make_shared<sim::SimApplication>(user);
    std::vector<std::u16string> handles;

    TextDrawing() {
        hosts.Register(u"Autocad.Application.24", host);
        sim::Drawing& drawing = *host->ActiveDrawing();
        for (int i = 0; i < TextCount; ++i) {
            sim::EntityRef text = drawing.AddEntity(drawing.modelSpace, sim::EntityKind::Text);
            text->text = u"متن شماره " + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
            text->insertion = {i * 1.0, i * 2.0, 0};
            text->height = 2.5;
            text->rotation = 0.1;
            handles.push_back(text->handle);
        }
    }
};

void BM_SelectAndReadTexts(benchmark::State& state) {
    TextDrawing world;
    std::unique_ptr<tacad> adapter = tacad::Create(world.platform, world.hosts);
    for (auto _ : state) {
        world.user->QueueSelection(world.handles);
        const auto set = adapter->SelectEntities(6, "TEXT");
        const std::int32_t count = set->Count();
        double sum = 0;
        std::size_t characters = 0;
        for (std::int32_t i = 0; i < count; ++i) {
            const EntityPtr text = set->Item(Variant(i));
            characters += text->TextString().size();
            sum += text->Height() + text->Rotation();
        }
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(characters);
        if (count != TextCount)
            state.SkipWithError("not every text was selected");
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * TextCount);
    state.counters["entities_per_second"] = benchmark::Counter(
        static_cast<double>(TextCount), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_SelectAndReadTexts)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace navisaz::bench

BENCHMARK_MAIN();
