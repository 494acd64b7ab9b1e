#!/usr/bin/env python3
"""A menu of the menu bar opens again on a press after it was closed, by Escape or by a press
elsewhere."""

import desktop


def escape(d):
    d.key("Escape")


def press_elsewhere(d):
    # The screen's far corner, clear of the application's windows.
    d.click(desktop.SCREEN[0] - 5, desktop.SCREEN[1] - 5)


def test(d, executable):
    flag = d.launch(executable)
    for close in (escape, press_elsewhere, escape):
        d.open_menu(flag, "Adjust")
        close(d)
        desktop.wait_for(f"the menu to close by {close.__name__}", d.menu_closed)


desktop.main(test)
