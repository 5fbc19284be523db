#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace velmora::bench {

// Runs `operation(i)` for i from 0 to count - 1. Callgrind counts instructions inside this
// function only (tools/instructions.py), so what a program does around it (loading libraries,
// fonts and settings, setting up, shutting down) never reaches a count.
template <class Operation>
[[gnu::noinline]] void MeasuredLoop(long count, Operation operation) {
  for (long i = 0; i < count; ++i) operation(i);
}

// The main of a benchmark program that also runs one named operation a given number of times
// (`--ops NAME N`, for instruction counting) and lists its operations (`--list-ops`). A program
// that counts its heap allocations passes the count: `--allocations NAME N` then runs the same
// and prints the allocations made. They are printed by a run of their own, as printing costs
// instructions that depend on the number printed.
template <class RunOps>
int OpsMain(int argc, char** argv, const char* operation_names, RunOps run_ops,
            long (*allocations_made)() = nullptr) {
  if (argc == 4 && std::string(argv[1]) == "--ops") return run_ops(argv[2], std::atol(argv[3]));
  if (argc == 4 && std::string(argv[1]) == "--allocations") {
    if (allocations_made == nullptr) return 2;
    const int status = run_ops(argv[2], std::atol(argv[3]));
    std::printf("%ld\n", allocations_made());
    return status;
  }
  if (argc == 2 && std::string(argv[1]) == "--list-ops") {
    std::puts(operation_names);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace velmora::bench
