#!/usr/bin/env bash
# Instructions per operation, counted by callgrind: the difference between runs of 2N and N
# operations, divided by N, so start-up and warm-up cancel out. N is 1000, or 10 for the
# renders and rasterizations (each is millions of instructions).
# Usage: bench/instructions.sh path/to/velmora_bench [path/to/velmora_render_bench ...]
set -euo pipefail
count() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$1" --ops "$2" "$3" 2>&1 |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
for bench in "$@"; do
  for op in $("$bench" --list-ops); do
    n=1000
    case $op in Render* | Rasterize*) n=10 ;; esac
    a=$(count "$bench" "$op" "$n")
    b=$(count "$bench" "$op" $((2 * n)))
    echo "$op: $(((b - a) / n)) instructions per operation"
  done
done
