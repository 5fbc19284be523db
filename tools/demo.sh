#!/usr/bin/env bash
# The main job: builds the command-line host and runs its built-in demo game.
# The board ends up in velmora-demo.png in the current directory.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh" demo
cmake -S "$root" -B "$root/build-demo" -DCMAKE_BUILD_TYPE=Release -DVELMORA_TESTS=OFF \
  -DVELMORA_BENCH=OFF >/dev/null
cmake --build "$root/build-demo" -j"$(nproc)" --target velmora >/dev/null
"$root/build-demo/products/cli/velmora" demo --png "$PWD/velmora-demo.png"
