#!/usr/bin/env python3
"""The menu bar's keys act in every window of the application: Ctrl+Q quits from the about
window and from the panel as from the flag window."""

import desktop
from desktop import Failure


def about_window(d, flag):
    d.choose(flag, "About", 1)  # "This software"
    return d.window(desktop.ABOUT_TITLE)


def panel(d, flag):
    panel = d.window(desktop.PANEL_TITLE)
    desktop.wait_for("the panel framed", lambda: d.frame_extents(panel))

    def press():
        # A press on the panel's background, clear of its controls, activates it.
        x, y, width, height = d.geometry(panel)
        d.click(x + width - 4, y + height - 4)

    # Pressed again, as a hand would, if the window manager was busy the first time.
    d.press_until("the panel activated by a press", press, lambda: d.active() == panel, attempts=10)
    return panel


def test(d, executable):
    failures = []
    for name, open_window in [("the about window", about_window), ("the panel", panel)]:
        flag = d.launch(executable)
        try:
            window = open_window(d, flag)
            desktop.wait_for(f"{name} to be active", lambda: d.active() == window)
            d.key("ctrl+q")
            status = d.exit_status()
            if status != 0:
                failures.append(f"Ctrl+Q in {name}: exit status {status}")
        except Failure as failure:
            failures.append(f"Ctrl+Q in {name}: {failure}")
        if d.app.poll() is None:
            d.app.kill()
            d.app.wait()
    if failures:
        raise Failure("; ".join(failures))


desktop.main(test)
