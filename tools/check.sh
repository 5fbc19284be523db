#!/usr/bin/env bash
# Installs what is missing, builds everything (native and Windows) and runs every test:
# native, under AddressSanitizer + UndefinedBehaviorSanitizer, the fuzzer, and the Windows
# library under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
step() { printf '\n== %s\n' "$*"; }

step "dependencies"
"$root/tools/install-deps.sh" all

step "format"
git -C "$root" ls-files '*.h' '*.cpp' | (cd "$root" && xargs clang-format --dry-run -Werror)

step "native build and tests"
cmake -S "$root" -B "$root/build-check/native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build-check/native" -j"$jobs"
ctest --test-dir "$root/build-check/native" -j"$jobs" --output-on-failure

step "tests under the sanitizers"
cmake -S "$root" -B "$root/build-check/sanitize" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DVELMORA_SANITIZE=ON >/dev/null
cmake --build "$root/build-check/sanitize" -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$root/build-check/sanitize" -j"$jobs" --output-on-failure

step "the core with clang"
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-check/clang" -G Ninja \
  -DVELMORA_CORE_ONLY=ON >/dev/null
cmake --build "$root/build-check/clang" -j"$jobs"

if [ -x "$root/tools/check-fuzz.sh" ]; then
  step "fuzzing"
  "$root/tools/check-fuzz.sh"
fi

step "the core with the Windows cross compiler"
cmake -S "$root" -B "$root/build-check/mingw-core" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DVELMORA_CORE_ONLY=ON >/dev/null
cmake --build "$root/build-check/mingw-core" -j"$jobs"

if [ -x "$root/tools/check-windows.sh" ]; then
  step "Windows library and window under Wine"
  "$root/tools/check-windows.sh"
fi

step "all checks passed"
