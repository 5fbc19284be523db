#!/usr/bin/env bash
# Instructions per operation, counted by callgrind: the difference between runs of 2000 and
# 1000 operations, divided by 1000, so start-up and warm-up cancel out.
# Usage: bench/instructions.sh path/to/velmora_bench
set -euo pipefail
bench=$1
count() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$bench" --ops "$1" "$2" 2>&1 |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
for op in HostMove PositionLoad Reset; do
  a=$(count "$op" 1000)
  b=$(count "$op" 2000)
  echo "$op: $(((b - a) / 1000)) instructions per operation"
done
