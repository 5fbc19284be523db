#!/usr/bin/env bash
# Builds the control fuzzer with clang and runs it: first every committed corpus input (the
# seeds and the regression cases), then a short deterministic fuzz run (fixed seed, bounded
# number of runs). Exits non-zero on any crash, invariant violation or sanitizer report; the
# input that broke is left in the build directory under fuzz-artifacts/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELMORA_FUZZ_BUILD:-$root/build-fuzz}"
runs="${VELMORA_FUZZ_RUNS:-20000}"
corpus="$root/fuzz/corpus"

fuzzer="$("$root/tools/build-fuzzer.sh" "$build")"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

# Sanitizer reports must end the run, leaks included.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"
limits=(-timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 -max_len=1024
        "-artifact_prefix=$artifacts/")

inputs=("$corpus"/*)
echo "control fuzzer: replaying ${#inputs[@]} corpus inputs"
"$fuzzer" "${limits[@]}" "${inputs[@]}" >"$scratch/replay.log" 2>&1 || {
  tail -n 60 "$scratch/replay.log"
  echo "control fuzzer: a corpus input fails" >&2
  exit 1
}

# New inputs go to the scratch directory; the committed corpus is only read.
echo "control fuzzer: $runs runs from seed 1"
"$fuzzer" "${limits[@]}" -seed=1 -runs="$runs" -print_final_stats=1 \
  "$scratch" "$corpus" >"$scratch/fuzz.log" 2>&1 || {
  tail -n 60 "$scratch/fuzz.log"
  echo "control fuzzer: fuzzing found a failure (input in $artifacts)" >&2
  exit 1
}
grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|cov:' "$scratch/fuzz.log" | tail -n 3
echo "control fuzzer: no violation"
