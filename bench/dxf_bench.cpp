// Opening and saving a DXF drawing of 100,000 entities (texts, polylines, points), beside ezdxf
// reading and saving the same file, and the peak memory of the open and save.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>

#include "big_drawing.h"
#include "cad/dxf/dxf_file.h"

namespace navisaz::bench {
namespace {

namespace fs = std::filesystem;

constexpr int EntityCount = BigDrawingEntities;

const fs::path& Folder() {
    static const fs::path folder = [] {
        fs::path f =
            fs::temp_directory_path() / ("navisaz-dxf-bench-" + std::to_string(::getpid()));
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

const fs::path& BigDrawing() {
    static const fs::path path = BigDrawingFile(Folder());
    return path;
}

void BM_OpenAndSave(benchmark::State& state) {
    const fs::path source = BigDrawing();
    for (auto _ : state) {
        const auto drawing = dxf::OpenDxf(source);
        dxf::SaveDxf(*drawing, Folder() / "saved.dxf");
    }
    state.counters["file_MB"] = static_cast<double>(fs::file_size(source)) / 1e6;
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * EntityCount);
}

BENCHMARK(BM_OpenAndSave)->Unit(benchmark::kMillisecond)->Iterations(5);

double SecondsFor(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Peak resident memory, in bytes, of a fresh process that opens and saves the drawing.
long PeakMemoryOfOpenAndSave() {
    const pid_t child = ::fork();
    if (child == 0) {
        const auto drawing = dxf::OpenDxf(BigDrawing());
        dxf::SaveDxf(*drawing, Folder() / "saved-child.dxf");
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss * 1024L;
}

}  // namespace
}  // namespace navisaz::bench

int main(int argc, char** argv) {
    using namespace navisaz::bench;
    const fs::path source = BigDrawing();
    // Memory first, before this process has touched anything else.
    const long peak = PeakMemoryOfOpenAndSave();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double ours = SecondsFor([&] {
        const auto drawing = navisaz::dxf::OpenDxf(source);
        navisaz::dxf::SaveDxf(*drawing, Folder() / "saved.dxf");
    });
    const std::string command = "/usr/bin/python3 -c \"import ezdxf; ezdxf.readfile('" +
                                source.string() + "').saveas('" +
                                (Folder() / "ezdxf.dxf").string() + "')\"";
    int status = 0;
    const double ezdxf = SecondsFor([&] { status = std::system(command.c_str()); });
    const double size = static_cast<double>(fs::file_size(source));
    std::printf("\n%d entities, %.1f MB\n", EntityCount, size / 1e6);
    std::printf("open and save: Navisaz %.3f s, ezdxf %.3f s%s: %.1f times as fast (target 20)\n",
                ours, ezdxf, status == 0 ? "" : " (ezdxf FAILED)", ezdxf / ours);
    std::printf("peak memory of open and save: %.1f MB, %.2f times the file (target under 10)\n",
                static_cast<double>(peak) / 1e6, static_cast<double>(peak) / size);
    fs::remove_all(Folder());
    return 0;
}
