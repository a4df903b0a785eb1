# SPDX-License-Identifier: GPL-3.0-or-later
"""Plays a script given as a list of lines through lexovo-replay and returns
its trace, one dict a line (shared by the world's replay checks)."""
import json, os, subprocess, sys, tempfile


def play(replay, data, script):
    with tempfile.TemporaryDirectory() as d:
        path, trace = os.path.join(d, 's.txt'), os.path.join(d, 't.jsonl')
        with open(path, 'w') as f:
            f.write('\n'.join(script) + '\n')
        p = subprocess.run([replay, path, '--data', data, '--trace', trace], capture_output=True, text=True)
        if p.returncode != 0:
            sys.exit('replay exited %d: %s' % (p.returncode, p.stderr))
        with open(trace) as f:
            return [json.loads(l) for l in f]
