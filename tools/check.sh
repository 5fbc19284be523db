#!/usr/bin/env bash
# Installs what is missing, checks that every include points down a layer, builds everything
# (native and Windows, 32- and 64-bit) and runs every test: native, the instruction bounds of the
# Release build under callgrind, under AddressSanitizer + UndefinedBehaviorSanitizer, the fuzzer,
# and the Windows libraries of both bitnesses under Wine. Prints each stage's time; fails when
# the whole run takes longer than 45 minutes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
limit=$((45 * 60))
started=$SECONDS
stage_started=$SECONDS
stage=""
# Ends the running stage, printing its time.
end_stage() {
  if [ -n "$stage" ]; then printf '== %s: %d s\n' "$stage" $((SECONDS - stage_started)); fi
}
# Ends the running stage and starts the next one.
step() {
  end_stage
  stage=$*
  stage_started=$SECONDS
  printf '\n== %s\n' "$stage"
}

step "dependencies"
"$root/tools/install-deps.sh" all

step "format"
git -C "$root" ls-files '*.h' '*.cpp' | (cd "$root" && xargs clang-format --dry-run -Werror)

step "include layers, the member rows of the docs and the build tools' own tests"
# The checker's tests show it refuses an include that points up or sideways; then the tree.
python3 -m unittest discover -s "$root/tests/tools" -p '*_test.py'
python3 "$root/tools/check_includes.py" "$root"
python3 "$root/tools/member_docs.py" --check "$root"

step "native build and tests"
cmake -S "$root" -B "$root/build-check/native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build-check/native" -j"$jobs"
ctest --test-dir "$root/build-check/native" -j"$jobs" --output-on-failure

step "Debian packages: built, installed, built against, removed"
"$root/tools/check-packages.sh" "$root/build-check/native"

step "instructions per operation within their bounds (callgrind, the Release build)"
python3 "$root/tools/instructions_test.py"
python3 "$root/tools/instructions.py" --check "$root/build-check/native/bench/velmora_bench" \
  "$root/build-check/native/bench/velmora_render_bench" \
  "$root/build-check/native/bench/velmora_qt_bench"

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

step "the core with the Windows cross compilers"
for processor in i686 x86_64; do
  cmake -S "$root" -B "$root/build-check/mingw-core-$processor" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$processor.cmake" -DVELMORA_CORE_ONLY=ON >/dev/null
  cmake --build "$root/build-check/mingw-core-$processor" -j"$jobs"
done

if [ -x "$root/tools/check-windows.sh" ]; then
  step "Windows libraries (32- and 64-bit), window and installer under Wine"
  "$root/tools/check-windows.sh"
fi

end_stage
total=$((SECONDS - started))
printf '== all checks: %d s (limit %d s)\n' "$total" "$limit"
if [ "$total" -gt "$limit" ]; then
  echo "FAILED: the checks took longer than 45 minutes"
  exit 1
fi
echo "== all checks passed"
