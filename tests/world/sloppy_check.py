#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The harder steps of the walkthrough played in the game (lexovo-replay) with
a player's sloppy input instead of the exact columns: Up pressed at the first
place where the middle of his figure is over each ladder, the plant and the
rope, and one more step at the top to walk off; each well jumped, both ways,
from each of the last three places he stands before its rim. Each case
starts from a landmark of the walkthrough (a #@ line) and plays on.

usage: sloppy_check.py REPLAY DATA_DIR WALKTHROUGH"""
import os, sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import replay_runs  # noqa: E402

replay, data, walkthrough = sys.argv[1:4]
with open(walkthrough) as f:
    lines = f.read().split('\n')


def upto(landmark):
    """The walkthrough up to and including the #@ line that contains landmark."""
    i = next(i for i, l in enumerate(lines) if l.startswith('#@') and landmark in l)
    return lines[:i + 1]


def play(script):
    return replay_runs.play(replay, data, script)


def hold(key, ticks, shift=False):
    return ['keydown %d%s' % (key, ' shift' if shift else ''), 'tick %d' % ticks, 'keyup %d' % key]


RIGHT, LEFT, UP = 39, 37, 38
failures = 0


def expect(name, script, *checks):
    """checks: (script line number, 1-based, {field: value}) for the state
    after that line."""
    global failures
    t = play(script)
    for line, want in checks:
        rec = [r for r in t if r['line'] <= line][-1]
        bad = {k: (rec[k], v) for k, v in want.items() if rec[k] != v}
        if bad:
            failures += 1
            print('FAIL: %s: %s' % (name, ', '.join('%s is %s, not %s' % (k, a, b) for k, (a, b) in bad.items())))
            return
    print('ok: ' + name)


# A climb: from the landmark, walk to the first place over the ladder, hold
# Up until he stops, then one step off the top.
def climb(name, landmark, walk_key, steps, climb_ticks, at_x, top_y, off_key, off_x, before=(), off_y=None):
    script = upto(landmark) + list(before) + hold(walk_key, steps)
    walked = len(script)
    script += hold(UP, climb_ticks)
    climbed = len(script)
    script += hold(off_key, 1)
    expect(name, script, (walked, {'prof_x': at_x}), (climbed, {'prof_x': at_x, 'prof_y': top_y, 'go_up': False}),
           (len(script), {'prof_x': off_x, 'prof_y': top_y if off_y is None else off_y}))


climb('first library ladder from 270', 'book3_state=3', RIGHT, 56, 30, 270, 72, RIGHT, 275)
climb('gallery A ladder from 450', 'prof_x=280 prof_y=72', RIGHT, 34, 50, 450, -108, LEFT, 445)
climb('gallery B ladder from 370', 'book5_state=3', LEFT, 18, 50, 370, -292, RIGHT, 375)
# Up the plant from any of its columns, then on to the steps down.
climb('bean plant from 1005', 'plant_stage=4 fall_state=6', RIGHT, 2, 110, 1005, -210, RIGHT, 1010, off_y=-205)
climb('bean plant from 1000', 'plant_stage=4 fall_state=6', RIGHT, 1, 110, 1000, -210, RIGHT, 1005)
climb('library ladder from 1655', 'prof_x=1510 prof_y=55', RIGHT, 29, 60, 1655, -169, RIGHT, 1660)
climb('gallery ladder from 1815', 'prof_x=1660 prof_y=-169', RIGHT, 31, 50, 1815, -349, LEFT, 1810)
climb('rope from 1485', 'rope_stage=3 well_trapped=false', LEFT, 1, 60, 1485, 55, RIGHT, 1490)
# Into the first well (no fall is fatal after the plant), then out by its
# shelf from the first place over it.
climb('first well shelf from 1320', 'prof_x=1290 prof_y=55', RIGHT, 4, 30, 1320, 55, RIGHT, 1325,
      before=hold(RIGHT, 1) + ['tick 12'])


# A jump over a well from each of the last three places before its rim,
# reached from the landmark (where he stands at x0) by stepping left.
def jumps(name, landmark, x0, jump_key, places):
    d = 90 if jump_key == RIGHT else -90
    for px in places:
        steps = (x0 - px) // 5
        script = upto(landmark) + (hold(LEFT, steps) if steps else [])
        walked = len(script)
        script += hold(jump_key, 12, shift=True)
        expect('%s from %d' % (name, px), script, (walked, {'prof_x': px}),
               (len(script), {'prof_x': px + d, 'prof_y': 55, 'falling': False, 'jump_right': False,
                              'jump_left': False}))


jumps('right over the first well', 'prof_x=1290 prof_y=55', 1290, RIGHT, [1290, 1285, 1280])
jumps('left over the first well', 'book13_state=3', 1380, LEFT, [1370, 1365, 1360])
jumps('right over the deep well', 'prof_x=1420 prof_y=55', 1420, RIGHT, [1420, 1415, 1410])
jumps('left over the deep well', 'prof_x=1510 prof_y=55', 1510, LEFT, [1510, 1505, 1500])
print('%d failed' % failures)
sys.exit(1 if failures else 0)
