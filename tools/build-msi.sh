#!/usr/bin/env bash
# Builds the installer build-win/VelmoraSW.msi from the two Release libraries in build-win/x86
# and build-win/x64 (tools/check-windows.sh builds them): both libraries, their manifests and
# the README, with the registry rows the libraries' own registration writes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root/build-win"
ocx=products/ocx
# wixl finds its files by paths relative to where it runs.
python3 "$root/tools/gen_packaging.py" installer "$root/$ocx/identifiers.txt" \
  "$root/$ocx/project.txt" "x86/$ocx" "x64/$ocx" ../README.md VelmoraSW.wxs
wixl -a x64 -o VelmoraSW.msi VelmoraSW.wxs
# wixl writes the root "user or machine" as 4; the installer's number for it is -1.
msiinfo export VelmoraSW.msi Registry >Registry.idt
awk 'BEGIN { FS = OFS = "\t" } NR > 3 && $2 == "4" { $2 = "-1" } { print }' Registry.idt \
  >Registry.fixed.idt
mv Registry.fixed.idt Registry.idt
msibuild VelmoraSW.msi -i Registry.idt
rm Registry.idt
echo "built build-win/VelmoraSW.msi"
