#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""An independent model of the professor's rules, for checking the world.

    route_model.py MAP SCRIPT [--trace FILE]

Reads the collision map (an 8-bit BMP such as gamemap1.bmp) and a replay
script (the commands of tests/replays/*.txt), plays the script through its
own reading of the movement, pointer, drop and event rules, and writes one
JSON line per command (per tick for `tick N`) with the fields the route
checker reads, in the shape of lexovo-replay's trace. It is written apart
from the game's code on purpose: when the world passes here and in the real
replay, the map and the rules agree twice over.

Only what decides where the professor can go is modelled: movement, steering
keys, the pointer over the shelves, books opened and closed, drops, the
spider's catch and chase, the crumbling fall, the storm and plant, the rope
and the finale's timing. Nothing is drawn and no sound is played.
"""
import json
import struct
import sys

WHITE, RED, BLUE, GREEN, MAGENTA = 0xFFFFFF, 0xFF0000, 0x0000FF, 0x00FF00, 0xFF00FF
NONE = -1


def load_bmp(path):
    """Returns (width, height, rows) with rows[y][x] = 0xRRGGBB, top row first."""
    data = open(path, "rb").read()
    if data[:2] != b"BM":
        raise ValueError(path + ": not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    hsize, w, h, planes, bpp, comp = struct.unpack_from("<IiiHHI", data, 14)
    colours = struct.unpack_from("<I", data, 46)[0]
    top_down = h < 0
    h = abs(h)
    rows = []
    if bpp == 8:
        n = colours or 256
        pal = []
        for i in range(n):
            b, g, r, _ = data[14 + hsize + 4 * i: 18 + hsize + 4 * i]
            pal.append((r << 16) | (g << 8) | b)
        stride = (w + 3) & ~3
        for y in range(h):
            start = offset + y * stride
            rows.append([pal[i] for i in data[start:start + w]])
    elif bpp == 24:
        stride = (3 * w + 3) & ~3
        for y in range(h):
            start = offset + y * stride
            line = data[start:start + 3 * w]
            rows.append([(line[3 * i + 2] << 16) | (line[3 * i + 1] << 8) | line[3 * i] for i in range(w)])
    else:
        raise ValueError("%s: %d bits per pixel not read here" % (path, bpp))
    if not top_down:
        rows.reverse()
    return w, h, rows


class Map:
    def __init__(self, path):
        self.w, self.h, self.rows = load_bmp(path)

    def at(self, x, y):
        """Colour at map pixel (x, y), NONE outside the map."""
        x, y = int(x), int(y)
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.rows[y][x]
        return NONE


def round_even(v):
    return int(round(v))  # Python rounds halves to even


BOOKS_WITH_OBJECTS = {3: "mosca", 4: "ombrello", 5: "vaso", 6: "seme", 8: "nuvola", 9: "forchetta",
                      10: "tarzan", 11: "flauto", 12: "corda", 13: "libro"}
# Pointer ranges (strict) in the order the shelf search tests them.
SHELF_TESTS = [(1, 117, 125), (2, 398, 433), (4, 466, 480), (5, 338, 350), (3, 34, 50), (6, 835, 849),
               (9, 979, 993), (8, 945, 958), (7, 904, 917), (13, 1440, 1455), (12, 1737, 1751),
               (11, 1803, 1818), (10, 1487, 1518)]
TAKE_ORDER = [3, 5, 4, 6, 9, 8, 10, 11, 12, 13]


class Game:
    def __init__(self, gmap):
        self.m = gmap
        self.view_min = 400 - gmap.h
        self.prof_x, self.prof_y = -10.0, 168.0
        self.scroll_x = self.scroll_y = 0
        self.go_right = self.go_left = self.go_up = self.go_down = False
        self.jump_right = self.jump_left = False
        self.jump_target_x = 0
        self.falling = False
        self.fall_speed = 0
        self.fall_column = 0
        self.on_steps = False
        self.fall_state = 0
        self.well_trapped = False
        self.game_over = False
        self.final_anim = False
        self.facing = 1
        self.book = {i: 0 for i in range(1, 14)}
        self.inventory = [""] * 5
        self.inventory_last = -1
        self.dragged_slot = -1
        self.dragged_item = ""
        self.drag_x = self.drag_y = 0
        self.spider_state, self.spider_speed, self.spider_y = 0, 7, 0
        self.vase_placed = self.seed_placed = self.cloud_placed = self.fork_placed = False
        self.plant_stage = self.rope_stage = self.jungle_stage = 0
        self.storm_count = self.grow_count = self.rope_count = 0
        self.storm_time = 0
        self.finale_count = self.swing = 0
        self.timer = True
        self.clock_ms = 0
        self.events = []  # notable happenings of the current command

    # -- helpers ------------------------------------------------------------
    def probe(self, dx, dy):
        return self.m.at(round_even(self.prof_x + dx), round_even(self.prof_y + dy + 400))

    # -- movement (one call per tick) ---------------------------------------
    def calcola_mov(self):
        if self.game_over:
            return  # nothing moves once the game is over
        self.on_steps = False
        half = 200
        if self.go_right:
            if self.fall_state == 0:
                self.fall_state = 1
            c = self.probe(14, 116)
            if c == WHITE:
                self.prof_x += 5
                if self.probe(14, 110) == MAGENTA and self.book[2] == 0:
                    self.book[2] = 1
                if self.probe(14, 121) == GREEN:
                    self.fall_column = round_even(self.prof_x + 14)
                    self.prof_x += 5
                    self.go_right = False
                    self.falling = True
                    if self.fall_state == 1:
                        self.fall_state = 2
                    elif self.fall_state == 3:
                        self.fall_state = 4
                    self.events.append("fall from %d" % self.fall_column)
            elif c == RED:
                self.prof_x += 5
                self.prof_y += 5
                self.on_steps = True
                if self.prof_y - self.scroll_y > half:
                    self.scroll_y = min(0, self.scroll_y + 5)
            elif c == BLUE:
                self.prof_x += 5
                self.prof_y -= 5
                self.on_steps = True
            else:
                self.go_right = False
            if self.prof_x - self.scroll_x > half:
                self.scroll_x += 5
        elif self.go_left:
            c = self.probe(-5, 116)
            if c == WHITE:
                self.prof_x -= 5
                if self.probe(-5, 110) == MAGENTA and self.book[2] == 0:
                    self.book[2] = 1
                if self.probe(-5, 121) == GREEN:
                    self.fall_column = round_even(self.prof_x - 5)
                    self.prof_x -= 5
                    self.go_left = False
                    self.falling = True
                    self.events.append("fall from %d" % self.fall_column)
            elif c == RED:
                self.prof_x -= 5
                self.prof_y += 5
                self.on_steps = True
            elif c == BLUE:
                self.prof_x -= 5
                self.prof_y -= 5
                self.on_steps = True
                if self.prof_y - self.scroll_y < half:
                    self.scroll_y = max(self.view_min, self.scroll_y - 5)
            else:
                self.go_left = False
            if self.prof_x - self.scroll_x < half:
                self.scroll_x = max(0, self.scroll_x - 5)
        elif self.go_up:
            if self.fall_state == 5 or self.well_trapped:
                self.go_up = False
            elif self.probe(0, 111) == WHITE:
                self.prof_y -= 4
            else:
                self.go_up = False
            if self.go_up and self.prof_y - self.scroll_y < half:
                self.scroll_y = max(self.view_min, self.scroll_y - 5)
        elif self.go_down:
            if self.fall_state == 5:
                self.go_down = False
            elif self.probe(0, 121) == WHITE:
                self.prof_y += 4
            else:
                self.go_down = False
            if self.go_down and self.prof_y - self.scroll_y > half:
                self.scroll_y = min(0, self.scroll_y + 5)
        elif self.falling:
            if self.m.at(self.fall_column, round_even(self.prof_y + 521)) == GREEN:
                self.fall_speed += 1 if self.fall_state == 4 else 5
                self.prof_y += self.fall_speed
            else:
                self.fall_speed = 0
                self.prof_y -= 5
                self.falling = False
                if self.fall_state == 2:
                    self.game_over = True
                    self.prof_y = 182
                    self.events.append("fatal landing")
                elif self.fall_state == 4:
                    self.prof_y = 182
                    self.fall_state = 5
                    self.events.append("umbrella landing")
                else:
                    self.events.append("landing")
            if self.prof_y - self.scroll_y > half:
                self.scroll_y = min(0, self.scroll_y + self.fall_speed)
        elif self.jump_right:
            if self.m.at(self.jump_target_x, round_even(self.prof_y + 516)) != WHITE:
                self.jump_right = False
                self.events.append("jump refused")
            else:
                self.prof_x += 10
                if self.prof_x >= self.jump_target_x:
                    self.jump_right = False
                    if self.m.at(self.jump_target_x, round_even(self.prof_y + 521)) == GREEN:
                        self.fall_column = self.jump_target_x
                        self.falling = True
            if self.prof_x - self.scroll_x > half:
                self.scroll_x += 20
        elif self.jump_left:
            if self.m.at(self.jump_target_x, round_even(self.prof_y + 516)) != WHITE:
                self.jump_left = False
                self.events.append("jump refused")
            else:
                self.prof_x -= 10
                if self.prof_x <= self.jump_target_x:
                    self.jump_left = False
                    if self.m.at(self.jump_target_x, round_even(self.prof_y + 521)) == GREEN:
                        self.fall_column = self.jump_target_x
                        self.falling = True
            if self.prof_x - self.scroll_x < half:
                self.scroll_x = max(0, self.scroll_x - 20)

    # -- the spider, as far as it decides a catch ----------------------------
    def ragno(self):
        if self.prof_y > -200:
            return
        if not (510 <= self.prof_x <= 800):
            self.spider_y = -60
            return
        self.spider_y = max(-60, min(100, self.spider_y + self.spider_speed))
        if self.prof_x < 511:
            self.spider_y = -60
        if self.spider_state == 0:
            if 650 < self.prof_x < 750 and self.spider_y > 80:
                self.spider_state = 1
                self.spider_speed = -self.spider_speed
                self.events.append("caught by the spider")
        elif self.spider_state == 1:
            self.game_over = True
        else:
            self.spider_speed = -4
            if self.spider_y == -60:
                self.spider_state = 3

    # -- one main tick --------------------------------------------------------
    def tick(self):
        if 1400 < self.prof_x < 1500 and self.prof_y > 200 and self.rope_stage < 3:
            self.well_trapped = True
        self.calcola_mov()
        if self.spider_state < 3:
            self.ragno()
        if self.game_over and self.fall_state < 2:
            return
        if self.vase_placed:
            if 0 < self.plant_stage < 3:
                self.pianta()
            if self.plant_stage == 3:
                self.pianta2()
        if self.rope_stage == 2:
            self.rope_count += 2
            if self.rope_count > 29:
                self.rope_count, self.rope_stage, self.well_trapped = 20, 3, False
        if self.final_anim:
            self.finale_count += 1
            if self.finale_count == 30:
                self.finale_count += 1
            if self.finale_count >= 40:
                self.swing += 20
            if self.finale_count == 42:
                self.jungle_stage = 2
            if self.swing > 400:
                self.final_anim, self.game_over, self.timer = False, True, False
                self.events.append("won")

    def pianta(self):
        if self.plant_stage == 1:
            self.storm_time = self.clock_ms
            self.storm_count += 4
            if self.storm_count >= 20:
                self.plant_stage, self.storm_count = 2, 10
        elif self.plant_stage == 2:
            if self.clock_ms - self.storm_time >= 3000:
                self.plant_stage, self.storm_count = 3, 0
            else:
                self.storm_count += 10
                if self.storm_count >= 41:
                    self.storm_count = 20

    def pianta2(self):
        self.grow_count += 3
        if self.grow_count > 29:
            self.grow_count, self.plant_stage, self.fall_state = 20, 4, 6
            self.events.append("plant grown")

    # -- input ------------------------------------------------------------------
    def tasti(self, key, shift):
        if self.falling or self.game_over or self.jump_right or self.jump_left:
            return
        if key == 39:
            if shift:
                self.jump_right, self.jump_target_x = True, round_even(self.prof_x + 90)
            else:
                self.go_right = True
            self.facing = 1
        if key == 37:
            if shift:
                self.jump_left, self.jump_target_x = True, round_even(self.prof_x - 84)
            else:
                self.go_left = True
            self.facing = 0
        if key == 40:
            self.go_down, self.facing = True, 2
        if key == 38:
            self.go_up, self.facing = True, 2

    def release(self):
        self.go_right = self.go_left = self.go_up = self.go_down = False
        if self.fall_state == 1:
            self.fall_state = 0

    def keydown(self, key, shift):
        if self.final_anim:
            return
        self.tasti(key, shift)

    def mousedown(self, x, y, shift):
        if self.game_over or self.final_anim or self.dragged_slot != -1:
            return
        if y > 440:
            self.drag_x, self.drag_y = x, y
            self.dragged_slot = x // 100
            self.dragged_item = self.inventory[self.dragged_slot] if self.dragged_slot < 5 else ""
            return
        sx, sy = self.prof_x - self.scroll_x, self.prof_y - self.scroll_y
        if x > sx + 100:
            key = 39
        elif x < sx + 35:
            key = 37
        elif y > sy:
            key = 40
        else:
            key = 38
        self.tasti(key, shift)

    def mousemove(self, x, y):
        if self.game_over:
            return
        if self.dragged_slot != -1:
            self.drag_x, self.drag_y = x, y
            return
        c = self.m.at(x - 40 + self.scroll_x, y + 360 + self.scroll_y)
        if c != MAGENTA:
            for b in BOOKS_WITH_OBJECTS:
                if self.book[b] == 1:
                    self.book[b] = 0
            self.book[1] = self.book[7] = 0
            return
        mx = self.scroll_x + x - 40
        for b, lo, hi in SHELF_TESTS:
            if not (lo < mx < hi):
                continue
            if b in (1, 7):
                self.book[b] = -1
            elif b == 2:
                if self.book[2] == 1:
                    self.book[2] = 2
            elif b == 13:
                if self.book[13] == 0 and 1360 <= self.prof_x < 1420:
                    self.book[13] = 1
            elif self.book[b] == 0:
                self.book[b] = 1

    def click(self):
        if self.game_over or self.final_anim:
            return
        if not self.timer:
            self.timer = True
            for b in TAKE_ORDER:
                if self.book[b] == 2:
                    self.book[b] = 3
                    if self.inventory_last < 4:
                        self.inventory_last += 1
                        self.inventory[self.inventory_last] = BOOKS_WITH_OBJECTS[b]
            return
        opened = False
        if self.book[1] == -1:
            opened = True
        if self.book[2] == 2:
            self.book[2], opened = 3, True
        for b in (4, 5, 3, 6, 9, 8):
            if self.book[b] == 1:
                self.book[b], opened = 2, True
        if self.book[7] == -1:
            opened = True
        for b in (10, 11, 12, 13):
            if self.book[b] == 1:
                self.book[b], opened = 2, True
        if opened:
            self.timer = False

    def mouseup(self, x, y):
        if self.dragged_slot == -1:
            self.release()
            return
        if self.final_anim:
            return
        a = self.drag_x + self.scroll_x - 40
        b = self.drag_y + self.scroll_y - 40
        c = self.drag_y - self.scroll_y - 40
        item, used = self.dragged_item, False
        if item == "mosca" and b < -260 and 600 < a < 750:
            self.spider_state, used = 2, True
        elif item == "vaso" and self.fall_state == 5 and 989 < a < 1060 and 380 < c < 440:
            self.vase_placed = used = True
        elif item == "ombrello" and self.prof_x > 880 and a - 20 <= self.prof_x <= a + 60:
            self.fall_state, used = 3, True
        elif item == "seme" and self.vase_placed and 989 < a < 1060 and 380 < c < 440:
            self.seed_placed = used = True
        elif item == "nuvola" and self.vase_placed and 989 < a < 1060 and 260 < c < 440:
            self.cloud_placed = used = True
        elif item == "forchetta" and self.vase_placed and 989 < a < 1060 and 300 < c < 440:
            self.fork_placed = used = True
        elif item == "corda" and b > 330 and 1300 < a < 1500:
            self.rope_stage, used = 1, True
        elif item == "flauto" and self.rope_stage == 1 and b > 280 and 1300 < a < 1500:
            self.rope_stage, used = 2, True
        elif item == "libro" and b > -350 and a > 1880:
            self.jungle_stage, used = 1, True
        elif item == "tarzan" and self.prof_x > 1859 and self.jungle_stage == 1 and self.prof_y > -5:
            self.final_anim = used = True
        if item and not used:
            self.events.append("%s refused at (%d, %d)" % (item, a, b))
        if used:
            self.events.append("%s used" % item)
            s = self.dragged_slot
            self.inventory[s:self.inventory_last + 1] = self.inventory[s + 1:self.inventory_last + 1] + [""]
            self.inventory_last -= 1
        self.dragged_slot, self.dragged_item = -1, ""
        if self.vase_placed and self.cloud_placed and self.fork_placed and self.seed_placed and self.plant_stage < 1:
            self.plant_stage = 1

    def snapshot(self):
        s = {k: getattr(self, k) for k in (
            "prof_x", "prof_y", "scroll_x", "scroll_y", "go_right", "go_left", "go_up", "go_down",
            "jump_right", "jump_left", "falling", "fall_state", "well_trapped", "game_over", "final_anim",
            "spider_state", "vase_placed", "seed_placed", "cloud_placed", "fork_placed", "plant_stage",
            "rope_stage", "jungle_stage", "inventory", "inventory_last", "dragged_slot")}
        s["inventory"] = list(self.inventory)
        for i in range(1, 14):
            s["book%d_state" % i] = self.book[i]
        for k in ("prof_x", "prof_y"):
            v = s[k]
            s[k] = int(v) if v == int(v) else v
        s["timer"] = self.timer
        return s


def run(map_path, script_path, out):
    g = Game(Map(map_path))
    started = False
    for number, raw in enumerate(open(script_path, encoding="utf-8"), 1):
        words = raw.split()
        if not words or words[0].startswith("#"):
            continue
        cmd, args = words[0], words[1:]
        g.events = []
        if cmd in ("answer", "random", "shot"):
            continue
        if cmd == "wait":
            g.clock_ms += int(round(float(args[0]) * 1000))
            continue
        if cmd == "gioca":
            started = True
        elif not started:
            raise SystemExit("%s:%d: the script must start with gioca" % (script_path, number))
        elif cmd == "tick":
            for _ in range(int(args[0]) if args else 1):
                g.events = []
                g.clock_ms += 60
                ran = g.timer
                if ran:
                    g.tick()
                line = {"line": number, "cmd": cmd, "ran": ran}
                line.update(g.snapshot())
                line["events"] = g.events
                out.write(json.dumps(line) + "\n")
            continue
        elif cmd == "keydown":
            g.keydown(int(args[0]), len(args) > 1)
        elif cmd == "keyup":
            g.release()
        elif cmd == "mousedown":
            g.mousedown(int(args[0]), int(args[1]), len(args) > 2)
        elif cmd == "mousemove":
            g.mousemove(int(args[0]), int(args[1]))
        elif cmd == "mouseup":
            g.mouseup(int(args[0]), int(args[1]))
        elif cmd == "click":
            g.click()
        elif cmd in ("keypress", "dblclick", "esci"):
            pass
        else:
            raise SystemExit("%s:%d: unknown command %s" % (script_path, number, cmd))
        line = {"line": number, "cmd": cmd}
        line.update(g.snapshot())
        line["events"] = g.events
        g.events = []
        out.write(json.dumps(line) + "\n")


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    out = sys.stdout
    if "--trace" in argv:
        out = open(argv[argv.index("--trace") + 1], "w")
    run(argv[1], argv[2], out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
