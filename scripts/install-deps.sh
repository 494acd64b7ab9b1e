#!/usr/bin/env bash
# Installs the Debian packages a task needs, skipping what is there already:
#   install-deps.sh run       building and running the application
#   install-deps.sh package   that, and making its Debian package (cpack)
#   install-deps.sh [test]    that, and the whole test suite (the default)
# One group of packages a line, each with what needs it. Prints what it installs in a line;
# apt-get's own output goes to a log, shown only when it fails.
set -euo pipefail

run=(
    build-essential cmake pkg-config                # the build
    qt6-base-dev qt6-multimedia-dev libgl-dev       # Qt 6 Widgets and Multimedia
    libxcb1-dev                                     # a window's real size from the X server
    libqt6svg6                                      # the application's icon is an SVG
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good  # MP3 decoding for the song
    gstreamer1.0-pulseaudio gstreamer1.0-alsa       # sound output, through the desktop's sound server or without one
    xdg-utils                                       # xdg-open for the web and mail links
)
package=(
    file                                            # cpack's Debian generator reads the binaries' kind
)
test=(
    libgtest-dev libbenchmark-dev                   # tests and benchmarks
    locales                                         # a test makes a Turkish locale to compare names under
    desktop-file-utils appstream                    # the install tests validate the menu entry and AppStream record
    lintian                                         # the install test checks the Debian package
    python3 xvfb xauth openbox xdotool x11-utils imagemagick  # the desktop tests
    gdb                                             # the desktop tests show a crashed application's stacks
    weston qt6-wayland                              # the desktop test of a Wayland session
    pulseaudio pulseaudio-utils                     # the desktop test of the song on a real sound server
    clang-16 libclang-rt-16-dev llvm                # the design-record fuzz target (llvm: its symbolizer)
)

task=${1:-test}
case $task in
    run) packages=("${run[@]}") ;;
    package) packages=("${run[@]}" "${package[@]}") ;;
    test) packages=("${run[@]}" "${package[@]}" "${test[@]}") ;;
    *) echo "usage: $0 [run|package|test]" >&2; exit 2 ;;
esac

missing=()
for name in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed' || missing+=("$name")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "$0: installing needs root: run it as root, or install sudo, to get: ${missing[*]}" >&2
        exit 1
    fi
    sudo=(sudo)
    # Asks for the password here, where it can be typed: apt-get's output goes to the log.
    sudo -v
fi

echo "Installing ${missing[*]} (and what they need)"
log=$(mktemp "${TMPDIR:-/tmp}/install-deps.XXXXXX.log")
if ! { "${sudo[@]}" apt-get update -q &&
       "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"; } \
       </dev/null >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    echo "$0: installing failed; apt-get's whole output is in $log" >&2
    exit 1
fi
rm -f "$log"
