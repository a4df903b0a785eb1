#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The crafted WAV files of tests/audio/wav_cases.tsv, each in place of the
footsteps (step.wav) of a copy of the data folder, loaded by lexovo-replay
built for the browser (run by Node) and by the native one: the same trace,
byte for byte, and the answer the table gives (no report, error 5 or error
53, from the sound set-up).

usage: wav_cases_test.py NODE REPLAY_JS NATIVE_REPLAY WAV_CASES_TOOL DATA TABLE"""
import concurrent.futures
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import webtest  # noqa: E402

node, replay_js, native, make_cases, data, table = sys.argv[1:7]
checks = webtest.Checks('crafted WAV files in the browser build')

cases = []
with open(table, encoding='utf-8') as f:
    for line in f:
        if line.strip() and not line.startswith('#'):
            name, answer = line.split('\t')[:2]
            cases.append((name, int(answer)))


def answer_of(trace_path):
    """The error number of the load's first report, or 0 for none."""
    with open(trace_path, encoding='utf-8') as f:
        boxes = json.loads(f.readline()).get('boxes', [])
    if not boxes:
        return 0
    m = re.search(r"errore n\. (\d+) nella funzione 'FORM1_PREPARASUONI'", boxes[0]['text'])
    return int(m.group(1)) if m else -1


def run_case(tmp, made, name):
    folder = os.path.join(tmp, 'data-' + name)
    os.mkdir(folder)
    for f in os.listdir(data):
        if f.endswith(('.bmp', '.wav', '.mid', '.mp3')) and f != 'step.wav':
            os.symlink(os.path.join(data, f), os.path.join(folder, f))
    src, dst = os.path.join(made, name), os.path.join(folder, 'step.wav')
    if os.path.isdir(src):
        os.mkdir(dst)
    elif os.path.exists(src) and not os.path.isfile(src):
        os.mkfifo(dst)
    elif os.path.exists(src):
        shutil.copy(src, dst)
    script = os.path.join(tmp, 'load.txt')
    traces = {}
    for who, cmd in (('node', [node, '--no-experimental-fetch', replay_js]), ('native', [native])):
        out = os.path.join(folder, who + '.jsonl')
        try:
            p = subprocess.run(cmd + [script, '--data', folder, '--trace', out], capture_output=True, text=True,
                               timeout=60)
        except subprocess.TimeoutExpired:
            return name, None, '%s still loading after 60 s' % who
        if p.returncode != 0:
            return name, None, '%s exited %d: %s' % (who, p.returncode, p.stderr.strip())
        with open(out, encoding='utf-8') as f:
            traces[who] = f.read()
        traces[who + '_answer'] = answer_of(out)
    return name, traces, ''


with tempfile.TemporaryDirectory() as tmp:
    made = os.path.join(tmp, 'cases')
    subprocess.run([make_cases, made], check=True, capture_output=True)
    with open(os.path.join(tmp, 'load.txt'), 'w') as f:
        f.write('gioca\ntick 1\n')
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        results = list(pool.map(lambda c: run_case(tmp, made, c[0]), cases))
    for (name, want), (_, traces, error) in zip(cases, results):
        if traces is None:
            checks.expect(False, '%s: %s' % (name, error))
            continue
        checks.expect(traces['node'] == traces['native'], '%s: the Node trace differs from the native one' % name)
        checks.expect(traces['node_answer'] == want, '%s: the browser build answers %d, the table %d' %
                      (name, traces['node_answer'], want))
    print('%d crafted files' % len(cases))
checks.finish()
