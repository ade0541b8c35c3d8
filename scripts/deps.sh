#!/usr/bin/env bash
# Installs Debian packages that are missing, with apt-get (through sudo when not root):
# those named, or with no names what Velmora needs to build, test and run on Debian 12.
set -euo pipefail

packages=("$@")
if [ ${#packages[@]} -eq 0 ]; then
    packages=(cmake ninja-build g++ clang libclang-rt-14-dev clang-format qt6-base-dev
              libsqlite3-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool
              x11-utils openbox imagemagick libgl1-mesa-dri desktop-file-utils)
fi
missing=()
for package in "${packages[@]}"; do
    dpkg -s "$package" >/dev/null 2>&1 || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
