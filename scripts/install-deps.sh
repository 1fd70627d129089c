#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the window need. Safe to run again:
# it only calls apt-get when something is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools libcli11-dev help2man
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libexiv2-dev
  gpsbabel libxml2-utils libimage-exiftool-perl exiv2 python3
  xvfb xauth fonts-noto-cjk fonts-dejavu-core
  dpkg-dev file lintian desktop-file-utils appstream
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
