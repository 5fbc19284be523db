#!/usr/bin/env bash
# Builds the control fuzzer with clang, the sanitizers and libFuzzer, the one way both the test
# command and the long run build it, and prints the fuzzer's path. Usage: build-fuzzer.sh DIR
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$1"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_FUZZ=ON -DVELMORA_BENCH=OFF -DVELMORA_TESTS=OFF >/dev/null
cmake --build "$build" --target velmora_control_fuzzer >&2
echo "$build/fuzz/velmora_control_fuzzer"
