#!/usr/bin/env bash
# Builds the Debian package from the build tree, lists it, and holds it to lintian: no error.
# Exit 77 (skipped) only when the packaging tools are missing.
set -euo pipefail
build_dir=$1
for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build_dir" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/kavro-utility_*.deb)
dpkg-deb --contents "$deb"
contents=$(dpkg-deb --contents "$deb")
for f in ./usr/bin/kavro-utility ./usr/bin/kavro ./usr/bin/t580-sim \
         ./usr/lib/udev/rules.d/70-kavro-logger.rules \
         ./usr/share/applications/org.kavro.LoggerUtility.desktop \
         ./usr/share/man/man1/kavro.1.gz ./usr/share/bash-completion/completions/kavro \
         ./usr/share/kavro-utility/firmware/DA_T580.bin ./usr/share/kavro-utility/firmware/scat.txt \
         ./usr/share/doc/kavro-utility/copyright; do
  grep -q " $f\$" <<<"$contents" || { echo "not in the package: $f"; exit 1; }
done
depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends" || { echo "Depends lacks the Qt libraries"; exit 1; }
[ "$(dpkg-deb --field "$deb" Section)" = utils ]
report=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
echo "$report"
if grep -q '^E:' <<<"$report"; then
  echo "lintian reports errors"
  exit 1
fi
echo "package ok"
