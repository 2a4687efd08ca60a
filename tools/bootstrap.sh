#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks for building, testing and running
# the program. Quick when everything is there already.
set -eu
packages=(
    make cmake ninja-build g++ clang clang-format-14 libclang-rt-14-dev
    googletest libgtest-dev libbenchmark-dev nlohmann-json3-dev libcairo2-dev pkg-config
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
    wine wine64 xvfb xauth x11-utils xdotool imagemagick zip unzip syncthing
    fonts-dejavu-core fonts-ipafont-gothic
)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "bootstrap: installing ${missing[*]}"
sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
