#!/usr/bin/env bash
# The long fuzz run, apart from the test command: a fuzzer built as tools/check-fuzz.sh builds
# it, one process at low priority, inputs up to 4096 bytes, started from its committed corpus.
# Usage: fuzz-long.sh [SECONDS [SEED [NAME]]]; 1800 seconds, a fresh random seed and the control
# fuzzer unless given (NAME "chess-board" runs the ChessBoard fuzzer).
# New inputs collect in build-fuzz/long-corpus (emptied first), a failing one in
# build-fuzz/fuzz-artifacts/, the whole output in build-fuzz/fuzz-long.log; the committed corpus
# is only read.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELMORA_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${1:-1800}"
# libFuzzer reads seed 0 as "pick one"; a seed of our own is printed, so a run can be repeated.
seed="${2:-$(( $(od -An -N4 -tu4 /dev/urandom) % 2147483646 + 1 ))}"

name="${3:-control}"
corpus="$root/fuzz/corpus"
[ "$name" = control ] || corpus="$root/fuzz/$name-corpus"

fuzzer="$(CMAKE_BUILD_PARALLEL_LEVEL=2 nice -n 10 "$root/tools/build-fuzzer.sh" "$build" "$name")"
work="$build/long-corpus"
artifacts="$build/fuzz-artifacts"
log="$build/fuzz-long.log"
rm -rf "$work"
mkdir -p "$work" "$artifacts"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"
# Without -len_control=0 the length limit starts at the corpus's longest input and grows only
# while coverage stalls, so inputs near 4096 bytes would hardly ever be tried.
command=(nice -n 10 "$fuzzer" -seed="$seed" -max_total_time="$seconds" -max_len=4096
         -len_control=0 -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 -print_final_stats=1
         "-artifact_prefix=$artifacts/" "$work" "$corpus")
echo "$name fuzzer, long run: ${command[*]}"
status=0
"${command[@]}" >"$log" 2>&1 || status=$?
grep -E '^stat::|#[0-9]+.*(DONE|pulse)' "$log" | tail -n 8
if [ "$status" -ne 0 ]; then
  tail -n 60 "$log"
  echo "$name fuzzer, long run: a failure (seed $seed, input in $artifacts)" >&2
  exit 1
fi
echo "$name fuzzer, long run: no violation in ${seconds}s from seed $seed"
