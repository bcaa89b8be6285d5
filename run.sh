#!/usr/bin/env bash
# Builds Varnel and opens it on the bundled example model. With no display,
# runs the example headless and writes its graphs to out/graphs.png.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEL_GUI=ON >/dev/null
cmake --build build -j2 --target varnel

example=examples/predator-prey.vrn
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec ./build/app/varnel "$example" "$@"
fi
mkdir -p out
QT_QPA_PLATFORM=offscreen ./build/app/varnel graphs "$example" -o out/graphs.png
echo "No display: wrote the graphs of $example to out/graphs.png"
