#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing TARVELIS
# need, and only those that are missing. Runs as root or through sudo.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config clang-format
  clang libclang-rt-14-dev
  qt6-base-dev qt6-multimedia-dev libqt6opengl6-dev qt6-websockets-dev libqt6sql6-sqlite
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core
  xvfb xauth xdotool imagemagick x11-utils python3
  desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Run as root or install sudo: missing ${missing[*]}" >&2; exit 1; }
  sudo=sudo
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
