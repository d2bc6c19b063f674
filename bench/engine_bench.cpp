// Throughput of the glyph encoders and decoders on a Persian corpus, beside ICU's and FriBidi's
// Arabic shaping on the same text, and the growth of ReverseNumberRuns on long digit runs.

#include <benchmark/benchmark.h>
#include <fribidi.h>
#include <unicode/ushape.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "corpus.h"
#include "engine/codepage.h"
#include "engine/ipt_encoder.h"
#include "engine/letters.h"
#include "engine/naskh_decoder.h"
#include "engine/naskh_encoder.h"
#include "engine/shiraz2_decoder.h"
#include "engine/typed_text.h"
#include "engine/utf8.h"

namespace navisaz::bench {
namespace {

// The lines lie one after the other in one buffer per form, as a drawing's texts or a file would,
// so that every contender reads them the same way.
template <typename Char>
class LineBuffer {
  public:
    void Add(const std::basic_string<Char>& line) {
        starts_.push_back(text_.size());
        text_ += line;
    }
    void Seal() {
        for (std::size_t i = 0; i < starts_.size(); ++i) {
            const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : text_.size();
            lines_.emplace_back(text_.data() + starts_[i], end - starts_[i]);
        }
    }
    const std::vector<std::basic_string_view<Char>>& Lines() const { return lines_; }

  private:
    std::basic_string<Char> text_;
    std::vector<std::size_t> starts_;
    std::vector<std::basic_string_view<Char>> lines_;
};

struct Corpus {
    LineBuffer<char> windows;           // Windows-1256 lines
    LineBuffer<char16_t> utf16;         // the same lines in UTF-16
    LineBuffer<FriBidiChar> utf32;      // and in UTF-32 for FriBidi
    LineBuffer<char16_t> naskhDrawing;  // Naskh glyph lines as the host holds them
    std::size_t characters = 0;

    Corpus() {
        for (const std::string& line : PersianCorpusLines()) {
            const std::u16string wide = DecodeUtf8(line).text;
            const std::string bytes = TypedTextToWindows(wide).bytes;
            naskhDrawing.Add(WidenBytes(CodePage::Windows1256, WindowsToNaskh(bytes)));
            characters += wide.size();
            windows.Add(bytes);
            utf16.Add(wide);
            utf32.Add(std::basic_string<FriBidiChar>(wide.begin(), wide.end()));
        }
        windows.Seal();
        utf16.Seal();
        utf32.Seal();
        naskhDrawing.Seal();
    }
};

const Corpus& TheCorpus() {
    static const Corpus corpus;
    return corpus;
}

template <typename Lines, typename Convert>
void RunOverCorpus(benchmark::State& state, const Lines& lines, Convert convert) {
    for (auto _ : state) {
        for (const auto& line : lines) {
            benchmark::DoNotOptimize(convert(line));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(TheCorpus().characters));
}

void BM_WindowsToNaskh(benchmark::State& state) {
    RunOverCorpus(state, TheCorpus().windows.Lines(),
                  [](std::string_view l) { return WindowsToNaskh(l); });
}

void BM_WindowsToIpt(benchmark::State& state) {
    RunOverCorpus(state, TheCorpus().windows.Lines(),
                  [](std::string_view l) { return WindowsToIpt(l); });
}

void BM_NaskhToWindows(benchmark::State& state) {
    RunOverCorpus(state, TheCorpus().naskhDrawing.Lines(),
                  [](std::u16string_view l) { return NaskhToWindows(l); });
}

void BM_Shiraz2ToWindows(benchmark::State& state) {
    RunOverCorpus(state, TheCorpus().naskhDrawing.Lines(),
                  [](std::u16string_view l) { return Shiraz2ToWindows(l); });
}

void BM_IcuShapeArabic(benchmark::State& state) {
    RunOverCorpus(state, TheCorpus().utf16.Lines(), [](std::u16string_view l) {
        std::u16string shaped(l.size(), u'\0');
        UErrorCode error = U_ZERO_ERROR;
        u_shapeArabic(l.data(), static_cast<int32_t>(l.size()), shaped.data(),
                      static_cast<int32_t>(shaped.size()),
                      U_SHAPE_LETTERS_SHAPE | U_SHAPE_TEXT_DIRECTION_LOGICAL, &error);
        return shaped;
    });
}

// FriBidi's Arabic joining and shaping of a right-to-left paragraph: character types, joining
// types, the joining itself and the glyph substitution.
void BM_FriBidiJoinShape(benchmark::State& state) {
    RunOverCorpus(state, TheCorpus().utf32.Lines(), [](std::basic_string_view<FriBidiChar> l) {
        const auto length = static_cast<FriBidiStrIndex>(l.size());
        std::vector<FriBidiChar> shaped(l.begin(), l.end());
        std::vector<FriBidiCharType> types(l.size());
        std::vector<FriBidiArabicProp> joining(l.size());
        std::vector<FriBidiLevel> levels(l.size(), 1);
        fribidi_get_bidi_types(l.data(), length, types.data());
        fribidi_get_joining_types(l.data(), length, joining.data());
        fribidi_join_arabic(types.data(), length, levels.data(), joining.data());
        fribidi_shape(FRIBIDI_FLAGS_ARABIC, levels.data(), length, joining.data(), shaped.data());
        return shaped;
    });
}

void BM_ReverseNumberRuns(benchmark::State& state) {
    const std::string digits(static_cast<std::size_t>(state.range(0)), '7');
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReverseNumberRuns(digits));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

BENCHMARK(BM_WindowsToNaskh);
BENCHMARK(BM_NaskhToWindows);
BENCHMARK(BM_Shiraz2ToWindows);
BENCHMARK(BM_WindowsToIpt);
BENCHMARK(BM_IcuShapeArabic);
BENCHMARK(BM_FriBidiJoinShape);
BENCHMARK(BM_ReverseNumberRuns)->Arg(1 << 20)->Arg(2 << 20)->Unit(benchmark::kMillisecond);

// Keeps each result so that the ratios can be printed after the usual table.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // With repetitions, only the median stands for the benchmark.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") {
                continue;
            }
            const auto rate = run.counters.find("items_per_second");
            if (rate != run.counters.end()) {
                charactersPerSecond[run.run_name.function_name] = rate->second.value;
            }
            timeNs[run.run_name.function_name + "/" + run.run_name.args] =
                run.GetAdjustedRealTime();
        }
    }
    std::map<std::string, double> charactersPerSecond;
    std::map<std::string, double> timeNs;
};

