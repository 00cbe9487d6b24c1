#!/bin/sh
# Rebuilds the art generator and redraws every picture under resources/.
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${ARTGEN_BUILD:-$root/build-artgen}
cmake -S "$root/tools/artgen" -B "$build" -G Ninja >/dev/null
cmake --build "$build" -j2 >/dev/null
QT_QPA_PLATFORM=offscreen "$build/artgen" "$root/resources"
