#!/usr/bin/env bash
# Builds the Windows products with mingw-w64 and runs every Windows test program under Wine
# (tools/wine-run.sh), checking the summary line each one prints last. Screenshots of the run
# are converted to PNG in build-win/screens. Exit status: non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-win
screens=$build/screens

# Each test program, relative to the build directory, and the prefix of its summary line.
tests=(
  "tests/platform/win32/velmora_win32_tests.exe VELMORA-WIN32-TESTS"
  "products/ocx/velmora_com_tests.exe VELMORA-COM-TESTS"
  "products/ocx/velmora_hostile_tests.exe VELMORA-HOSTILE-TESTS"
)

trap '"$root/tools/wine-stop.sh"' EXIT

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j2

rm -rf "$screens"
mkdir -p "$screens"
failed=0
for entry in "${tests[@]}"; do
  read -r program summary <<<"$entry"
  log=$build/$(basename "$program" .exe).log
  echo "== $program"
  # Wine sees the Unix root as drive Z:, so the screenshot folder is given as Z:\...
  VELMORA_SCREENS="Z:${screens//\//\\}" "$root/tools/wine-run.sh" "$build/$program" \
    >"$log" 2>&1 || true
  cat "$log"
  if ! tail -n 1 "$log" | tr -d '\r' | grep -Eq "^$summary: PASSED ([0-9]+) of \1$"; then
    echo "FAILED: $program (no passing summary line)"
    failed=1
  fi
done

for bmp in "$screens"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls "$screens"
exit $failed
