#!/usr/bin/env bash
# Builds the Debian package of the desktop application: a release build
# without tests, then `cpack -G DEB`. Leaves varnel_VERSION_ARCH.deb in the
# repository's top folder, ready for `apt-get install ./varnel_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
./tools/install-deps.sh

build=${BUILD_DIR:-build-deb}
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVARNEL_GUI=ON -DVARNEL_TESTS=OFF \
      -DVARNEL_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j2
rm -f "$build"/varnel_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
cp "$build"/varnel_*.deb .
ls varnel_*.deb
