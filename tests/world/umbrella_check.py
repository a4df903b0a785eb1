#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The umbrella is taken at the head of the stone steps, wherever there a
player stops: the walkthrough is played up to the spider's flight, then the
professor is walked right to each standing place from which the head of the
steps (where the spider's floor ends) is under his figure or just ahead of
it, and the umbrella is dropped with its picture over him, as a player does.

usage: umbrella_check.py REPLAY DATA_DIR WALKTHROUGH WORLD_PLAN_H [STAIR_TOP_X]
(the head's column is read from the world's plan unless given)"""
import os, re, sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import replay_runs  # noqa: E402

replay, data, walkthrough, plan = sys.argv[1:5]
if len(sys.argv) > 5:
    stair_top = int(sys.argv[5])
else:
    with open(plan) as f:
        stair_top = int(re.search(r'kStairTopX = (\d+);', f.read()).group(1))

FIGURE_MIDDLE = 29  # the standing picture's figure spans prof_x + 13 ... + 45
UMBRELLA_W = 65     # the held umbrella hangs right of and below the pointer

with open(walkthrough) as f:
    lines = f.read().split('\n')
# Up to the fly's flight: the professor stands at 500 on the spider's floor.
cut = next(i for i, l in enumerate(lines) if l.startswith('#@') and 'spider_state=2' in l)
prefix = lines[:cut + 1]


def play(script):
    return replay_runs.play(replay, data, script)


failures = 0
# The head lies under the middle of his figure when he stands at the top
# step's column; a player stops there or up to four steps before it.
for px in range(stair_top - 20, stair_top + 1, 5):
    walk = prefix + ['keydown 39', 'tick %d' % ((px - 500) // 5), 'keyup 39']
    t = play(walk)
    here = t[-1]
    if (here['prof_x'], here['prof_y']) != (px, -292):
        print('FAIL: walking to %d he stands at (%s, %s)' % (px, here['prof_x'], here['prof_y']))
        failures += 1
        continue
    slot = here['inventory'].index('ombrello')
    # The umbrella's picture centred on his figure.
    x = px + FIGURE_MIDDLE - here['scroll_x'] + 40 - UMBRELLA_W // 2
    y = here['prof_y'] + 40 - here['scroll_y'] + 20
    t = play(walk + ['mousedown %d 470' % (slot * 100 + 50), 'mousemove %d %d' % (x, y), 'mouseup %d %d' % (x, y)])
    ok = t[-1]['fall_state'] == 3 and 'ombrello' not in t[-1]['inventory']
    print('%s: umbrella given at prof_x %d' % ('ok' if ok else 'FAIL', px))
    failures += not ok
print('%d failed' % failures)
sys.exit(1 if failures else 0)
