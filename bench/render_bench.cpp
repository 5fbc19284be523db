// What a full headless render costs at 1x and at fractional and double scales, one renderer
// reused as a window reuses its painter: the pieces are rasterized on the first render only,
// so later renders are fills, text and blends. Instructions come from callgrind
// (tools/instructions.py), times from the benchmark.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/ops_main.h"
#include "platform/headless/png_renderer.h"
#include "view/display_list.h"

namespace {

constexpr const char* kOperationNames = "Render1x Render1_5x Render2x";

double ScaleOf(const std::string& name) {
  return name == "Render1x" ? 1.0 : name == "Render1_5x" ? 1.5 : name == "Render2x" ? 2.0 : 0.0;
}

void Render(benchmark::State& state, double scale) {
  const velmora::Surface surface;
  const velmora::DisplayList list = velmora::BuildDisplayList(surface, u"E2-E4");
  velmora::PngRenderer renderer(scale);
  renderer.Render(list);  // warm up: masks and glyph faces
  for (auto _ : state) benchmark::DoNotOptimize(renderer.Render(list));
}

BENCHMARK_CAPTURE(Render, 1x, 1.0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Render, 1_5x, 1.5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Render, 2x, 2.0)->Unit(benchmark::kMillisecond);

// `--ops NAME COUNT`: COUNT renders after one warm-up, for callgrind.
int RunOps(const std::string& name, long count) {
  const double scale = ScaleOf(name);
  if (scale == 0) return 2;
  const velmora::Surface surface;
  const velmora::DisplayList list = velmora::BuildDisplayList(surface, u"E2-E4");
  velmora::PngRenderer renderer(scale);
  renderer.Render(list);
  for (long i = 0; i < count; ++i) benchmark::DoNotOptimize(renderer.Render(list));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return velmora::bench::OpsMain(argc, argv, kOperationNames, RunOps);
}
