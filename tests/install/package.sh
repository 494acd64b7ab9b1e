#!/usr/bin/env bash
# Makes the Debian package from the build's install rules in a temporary folder and checks
# what it declares and holds: the Qt libraries it links, what it loads at run time, the
# installed tree under /usr with its manual page, AppStream record and Debian documents, and
# that Debian's own checker, lintian, finds no error or warning in it.
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
            usr/share/icons/hicolor/scalable/apps/flag-of-tarnia.svg \
            usr/share/metainfo/example.corvala.flag_of_tarnia.metainfo.xml \
            usr/share/man/man1/FlagOfTarnia.1.gz \
            usr/share/doc/flag-of-tarnia/copyright usr/share/doc/flag-of-tarnia/changelog.gz; do
    grep -q " \./$file\$" <<<"$contents" || fail "the package lacks /$file"
done

# The package's version is the one its changelog and its AppStream record give last.
dpkg-deb -x "$package" "$work/root"
version=$(dpkg-deb -f "$package" Version)
logged=$(zcat "$work/root/usr/share/doc/flag-of-tarnia/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[ "$logged" = "$version" ] || fail "the changelog's newest entry is $logged, the package $version"
released=$(python3 -c 'import sys, xml.etree.ElementTree as tree
print(tree.parse(sys.argv[1]).find("releases/release").get("version"))' \
    "$work/root/usr/share/metainfo/example.corvala.flag_of_tarnia.metainfo.xml")
[ "$released" = "$version" ] || fail "the AppStream record's newest release is $released, the package $version"

# Stripped, the executable still exports its functions: the unhandled-exception report names
# the function at fault by its dynamic symbol.
exported=$(nm -D --defined-only -C "$work/root/usr/bin/FlagOfTarnia")
grep -q ' App::_AdjustMusicOn_Action()$' <<<"$exported" ||
    fail "the packaged executable exports none of the application's functions"

lintian --fail-on error,warning --tag-display-limit 0 "$package" >"$work/lintian.log" 2>&1 ||
    fail "lintian: $(grep -v 'running with root privileges' "$work/lintian.log")"
echo "package $(basename "$package"): Depends: $depends; lintian: no error or warning"
