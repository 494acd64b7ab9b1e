#!/usr/bin/env python3
"""A drag of the flag window's edge, by any edge or corner and at any speed, ends at the
snapped size (width a multiple of 30, the flag two thirds as high), painted to its bottom;
a maximize keeps the size the system gives."""

import desktop
from desktop import Failure


# (grip, move by, moves, seconds between moves)
DRAGS = [
    ("bottom-right", (-100, -75), 5, 0.1),
    ("bottom", (0, 80), 4, 0.1),
    ("bottom-right", (-40, -40), 2, 0.02),
    ("right", (95, 0), 3, 0.05),
]


def grip(d, window, name):
    x, y, width, height = d.geometry(window)
    _, right, _, bottom = d.frame_extents(window)
    return {
        "bottom-right": (x + width + right - 2, y + height + bottom - 2),
        "bottom": (x + width // 2, y + height + bottom - 2),
        "right": (x + width + right - 1, y + height // 2),
    }[name]


def snapped(width, height, bar):
    content = height - bar
    return width % 30 == 0 and width >= 60 and content == width * 2 // 3


def red(pixel):
    return pixel is not None and pixel[0] > 150 and pixel[1] < 100 and pixel[2] < 100


def test(d, executable):
    flag = d.launch(executable)
    bar = d.menu_bar_height(flag)
    failures = []
    for name, by, moves, pause in DRAGS:
        d.drag(grip(d, flag, name), by, moves, pause)
        try:
            size = desktop.wait_for(f"a snapped size after the {name} drag by {by}",
                                    lambda: (lambda g: g[2:] if snapped(g[2], g[3], bar) else None)(d.geometry(flag)))
            # The field's red reaches the content's bottom-left corner: no bare band below the flag.
            x, y, width, height = d.geometry(flag)
            desktop.wait_for(f"the flag painted to the bottom after the {name} drag",
                             lambda: red(d.pixel(x + 3, y + height - 3)))
        except Failure as failure:
            failures.append(str(failure))

    # Maximized, the window keeps the whole size the system gives it.
    d.maximize(flag)
    try:
        desktop.wait_for("the maximized window to keep the screen's width",
                         lambda: d.geometry(flag)[2] >= desktop.SCREEN[0] - 10)
        desktop.holds("the maximized size", lambda: d.geometry(flag)[2] >= desktop.SCREEN[0] - 10, 1.0)
    except Failure as failure:
        failures.append(str(failure))
    if failures:
        raise Failure("; ".join(failures))


desktop.main(test)
