"""A real X desktop for one test: its own Xvfb display, openbox on it, the application as a
child process, and what a user does and sees through xdotool, xwininfo and xprop. On request,
a headless Wayland compositor beside it, as a Wayland session with XWayland has."""

import ctypes
import glob
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time

DEADLINE = 20.0
SCREEN = (1920, 1080)
# The flag window's content at launch: the flag, below the menu bar.
FLAG_SIZE = (720, 480)

FLAG_TITLE = "Beautiful!   Flag of Tarnia"
PANEL_TITLE = "Flag show and Music Volume"
ABOUT_TITLE = "About this software"


class Failure(Exception):
    pass


_xlib = ctypes.CDLL("libX11.so.6")
_xlib.XOpenDisplay.restype = ctypes.c_void_p
_xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
_xlib.XDefaultRootWindow.restype = ctypes.c_ulong
_xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_xlib.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint, ctypes.c_int,
                               ctypes.c_int, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]
_xlib.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                ctypes.c_ulong]
_xlib.XUngrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_xlib.XUngrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
_xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
_xlib.XInternAtom.restype = ctypes.c_ulong
_xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
_xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
GRAB_SUCCESS = 0


_wayland = None


def _wayland_answers(socket_path):
    """True when a Wayland compositor listens at socket_path and answers a round trip."""
    global _wayland
    if _wayland is None:
        _wayland = ctypes.CDLL("libwayland-client.so.0")
        _wayland.wl_display_connect.restype = ctypes.c_void_p
        _wayland.wl_display_connect.argtypes = [ctypes.c_char_p]
        _wayland.wl_display_roundtrip.argtypes = [ctypes.c_void_p]
        _wayland.wl_display_disconnect.argtypes = [ctypes.c_void_p]
    display = _wayland.wl_display_connect(socket_path.encode())
    if not display:
        return False
    try:
        return _wayland.wl_display_roundtrip(display) >= 0
    finally:
        _wayland.wl_display_disconnect(display)


def _allow_core():
    resource.setrlimit(resource.RLIMIT_CORE, (resource.RLIM_INFINITY, resource.RLIM_INFINITY))


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 19)]


def wait_for(what, probe, deadline=DEADLINE, interval=0.05):
    """Polls probe() until it gives something true, and returns that; fails after deadline."""
    end = time.monotonic() + deadline
    last = None
    while True:
        last = probe()
        if last:
            return last
        if time.monotonic() > end:
            raise Failure(f"timed out waiting for {what} (last seen: {last!r})")
        time.sleep(interval)


def holds(what, probe, duration):
    """Fails if probe() turns false within duration: a state that must last, not one awaited."""
    end = time.monotonic() + duration
    while time.monotonic() < end:
        if not probe():
            raise Failure(f"no longer {what}")
        time.sleep(0.05)


def shown_above(d, panel, flag, when):
    """Waits for the panel to show above the flag, and to stay there."""
    wait_for(f"the panel shown {when}", lambda: d.viewable(panel))
    wait_for(f"the panel above the flag {when}", lambda: d.above(panel, flag))
    # Not just for a moment: the window manager has done its part by now.
    holds(f"the panel above the flag {when}", lambda: d.above(panel, flag), 1.0)


