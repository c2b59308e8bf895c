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
import statistics
import time

from Xlib import X

from xgame import game_on_x, press, run


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--deals", type=int, default=8)
    parser.add_argument("--side", type=int, default=15)
    parser.add_argument("--colours", type=int, default=4)
    parser.add_argument("--pattern", type=int, default=8)
    parser.add_argument("--shots", help="a screenshot of each answer in this folder")
    args = parser.parse_args()

    with game_on_x(args.program, args.side, args.colours, args.pattern) as (d, game):
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

if __name__ == "__main__":
    main()
