#!/usr/bin/env bash
# Runs a Windows program under Wine in the test run's own 32-bit prefix, with an Xvfb display
# for anything that opens a window. The prefix is created once (about 15 s) and kept in
# $VELMORA_WINE_DIR (default: build-win/wine). Usage: tools/wine-run.sh program.exe [args...]
# Exit status: the program's own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
state=${VELMORA_WINE_DIR:-$root/build-win/wine}
mkdir -p "$state"
export WINEPREFIX=$state/prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

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

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
exec wine "$@"
