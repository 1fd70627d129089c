#!/usr/bin/env bash
# The whole log memory (2 MB) from the simulated logger taken as a CP210x bridge, paced at the
# line speed (921600 baud while the download runs). Prints the wall time against the line time
# (bytes the simulator sent / 92,160 bytes a second), the CPU share of the downloading process
# and its peak memory. Not a test: the figures depend on how busy the machine is.
#   bench/download.sh [BUILD_DIR]      (default: build; needs kavro and t580-sim built there)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
kavro=$build/src/cli/kavro
sim=$build/src/sim/t580-sim
[[ -x $kavro && -x $sim ]] || { echo "build kavro and t580-sim in $build first" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 2; }

work=$(mktemp -d)
# A cache of its own: a kept copy from an earlier run would make it no whole read.
export XDG_CACHE_HOME=$work/cache
trap 'kill "$simpid" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir "$work/out"
"$sim" --scenario full --paced --stats >"$work/port" 2>"$work/sim.err" &
simpid=$!
for _ in $(seq 50); do [[ -s $work/port ]] && break; sleep 0.1; done
port=$(head -1 "$work/port")

/usr/bin/time -v "$kavro" download --port "$port" --fast --dir "$work/out" --total \
  >"$work/kavro.out" 2>"$work/kavro.err" || { cat "$work/kavro.err" >&2; exit 1; }
kill -TERM "$simpid"
wait "$simpid" || true

sent=$(sed -n 's/^t580-sim: \([0-9]*\) bytes sent$/\1/p' "$work/sim.err")
wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/kavro.err" | awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
user=$(sed -n 's/.*User time (seconds): //p' "$work/kavro.err")
sys=$(sed -n 's/.*System time (seconds): //p' "$work/kavro.err")
rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/kavro.err")
awk -v sent="$sent" -v wall="$wall" -v user="$user" -v sys="$sys" -v rss="$rss" 'BEGIN {
  line = sent / 92160
  printf "bytes sent by the logger  %d\n", sent
  printf "line time                 %.2f s\n", line
  printf "wall time                 %.2f s  (%.3f x line time; goal <= 1.12)\n", wall, wall / line
  printf "CPU (user + sys) / wall   %.1f %%  (goal <= 10 %%)\n", 100 * (user + sys) / wall
  printf "peak memory               %.1f MB  (goal <= 50 MB)\n", rss / 1024
}'
