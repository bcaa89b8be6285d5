#!/usr/bin/env bash
# Builds everything and runs every test: the full build with the desktop
# shell and its widget tests, then the core again under AddressSanitizer so
# that a leak or overflow on any error path fails the suite.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNEL_GUI=ON -DVARNEL_BENCH=ON >/dev/null
cmake --build build -j2
(cd build && ctest --output-on-failure -j2)

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVARNEL_GUI=OFF -DVARNEL_SANITIZE=ON >/dev/null
cmake --build build-asan -j2
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j2)
