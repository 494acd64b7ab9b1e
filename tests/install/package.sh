#!/usr/bin/env bash
# Makes the Debian package from the build's install rules in a temporary folder and checks
# what it declares and holds: the Qt libraries it links, what it loads at run time, and the
# installed tree under /usr.
# Argument: the build folder.
set -euo pipefail

build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. "$(dirname "$0")/common.sh"

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
package=$(ls "$work"/flag-of-tarnia_*.deb)

depends=$(dpkg-deb -f "$package" Depends)
for needed in libqt6widgets6 libqt6multimedia6 libqt6svg6 gstreamer1.0-plugins-base \
              gstreamer1.0-plugins-good gstreamer1.0-alsa xdg-utils; do
    grep -Eq "(^|[ ,|])$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

contents=$(dpkg-deb -c "$package")
for file in usr/bin/FlagOfTarnia usr/share/flag-of-tarnia/FlagSong.mp3 \
            usr/share/applications/flag-of-tarnia.desktop \
            usr/share/icons/hicolor/scalable/apps/flag-of-tarnia.svg; do
    grep -q " \./$file\$" <<<"$contents" || fail "the package lacks /$file"
done
echo "package $(basename "$package"): Depends: $depends"
