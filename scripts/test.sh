#!/usr/bin/env bash
# Installs what is missing, builds everything from scratch and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
rm -rf build-test
# The benchmarks are built (not run), so they keep up with the code they time.
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVRO_BUILD_TESTS=ON -DKAVRO_BUILD_BENCH=ON
cmake --build build-test -j2
cd build-test
ctest --output-on-failure -j2 "$@"
