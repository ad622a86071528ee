// Mean time per step of every transition over the video sequence P = 2, 4, ..., 100, at the
// DVD frame size 720 × 576 and the editor's preview size 185 × 153, with the destination
// carrying over between steps as in a real transition. After the Google Benchmark output it
// prints one table per size sorted by time, the worst effect last. The goal is at most 1.0 ms
// per step at 720 × 576 for every effect. Times are processor time per step.

#include "effects/engine/catalogue.h"
#include "effects/engine/random_source.h"
#include "effects/raster/bitmap.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace vistello::effects;

constexpr int kStepsPerTransition = 50;

Bitmap picture(int width, int height, int salt) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.setPixel(x, y,
                            {static_cast<std::uint8_t>(x * salt + y), static_cast<std::uint8_t>(y * 3 + salt),
                             static_cast<std::uint8_t>(x ^ y)});
    return bitmap;
}

void BM_Effect(benchmark::State& state) {
    const int number = static_cast<int>(state.range(0));
    const int width = static_cast<int>(state.range(1));
    const int height = static_cast<int>(state.range(2));
    const Bitmap oldPicture = picture(width, height, 3);
    const Bitmap newPicture = picture(width, height, 7);
    Bitmap dest = oldPicture;
    ClockRandom random(2024);
    const TEffect& effect = *FindEffect(number);
    for (auto _ : state) {
        state.PauseTiming();
        dest = oldPicture; // same size: reuses the pixel storage
        state.ResumeTiming();
        for (int p = 2; p <= 100; p += 2)
            effect.Proc(dest, newPicture, {0, 0, width, height}, kDefaultGrain, p, random);
        benchmark::DoNotOptimize(dest.data());
    }
    state.counters["ms_per_step"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kStepsPerTransition,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel(std::string(effect.Name));
}

// Collects every run while the console reporter prints as usual.
class TableReporter : public benchmark::ConsoleReporter {
  public:
    struct Row {
        int number;
        int width;
        std::string name;
        double msPerStep;
    };
    std::vector<Row> rows;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            // Processor time, not wall time: the machine is shared, and waiting for a core is not
            // the effect's cost.
            const double seconds = run.cpu_accumulated_time / static_cast<double>(run.iterations);
            int number = 0;
            int width = 0;
            int height = 0;
            std::sscanf(run.benchmark_name().c_str(), "BM_Effect/%d/%d/%d", &number, &width, &height);
            rows.push_back({number, width, run.report_label, seconds * 1000.0 / kStepsPerTransition});
        }
    }

    void printTables() const {
        for (const int width : {185, 720}) {
            std::vector<Row> table;
            std::copy_if(rows.begin(), rows.end(), std::back_inserter(table),
                         [&](const Row& r) { return r.width == width; });
            std::sort(table.begin(), table.end(),
                      [](const Row& a, const Row& b) { return a.msPerStep < b.msPerStep; });
            std::printf("\nMean time per step, %s, sorted (worst last):\n",
                        width == 720 ? "720 x 576" : "185 x 153");
            for (const Row& r : table)
                std::printf("  %3d  %-58s %8.4f ms\n", r.number, r.name.c_str(), r.msPerStep);
            if (!table.empty())
                std::printf("  worst: effect %d (%s) %.4f ms per step\n", table.back().number,
                            table.back().name.c_str(), table.back().msPerStep);
        }
    }
};

} // namespace

int main(int argc, char** argv) {
    for (int n = 1; n <= kEffectCount; ++n)
        for (const auto& size : {std::pair{720, 576}, std::pair{185, 153}})
            benchmark::RegisterBenchmark("BM_Effect", BM_Effect)
                ->Args({n, size.first, size.second})
                ->Unit(benchmark::kMillisecond)
                ->MinTime(0.05);
    benchmark::Initialize(&argc, argv);
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printTables();
    benchmark::Shutdown();
    return 0;
}
