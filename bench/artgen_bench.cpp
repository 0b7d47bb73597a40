// The artwork generator runs in every Windows build: the whole set should take about a second.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "artwork.h"
#include "scenes.h"

namespace {

void BM_GenerateAllArtwork(benchmark::State& state) {
  const auto out = std::filesystem::temp_directory_path() / ("nx7-artgen-bench-" + std::to_string(::getpid()));
  std::string error;
  for (auto _ : state) {
    if (!nx7::artgen::GenerateArtwork(out, false, error)) state.SkipWithError(error.c_str());
  }
  std::filesystem::remove_all(out);
}
BENCHMARK(BM_GenerateAllArtwork)->Unit(benchmark::kMillisecond);

void BM_PaintMainWindow(benchmark::State& state) {
  for (auto _ : state) {
    nx7::artgen::Canvas canvas(nx7::layout::main_window::kClient.width, nx7::layout::main_window::kClient.height);
    nx7::artgen::PaintMainWindow(canvas, nx7::artgen::Look::Normal, false);
    benchmark::DoNotOptimize(canvas.Row(0));
  }
}
BENCHMARK(BM_PaintMainWindow)->Unit(benchmark::kMillisecond);

void BM_PaintLightingPage(benchmark::State& state) {
  for (auto _ : state) {
    nx7::artgen::Canvas canvas(nx7::layout::kPageClient.width, nx7::layout::kPageClient.height);
    nx7::artgen::PaintLightingPage(canvas, nx7::artgen::Look::Normal, false);
    benchmark::DoNotOptimize(canvas.Row(0));
  }
}
BENCHMARK(BM_PaintLightingPage)->Unit(benchmark::kMillisecond);

}  // namespace
