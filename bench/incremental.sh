#!/usr/bin/env bash
# Downloads that read only what is new, from the simulated logger taken as a CP210x bridge and
# paced at the line speed (921600 baud while the download runs), as bench/download.sh does:
#   1. a whole read of the "trips" logger (29 sectors full), which keeps its copy;
#   2. the logger records a trip of about 60 KB (SIGUSR1), and a second download reads only
#      the sector it went into (goal: at most 3 s wall);
#   3. a fresh cache, a download unplugged at half of the bytes a whole read sends, and its
#      resume on the logger plugged in again (goal: at most 0.6 of the whole read's time).
# Prints the wall time of each kavro run, the bytes it requested and the bytes the logger sent,
# and the machine's load. Not a test: the figures depend on how busy the machine is.
#   bench/incremental.sh [BUILD_DIR]      (default: build; needs kavro and t580-sim built there)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
kavro=$build/src/cli/kavro
sim=$build/src/sim/t580-sim
[[ -x $kavro && -x $sim ]] || { echo "build kavro and t580-sim in $build first" >&2; exit 2; }

work=$(mktemp -d)
simpid=
trap '[[ -n $simpid ]] && kill "$simpid" 2>/dev/null; rm -rf "$work"' EXIT
now=$(date +%s)

# start_sim NAME [FAULTS...]: a paced logger; its port in $port.
start_sim() {
  local name=$1
  shift
  "$sim" --scenario trips --now "$now" --paced --stats "$@" >"$work/$name.port" 2>"$work/$name.sim" &
  simpid=$!
  for _ in $(seq 50); do [[ -s $work/$name.port ]] && break; sleep 0.1; done
  port=$(head -1 "$work/$name.port")
}
stop_sim() {
  kill -TERM "$simpid" 2>/dev/null || true
  wait "$simpid" 2>/dev/null || true
  simpid=
}
# run NAME: one kavro download; its wall time in seconds in $wall.
run() {
  local name=$1
  mkdir -p "$work/$name"
  local start end
  start=$(date +%s.%N)
  "$kavro" download --port "$port" --fast --dir "$work/$name" --total >"$work/$name.out" 2>"$work/$name.err" || true
  end=$(date +%s.%N)
  wall=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }')
}
requested() { sed -n 's/.*(\([0-9]*\) bytes requested)$/\1/p' "$work/$1.out" | tail -1; }
sent() { sed -n 's/^t580-sim: \([0-9]*\) bytes sent$/\1/p' "$work/$1.sim"; }
report() {
  printf '%-28s %7s s   requested %8s bytes   sent %8s bytes   %s\n' "$1" "$2" "${3:--}" "${4:--}" "$5"
}

export XDG_CACHE_HOME=$work/cache
start_sim whole
run whole
whole_wall=$wall
kill -USR1 "$simpid"
sleep 0.5
run trip
trip_wall=$wall
stop_sim
report "whole read" "$whole_wall" "$(requested whole)" "" "$(tail -1 "$work/whole.out")"
report "after a 60 KB trip" "$trip_wall" "$(requested trip)" "$(sent whole)" "(sent: both runs)"
grep -h "trip recorded" "$work/whole.sim" || true

export XDG_CACHE_HOME=$work/cache2
# About half of the line bytes of a whole read: two hex digits a byte of the memory asked for.
half=$(requested whole)
start_sim cut --fault-disconnect-after "$half"
run cut
cut_wall=$wall
stop_sim
start_sim resume
run resume
resume_wall=$wall
stop_sim
report "unplugged at 50%" "$cut_wall" "" "$half" "$(grep -h 'interrupt' "$work/cut.err" | head -1)"
report "resumed" "$resume_wall" "$(requested resume)" "$(sent resume)" "$(grep -h 'Sectors read' "$work/resume.out")"
awk -v t="$trip_wall" -v w="$whole_wall" -v r="$resume_wall" 'BEGIN {
  printf "trip download %.2f s (goal <= 3 s); resume / whole %.2f (goal <= 0.6)\n", t, r / w
}'
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg), $(nproc) cores"
cmp -s <(cd "$work/whole" && ls) <(cd "$work/resume" && ls) && echo "resumed files: the same names as the whole read" || true
