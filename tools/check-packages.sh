#!/usr/bin/env bash
# Builds the Debian packages from a Release build folder, installs them on this machine (as
# root), builds and runs a separate program against /usr with CMake and with pkg-config, runs
# the command-line host, then removes the packages and fails if any file of theirs is left.
#   tools/check-packages.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
work=$build/package-check
packages=(velmora libvelmora-qt1 libvelmora-dev)

rm -rf "$work" "$build"/*.deb
mkdir -p "$work"
(cd "$build" && cpack -G DEB >/dev/null)
dpkg -r "${packages[@]}" >/dev/null 2>&1 || true
dpkg -i "$build"/*.deb >/dev/null
dpkg -L "${packages[@]}" | sort -u | while read -r path; do
  if [ -f "$path" ] || [ -L "$path" ]; then echo "$path"; fi
done >"$work/files"
echo "installed: ${packages[*]} ($(wc -l <"$work/files") files)"

/usr/bin/velmora demo --png "$work/demo.png" >"$work/demo.log"
test -s "$work/demo.png"
cmake -DPREFIX=/usr -DLIBDIR=lib -DSOURCE_DIR="$root/tests/products/consumer" \
  -DWORK_DIR="$work/consumer" -P "$root/tests/products/consumer/consumer_test.cmake" >"$work/consumer.log"
echo "the installed host ran its demo; a separate program built with CMake and pkg-config ran"

dpkg -r "${packages[@]}" >/dev/null
left=0
while read -r path; do
  if [ -e "$path" ] || [ -L "$path" ]; then echo "left after removal: $path"; left=1; fi
done <"$work/files"
[ "$left" -eq 0 ] && echo "removed: no file of theirs is left"
exit "$left"
