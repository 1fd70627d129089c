#!/usr/bin/env bash
# 200 JPEGs of a camera that is neither Canon nor Sony, geotagged against the whole log memory
# (the simulator's "full" logger, downloaded into one track of about 130,000 points): kavro
# geotag --write-gps side by side with exiftool -geotag on a GPX of the same track (made by kavro
# convert). Then the photo KML writer against copying its own output file. Not a test: the
# figures depend on how busy the machine is, so the load is printed with them.
#   bench/geotag_makes.sh [BUILD_DIR] [PHOTOS]   (default: build-bench, built here in Release; 200)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
count=${2:-200}
if [[ $build == build-bench ]]; then
  cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVRO_BUILD_BENCH=ON -DKAVRO_BUILD_GUI=OFF \
    -DKAVRO_BUILD_TESTS=OFF >/dev/null
  cmake --build build-bench -j2 --target kavro t580-sim >/dev/null
fi
kavro=$build/src/cli/kavro
sim=$build/src/sim/t580-sim
sample=tests/data/photos/makes/Panasonic_DMC-LC40.jpg
command -v exiftool >/dev/null || { echo "needs exiftool" >&2; exit 2; }

work=$(mktemp -d)
trap 'kill "$simpid" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/log" "$work/photos" "$work/exiftool"
"$sim" --scenario full >"$work/port" 2>"$work/sim.err" &
simpid=$!
for _ in $(seq 50); do [[ -s $work/port ]] && break; sleep 0.1; done
"$kavro" download --port "$(head -1 "$work/port")" --fast --dir "$work/log" --total >"$work/download.out"
kill -TERM "$simpid"
wait "$simpid" || true
track=$(ls -S "$work"/log/*.trl | head -1)
"$kavro" convert "$track" --gpx >/dev/null
gpx=${track%.trl}.gpx
points=$(( $(stat -c %s "$track") / 16 ))

# The photos: the sample's capture time replaced by times spread over the track (UTC).
python3 - "$sample" "$track" "$work/photos" "$count" <<'PY'
import struct, sys, time
sample, track, out, count = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
data = open(sample, 'rb').read()
old = b'2003:05:10 13:37:25'
raw = open(track, 'rb').read()
times = sorted(struct.unpack_from('<I', raw, i)[0] for i in range(0, len(raw) - 15, 16))
for n in range(count):
    t = times[(n * len(times)) // count + 7] + 0
    new = time.strftime('%Y:%m:%d %H:%M:%S', time.gmtime(t)).encode()
    open(f'{out}/P{n:04d}.jpg', 'wb').write(data.replace(old, new))
PY

seconds() { local a b; a=$(date +%s.%N); "$@" >/dev/null 2>&1 || true; b=$(date +%s.%N); echo "$b - $a" | bc -l; }
echo "load before: $(uptime)"
ours=$(seconds "$kavro" geotag "$track" "$work/photos" --kml "$work/photos.kml" --zone +00:00 --write-gps)
copies=$(ls "$work/photos/GPS" | wc -l)
theirs=$(seconds env TZ=UTC exiftool -q -q -geotag "$gpx" -o "$work/exiftool/" "$work/photos/")
made=$(ls "$work/exiftool" | wc -l)
echo "load after:  $(uptime)"
printf 'track points               %d (%s)\n' "$points" "$(basename "$track")"
printf 'kavro geotag --write-gps   %8.2f s  (%d copies and the photo KML)\n' "$ours" "$copies"
printf 'exiftool -geotag -o        %8.2f s  (%d copies)\n' "$theirs" "$made"
printf 'speed-up                   %8.1f x  (goal >= 20)\n' "$(echo "$theirs / $ours" | bc -l)"

# The photo KML writer against copying what it wrote (the page cache warm for both).
cp "$work/photos.kml" "$work/warm.kml"
kml=$(seconds "$kavro" geotag "$track" "$work/photos" --kml "$work/photos2.kml" --zone +00:00)
copy=$(seconds cp "$work/photos.kml" "$work/copy.kml")
printf 'photo KML (no copies)      %8.3f s  (%d bytes)\n' "$kml" "$(stat -c %s "$work/photos.kml")"
printf 'cp of that file            %8.3f s\n' "$copy"
