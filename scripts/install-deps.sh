#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Lumipad need, if any is
# missing. Runs apt-get update only when something has to be installed.
set -euo pipefail

packages=(
  build-essential git cmake ninja-build pkg-config clang libclang-rt-14-dev clang-format
  qt6-base-dev libgl-dev libpng-dev libjpeg-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool x11-utils libx11-dev fonts-dejavu-core
  desktop-file-utils appstream dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
