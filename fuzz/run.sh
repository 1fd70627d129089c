#!/bin/sh
# Builds the fuzz targets with clang in their own build directory and runs each for a while
# under AddressSanitizer, starting from a scratch copy of the seed corpus.
#   fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${KAVRO_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-180}
[ $# -gt 0 ] && shift
targets=${*:-"fuzz_exif_reader fuzz_gps_writer"}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKAVRO_BUILD_FUZZ=ON -DKAVRO_BUILD_GUI=OFF -DKAVRO_BUILD_TESTS=OFF >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $targets

work=$(mktemp -d "${TMPDIR:-/tmp}/kavro-fuzz-XXXXXX")
trap 'rm -rf "$work"' EXIT
status=0
for t in $targets; do
  mkdir -p "$work/$t"
  cp "$here"/corpus/exif/* "$work/$t/"
  echo "== $t for $seconds s"
  if ! "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$work/$t-" "$work/$t" 2>"$work/$t.log"; then
    status=1
    tail -n 60 "$work/$t.log"
    mkdir -p "$root/fuzz/crashes"
    cp "$work/$t"-* "$root/fuzz/crashes/" 2>/dev/null || true
  fi
  grep -E "^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb|stat::new_units_added)" "$work/$t.log" || true
done
exit $status
