#!/usr/bin/env python3
"""In a Wayland session that offers an X server (WAYLAND_DISPLAY, XDG_SESSION_TYPE=wayland and
DISPLAY set, as GNOME and Plasma have with XWayland), the application runs on the X server,
where it can place its windows: they come up there, the panel above the flag, a press in the
canton at (120, 90) puts the panel's frame at (10, 22) as on any X desktop, and Ctrl+Q ends
the process with status 0. An empty QT_QPA_PLATFORM chooses no platform either."""

import desktop
from desktop import Failure

PRESS = (120, 90)
# The panel is 222 x 135, centred on the press but kept 10 pixels from the screen's edges.
FRAME_AT = (10, int(90 - 135 / 2))

SESSIONS = [
    ("QT_QPA_PLATFORM unset", {}),
    ("QT_QPA_PLATFORM empty", {"QT_QPA_PLATFORM": ""}),
]


def run_session(d, executable):
    flag = d.launch(executable)
    panel = d.window(desktop.PANEL_TITLE, visible=False)
    desktop.shown_above(d, panel, flag, "at launch")

    x, y, _, _ = d.geometry(flag)
    d.click(x + PRESS[0], y + d.menu_bar_height(flag) + PRESS[1])
    try:
        desktop.wait_for("the panel's frame at the press", lambda: d.frame_origin(panel) == FRAME_AT)
    except Failure:
        raise Failure(f"a press in the canton at {PRESS} put the panel's frame at {d.frame_origin(panel)}, "
                      f"not at {FRAME_AT}")
    desktop.shown_above(d, panel, flag, "after a press in the canton")

    d.activate(flag)
    d.key("ctrl+q")
    status = d.exit_status()
    if status != 0:
        raise Failure(f"Ctrl+Q ended with status {status}")


def test(d, executable):
    d.wayland_session()
    failures = []
    session_env = dict(d.env)
    for name, changes in SESSIONS:
        d.env = dict(session_env, **changes)
        try:
            run_session(d, executable)
        except Failure as failure:
            if d.app is not None and d.app.poll() is None:
                d.app.kill()
                d.app.wait()
            failures.append(f"with {name}: {failure}: {d.errors()[-400:]}")
    if not d.compositor_running():
        failures.append("the Wayland compositor did not last the test")
    if failures:
        raise Failure("; ".join(failures))


desktop.main(test)