class Desktop:
    def __init__(self):
        self.processes = []
        self.app = None
        self.runtime_dir = None
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{SCREEN[0]}x{SCREEN[1]}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(self.xvfb)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure("Xvfb gave no display")
        self.env = dict(os.environ, DISPLAY=":" + number, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("XAUTHORITY", None)
        wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(wm)
        wait_for("the window manager", lambda: "window id #" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"))

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        if self.runtime_dir is not None:
            self.runtime_dir.cleanup()

    def wayland_session(self):
        """Starts a headless Wayland compositor of this desktop's own and gives the application a
        Wayland session's environment with XWayland beside it, as GNOME and Plasma give:
        WAYLAND_DISPLAY, XDG_SESSION_TYPE=wayland and DISPLAY set, and no platform chosen."""
        # The compositor's socket lives in a runtime folder only its user may enter, as a
        # session's does; libwayland refuses others.
        self.runtime_dir = tempfile.TemporaryDirectory(prefix="flag-wayland-")
        os.chmod(self.runtime_dir.name, 0o700)
        socket = "wayland-flag"
        compositor_env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        compositor_env["XDG_RUNTIME_DIR"] = self.runtime_dir.name
        self.weston_log = tempfile.TemporaryFile(mode="w+")
        self.weston = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", f"--socket={socket}", "--idle-time=0", "--no-config"],
            env=compositor_env, stdout=self.weston_log, stderr=subprocess.STDOUT)
        self.processes.append(self.weston)
        socket_path = os.path.join(self.runtime_dir.name, socket)

        def up():
            if self.weston.poll() is not None:
                self.weston_log.seek(0)
                raise Failure(f"weston ended with status {self.weston.returncode}: {self.weston_log.read()[-400:]}")
            return _wayland_answers(socket_path)
        wait_for("the Wayland compositor to answer", up)
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.update(WAYLAND_DISPLAY=socket, XDG_SESSION_TYPE="wayland", XDG_RUNTIME_DIR=self.runtime_dir.name)

    def compositor_running(self):
        return self.weston.poll() is None

    def run(self, *command, check=False):
        done = subprocess.run(command, env=self.env, capture_output=True, text=True)
        if check and done.returncode != 0:
            raise Failure(f"{' '.join(command)} failed: {done.stderr.strip()}")
        return done.stdout

    # The application.

    def launch(self, executable):
        # A file, not a pipe: a pipe nobody reads until the end fills up, and a process with much
        # to report at exit (a sanitizer's) would then wait on it for good.
        self.stderr = tempfile.TemporaryFile(mode="w+")
        self.executable = executable
        # A crash that comes now and then is only mended from its stack: the application may
        # leave a core in a folder of its own, which errors() reads.
        self.crashes = tempfile.TemporaryDirectory(prefix="flag-crash-")
        self.app = subprocess.Popen([executable], env=self.env, cwd=self.crashes.name, stdout=subprocess.DEVNULL,
                                    stderr=self.stderr, preexec_fn=_allow_core)
        self.processes.append(self.app)
        flag = self.window(FLAG_TITLE)
        wait_for("the flag window to be framed", lambda: self.frame_extents(flag))
        return flag

    def exit_status(self, deadline=DEADLINE):
        """The application's exit status once it has ended (a signal as the shell shows it: 128+n)."""
        try:
            status = self.app.wait(deadline)
        except subprocess.TimeoutExpired:
            raise Failure("the application did not end")
        return 128 - status if status < 0 else status

    def errors(self):
        if self.app.poll() is None:
            return ""
        self.stderr.seek(0)
        return self.stderr.read()

    def crash_stack(self):
        """Every thread's stack from the core a crash left, where gdb is there to read it."""
        cores = glob.glob(os.path.join(self.crashes.name, "core*"))
        if self.app.poll() is None or self.app.returncode >= 0 or not cores or not shutil.which("gdb"):
            return ""
        done = subprocess.run(["gdb", "-batch", "-nx", "-ex", "thread apply all bt 40", self.executable, cores[0]],
                              capture_output=True, text=True)
        return f"\nThe stacks at the crash ({cores[0]}):\n{done.stdout[-12000:]}"

    # Windows.

    def window(self, title, visible=True):
        """The id of the application's window of that title, once mapped."""
        def find():
            args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", "^" + re.escape(title) + "$"]
            ids = self.run(*args).split()
            return int(ids[0]) if ids else None
        return wait_for(f"window {title!r}", find)

    def input_free(self):
        """True when no client holds the pointer or the keyboard (a popped-up menu does)."""
        display = _xlib.XOpenDisplay(self.env["DISPLAY"].encode())
        if not display:
            return False
        try:
            root = _xlib.XDefaultRootWindow(display)
            pointer = _xlib.XGrabPointer(display, root, 0, 0, 1, 1, 0, 0, 0)
            keyboard = _xlib.XGrabKeyboard(display, root, 0, 1, 1, 0)
            return pointer == GRAB_SUCCESS and keyboard == GRAB_SUCCESS
        finally:
            _xlib.XCloseDisplay(display)  # which also ends this probe's own grabs

    def maximize(self, window):
        """Asks the window manager to maximize the window, as a task bar's menu does."""
        display = _xlib.XOpenDisplay(self.env["DISPLAY"].encode())
        try:
            atom = lambda name: _xlib.XInternAtom(display, name, 0)
            event = _ClientMessage(type=33, send_event=1, window=window, message_type=atom(b"_NET_WM_STATE"), format=32)
            event.data[:] = [1, atom(b"_NET_WM_STATE_MAXIMIZED_HORZ"), atom(b"_NET_WM_STATE_MAXIMIZED_VERT"), 1, 0]
            substructure_redirect_and_notify = (1 << 20) | (1 << 19)
            _xlib.XSendEvent(display, _xlib.XDefaultRootWindow(display), 0, substructure_redirect_and_notify,
                             ctypes.byref(event))
        finally:
            _xlib.XCloseDisplay(display)

    def menu_closed(self):
        return not self.menu_shown() and self.input_free()

    def windows(self):
        return [int(w) for w in self.run("xdotool", "search", "--onlyvisible", "--classname", ".").split()]

    def menu_shown(self):
        """The id of the menu popped up, if one is: a window the window manager does not manage.
        Its type tells no more: Qt names a menu's window a popup menu the first time it shows it,
        and a normal window each time after."""
        for window in self.windows():
            if "Override Redirect State: yes" in self.run("xwininfo", "-id", str(window)):
                return window
        return None

    def open_menu(self, flag, title):
        """Presses the menu bar's "Adjust" and walks right to the menu of that title."""
        x, y, _, _ = self.geometry(flag)
        # The bar takes a press where the pointer came to it, as a hand does.
        self.run("xdotool", "mousemove", "--sync", str(x + 60), str(y + 10), check=True)
        self.click(x + 20, y + 10)
        first = wait_for("the menu to open and be painted", lambda: self.painted(self.menu_shown()))
        if title != "Adjust":
            self.key("Right")
            wait_for(f"the menu {title!r}", lambda: (lambda m: m != first and self.painted(m))(self.menu_shown()))

    def painted(self, menu):
        """The menu, once it shows its first paint: Qt has taken the keyboard for it by then."""
        geometry = self.geometry(menu) if menu else None
        if not geometry:
            return None
        x, y, width, height = geometry
        pixel = self.pixel(x + width // 2, y + height - 3)
        return menu if pixel and min(pixel) > 128 else None

    def choose(self, flag, title, steps):
        """Opens the menu of that title and chooses its item `steps` down the visible ones
        (negative: up from the bottom)."""
        self.open_menu(flag, title)
        # A menu reached from the bar's keys comes with its first item chosen already.
        if title != "Adjust" and steps > 0:
            steps -= 1
        self.key(*(["Down"] * steps if steps > 0 else ["Up"] * -steps), "Return")
        wait_for("the menu to close", self.menu_closed)

    def close_box(self, window):
        """Presses the close box at the right of the window's title bar."""
        x, y, width, _ = self.geometry(window)
        _, right, top, _ = self.frame_extents(window)
        self.click(x + width + right - 10, y - top + top // 2)

    def viewable(self, window):
        return "IsViewable" in self.run("xwininfo", "-id", str(window))

    def geometry(self, window):
        """(x, y, width, height) of the window's client area, on the screen."""
        info = self.run("xwininfo", "-id", str(window))
        found = [re.search(key + r":\s+(-?\d+)", info) for key in
                 ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
        return tuple(int(m.group(1)) for m in found) if all(found) else None

    def menu_bar_height(self, flag):
        """The height of the flag window's menu bar, as the running application lays it out: the
        window's height above the 720 x 480 flag it has at launch."""
        _, _, width, height = self.geometry(flag)
        if width != FLAG_SIZE[0] or height <= FLAG_SIZE[1]:
            raise Failure(f"the flag window is {width} x {height}, not the launch flag under a menu bar")
        return height - FLAG_SIZE[1]

    def frame_extents(self, window):
        """(left, right, top, bottom) of the frame the window manager put around the window."""
        text = self.run("xprop", "-id", str(window), "_NET_FRAME_EXTENTS")
        numbers = re.findall(r"\d+", text.split("=", 1)[1]) if "=" in text else []
        return tuple(int(n) for n in numbers) if len(numbers) == 4 else None

    def frame_origin(self, window):
        x, y, _, _ = wait_for("the window's geometry", lambda: self.geometry(window))
        left, _, top, _ = self.frame_extents(window)
        return (x - left, y - top)

    def stacking(self):
        """Managed windows from bottom to top."""
        text = self.run("xprop", "-root", "_NET_CLIENT_LIST_STACKING")
        return [int(n, 16) for n in re.findall(r"0x[0-9a-f]+", text)]

    def above(self, upper, lower):
        order = self.stacking()
        return upper in order and lower in order and order.index(upper) > order.index(lower)

    def active(self):
        out = self.run("xdotool", "getactivewindow").strip()
        return int(out) if out else None

    # Input.

    def click(self, x, y, button=1):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y), check=True)
        self.run("xdotool", "click", str(button), check=True)

    def key(self, *keys):
        self.run("xdotool", "key", "--clearmodifiers", *keys, check=True)

    def press_until(self, what, press, probe, attempts=3, deadline=2.0):
        """Presses, then waits for probe() to hold; presses again, as a hand would, if it did not
        within the deadline (a window manager busy the first time), up to `attempts` presses."""
        for attempt in range(attempts):
            press()
            try:
                return wait_for(what, probe, deadline)
            except Failure:
                if attempt == attempts - 1:
                    raise

    def drag(self, start, by, moves, pause):
        """Presses at `start`, moves by `by` in `moves` even steps `pause` seconds apart, releases."""
        self.run("xdotool", "mousemove", "--sync", str(start[0]), str(start[1]), check=True)
        self.run("xdotool", "mousedown", "1", check=True)
        for _ in range(moves):
            time.sleep(pause)  # the hand's pace, not a wait for a result
            self.run("xdotool", "mousemove_relative", "--sync", "--", str(by[0] // moves), str(by[1] // moves), check=True)
        time.sleep(pause)
        self.run("xdotool", "mouseup", "1", check=True)

    def activate(self, window):
        self.run("xdotool", "windowactivate", "--sync", str(window), check=True)
        wait_for("the window to be active", lambda: self.active() == window)

    def pixel(self, x, y):
        """The screen's colour at (x, y) as (r, g, b)."""
        out = subprocess.run(["import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                             env=self.env, capture_output=True, text=True).stdout
        match = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1]) if out else None
        return tuple(int(g) for g in match.groups()) if match else None


def main(test):
    """Runs test(desktop, executable) on a fresh desktop; exit status 0 when it passes."""
    executable = sys.argv[1]
    desktop = None
    try:
        with Desktop() as desktop:
            test(desktop, executable)
    except Failure as failure:
        print("FAIL:", failure, file=sys.stderr)
        # What the application said is often why, and it is gone with the run.
        if desktop is not None and desktop.app is not None:
            desktop.stderr.seek(0)
            print(desktop.stderr.read(), end="", file=sys.stderr)
            print(desktop.crash_stack(), file=sys.stderr)
        sys.exit(1)
    print("ok")
