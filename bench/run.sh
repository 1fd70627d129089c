#!/usr/bin/env bash
# Builds the benchmarks in build-bench (optimised, no window, no tests) and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVRO_BUILD_BENCH=ON -DKAVRO_BUILD_GUI=OFF \
  -DKAVRO_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j2 --target bench_conversion
exec build-bench/bench/bench_conversion "$@"
