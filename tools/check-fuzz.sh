#!/usr/bin/env bash
# Builds both fuzzers with clang and runs each: first every committed input of its corpus (the
# seeds and the regression cases), then a short deterministic fuzz run (fixed seed, bounded
# number of runs). The control fuzzer's corpus is fuzz/corpus, the ChessBoard fuzzer's
# fuzz/chess-board-corpus. Exits non-zero on any crash, invariant violation or sanitizer report;
# the input that broke is left in the build directory under fuzz-artifacts/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELMORA_FUZZ_BUILD:-$root/build-fuzz}"
runs="${VELMORA_FUZZ_RUNS:-20000}"

# Sanitizer reports must end the run, leaks included.
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"
limits=(-timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 -max_len=1024
        "-artifact_prefix=$artifacts/")

# Runs one fuzzer over its corpus, then fuzzes from it.
fuzz() {
  local name=$1 corpus=$2
  local fuzzer scratch
  fuzzer="$("$root/tools/build-fuzzer.sh" "$build" "$name")"
  scratch="$(mktemp -d)"
  local inputs=("$corpus"/*)
  echo "$name fuzzer: replaying ${#inputs[@]} corpus inputs"
  "$fuzzer" "${limits[@]}" "${inputs[@]}" >"$scratch/replay.log" 2>&1 || {
    tail -n 60 "$scratch/replay.log"
    echo "$name fuzzer: a corpus input fails" >&2
    return 1
  }
  # New inputs go to the scratch directory; the committed corpus is only read.
  echo "$name fuzzer: $runs runs from seed 1"
  "$fuzzer" "${limits[@]}" -seed=1 -runs="$runs" -print_final_stats=1 \
    "$scratch" "$corpus" >"$scratch/fuzz.log" 2>&1 || {
    tail -n 60 "$scratch/fuzz.log"
    echo "$name fuzzer: fuzzing found a failure (input in $artifacts)" >&2
    return 1
  }
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)|cov:' "$scratch/fuzz.log" | tail -n 3
  rm -rf "$scratch"
  echo "$name fuzzer: no violation"
}

fuzz control "$root/fuzz/corpus"
fuzz chess-board "$root/fuzz/chess-board-corpus"
