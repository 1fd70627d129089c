#!/usr/bin/env bash
# Builds the Debian package in build-pkg/ and prints its path. Install it with
#   sudo apt install ./build-pkg/kavro-utility_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVRO_BUILD_TESTS=OFF
cmake --build build-pkg -j2
(cd build-pkg && cpack -G DEB >/dev/null)
ls "$PWD"/build-pkg/kavro-utility_*.deb
