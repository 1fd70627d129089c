#!/usr/bin/env bash
# Builds the program and starts the window. With no logger attached, pick "Simulated T-580"
# in its port list.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVRO_BUILD_TESTS=OFF
cmake --build build -j2
exec build/src/gui/kavro-utility "$@"
