#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, starts the desktop entry's command on an X
# server of its own with a window manager, and checks what a dock sees of each window: its
# WM_CLASS class is the entry's StartupWMClass, and its icon is the flag at every size.
# Argument: the build folder.
set -euo pipefail

build=$1
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/common.sh"

DESTDIR="$work/root" cmake --install "$build" --prefix /usr/local >/dev/null
tree="$work/root/usr/local"
entry="$tree/share/applications/flag-of-tarnia.desktop"
command=$(sed -n 's/^Exec=//p' "$entry")
class=$(sed -n 's/^StartupWMClass=//p' "$entry")

exec 3< <(Xvfb -displayfd 1 -screen 0 1920x1080x24 -nolisten tcp 2>/dev/null & echo "$!")
read -r xvfb <&3
pids+=("$xvfb")
read -r -t 30 display <&3 || fail "Xvfb did not start"
export DISPLAY=":$display"
openbox >/dev/null 2>&1 &
pids+=("$!")
wait_for 30 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 || fail "openbox did not start"

# As a launcher would: the entry's command found on the PATH.
PATH="$tree/bin:$PATH" sh -c "exec $command" 2>"$work/stderr" &
pids+=("$!")

# The flag window and the panel.
two_windows() { [ "$(xdotool search --class "^$class\$" 2>/dev/null | wc -l)" -ge 2 ]; }
wait_for 30 two_windows || fail "no two windows of class $class: $(cat "$work/stderr")"

for window in $(xdotool search --class "^$class\$"); do
    xprop -id "$window" WM_CLASS | grep -qx "WM_CLASS(STRING) = \"FlagOfTarnia\", \"$class\"" ||
        fail "window $window: $(xprop -id "$window" WM_CLASS)"
    # Every size of _NET_WM_ICON: the canton blue at its left, white at the sun's centre,
    # the field red at its right, clear above the flag (which stands centred in the square).
    xprop -id "$window" -f _NET_WM_ICON 32c -notype _NET_WM_ICON | python3 -c '
import sys
numbers = [int(n) for n in sys.stdin.read().split("=", 1)[1].replace(",", " ").split()]
sizes = 0
while numbers:
    width, height, pixels = numbers[0], numbers[1], numbers[2:2 + numbers[0] * numbers[1]]
    del numbers[:2 + width * height]
    at = lambda x, y: pixels[int(y * height) * width + int(x * width)]
    seen = (at(0.05, 0.25), at(0.25, 1 / 3), at(0.75, 0.25), at(0.5, 0.05) >> 24)
    if width >= 32 and seen != (0xFF0029CC, 0xFFFFFFFF, 0xFFF20000, 0):
        sys.exit("icon %dx%d: %s" % (width, height, [hex(p) for p in seen]))
    sizes += 1
sys.exit(0 if sizes else "no icon")
' || fail "window $window shows no flag icon"
done
echo "the entry's command opened windows of class $class with the flag icon"
