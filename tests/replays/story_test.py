#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays a whole-game script through lexovo-replay and checks the story's
milestones in its trace; takes a shot at each milestone for the gallery.

The shots' pixels must match the golden frames (golden.py).

usage: story_test.py REPLAY DATA_DIR SCRIPT KIND GALLERY_DIR CHECK_TRACE GOLDEN_FRAMES
KIND: win, lose-fall, lose-spider, lose-time, lose-esc"""
import json, os, shutil, subprocess, sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'golden'))
import golden  # noqa: E402

replay, data, script, kind, gallery, check, golden_frames = sys.argv[1:8]
os.makedirs(gallery, exist_ok=True)
name = os.path.splitext(os.path.basename(script))[0]
for old in os.listdir(gallery):
    if old.startswith(name + '-') and old.endswith('.png'):
        os.remove(os.path.join(gallery, old))
failures = []

def expect(cond, what):
    if not cond:
        failures.append(what)

def play(path, trace):
    p = subprocess.run([replay, path, '--data', data, '--trace', trace], capture_output=True, text=True, timeout=600)
    if p.returncode != 0:
        print(p.stderr)
        sys.exit('replay exited %d' % p.returncode)
    with open(trace) as f:
        return [json.loads(l) for l in f]

trace_path = os.path.join(gallery, name + '.jsonl')
t = play(script, trace_path)
contract = golden.check_contract(check, trace_path)
expect(not contract, contract)

# Milestones: the first trace line at which something of the story changes.
ITEMS = ['mosca', 'ombrello', 'vaso', 'seme', 'forchetta', 'nuvola', 'libro', 'flauto', 'corda', 'tarzan']
FIELDS = ['fall_state', 'spider_state', 'plant_stage', 'rope_stage', 'jungle_stage', 'vase_placed', 'seed_placed',
          'cloud_placed', 'fork_placed', 'final_anim', 'game_over', 'well_trapped']
milestones = []  # (index, label)
prev = None
entered, left = {}, {}
for i, rec in enumerate(t):
    if prev is not None:
        for f in FIELDS:
            # walking right and stopping toggles fall_state 0 <-> 1: not a milestone
            if rec[f] != prev[f] and not (f == 'fall_state' and {rec[f], prev[f]} == {0, 1}):
                milestones.append((i, '%s %s' % (f, json.dumps(rec[f]))))
        for it in ITEMS:
            if it in rec['inventory'] and it not in prev['inventory']:
                entered.setdefault(it, i)
                milestones.append((i, 'takes ' + it))
            if it not in rec['inventory'] and it in prev['inventory']:
                left.setdefault(it, i)
                milestones.append((i, 'uses ' + it))
    prev = rec

def series(field):
    out = []
    for rec in t:
        if not out or out[-1] != rec[field]:
            out.append(rec[field])
    return out

def count_sound(s):
    return sum(rec['sounds'].count(s) for rec in t)

last = t[-1]
if kind == 'win':
    for it in ITEMS:
        expect(it in entered, it + ' never entered the bar')
        expect(it in left, it + ' never left the bar')
    expect(series('fall_state')[:] == [0, 1, 0, 1, 0, 3, 4, 5, 6] or
           [s for s in series('fall_state') if s >= 3] == [3, 4, 5, 6], 'fall_state went %s' % series('fall_state'))
    expect(series('spider_state') == [0, 2, 3], 'spider_state went %s' % series('spider_state'))
    expect(series('plant_stage') == [0, 1, 2, 3, 4], 'plant_stage went %s' % series('plant_stage'))
    expect(series('rope_stage') == [0, 1, 2, 3], 'rope_stage went %s' % series('rope_stage'))
    expect(series('jungle_stage') == [0, 1, 2], 'jungle_stage went %s' % series('jungle_stage'))
    won = [i for i, r in enumerate(t) if r['game_over'] and not r['timer'] and r['counters']['swing'] > 400]
    expect(bool(won), 'the final animation never ended with the timer off')
    expect(count_sound('snd_tarzan:play') == 1, 'the yell sounded %d times' % count_sound('snd_tarzan:play'))
    expect(any('symphony.mid' in r['music'] for r in t), 'the closing tune never started')
    expect(count_sound('snd_end:play') == 0, 'an end sound in a won game')
elif kind == 'lose-fall':
    expect(last.get('ended') is True, 'the game did not end')
    over = [r for r in t if r['game_over']]
    expect(over and over[0]['fall_state'] == 2 and over[0]['prof_y'] == 182, 'no fatal fall')
    expect(count_sound('snd_end:play') == 1, 'end sound %d times' % count_sound('snd_end:play'))
    expect(any(r['counters']['fall_end_done'] for r in t), 'the end picture never came')
elif kind == 'lose-spider':
    expect(last.get('ended') is True, 'the game did not end')
    expect(1 in series('spider_state'), 'the spider never caught him')
    expect(count_sound('snd_end:play') == 1, 'end sound %d times' % count_sound('snd_end:play'))
    # From the tick that ends the game on, nothing moves however long an
    # arrow is held: no step, no fall, no fatal fall's picture.
    over = [r for r in t if r['game_over']]
    held = [r for r in over if r['go_right']]
    expect(len(held) >= 400, 'Right held for only %d ticks after the catch' % len(held))
    for r in over:
        moved = [(k, r[k], over[0][k]) for k in ('prof_x', 'prof_y', 'scroll_x', 'scroll_y') if r[k] != over[0][k]]
        if moved or r['falling'] or r['fall_state'] >= 2 or r['counters']['fall_end_done']:
            expect(False, 'line %d: after the catch %s falling=%s fall_state=%s' %
                   (r['line'], moved, r['falling'], r['fall_state']))
            break
    expect(not any(s.startswith(('snd_fall', 'snd_crash')) for r in over for s in r['sounds']), 'a fall sounded')
    expect(not t[-2].get('ended') and t[-2]['cmd'] in ('keydown', 'keyup') and t[-3]['cmd'] == 'keydown',
           'an arrow closed the game')
elif kind == 'lose-time':
    expect(last.get('ended') is True, 'the game did not end')
    over = [i for i, r in enumerate(t) if r['game_over']]
    expect(over and not t[over[0]]['timer'] and t[over[0]]['time_limit'] == 0, 'time over did not stop the tick')
    expect(over and t[over[0] - 1]['game_over'] is False, 'bad start')
    expect(count_sound('snd_end:play') == 1, 'end sound %d times' % count_sound('snd_end:play'))
    expect(not t[-2].get('ended') and t[-2]['cmd'] == 'keydown', 'an arrow closed the game')
elif kind == 'lose-esc':
    boxes = [b for r in t for b in r['boxes'] if b['title'] == 'Uscita dal gioco']
    expect([b['answer'] for b in boxes] == ['no', 'yes'], 'answers %s' % [b['answer'] for b in boxes])
    expect(last.get('ended') is True and last['cmd'] == 'keypress', 'Esc with yes did not end at once')
    expect(all(b['text'] == 'Si desidera terminare la partita in corso?' for b in boxes), 'wrong question')
else:
    sys.exit('unknown kind ' + kind)

# Moments worth a picture that no field marks: the animations half way.
MOMENTS = [
    ('the storm breaks', lambda r: r['plant_stage'] == 1 and r['counters']['storm_count'] >= 8),
    ('rain', lambda r: r['plant_stage'] == 2 and r['counters']['storm_count'] == 30),
    ('the plant grows', lambda r: r['plant_stage'] == 3 and r['counters']['grow_count'] >= 15),
    ('the rope rises', lambda r: r['rope_stage'] == 2 and r['counters']['rope_count'] >= 12),
    ('the forest opens', lambda r: r['jungle_stage'] == 1 and r['counters']['jungle_count'] >= 20),
    ('the vine comes down', lambda r: r['final_anim'] and r['counters']['finale_count'] == 25),
    ('the yell', lambda r: r['final_anim'] and r['counters']['finale_count'] == 33),
    ('the swing', lambda r: r['final_anim'] and r['counters']['finale_count'] == 44),
    ('the spider drops', lambda r: r['counters']['spider_y'] >= 60 and r['spider_state'] == 0),
    # (in the step of its legs' cycle that the end shows)
    ('the spider at the top', lambda r: r['spider_state'] == 1 and r['counters']['spider_y'] == -60 and
     r['counters']['spider_step'] == t[-1]['counters']['spider_step']),
    ('the fall', lambda r: r['falling'] and r['counters']['fall_speed'] >= 15),
]
for label, pred in MOMENTS:
    for i, rec in enumerate(t):
        if pred(rec):
            milestones.append((i, label))
            break

# The gallery: the script again with a shot after each milestone. A
# milestone inside a "tick N" line splits that line at its tick.
with open(script) as f:
    lines = f.read().split('\n')
first_of_line = {}
for i, rec in enumerate(t):
    first_of_line.setdefault(rec['line'], i)
cuts = {}  # line -> {tick offset within the line (None: after it): label}
for i, label in sorted(milestones):
    if last.get('ended') and i == len(t) - 1:
        continue
    rec = t[i]
    offset = i - first_of_line[rec['line']] + 1 if rec['cmd'] == 'tick' else None
    cuts.setdefault(rec['line'], {}).setdefault(offset, label)
end_at = len(t) - 2 if last.get('ended') else len(t) - 1
cuts.setdefault(t[end_at]['line'], {}).setdefault(None, 'the end')
out, pics = [], []

def shot(label, n):
    png = '%s-%03d.png' % (name, len(pics) + 1)
    out.append('shot ' + os.path.join(gallery, png))
    pics.append((png, 'line %d: %s' % (n, label)))

for n, text in enumerate(lines, 1):
    here = cuts.get(n, {})
    words = text.split()
    ticked = [k for k in here if k is not None]
    if ticked and words and words[0] == 'tick':
        total = int(words[1]) if len(words) > 1 else 1
        done = 0
        for k in sorted(ticked):
            if k > done:
                out.append('tick %d' % (k - done))
                done = k
            shot(here[k], n)
        if total > done:
            out.append('tick %d' % (total - done))
    else:
        out.append(text)
    if None in here:
        shot(here[None], n)
with_shots = os.path.join(gallery, name + '-shots.txt')
with open(with_shots, 'w') as f:
    f.write('\n'.join(out))
shot_trace = play(with_shots, os.path.join(gallery, name + '-shots.jsonl'))
strip = lambda r: {k: v for k, v in r.items() if k != 'line'}
expect([strip(r) for r in shot_trace] == [strip(r) for r in t], 'shots changed the game')
frames = golden.compare_frames(golden_frames, [(png, cap, os.path.join(gallery, png)) for png, cap in pics])
expect(not frames, frames)
if kind == 'lose-spider':
    # The spider's scene, once it has carried him to the top, is what the
    # screen still shows at the end.
    top = [png for png, cap in pics if cap.endswith('the spider at the top')]
    end = [png for png, cap in pics if cap.endswith('the end')]
    expect(top and end and golden.frame_checksum(os.path.join(gallery, top[0])) ==
           golden.frame_checksum(os.path.join(gallery, end[0])), 'the spider\'s scene left the screen')
with open(os.path.join(gallery, name + '.html'), 'w') as f:
    f.write('<!doctype html><meta charset="utf-8"><title>%s</title><h1>%s</h1>\n' % (name, name))
    for png, cap in pics:
        f.write('<figure style="display:inline-block;margin:8px"><img src="%s" width="240"><figcaption>%s</figcaption></figure>\n' % (png, cap))

# One picture of the whole game, where ImageMagick's montage is at hand.
if pics and shutil.which('montage'):
    subprocess.run(['montage'] + [os.path.join(gallery, p) for p, _ in pics] +
                   ['-tile', '6x', '-geometry', '240x270+4+4', '-background', '#202020',
                    os.path.join(gallery, name + '-gallery.png')], capture_output=True)

for x in failures:
    print('FAIL:', x)
print('%d milestones, %d shots' % (len(milestones), len(pics)))
print('%d passed, %d failed' % (0 if failures else 1, 1 if failures else 0))
sys.exit(1 if failures else 0)
