#!/usr/bin/env bash
# Installs the build into temporary DESTDIRs under two prefixes, checks each tree (executable,
# song, a valid desktop entry, the icon, a valid AppStream record that launches the entry, the
# manual page), and starts the installed application headless: it
# must find and play its song. With the song taken
# away, the same tree must report the missing song, which shows the check can fail.
# Arguments: the build folder, the offscreen platform's screen configuration.
set -euo pipefail

build=$1
screen=$2
sources=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
app=""
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; rm -rf "$work"' EXIT

. "$(dirname "$0")/common.sh"

# GStreamer names its streaming threads after their elements: an MP3 parser among the
# application's threads means the song was found, opened and is being played.
decoding_mp3() { grep -qs '^mpegaudioparse' /proc/"$app"/task/*/comm; }
reported() { grep -q 'Exception' "$work/stderr"; }

start() {
    QT_QPA_PLATFORM="offscreen:configfile=$screen" "$1" 2>"$work/stderr" &
    app=$!
}

stop() {
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    app=""
}

# The second tree is moved after its install, as a user may move a whole prefix, to a folder
# whose name is no UTF-8: a path is the file system's bytes.
moved="$work/moved "$'\xe6'
for prefix in /usr/local "/opt/flag of tarnia"; do
    root="$work/root"
    rm -rf "$root" "$moved"
    DESTDIR="$root" cmake --install "$build" --prefix "$prefix" >/dev/null
    tree="$root$prefix"
    if [ "$prefix" != /usr/local ]; then
        mv "$tree" "$moved"
        tree="$moved"
    fi
    executable="$tree/bin/FlagOfTarnia"
    song="$tree/share/flag-of-tarnia/FlagSong.mp3"

    [ -x "$executable" ] || fail "no executable at $executable"
    cmp -s "$song" "$sources/resources/FlagSong.mp3" || fail "no song at $song"
    entry="$tree/share/applications/flag-of-tarnia.desktop"
    [ -f "$entry" ] || fail "no desktop entry at $entry"
    desktop-file-validate "$entry" || fail "the desktop entry does not validate"
    cmp -s "$tree/share/icons/hicolor/scalable/apps/flag-of-tarnia.svg" "$sources/packaging/flag-of-tarnia.svg" ||
        fail "no icon in the hicolor theme"
    [ -f "$tree/share/metainfo/example.corvala.flag_of_tarnia.metainfo.xml" ] || fail "no AppStream record under $tree"
    # The whole tree: the record, and the desktop entry its launchable names.
    appstreamcli validate-tree --no-net "$tree" >"$work/appstream" 2>&1 ||
        fail "the AppStream record does not validate: $(cat "$work/appstream")"
    gzip -t "$tree/share/man/man1/FlagOfTarnia.1.gz" || fail "no manual page under $tree"

    start "$executable"
    wait_for 30 decoding_mp3 || fail "the application installed under $prefix never played its song: $(cat "$work/stderr")"
    ! reported || fail "the application installed under $prefix reported: $(cat "$work/stderr")"
    stop

    rm "$song"
    start "$executable"
    wait_for 30 reported || fail "without its song the application under $prefix reported nothing"
    stop
done
echo "installed trees complete"
