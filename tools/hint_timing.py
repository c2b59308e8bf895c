#!/usr/bin/python3
"""The hint as a player sees it, on a real X server: the time from the F5 key press to the first
change of the board or of the line under it (the frame, or the line's message).

Starts an Xvfb with openbox, the game on a board of its own settings (15 x 15, four colours,
"Vacío" unless told otherwise), and for each deal presses "Empezar", then F5 through XTEST, and
reads the window's pixels until they change. Prints one line per deal and the median.

    tools/hint_timing.py build/default/src/game_window/quorvin [--deals 8] [--side 15]
                         [--colours 4] [--pattern 8] [--shots DIR]

Needs xvfb, openbox, xdotool and python3-xlib (Debian's packages).
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display
from Xlib.ext import xtest


def run(*words, **kw):
    return subprocess.run(words, check=False, capture_output=True, text=True, **kw).stdout.strip()


def window_named(name, timeout=15):
    deadline = time.time() + timeout
    while time.time() < deadline:
        for w in run("xdotool", "search", "--onlyvisible", "--class", "quorvin").split():
            if run("xdotool", "getwindowname", w) == name:
                return int(w)
        time.sleep(0.05)
    sys.exit(f"no window {name!r}")


def press(d, keysym_name):
    code = d.keysym_to_keycode(__import__("Xlib.XK", fromlist=["XK"]).string_to_keysym(keysym_name))
    xtest.fake_input(d, X.KeyPress, code)
    xtest.fake_input(d, X.KeyRelease, code)
    d.sync()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--deals", type=int, default=8)
    parser.add_argument("--side", type=int, default=15)
    parser.add_argument("--colours", type=int, default=4)
    parser.add_argument("--pattern", type=int, default=8)
    parser.add_argument("--shots", help="a screenshot of each answer in this folder")
    args = parser.parse_args()

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
        os.makedirs(prog)
        shutil.copy(args.program, prog)
        with open(os.path.join(prog, "Quorvin.inf"), "wb") as f:
            f.write(f'"NIVEL (5-15):"\r\n{args.side}\r\n"COLORES (2-4):"\r\n{args.colours}\r\n'
                    f'"INICIO (0-8):"\r\n{args.pattern}\r\n"CONTINUADO (0/1):"\r\n0\r\n'.encode())
        env = dict(os.environ, HOME=work, XDG_RUNTIME_DIR=work, QT_QPA_PLATFORM="xcb")
        procs.append(subprocess.Popen([os.path.join(prog, "quorvin")], env=env,
                                      stderr=subprocess.DEVNULL))
        about = window_named("Quorvin")
        run("xdotool", "windowactivate", "--sync", str(about))
        run("xdotool", "key", "Return")
        game = window_named("Quorvin 1.0")
        run("xdotool", "windowactivate", "--sync", str(game))
        d = display.Display()
        win = d.create_resource_object("window", game)
        geometry = win.get_geometry()
        # The board and the line under it, left of the side panel (whose clock ticks).
        panel_left = (420 + 300 * args.side + 120) // 15
        area = (0, 0, panel_left, geometry.height)

        def picture():
            return win.get_image(*area, X.ZPixmap, 0xFFFFFFFF).data

        times = []
        for deal in range(args.deals):
            if deal > 0:
                press(d, "F2")
                time.sleep(0.3)
                press(d, "Return")  # "Quieres empezar otra partida?"
                time.sleep(0.3)
            press(d, "space")  # "Empezar"
            time.sleep(0.5)
            before = picture()
            started = time.monotonic()
            press(d, "F5")
            while picture() == before:
                if time.monotonic() - started > 60:
                    break
            took = (time.monotonic() - started) * 1000
            times.append(took)
            print(f"deal {deal}: {took:.0f} ms", flush=True)
            if args.shots:
                os.makedirs(args.shots, exist_ok=True)
                run("import", "-window", "root", os.path.join(args.shots, f"hint-{deal}.png"))
            time.sleep(2.2)  # the frame goes
        print(f"median {statistics.median(times):.0f} ms, slowest {max(times):.0f} ms "
              f"over {len(times)} deals")
    finally:
        for p in reversed(procs):
            p.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
