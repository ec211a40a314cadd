#!/usr/bin/env bash
# Installs the Debian 12 packages Quorvane needs to build, run and test,
# skipping those already present. Run as root.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools
  qt6-documentation-tools qt6-qpa-plugins libqt6help6 libqt6sql6-sqlite libqt6printsupport6
  libgl-dev libxkbcommon-dev libsqlite3-dev sqlite3
  fonts-dejavu-core fonts-liberation2 fonts-comic-neue
  qt6-svg-dev desktop-file-utils appstream dpkg-dev
  xdg-utils poppler-utils xvfb xauth
  libarchive-dev libssl-dev libsodium-dev libheif-dev libexiv2-dev qt6-pdf-dev
  qt6-image-formats-plugins qtkeychain-qt6-dev libheif-examples
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
