#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own build directory and runs each for a while
# under AddressSanitizer and UndefinedBehaviorSanitizer (any report stops the run), starting
# from a scratch copy of its seed corpus in fuzz/corpus/.
#   fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]
# KAVRO_FUZZ_JOBS=2 runs two targets at a time; KAVRO_FUZZ_NICE=19 runs them niced.
# Findings are copied to fuzz/crashes/; the figures of each run are printed at its end.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${KAVRO_FUZZ_BUILD:-$root/build-fuzz}
jobs=${KAVRO_FUZZ_JOBS:-1}
nice_level=${KAVRO_FUZZ_NICE:-0}
seconds=${1:-180}
[ $# -gt 0 ] && shift
all="fuzz_sentence fuzz_track_file fuzz_log_decoder fuzz_exif_reader fuzz_gps_writer fuzz_photo_metadata fuzz_exif_thumbnail
  fuzz_boot_rom_frames"
targets=${*:-$all}

# clang with its libFuzzer and sanitizer runtimes (Debian 12: clang, libclang-rt-dev).
need=()
command -v clang++ >/dev/null || need+=(clang)
clang_rt=$(clang++ -print-resource-dir 2>/dev/null || true)
ls "$clang_rt"/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-dev)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${need[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${need[@]}"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKAVRO_BUILD_FUZZ=ON -DKAVRO_BUILD_GUI=OFF -DKAVRO_BUILD_TESTS=OFF "${launcher[@]}" >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j2 --target $targets

corpus_of() {
  case "$1" in
    fuzz_sentence) echo sentence ;;
    fuzz_track_file) echo track_file ;;
    fuzz_log_decoder) echo log_memory ;;
    fuzz_photo_metadata) echo photo_metadata ;;
    fuzz_boot_rom_frames) echo boot_rom ;;
    *) echo exif ;;
  esac
}

work=$(mktemp -d "${TMPDIR:-/tmp}/kavro-fuzz-XXXXXX")
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

run_one() {
  local t=$1
  mkdir -p "$work/$t"
  cp "$here/corpus/$(corpus_of "$t")"/* "$work/$t/"
  local start rc=0
  start=$(date +%s)
  nice -n "$nice_level" "$build/fuzz/$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -max_len=131072 -print_final_stats=1 -artifact_prefix="$work/$t-" "$work/$t" 2>"$work/$t.log" || rc=$?
  {
    echo "== $t: $(( $(date +%s) - start )) s, exit $rc"
    grep -E "^stat::(number_of_executed_units|peak_rss_mb|new_units_added)" "$work/$t.log" || true
    if [ $rc -ne 0 ]; then
      grep -E "ERROR: |runtime error:|SUMMARY:" "$work/$t.log" | head -n 5 || true
      tail -n 60 "$work/$t.log"
      mkdir -p "$here/crashes"
      cp "$work/$t"-* "$here/crashes/" 2>/dev/null || true
    fi
  } >"$work/$t.summary"
  return $rc
}

status=0
running=0
for t in $targets; do
  run_one "$t" &
  running=$((running + 1))
  if [ $running -ge "$jobs" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
done
while [ $running -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
for t in $targets; do cat "$work/$t.summary"; done
exit $status
