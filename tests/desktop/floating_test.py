#!/usr/bin/env python3
"""The panel is above the flag window whenever it is shown: at launch, after "Show Panel",
after a press in the canton; a minimized panel comes back when shown."""

import desktop
from desktop import Failure

CANTON = (100, 80)  # inside the canton of the 720 x 480 flag, below the menu bar


def test(d, executable):
    flag = d.launch(executable)
    panel = d.window(desktop.PANEL_TITLE, visible=False)
    desktop.shown_above(d, panel, flag, "at launch")

    d.run("xdotool", "windowminimize", "--sync", str(panel), check=True)
    desktop.wait_for("the panel minimized", lambda: not d.viewable(panel))
    d.choose(flag, "Adjust", 1)  # "Show Panel", the first item offered
    desktop.shown_above(d, panel, flag, "after Show Panel, minimized before")

    x, y, _, _ = d.geometry(flag)
    d.click(x + CANTON[0], y + d.menu_bar_height(flag) + CANTON[1])
    desktop.shown_above(d, panel, flag, "after a press in the canton")


desktop.main(test)
