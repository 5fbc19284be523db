#!/usr/bin/env bash
# Builds a fuzzer with clang, the sanitizers and libFuzzer, the one way both the test command and
# the long run build it, and prints its path. Usage: build-fuzzer.sh DIR [NAME]; NAME is
# "control" (the default: every host and person input on a UserControl1) or "chess-board" (a
# ChessBoard's drags, legal lists and vetoes).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$1"
target="velmora_${2:-control}_fuzzer"
target="${target//-/_}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMORA_FUZZ=ON -DVELMORA_BENCH=OFF -DVELMORA_TESTS=OFF >/dev/null
cmake --build "$build" --target "$target" >&2
echo "$build/fuzz/$target"
