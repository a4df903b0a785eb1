#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The replay tool from the outside: exit statuses, bad lines, the trace
shape other tools read, shots. usage: replay_tool_test.py REPLAY DATA_DIR CHECK_TRACE"""
import json, os, struct, subprocess, sys, tempfile, zlib

replay, data = sys.argv[1], sys.argv[2]
check = sys.argv[3]
failures = []
tmp = tempfile.mkdtemp()

def run(script, *extra):
    path = os.path.join(tmp, 's.txt')
    with open(path, 'w') as f:
        f.write(script)
    trace = os.path.join(tmp, 't.jsonl')
    if os.path.exists(trace):
        os.remove(trace)
    p = subprocess.run([replay, path, '--data', data, '--trace', trace, *extra], capture_output=True, text=True, timeout=120)
    lines = []
    if os.path.exists(trace):
        with open(trace) as f:
            lines = [json.loads(l) for l in f]
    return p, lines, trace

def expect(cond, what):
    if not cond:
        failures.append(what)

# Bad lines: exit 2, the line number and the line on stderr, no trace at all.
bad = [
    ('tick\n', 1), ('gioca\ngioca\n', 2), ('gioca\nesci\n', 2), ('gioca 31\n', 1), ('gioca\nmousedown 480 10\n', 2),
    ('gioca\nmousedown 10 -1\n', 2), ('gioca\nrandom 1\n', 2), ('gioca\nwait -1\n', 2), ('gioca\njump\n', 2),
    ('gioca\nkeydown 39 ctrl\n', 2), ('gioca\nanswer maybe\n', 2), ('gioca\n\n# fine\ntick x\n', 4),
    ('gioca\nmousemove 10\n', 2), ('gioca\nkeypress\n', 2),
]
for script, line in bad:
    p, lines, trace = run(script)
    expect(p.returncode == 2, 'exit %d for %r' % (p.returncode, script))
    expect(('line %d' % line) in p.stderr, 'stderr %r names no line %d' % (p.stderr, line))
    expect(not os.path.exists(trace), 'a trace was written for %r' % script)

# A good script: one line per command (a tick N writes N), comments skipped.
script = '''# a walk and a look around
gioca
tick 3
keydown 39
tick 5
keyup 39
wait 0.0005
random 0.5
answer no
mousemove 200 200
mousemove -30 900
keypress 109
keypress 27
shot %s
dblclick
''' % os.path.join(tmp, 'shot.png')
p, lines, trace = run(script)
expect(p.returncode == 0, 'good script exit %d: %s' % (p.returncode, p.stderr))
expect([l['cmd'] for l in lines] == ['gioca'] + ['tick'] * 3 + ['keydown'] + ['tick'] * 5 +
       ['keyup', 'mousemove', 'mousemove', 'keypress', 'keypress', 'dblclick'], 'trace commands differ')
expect([l['line'] for l in lines][:2] == [2, 3], 'line numbers count the comment')
expect(all(l['ran'] for l in lines if l['cmd'] == 'tick'), 'ticks did not run')
expect(lines[-2]['boxes'] and lines[-2]['boxes'][0]['answer'] == 'no', 'queued answer not used')
if not (os.path.isfile(check) and os.access(check, os.X_OK)):
    failures.append('the trace contract checker cannot run: %r' % check)
else:
    c = subprocess.run([check, trace], capture_output=True, text=True)
    expect(c.returncode == 0, 'trace breaks the contract: ' + c.stdout + c.stderr)

# The shot is the 480 x 540 window picture as PNG.
with open(os.path.join(tmp, 'shot.png'), 'rb') as f:
    png = f.read()
expect(png[:8] == b'\x89PNG\r\n\x1a\n', 'shot is not a PNG')
w, h = struct.unpack('>II', png[16:24])
expect((w, h) == (480, 540), 'shot is %dx%d' % (w, h))

# The program ending: Esc answered yes writes "ended" and stops reading.
p, lines, _ = run('gioca\nanswer yes\nkeypress 27\ntick\n')
expect(p.returncode == 0 and len(lines) == 2 and lines[-1].get('ended') is True, 'Esc yes did not end: %r' % lines[-1:])
p, lines, _ = run('esci\n')
expect(p.returncode == 0 and lines[-1].get('ended') is True, 'esci did not end')

# Same script, same trace, byte for byte.
_, _, t1 = run(script)
first = open(t1, 'rb').read()
_, _, t2 = run(script)
expect(open(t2, 'rb').read() == first, 'two runs of one script differ')

# A script or trace that cannot be used: exit 1.
p = subprocess.run([replay, os.path.join(tmp, 'missing.txt')], capture_output=True, text=True)
expect(p.returncode == 1, 'missing script exit %d' % p.returncode)

for f in failures:
    print('FAIL:', f)
print('%d passed, %d failed' % (1 if not failures else 0, 1 if failures else 0))
sys.exit(1 if failures else 0)
