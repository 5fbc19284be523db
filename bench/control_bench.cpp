// What the host's channels cost: instructions come from callgrind over this binary, heap
// allocations are counted here (the benchmark's own operator new) and reported per operation.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "bench/ops_main.h"
#include "bench/quiet_ports.h"
#include "control/board_control.h"

namespace {

std::atomic<long> allocations{0};

using velmora::bench::QuietForms;
using velmora::bench::QuietHost;

using Operation = void (*)(velmora::BoardControl&, long);

// Alternating texts, so that every write is a change the channel acts on.
void HostMove(velmora::BoardControl& control, long i) {
  control.PutMove(i % 2 == 0 ? u"E2-E4" : u"E4-E2");
}

void PositionLoad(velmora::BoardControl& control, long i) {
  static const std::u16string positions[2] = {
      u"RNBQKBNRPPPPPPPP********************************pppppppprnbqkbnr",
      u"RNBQKBNRPPPP*PPP************P*******************pppppppprnbqkbnr"};
  control.PutPosition(positions[i % 2]);
}

void Reset(velmora::BoardControl& control, long i) {
  control.PutMove(i % 2 == 0 ? u"**" : u"A2-A3");
}

// A new control as a host makes one, and lets go of it.
void Create(velmora::BoardControl&, long) {
  QuietForms forms;
  QuietHost host;
  benchmark::DoNotOptimize(velmora::BoardControl::Create(forms, host));
}

// Runs the operation once per iteration and reports heap allocations per operation.
void Measure(benchmark::State& state, Operation operation) {
  QuietForms forms;
  QuietHost host;
  auto control = velmora::BoardControl::Create(forms, host);
  operation(*control, 0);  // warm up: the steady state is what counts
  const long before = allocations.load();
  long i = 1;
  for (auto _ : state) operation(*control, i++);
  state.counters["allocs/op"] =
      static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations());
}

BENCHMARK_CAPTURE(Measure, HostMove, HostMove);
BENCHMARK_CAPTURE(Measure, PositionLoad, PositionLoad);
BENCHMARK_CAPTURE(Measure, Reset, Reset);
BENCHMARK_CAPTURE(Measure, Create, Create);

// `--ops NAME COUNT` runs an operation COUNT times outside the framework, so that callgrind can
// count instructions per operation from two runs of different COUNT (`--allocations NAME COUNT`
// the same for heap allocations). `--list-ops` names them for tools/instructions.py.
constexpr const char* kOperationNames = "HostMove PositionLoad Reset Create";

int RunOps(const std::string& name, long count) {
  const Operation operation = name == "HostMove"       ? HostMove
                              : name == "PositionLoad" ? PositionLoad
                              : name == "Reset"        ? Reset
                              : name == "Create"       ? Create
                                                       : nullptr;
  if (operation == nullptr) return 2;
  QuietForms forms;
  QuietHost host;
  auto control = velmora::BoardControl::Create(forms, host);
  velmora::bench::MeasuredLoop(count, [&](long i) { operation(*control, i); });
  return 0;
}

}  // namespace

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

int main(int argc, char** argv) {
  return velmora::bench::OpsMain(argc, argv, kOperationNames, RunOps,
                                 [] { return allocations.load(); });
}
