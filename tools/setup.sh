#!/usr/bin/env bash
# Installs the Debian packages the game needs (only those missing), then configures and builds
# in build/: the targets given, or everything. Works as root or through sudo.
#   tools/setup.sh [target...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(build-essential cmake pkg-config libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev
  fonts-dejavu-core fonts-dejavu-extra libgtest-dev libbenchmark-dev lame xvfb xdotool x11-utils
  imagemagick libsdl2-image-dev libcli11-dev libeigen3-dev libopenmpi-dev openmpi-bin clang
  libclang-rt-dev desktop-file-utils libenet-dev gcovr openbox libnatpmp-dev libminiupnpc-dev
  gettext)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=()
  if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
  "${sudo[@]}" apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
    "${missing[@]}"
fi

jobs="$(nproc 2>/dev/null || echo 2)"
cmake -S "$root" -B "$root/build" -DBRIKKA_BUILD_DATA=ON
targets=()
if [ "$#" -gt 0 ]; then targets=(--target "$@"); fi
cmake --build "$root/build" -j"$jobs" "${targets[@]}"
