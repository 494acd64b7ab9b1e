#!/usr/bin/env bash
# Installs what building, running and testing need on Debian, skipping what is there already.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins libgl-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    libgtest-dev libbenchmark-dev
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
