#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every place the professor can reach, and whether he can always go on.

    reach_check.py MAP

Explores the collision map with the movement rules of route_model.py, every
walking step, climbing step and jump each way, with the falls they lead to,
in the two halves of the story that movement knows:

  - before the vault: from the start, where every fall ends the game (or,
    with the umbrella, in the vault), so a fall is not followed further;
  - after the bean plant: from the top of the plant, where falls are not
    fatal and climbing is allowed; the rope taken as risen, so the deep well
    does not hold him (before that, it must: that is the puzzle).

Then it reports

  - places where nothing he can do moves him (he would be stuck for good),
  - places he lands on after a fall from which he cannot walk or climb
    (he hangs in the air, or stands on a floor only one way leads off),
  - places where a walk or jump ends him in mid-air,
  - any edge before the vault but the one down the crumbling steps (every
    fall there but that one, with the umbrella, ends the game).

Exit status 0 when there are none, 1 otherwise.
"""
import sys
from collections import deque

import route_model as rm

ACTIONS = ("right", "left", "up", "down", "jump_right", "jump_left")


def settle(g, limit=400):
    """Runs ticks until no motion is under way; None if it never ends."""
    for _ in range(limit):
        if not (g.go_right or g.go_left or g.go_up or g.go_down or g.falling or g.jump_right or g.jump_left):
            return True
        g.calcola_mov()
    return None


def step(gmap, px, py, action, fall_state):
    g = rm.Game(gmap)
    g.prof_x, g.prof_y = float(px), float(py)
    g.fall_state = fall_state
    g.rope_stage = 3
    if action == "right":
        g.go_right = True
    elif action == "left":
        g.go_left = True
    elif action == "up":
        g.go_up = True
    elif action == "down":
        g.go_down = True
    elif action == "jump_right":
        g.jump_right, g.jump_target_x = True, int(round(px + 90))
    else:
        g.jump_left, g.jump_target_x = True, int(round(px - 84))
    g.calcola_mov()
    # A walking or climbing step is one tick; a fall or a jump runs to its end.
    g.go_right = g.go_left = g.go_up = g.go_down = False
    fell = g.falling
    if settle(g) is None:
        return None, fell
    return (int(g.prof_x), int(g.prof_y)), fell


def explore(gmap, start, fall_state, follow_falls):
    seen, moves, landed, endless = {start}, {}, set(), []
    queue = deque([start])
    while queue:
        here = queue.popleft()
        moves[here] = {}
        for a in ACTIONS:
            there, fell = step(gmap, here[0], here[1], a, fall_state)
            if there is None:
                endless.append((here, a))
                continue
            moves[here][a] = there
            if fell:
                landed.add(there)
                if not follow_falls:
                    continue
            if there not in seen:
                seen.add(there)
                queue.append(there)
    return seen, moves, landed, endless


def report(name, seen, moves, landed, endless):
    problems = 0
    for p in sorted(seen):
        if p not in moves:
            continue
        way_on = [a for a, q in moves[p].items() if q != p]
        if not way_on:
            print("stuck for good at prof_x %d, prof_y %d" % p)
            problems += 1
        elif p in landed and not any(a in way_on for a in ("right", "left", "up")):
            print("lands at prof_x %d, prof_y %d and can only go %s" % (p[0], p[1], ", ".join(way_on)))
            problems += 1
    for p, a in endless:
        print("from prof_x %d, prof_y %d, %s never comes to rest" % (p[0], p[1], a))
        problems += 1
    print("%s: %d places reached, %d falls' ends; %d problems" % (name, len(seen), len(landed), problems))
    return problems


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    gmap = rm.Map(argv[1])
    before = explore(gmap, (-10, 168), 1, False)
    problems = report("before the vault", *before)
    falls = sorted(before[2])
    print("  its falls end at: " + ", ".join("(%d, %d)" % p for p in falls))
    # Before the umbrella every fall is fatal: the only edge there may be is
    # the one down the crumbling steps into the vault.
    if falls != [(995, 182)]:
        print("  an edge before the vault other than the crumbling steps' one")
        problems += 1
    after = explore(gmap, (995, -210), 6, True)
    problems += report("after the plant", *after)
    print("  its falls end at: " + ", ".join("(%d, %d)" % p for p in sorted(after[2])))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
