#!/usr/bin/env bash
# Builds the Windows products with mingw-w64 and runs every Windows test program under Wine
# (tools/wine-run.sh), checking the summary line each one prints last, at each screen DPI it
# lists (LogPixels in the prefix's HKCU\Control Panel\Desktop, put back as it was at the end).
# Screenshots of the run are converted to PNG in build-win/screens. Exit status: non-zero on any
# failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-win
screens=$build/screens

# Each test program, relative to the build directory, the DPIs it runs at, and the prefix of
# its summary line.
tests=(
  "tests/platform/win32/velmora_win32_tests.exe 96,144,192 VELMORA-WIN32-TESTS"
  "products/ocx/velmora_com_tests.exe 96,144 VELMORA-COM-TESTS"
)

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

cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j2

rm -rf "$screens"
mkdir -p "$screens"
failed=0
for entry in "${tests[@]}"; do
  read -r program dpis summary <<<"$entry"
  for dpi in ${dpis//,/ }; do
    wine_reg add "$desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f
    log=$build/$(basename "$program" .exe)-${dpi}dpi.log
    echo "== $program at $dpi dpi"
    # Wine sees the Unix root as drive Z:, so the screenshot folder is given as Z:\...
    VELMORA_EXPECTED_DPI=$dpi VELMORA_SCREENS="Z:${screens//\//\\}" \
      "$root/tools/wine-run.sh" "$build/$program" >"$log" 2>&1 || true
    cat "$log"
    if ! tail -n 1 "$log" | tr -d '\r' | grep -Eq "^$summary: PASSED ([0-9]+) of \1$"; then
      echo "FAILED: $program at $dpi dpi (no passing summary line)"
      failed=1
    fi
  done
done

for bmp in "$screens"/*.bmp; do
  [ -e "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
ls "$screens"
exit $failed
