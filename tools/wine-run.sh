#!/usr/bin/env bash
# Runs a Windows program under Wine in the test run's own 64-bit prefix, with an Xvfb display
# for anything that opens a window. A 64-bit program runs through wine64, a 32-bit one through
# wine (the prefix's 32-bit half); a program given by name alone (regsvr32, msiexec) runs in
# the bitness $VELMORA_WINE_BITS names (32 or 64; default 32). The prefix is created once
# (about 20 s) and kept in $VELMORA_WINE_DIR (default: build-win/wine).
# Usage: tools/wine-run.sh program.exe [args...]   Exit status: the program's own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
state=${VELMORA_WINE_DIR:-$root/build-win/wine}
mkdir -p "$state"
export WINEPREFIX=$state/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine64=/usr/lib/wine/wine64

# The machine a Windows program is built for, from its PE header: 8664 for x64.
machine() {
  local header
  header=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  od -An -t x2 -j $((header + 4)) -N 2 "$1" | tr -d ' '
}

# One Xvfb per state directory, started on a free display and reused by later runs.
if [ -z "${DISPLAY_FOR_WINE:-}" ]; then
  if [ -f "$state/xvfb.display" ] && kill -0 "$(cat "$state/xvfb.pid" 2>/dev/null)" 2>/dev/null; then
    DISPLAY_FOR_WINE=$(cat "$state/xvfb.display")
  else
    for n in $(seq 91 140); do
      [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
      Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
      echo $! > "$state/xvfb.pid"
      echo ":$n" > "$state/xvfb.display"
      DISPLAY_FOR_WINE=":$n"
      for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
      break
    done
  fi
fi
export DISPLAY=$DISPLAY_FOR_WINE

# A prefix made 32-bit only (by an older run) cannot run 64-bit programs: it is made anew.
if [ -f "$WINEPREFIX/system.reg" ] && [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine64" wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
if { [ -f "$1" ] && [ "$(machine "$1")" = 8664 ]; } ||
   { [ ! -f "$1" ] && [ "${VELMORA_WINE_BITS:-32}" = 64 ]; }; then
  exec "$wine64" "$@"
fi
exec wine "$@"
