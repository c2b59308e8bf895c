"""The game on an X server of its own, for the tools that play it as a player would: an Xvfb
with openbox, the real program in a folder of its own with the given settings (and, if given,
the desktop's preferences), the about box closed, the game window found; keys through XTEST.

Needs xvfb, openbox, xdotool and python3-xlib (Debian's packages).
"""
import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import time

from Xlib import X, XK, display
from Xlib.ext import xtest


def run(*words):
    return subprocess.run(words, check=False, capture_output=True, text=True).stdout.strip()


def windows():
    """The program's visible windows: id to title."""
    found = {}
    for w in run("xdotool", "search", "--onlyvisible", "--class", "quorvin").split():
        found[int(w)] = run("xdotool", "getwindowname", w)
    return found


def window_named(name, timeout=15):
    deadline = time.time() + timeout
    while time.time() < deadline:
        for w, title in windows().items():
            if title == name:
                return w
        time.sleep(0.05)
    sys.exit(f"no window {name!r}")


def press(d, keysym_name):
    code = d.keysym_to_keycode(XK.string_to_keysym(keysym_name))
    xtest.fake_input(d, X.KeyPress, code)
    d.sync()
    time.sleep(0.02)
    xtest.fake_input(d, X.KeyRelease, code)
    d.sync()
    time.sleep(0.02)


@contextlib.contextmanager
def game_on_x(program, side, colours, pattern, preferences=None):
    """Yields (display, game window id); everything it started ends with it."""
    work = tempfile.mkdtemp()
    procs = []
    try:
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24",
                                 "-nolisten", "tcp"], stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL)
        procs.append(xvfb)
        os.environ["DISPLAY"] = ":" + xvfb.stdout.readline().decode().strip()
        ready = os.path.join(work, "wm-ready")
        procs.append(subprocess.Popen(["openbox", "--sm-disable", "--startup", f"touch {ready}"],
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        while not os.path.exists(ready):
            time.sleep(0.05)
        prog = os.path.join(work, "program")
        config = os.path.join(work, "config", "Quorvin")
        os.makedirs(prog)
        os.makedirs(config)
        shutil.copy(program, prog)
        with open(os.path.join(prog, "Quorvin.inf"), "wb") as f:
            f.write(f'"NIVEL (5-15):"\r\n{side}\r\n"COLORES (2-4):"\r\n{colours}\r\n'
                    f'"INICIO (0-8):"\r\n{pattern}\r\n"CONTINUADO (0/1):"\r\n0\r\n'.encode())
        if preferences:
            with open(os.path.join(config, "Quorvin.conf"), "w") as f:
                f.write("[General]\n" + "".join(f"{k}={v}\n" for k, v in preferences.items()))
        env = dict(os.environ, HOME=work, XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_RUNTIME_DIR=work, QT_QPA_PLATFORM="xcb")
        procs.append(subprocess.Popen([os.path.join(prog, "quorvin")], env=env,
                                      stderr=subprocess.DEVNULL))
        about = window_named("Quorvin")
        run("xdotool", "windowactivate", "--sync", str(about))
        run("xdotool", "key", "Return")
        game = window_named("Quorvin 1.0")
        run("xdotool", "windowactivate", "--sync", str(game))
        # The pointer away from the board: a cell under it would take the keyboard's cursor.
        run("xdotool", "mousemove", "0", "0")
        yield display.Display(), game
    finally:
        for p in reversed(procs):
            p.kill()
        shutil.rmtree(work, ignore_errors=True)