void PrintSummary(const RecordingReporter& reporter) {
    const auto& rate = reporter.charactersPerSecond;
    auto get = [&](const char* name) {
        const auto found = rate.find(name);
        return found == rate.end() ? 0.0 : found->second;
    };
    std::printf("\nCharacters per second (corpus of %zu characters):\n", TheCorpus().characters);
    for (const auto& [name, value] : rate) {
        std::printf("  %-22s %12.0f\n", name.c_str(), value);
    }
    const double fribidi = get("BM_FriBidiJoinShape");
    const double icu = get("BM_IcuShapeArabic");
    struct Target {
        const char* name;
        const char* against;
        double baseline;
        double wanted;
    };
    const Target targets[] = {
        {"BM_WindowsToNaskh", "FriBidi", fribidi, 3},
        {"BM_WindowsToNaskh", "ICU", icu, 6},
        {"BM_NaskhToWindows", "FriBidi", fribidi, 2},
        {"BM_Shiraz2ToWindows", "FriBidi", fribidi, 2},
        {"BM_WindowsToIpt", "FriBidi", fribidi, 1},
    };
    std::printf("\nRatios:\n");
    for (const Target& t : targets) {
        const double ratio = t.baseline > 0 ? get(t.name) / t.baseline : 0;
        std::printf("  %-22s / %-8s %7.2fx  (target %.0fx: %s)\n", t.name, t.against, ratio,
                    t.wanted, ratio >= t.wanted ? "met" : "NOT met");
    }
    const auto oneMb = reporter.timeNs.find("BM_ReverseNumberRuns/1048576");
    const auto twoMb = reporter.timeNs.find("BM_ReverseNumberRuns/2097152");
    if (oneMb != reporter.timeNs.end() && twoMb != reporter.timeNs.end()) {
        std::printf(
            "\nReverseNumberRuns: 2 MB of digits takes %.2f times as long as 1 MB "
            "(linear: about 2)\n",
            twoMb->second / oneMb->second);
    }
}

}  // namespace
}  // namespace navisaz::bench

int main(int argc, char** argv) {
    // The machine's load varies; the median of several repetitions gives steadier ratios.
    std::vector<char*> arguments(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=7";
    char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    arguments.insert(arguments.begin() + 1, {repetitions, aggregatesOnly});
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    navisaz::bench::RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    navisaz::bench::PrintSummary(reporter);
    benchmark::Shutdown();
    return 0;
}
