#!/usr/bin/env bash
# Ends what tools/wine-run.sh started: the wine server of the prefix and the Xvfb display.
root=$(cd "$(dirname "$0")/.." && pwd)
state=${VELMORA_WINE_DIR:-$root/build-win/wine}
WINEPREFIX=$state/prefix wineserver -k 2>/dev/null || true
if [ -f "$state/xvfb.pid" ]; then
  kill "$(cat "$state/xvfb.pid")" 2>/dev/null || true
  rm -f "$state/xvfb.pid" "$state/xvfb.display"
fi
