#!/usr/bin/env bash
# Builds the Windows products with mingw-w64 for 32-bit (build-win/x86) and 64-bit
# (build-win/x64) Windows, and runs every Windows test program of each bitness under Wine
# (tools/wine-run.sh, one 64-bit prefix for both), checking the summary line each one prints
# last. Then the library's size and the installer holding both bitnesses, with its tests.
# Screenshots of the run are converted to PNG in build-win/screens/<bitness>.
# Exit status: non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-win

# Each test program, relative to a bitness's build directory, and the prefix of its summary line.
tests=(
  "tests/platform/win32/velmora_win32_tests.exe VELMORA-WIN32-TESTS"
  "products/ocx/velmora_com_tests.exe VELMORA-COM-TESTS"
)
# Each bitness: its build directory under build-win and its toolchain's processor name.
bitnesses=("x86 i686" "x64 x86_64")
# The largest a stripped library may be.
size_limit=$((350 * 1024))

trap '"$root/tools/wine-stop.sh"' EXIT

# Runs one test program; its log goes beside it. Fails when its summary line is missing.
run_test() {
  local program=$1 summary=$2 screens=$3
  local log=${program%.exe}.log
  echo "== $program"
  # Wine sees the Unix root as drive Z:, so the screenshot folder is given as Z:\...
  VELMORA_SCREENS="Z:${screens//\//\\}" "$root/tools/wine-run.sh" "$program" "${@:4}" \
    >"$log" 2>&1 || true
  cat "$log"
  if ! tail -n 1 "$log" | tr -d '\r' | grep -Eq "^$summary: PASSED ([0-9]+) of \1$"; then
    echo "FAILED: $program (no passing summary line)"
    return 1
  fi
}

for entry in "${bitnesses[@]}"; do
  read -r bitness processor <<<"$entry"
  cmake -S "$root" -B "$build/$bitness" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$processor.cmake" -DCMAKE_BUILD_TYPE=Release
  cmake --build "$build/$bitness" -j2
done

rm -rf "$build/screens"
failed=0
for entry in "${bitnesses[@]}"; do
  read -r bitness _ <<<"$entry"
  library=$build/$bitness/products/ocx/VelmoraSW.ocx
  size=$(stat -c %s "$library")
  echo "== $bitness library: $size bytes (at most $size_limit)"
  [ "$size" -le "$size_limit" ] || { echo "FAILED: $library is too large"; failed=1; }
  mkdir -p "$build/screens/$bitness"
  for test in "${tests[@]}"; do
    read -r program summary <<<"$test"
    run_test "$build/$bitness/$program" "$summary" "$build/screens/$bitness" || failed=1
  done
done

# The installer holds both bitnesses; its tests install, use and remove it with both.
"$root/tools/build-msi.sh"
to_windows() { echo "Z:${1//\//\\}"; }
run_test "$build/x64/products/ocx/velmora_install_tests.exe" VELMORA-INSTALL-TESTS \
  "$build/screens/x64" "$(to_windows "$build/VelmoraSW.msi")" \
  "$(to_windows "$build/x86/products/ocx")" "$(to_windows "$build/x64/products/ocx")" || failed=1

for bmp in "$build"/screens/*/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls -R "$build/screens"
exit $failed
