#!/usr/bin/env bash
# Builds everything once, with AddressSanitizer and UBSan, and runs every
# test in that tree: the core and widget tests, the headless commands and
# the monkey on each example model, with leaks detected. The benchmarks are
# built there too, to prove they compile; run.sh and benchmark runs build
# their own plain trees. First the core alone is built without Qt, as the
# layers promise.
set -euo pipefail
cd "$(dirname "$0")"
start=$SECONDS
./tools/install-deps.sh
source tools/sanitizer-env.sh

cmake -S . -B build-core -DCMAKE_BUILD_TYPE=Debug -DVARNEL_GUI=OFF -DVARNEL_TESTS=OFF >/dev/null
cmake --build build-core -j2 --target varnel

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVARNEL_GUI=ON -DVARNEL_SANITIZE=ON -DVARNEL_BENCH=ON >/dev/null
cmake --build build-asan -j2
status=0
(cd build-asan && ctest --output-on-failure -j2) || status=$?

# The closing lines a reader needs: the monkey's runs, the size of the
# tests against the code, and the verdict.
grep -h "^monkey: " build-asan/Testing/Temporary/LastTest.log || true
tools/test-ratio.sh
if [ $status -eq 0 ]; then verdict=passed; else verdict=FAILED; fi
echo "test.sh: every test under AddressSanitizer and UBSan $verdict in $(((SECONDS - start) / 60)) min $(((SECONDS - start) % 60)) s"
exit $status
