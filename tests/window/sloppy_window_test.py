#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The whole game won in the real window under Xvfb with a player's sloppy
input through xdotool: each arrow is held until the professor is somewhere
over the ladder, the plant or the rope (the game's own trace, written while
the game is recorded, says where he is), not on an exact column, and Up is
held once to the top; he is walked to the head of the stone steps, wherever
he stops there, and the umbrella is dropped over his figure; each well is
jumped from the first place he stops at among the last three before its
rim, and over each well to the left from each of the last three places
before its rim, and back.

    sloppy_window_test.py PROGRAM DATA_DIR
"""
import json
import os
import shutil
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import window_test as w  # noqa: E402
from window_test import Failure, check, xdo, wait_for  # noqa: E402
from desktop_test import launch, start_free_play  # noqa: E402


class Game:
    def __init__(self, p, trace, game):
        self.p, self.trace, self.win = p, trace, game
        self.gx, self.gy, _, _ = w.geometry(game)

    def state(self):
        # The game may be writing its next line: only whole lines count.
        with open(self.trace) as f:
            lines = f.read().split("\n")[:-1]
        return json.loads(lines[-1]) if lines else {}

    def hold(self, key, until, timeout=12.0, what=""):
        """Holds key until until(state) holds, as a player lets go when he
        sees the professor where he wants him (a tick or two late)."""
        xdo("keydown", key)
        ok = wait_for(lambda: until(self.state()), timeout)
        xdo("keyup", key)
        time.sleep(0.3)
        s = self.state()
        check(ok, "holding %s: %s (stopped at %s, %s)" % (key, what, s.get("prof_x"), s.get("prof_y")))
        return s

    def over(self, key, lo, hi, what):
        """Walks with key until he is anywhere in lo ... hi; a player who
        overshoots taps back."""
        ahead = (lambda s: s["prof_x"] >= lo) if key == "Right" else (lambda s: s["prof_x"] <= hi)
        s = self.hold(key, ahead, what=what)
        back = "Left" if key == "Right" else "Right"
        for _ in range(6):
            if lo <= s["prof_x"] <= hi:
                break
            xdo("keydown", back)
            time.sleep(0.05)
            xdo("keyup", back)
            time.sleep(0.3)
            s = self.state()
        check(lo <= s["prof_x"] <= hi, "%s: stopped at %d" % (what, s["prof_x"]))
        return s

    def climb(self, top_y, what):
        s = self.hold("Up", lambda s: s.get("prof_y") == top_y, 8.0, what)
        check(s["prof_y"] == top_y, "%s: one held Up reaches the top (%s)" % (what, s["prof_y"]))
        return s

    def at_world(self, x, y):
        s = self.state()
        return self.gx + x - s["scroll_x"] + 40, self.gy + y - s["scroll_y"] + 40

    def open_book(self, x, y, field):
        xdo("mousemove", *self.at_world(x, y))
        check(wait_for(lambda: self.state().get(field) == 1, 3.0), field + " found by the pointer")
        xdo("click", 1)
        time.sleep(0.8)
        xdo("click", 1)
        check(wait_for(lambda: self.state().get(field) == 3, 3.0), field + ": its object taken")

    def drop(self, item, x, y):
        """Drags an object from the bar to window point (x, y) of the game."""
        slot = self.state()["inventory"].index(item)
        xdo("mousemove", self.gx + slot * 100 + 50, self.gy + 470)
        time.sleep(0.2)
        xdo("mousedown", 1)
        time.sleep(0.2)
        xdo("mousemove", self.gx + x, self.gy + y - 20)
        time.sleep(0.15)
        xdo("mousemove", self.gx + x, self.gy + y)
        time.sleep(0.15)
        xdo("mouseup", 1)
        time.sleep(0.4)


def step_to(g, px, what):
    """Taps an arrow, one step at a time, until he stands at px: a player
    edging up to a rim. The taps are short (a tap held over two ticks takes
    two steps, and the second may be off the rim); one the game misses is
    tapped again."""
    for _ in range(20):
        x = g.state()["prof_x"]
        if x == px:
            return
        key = "Left" if x > px else "Right"
        xdo("keydown", key)
        time.sleep(0.01)
        xdo("keyup", key)
        time.sleep(0.3)
    check(g.state()["prof_x"] == px, "%s: edged to %d, not %d" % (what, g.state()["prof_x"], px))


def there_and_back(g, places, what):
    """Over a well to the left from each of the last places he stands at
    before its rim, and back over it to the right."""
    for px in places:
        step_to(g, px, what)
        jump(g, "Left", px, what)
        jump(g, "Right", px - 90, what + ", back")


def jump(g, key, px, what):
    """Shift and an arrow pressed once: one jump of 90 px."""
    xdo("key", "shift+" + key)
    ok = wait_for(lambda: not g.state()["jump_right"] and not g.state()["jump_left"] and
                  g.state()["prof_x"] != px, 3.0)
    time.sleep(0.3)
    s = g.state()
    d = 90 if key == "Right" else -90
    check(ok and s["prof_x"] == px + d and s["prof_y"] == 55 and not s["falling"],
          "%s jumped from %d (lands at %d, %d)" % (what, px, s["prof_x"], s["prof_y"]))


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", w.SCREEN + " -nolisten tcp", sys.executable, *sys.argv])
    exe = os.path.abspath(sys.argv[1])
    folder = tempfile.mkdtemp(prefix="lexovo-sloppy-")
    trace = os.path.join(folder, "trace.jsonl")
    p = launch(exe, folder, "--record", os.path.join(folder, "game.txt"),
               extra_env={"LEXOVO_TEST_TRACE": trace, "LEXOVO_SCALE": "1"})
    try:
        g = Game(p, trace, start_free_play(p))
        # The fly, from the diary's neighbour on the lowest shelf.
        g.open_book(42, 253, "book3_state")
        # The first ladder: Right until his figure is over it (270 ... 280).
        s = g.over("Right", 270, 280, "to the first ladder")
        g.climb(72, "the first library's ladder from %d" % s["prof_x"])
        # Gallery A's ladder, from the first place over it (450 ... 460).
        s = g.over("Right", 450, 460, "to gallery A's ladder")
        g.climb(-108, "gallery A's ladder from %d" % s["prof_x"])
        g.open_book(473, 20, "book4_state")
        g.open_book(344, -134, "book5_state")
        # Gallery B's ladder, walking left to the first place over it (370 ... 360).
        s = g.over("Left", 360, 370, "to gallery B's ladder")
        g.climb(-292, "gallery B's ladder from %d" % s["prof_x"])
        # The fly before the spider.
        g.hold("Right", lambda s: s["prof_x"] >= 500, what="toward the spider")
        x, y = g.at_world(650, -300)
        g.drop("mosca", x - g.gx, y - g.gy)
        check(wait_for(lambda: g.state().get("spider_state") in (2, 3), 2.0), "the spider goes after the fly")
        # On to the head of the stone steps, wherever he stops there.
        s = g.hold("Right", lambda s: s["prof_x"] >= 895, what="to the head of the steps")
        check(s["prof_y"] == -292 and 895 <= s["prof_x"] <= 915, "at the head of the steps (%d, %d)" %
              (s["prof_x"], s["prof_y"]))
        # The umbrella's picture over his figure.
        x, y = g.at_world(s["prof_x"] + 29 - 32, s["prof_y"] + 20)
        g.drop("ombrello", x - g.gx, y - g.gy)
        check(wait_for(lambda: g.state().get("fall_state") == 3, 2.0),
              "the umbrella taken at the head of the steps (prof_x %d)" % s["prof_x"])
        # Down the steps; the umbrella brakes the fall into the vault.
        g.hold("Right", lambda s: s["falling"] or s["fall_state"] == 5, what="down the steps")
        check(wait_for(lambda: g.state().get("fall_state") == 5, 10.0), "landed in the vault")
        for x, y, field in ((842, 175, "book6_state"), (989, 235, "book9_state"), (951, 205, "book8_state")):
            g.open_book(x, y, field)
        # Pot, seed, cloud, fork at the foot of the tunnel (their drop rules
        # compare the window row with the view).
        s = g.state()
        for item, c in (("vaso", 410), ("seme", 405), ("nuvola", 325), ("forchetta", 390)):
            g.drop(item, 1022 - s["scroll_x"] + 40, c + s["scroll_y"] + 40)
        check(wait_for(lambda: g.state().get("fall_state") == 6, 10.0), "the storm grows the plant")
        # The plant: he lands in front of its stem, at 990 or 995 as the
        # key was let go, and walks right until his figure is over it
        # (995 ... 1005); from its top he walks on to the steps.
        s = g.over("Right", 995, 1005, "to the bean plant")
        g.climb(-210, "the bean plant from %d" % s["prof_x"])
        # Down to the wells; the first well jumped from the first of the last
        # three places before its rim.
        g.hold("Right", lambda s: s["prof_y"] == 55 and s["prof_x"] >= 1270, what="down to the wells")
        s = g.over("Right", 1280, 1290, "to the first well")
        jump(g, "Right", s["prof_x"], "the first well")
        there_and_back(g, (1370, 1365, 1360), "left over the first well")
        g.open_book(1447, 17, "book13_state")
        s = g.over("Right", 1410, 1420, "to the deep well")
        jump(g, "Right", s["prof_x"], "the deep well")
        there_and_back(g, (1510, 1505, 1500), "left over the deep well")
        s = g.over("Right", 1655, 1665, "to the library's ladder")
        g.climb(-169, "the library's ladder from %d" % s["prof_x"])
        g.open_book(1744, -160, "book12_state")
        g.open_book(1810, -6, "book11_state")
        g.hold("Down", lambda s: s["prof_y"] == 55, what="down the library's ladder")
        # Into the deep well from its far side.
        g.hold("Left", lambda s: s["falling"], what="into the deep well")
        check(wait_for(lambda: g.state().get("well_trapped"), 5.0), "at the bottom of the deep well")
        g.open_book(1502, 372, "book10_state")
        s = g.state()
        g.drop("corda", 1455 - s["scroll_x"] + 40, 360 - s["scroll_y"] + 40)
        g.drop("flauto", 1465 - s["scroll_x"] + 40, 300 - s["scroll_y"] + 40)
        check(wait_for(lambda: g.state().get("rope_stage") == 3, 5.0), "the rope rises")
        s = g.over("Left", 1475, 1485, "to the rope")
        g.climb(55, "the rope from %d" % s["prof_x"])
        g.hold("Right", lambda s: s["prof_x"] >= 1890, 15.0, what="to the chasm")
        s = g.state()
        g.drop("libro", 2000 - s["scroll_x"] + 40, 0 - s["scroll_y"] + 40)
        check(wait_for(lambda: g.state().get("jungle_stage") == 1, 2.0), "the forest opens")
        g.drop("tarzan", 240, 200)
        check(wait_for(lambda: g.state().get("game_over"), 10.0), "the finale ends the game: won")
    except Failure as f:
        print("FAILED:", f)
        return 1
    finally:
        p.close()
        shutil.rmtree(folder, ignore_errors=True)
    print("passed: the game won with sloppy climbs, the umbrella at the head of the steps and sloppy jumps")
    return 0


if __name__ == "__main__":
    sys.exit(main())
