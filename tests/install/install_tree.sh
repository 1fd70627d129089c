#!/usr/bin/env bash
# Installs the build into a temporary prefix, checks every file is where a desktop expects it,
# runs the installed programs from there and validates the desktop entry and metainfo.
# Exit 77 (skipped) only when a validator is missing.
set -euo pipefail
build_dir=$1
version=${2:-}
for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

app=org.kavro.LoggerUtility
expected=(
  bin/kavro bin/kavro-utility bin/t580-sim
  share/applications/$app.desktop
  share/metainfo/$app.metainfo.xml
  share/icons/hicolor/scalable/apps/$app.svg
  lib/udev/rules.d/70-kavro-logger.rules
  share/man/man1/kavro.1.gz share/man/man1/kavro-utility.1.gz share/man/man1/t580-sim.1.gz
  share/bash-completion/completions/kavro
  share/doc/kavro-utility/copyright
  share/kavro-utility/firmware/DA_T580.bin share/kavro-utility/firmware/scat.txt
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=(share/icons/hicolor/${size}x${size}/apps/$app.png)
done
missing=0
for f in "${expected[@]}"; do
  [ -e "$prefix/$f" ] || { echo "missing: $f"; missing=1; }
done
for f in bin/kavro bin/kavro-utility bin/t580-sim; do
  [ -x "$prefix/$f" ] || { echo "not executable: $f"; missing=1; }
done
[ $missing -eq 0 ]

# The PNG icons are really of their size (a wrong one is blurred or refused by the menu).
for size in 16 48 256; do
  out=$(file "$prefix/share/icons/hicolor/${size}x${size}/apps/$app.png")
  grep -q "$size x $size" <<<"$out" ||
    { echo "icon of the wrong size: ${size}x${size}"; exit 1; }
done

grep -q 'ATTRS{idVendor}=="10c4", ATTRS{idProduct}=="ea60", TAG+="uaccess"' "$prefix/lib/udev/rules.d/70-kavro-logger.rules"
grep -q 'ATTRS{idVendor}=="067b", ATTRS{idProduct}=="2303", TAG+="uaccess"' "$prefix/lib/udev/rules.d/70-kavro-logger.rules"

desktop-file-validate "$prefix/share/applications/$app.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$app.metainfo.xml" >/dev/null
grep -q '^Exec=kavro-utility$' "$prefix/share/applications/$app.desktop"

# The installed programs run from the prefix, away from the build tree.
cd "$prefix"
# (Outputs are taken whole before grep, so an early grep exit cannot fail a pipe.)
out=$("$prefix/bin/kavro" --version); grep -qF "$version" <<<"$out"
out=$(LANG=C.UTF-8 "$prefix/bin/kavro" info --simulate); grep -q "T-580" <<<"$out"
out=$("$prefix/bin/t580-sim" --list); grep -q demo <<<"$out"
# The installed kavro finds its download agent and scatter file under share/ and updates a
# simulated logger; the saved Bluetooth address goes to a scratch settings folder.
export XDG_CONFIG_HOME="$prefix/config"
"$prefix/bin/t580-sim" --make-firmware 1.31 "$prefix/fw.bin" >/dev/null
out=$(LANG=C.UTF-8 "$prefix/bin/kavro" firmware "$prefix/fw.bin" --simulate --yes 2>/dev/null)
grep -q "Download and Update Successfully" <<<"$out"
echo "installed tree ok"
