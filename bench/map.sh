#!/usr/bin/env bash
# The map's speed and memory on the full log memory (130,048 points, the simulator's `full`
# scenario as one total track log): ms a frame at 1200 x 800 with its tiles in the cache, still
# and while panning (bench_map), then the peak memory of `kavro map` on it with the same cache.
# Not a test: the figures depend on how busy the machine is (the load is printed with them).
#   bench/map.sh [BUILD_DIR]   (default: build-bench, made here optimised)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
if [[ $# -eq 0 ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVRO_BUILD_BENCH=ON -DKAVRO_BUILD_GUI=OFF \
    -DKAVRO_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build" -j2 --target bench_map kavro t580-sim
fi
[[ -x /usr/bin/time ]] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/src/sim/t580-sim" --scenario full --dump "$work/full.bin"
mkdir -p "$work/tracks"
"$build/src/cli/kavro" tracks "$work/full.bin" --dir "$work/tracks" --total >/dev/null
total=$(ls "$work"/tracks/*_Total_*.trl)
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
out=$("$build/bench/bench_map" "$total" --cache "$work/cache/kavro-utility/tiles")
echo "$out"
url=$(sed -n 's/^tiles //p' <<<"$out")
# The tile server is gone by now: every tile must come from the cache.
XDG_CACHE_HOME="$work/cache" /usr/bin/time -v "$build/src/cli/kavro" map "$total" --png "$work/map.png" --profile \
  --tiles "$url" 2>"$work/time.txt" >/dev/null
echo "kavro map --profile: $(grep -E 'Maximum resident' "$work/time.txt" | sed 's/.*: //') KB peak, $(grep -E 'Elapsed' "$work/time.txt" | sed 's/.*): //') wall"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
