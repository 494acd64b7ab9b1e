#!/usr/bin/env python3
"""Every way to quit ends the process with status 0, also after a menu has been shown."""

import desktop
from desktop import Failure


def open_and_escape(title):
    def before(d, flag):
        d.open_menu(flag, title)
        d.key("Escape")
        desktop.wait_for("the menu to close", d.menu_closed)
    return before


def nothing(d, flag):
    pass


def ctrl_q(d, flag):
    d.activate(flag)
    d.key("ctrl+q")


def choose_exit(d, flag):
    d.open_menu(flag, "Adjust")
    # "Exit" is the menu's last item: one step up from the top wraps to it.
    d.key("Up", "Return")


def close_box(d, flag):
    x, y, _, _ = d.geometry(flag)
    _, _, top, _ = d.frame_extents(flag)
    if y - top < 0:
        # Now and then, on a loaded machine, the window comes up with its title bar above the
        # screen; bring the bar into sight first, as a user would.
        d.run("xdotool", "windowmove", "--sync", str(flag), "100", "100", check=True)
        desktop.wait_for("the title bar in sight", lambda: d.geometry(flag)[1] - top >= 0)
    d.close_box(flag)


CASES = [
    ("nothing", nothing, "Ctrl+Q", ctrl_q),
    ("Adjust shown", open_and_escape("Adjust"), "Ctrl+Q", ctrl_q),
    ("About shown", open_and_escape("About"), "the close box", close_box),
    ("Adjust shown", open_and_escape("Adjust"), "the close box", close_box),
    ("the menu", nothing, "Exit", choose_exit),
]


def test(d, executable):
    failures = []
    for before_name, before, quit_name, quit in CASES:
        flag = d.launch(executable)
        before(d, flag)
        quit(d, flag)
        try:
            status = d.exit_status()
        except Failure as failure:
            d.app.kill()
            d.app.wait()
            status = f"none ({failure})"
        if status != 0:
            failures.append(f"after {before_name}, {quit_name} ended with status {status}: {d.errors()[-400:]}{d.crash_stack()}")
    if failures:
        raise Failure("; ".join(failures))


desktop.main(test)
