#!/usr/bin/env bash
# Builds the Windows products with mingw-w64 for 32-bit (build-win/x86) and 64-bit
# (build-win/x64) Windows, and runs every Windows test program of each bitness under Wine
# (tools/wine-run.sh, one 64-bit prefix for both), checking the summary line each one prints
# last, at each screen DPI it lists (LogPixels in the prefix's HKCU\Control Panel\Desktop, put
# back as it was at the end). Then the library's size and the installer holding both
# bitnesses, with its tests. Screenshots of the run are converted to PNG in
# build-win/screens/<bitness>. Exit status: non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-win

# Each test program, relative to a bitness's build directory, the DPIs it runs at, and the
# prefix of its summary line.
tests=(
  "tests/platform/win32/velmora_win32_tests.exe 96,144,192 VELMORA-WIN32-TESTS"
  "products/ocx/velmora_com_tests.exe 96,144 VELMORA-COM-TESTS"
  "products/ocx/velmora_hostile_tests.exe 96 VELMORA-HOSTILE-TESTS"
)
# Each bitness: its build directory under build-win and its toolchain's processor name.
bitnesses=("x86 i686" "x64 x86_64")
# The largest a stripped library may be.
size_limit=$((350 * 1024))

desktop='HKCU\Control Panel\Desktop'
wine_reg() { "$root/tools/wine-run.sh" reg "$@" >/dev/null 2>&1; }
# Wine reads LogPixels when a process starts: what the prefix had before is put back last.
original_dpi=$("$root/tools/wine-run.sh" reg query "$desktop" /v LogPixels 2>/dev/null |
  sed -n 's/.*REG_DWORD *0x\([0-9a-fA-F]*\).*/\1/p' | tr -d '\r' || true)
restore() {
  if [ -n "$original_dpi" ]; then
    wine_reg add "$desktop" /v LogPixels /t REG_DWORD /d $((16#$original_dpi)) /f || true
  else
    wine_reg delete "$desktop" /v LogPixels /f || true
  fi
  "$root/tools/wine-stop.sh"
}
trap restore EXIT

# Runs one test program; its log goes beside it. Fails when its summary line is missing.
run_test() {
  local program=$1 summary=$2 screens=$3 dpi=$4
  local log=${program%.exe}-${dpi}dpi.log
  echo "== $program at $dpi dpi"
  wine_reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f
  # Wine sees the Unix root as drive Z:, so the screenshot folder is given as Z:\...
  VELMORA_EXPECTED_DPI=$dpi VELMORA_SCREENS="Z:${screens//\//\\}" \
    "$root/tools/wine-run.sh" "$program" "${@:5}" >"$log" 2>&1 || true
  cat "$log"
  if ! tail -n 1 "$log" | tr -d '\r' | grep -Eq "^$summary: PASSED ([0-9]+) of \1$"; then
    echo "FAILED: $program at $dpi dpi (no passing summary line)"
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
    read -r program dpis summary <<<"$test"
    for dpi in ${dpis//,/ }; do
      run_test "$build/$bitness/$program" "$summary" "$build/screens/$bitness" "$dpi" || failed=1
    done
  done
done

# The installer holds both bitnesses; its tests install, use and remove it with both.
"$root/tools/build-msi.sh"
to_windows() { echo "Z:${1//\//\\}"; }
run_test "$build/x64/products/ocx/velmora_install_tests.exe" VELMORA-INSTALL-TESTS \
  "$build/screens/x64" 96 "$(to_windows "$build/VelmoraSW.msi")" \
  "$(to_windows "$build/x86/products/ocx")" "$(to_windows "$build/x64/products/ocx")" || failed=1

for bmp in "$build"/screens/*/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls -R "$build/screens"
exit $failed
