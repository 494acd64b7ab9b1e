#!/usr/bin/env python3
"""Left and Top place the frame's top-left corner on the screen every time: a press in the
canton at (150, 100) puts the panel's frame at (39, 32), also when the panel was placed by
nothing before and is hidden (as after its idle hide at launch), and again once it has been
framed there."""

import desktop
from desktop import Failure

PRESS = (150, 100)
# The panel is 222 x 135, centred on the press.
FRAME_AT = (150 - 222 // 2, int(100 - 135 / 2))


def press_in_canton(d, flag, panel, when, failures):
    x, y, _, _ = d.geometry(flag)
    d.click(x + PRESS[0], y + d.menu_bar_height(flag) + PRESS[1])
    try:
        desktop.wait_for(f"the panel shown {when}", lambda: d.viewable(panel) and d.frame_extents(panel))
        desktop.wait_for(f"the panel's frame at {FRAME_AT} {when}", lambda: d.frame_origin(panel) == FRAME_AT)
    except Failure:
        failures.append(f"{when}: the frame went to {d.frame_origin(panel)}, the content to {d.geometry(panel)[:2]}")


def test(d, executable):
    flag = d.launch(executable)
    panel = d.window(desktop.PANEL_TITLE)
    failures = []
    # Away from the panel shown at launch, which hides itself after six seconds.
    d.run("xdotool", "mousemove", "--sync", str(desktop.SCREEN[0] - 20), str(desktop.SCREEN[1] - 20), check=True)
    desktop.wait_for("the panel's idle hide", lambda: not d.viewable(panel), deadline=12)
    press_in_canton(d, flag, panel, "after its idle hide at launch", failures)
    d.run("xdotool", "mousemove", "--sync", str(desktop.SCREEN[0] - 20), str(desktop.SCREEN[1] - 20), check=True)
    desktop.wait_for("the panel's idle hide", lambda: not d.viewable(panel), deadline=12)
    press_in_canton(d, flag, panel, "after another idle hide", failures)
    if failures:
        raise Failure("; ".join(failures))


desktop.main(test)
