#!/usr/bin/env bash
# Installs what building, running and testing need on Debian, skipping what is there already.
# One group of packages a line, each with what needs it.
set -euo pipefail

packages=(
    build-essential cmake pkg-config                # the build
    qt6-base-dev qt6-multimedia-dev libgl-dev       # Qt 6 Widgets and Multimedia
    libxcb1-dev                                     # a window's real size from the X server
    libqt6svg6                                      # the application's icon is an SVG
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good  # MP3 decoding for the song
    gstreamer1.0-alsa                               # sound output without a sound server
    xdg-utils                                       # xdg-open for the web and mail links
    libgtest-dev libbenchmark-dev                   # tests and benchmarks
    desktop-file-utils                              # the install test validates the menu entry
    python3 xvfb xauth openbox xdotool x11-utils imagemagick  # the desktop tests
    clang-16 libclang-rt-16-dev llvm                # the design-record fuzz target (llvm: its symbolizer)
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
