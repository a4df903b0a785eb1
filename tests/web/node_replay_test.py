#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""lexovo-replay built for the browser, run by Node, against the native one:
the same script gives the same trace, byte for byte (and the golden one),
and a bad script line the same exit status and message.

usage: node_replay_test.py NODE REPLAY_JS NATIVE_REPLAY DATA SCRIPT GOLDEN"""
import os, subprocess, sys, tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import webtest  # noqa: E402

node, replay_js, native, data, script, golden_path = sys.argv[1:7]
checks = webtest.Checks('node replay of ' + os.path.basename(script))


def run(cmd, script_path, trace):
    return subprocess.run(cmd + [script_path, '--data', data, '--trace', trace], capture_output=True, text=True,
                          timeout=600)


node_cmd = [node, '--no-experimental-fetch', replay_js]
with tempfile.TemporaryDirectory() as tmp:
    traces = {}
    for name, cmd in (('node', node_cmd), ('native', [native])):
        out = os.path.join(tmp, name + '.jsonl')
        p = run(cmd, script, out)
        checks.expect(p.returncode == 0, '%s exited %d: %s' % (name, p.returncode, p.stderr.strip()))
        with open(out, encoding='utf-8') as f:
            traces[name] = f.read().splitlines()
    with open(golden_path, encoding='utf-8') as f:
        expected = f.read().splitlines()
    checks.expect(len(traces['node']) > 1, 'the Node trace is empty')
    checks.same_trace(traces['native'], traces['node'], 'Node against native')
    checks.same_trace(expected, traces['node'], 'Node against the golden trace')

    # A script with a bad line: the same refusal, nothing written.
    with open(script, encoding='utf-8') as f:
        text = f.read().split('\n')
    text.insert(len(text) // 2, 'tick -3')
    bad = os.path.join(tmp, 'bad.txt')
    with open(bad, 'w', encoding='utf-8') as f:
        f.write('\n'.join(text))
    answers = [run(cmd, bad, os.path.join(tmp, 'bad-' + name)) for name, cmd in (('node', node_cmd), ('native', [native]))]
    checks.expect(answers[0].returncode == 2 and answers[1].returncode == 2,
                  'bad line: exit %d (Node), %d (native)' % (answers[0].returncode, answers[1].returncode))
    checks.expect(answers[0].stderr == answers[1].stderr,
                  'bad line: Node says %r, native %r' % (answers[0].stderr, answers[1].stderr))
checks.finish()
