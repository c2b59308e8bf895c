#!/usr/bin/python3
"""Plays games in the real window by the hint alone, as a player who trusts it would: F5, then
the framed cell is played with the frame's colour (the arrows and the digit keys), until the
board is solved. A game where the hint ever answers without a cell needed a guess.

Starts an Xvfb with openbox and the game with the given settings and the option "deals that
never need a guess" on (--plain: off), plays --games games and prints one line per game.

    tools/play_by_hint.py build/default/src/game_window/quorvin [--side 8] [--colours 3]
                          [--pattern 8] [--games 3] [--plain] [--shots DIR]

Needs xvfb, openbox, xdotool, python3-xlib and imagemagick (Debian's packages).
"""
import argparse
import sys
import time

from Xlib import X

from xgame import game_on_x, press, run, windows

# The swatch colours of the four colours, as the frame is drawn in them.
COLOURS = {(0, 255, 128): 1, (255, 128, 128): 2, (255, 255, 128): 3, (0, 128, 255): 4}


class Window:
    def __init__(self, d, wid, side):
        self.d, self.side = d, side
        self.win = d.create_resource_object("window", wid)
        g = self.win.get_geometry()
        self.width, self.height = g.width, g.height
        # The board's black background starts 28 px from the left of the client area and 76 px
        # below its top; the menu bar lies above the client area.
        image = self.picture()
        self.top = next(y for y in range(self.height) if self.pixel(image, 29, y) == (0, 0, 0)) - 76

    def picture(self):
        return self.win.get_image(0, 0, self.width, self.height, X.ZPixmap, 0xFFFFFFFF).data

    def pixel(self, data, x, y):
        i = (y * self.width + x) * 4
        return (data[i + 2], data[i + 1], data[i])

    def cell_origin(self, cell):
        return 32 + 20 * (cell % self.side), self.top + 80 + 20 * (cell // self.side)

    # The hint's frame: the same swatch colour 3 and 4 pixels outside every side of the cell,
    # where the picture taken before F5 showed something else (four revealed neighbours of one
    # colour look the same there).
    def framed(self, before):
        data = self.picture()
        for cell in range(self.side * self.side):
            x, y = self.cell_origin(cell)
            spots = [(x - 3, y + 10), (x - 4, y + 10), (x + 22, y + 10), (x + 23, y + 10),
                     (x + 10, y - 3), (x + 10, y - 4), (x + 10, y + 22), (x + 10, y + 23)]
            seen = {self.pixel(data, sx, sy) for sx, sy in spots}
            changed = any(self.pixel(data, sx, sy) != self.pixel(before, sx, sy) for sx, sy in spots)
            if changed and len(seen) == 1 and next(iter(seen)) in COLOURS:
                return cell, COLOURS[next(iter(seen))]
        return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--side", type=int, default=8)
    parser.add_argument("--colours", type=int, default=3)
    parser.add_argument("--pattern", type=int, default=8)
    parser.add_argument("--games", type=int, default=3)
    parser.add_argument("--plain", action="store_true")
    parser.add_argument("--shots")
    args = parser.parse_args()

    preferences = {"noGuessDeals": "false" if args.plain else "true"}
    with game_on_x(args.program, args.side, args.colours, args.pattern, preferences) as (d, game):
        window = Window(d, game, args.side)
        needed_guess = 0
        for number in range(args.games):
            if number > 0:
                press(d, "F2")  # after a solved game nothing is asked
            time.sleep(0.5)
            # "Empezar" waits while a board is looked for: pressed until the board shows.
            cursor = 0
            x, y = window.cell_origin(0)
            start = time.time()
            while window.pixel(window.picture(), x + 10, y + 10) == (0, 0, 0):
                if time.time() - start > 60:
                    sys.exit("no board within a minute")
                press(d, "space")
                time.sleep(0.3)
            moves = 0
            while moves <= args.side * args.side:
                time.sleep(0.2)  # the last move painted
                before = window.picture()
                press(d, "F5")
                answer = None
                asked = time.time()
                while answer is None and time.time() - asked < 3:
                    answer = window.framed(before)
                if answer is None:
                    needed_guess += 1
                    print(f"game {number}: no proven cell after {moves} moves", flush=True)
                    if args.shots:
                        run("import", "-window", "root", f"{args.shots}/guess-{number}.png")
                    break
                cell, colour = answer
                dr = cell // args.side - cursor // args.side
                dc = cell % args.side - cursor % args.side
                for _ in range(abs(dr)):
                    press(d, "Down" if dr > 0 else "Up")
                for _ in range(abs(dc)):
                    press(d, "Right" if dc > 0 else "Left")
                cursor = cell
                press(d, str(colour))
                moves += 1
                time.sleep(0.1)
                others = [w for w in windows() if w != game]
                if others:  # the word that a game solved with the hint stays out of the records
                    print(f"game {number}: solved by the hint alone in {moves} moves", flush=True)
                    if args.shots:
                        run("import", "-window", "root", f"{args.shots}/solved-{number}.png")
                    for w in others:
                        run("xdotool", "windowactivate", "--sync", str(w))
                        run("xdotool", "key", "Return")
                    run("xdotool", "windowactivate", "--sync", str(game))
                    time.sleep(0.3)
                    break
            else:
                needed_guess += 1
                print(f"game {number}: not solved after {moves} moves", flush=True)
        print(f"{args.games - needed_guess} of {args.games} games solved by the hint alone")


if __name__ == "__main__":
    main()
