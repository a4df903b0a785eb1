#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The browser build's figures (docs/performance.md), with Debian's Python
(python3-selenium) and headless Chromium:

- the main tick in the browser build against the native one, at
  lexovo-bench's four places, measured in the same run: the native
  lexovo-bench and the WebAssembly lexovo-tickbench under Node take turns;
  and the page's own tick in Chromium (test mode, its picture put on the
  canvas included);
- the period of the page's 60 ms timer in headless Chromium over SECONDS
  seconds of walking;
- "Gioca" to the first frame on the canvas, the data already loaded.

usage: web_timing.py NATIVE_BUILD WEB_BUILD [--rounds N] [--seconds S] [--loads N]"""
import argparse, os, re, statistics, subprocess, sys, time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'web'))
import webtest  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

ap = argparse.ArgumentParser()
ap.add_argument('native')
ap.add_argument('web')
ap.add_argument('--rounds', type=int, default=3)
ap.add_argument('--seconds', type=float, default=60)
ap.add_argument('--loads', type=int, default=9)
a = ap.parse_args()
root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
walkthrough = os.path.join(root, 'tests', 'replays', 'walkthrough.txt')
data = os.path.join(a.native, 'bin')


def ticks_of(text):
    return {m.group(1).strip(): float(m.group(2)) for m in re.finditer(r'tick: (.+?)\s+([0-9.]+) us', text)}


native, wasm = {}, {}
for r in range(a.rounds):
    out = subprocess.run([os.path.join(data, 'lexovo-bench'), '--data', data], capture_output=True, text=True).stdout
    for k, v in ticks_of(out).items():
        native.setdefault(k, []).append(v)
    out = subprocess.run(['node', '--no-experimental-fetch', os.path.join(a.web, 'node', 'lexovo-tickbench.js'), data,
                          walkthrough], capture_output=True, text=True).stdout
    for k, v in ticks_of(out).items():
        wasm.setdefault(k, []).append(v)
print('| place | native (lexovo-bench) | WebAssembly under Node | ratio |')
print('|---|---|---|---|')
ratios = []
for k in native:
    n, w = statistics.median(native[k]), statistics.median(wasm.get(k, [0]))
    ratios.append(w / n)
    print('| %s | %.1f µs | %.1f µs | %.2f |' % (k, n, w, w / n))
print('\nmedian ratio %.2f over %d rounds\n' % (statistics.median(ratios), a.rounds))

site = webtest.Site(os.path.join(a.web, 'site'))
d = webtest.browser()
try:
    # The page's tick: 300 ticks standing at the start, then 300 walking.
    webtest.open_page(d, site.url, test_mode=True)
    webtest.press_gioca(d)
    page = d.execute_script('''
      const time = (n) => { const t = performance.now(); for (let i = 0; i < n; ++i) lexovo.tick();
                            return (performance.now() - t) / n * 1000; };
      for (let i = 0; i < 50; ++i) lexovo.tick();
      const standing = time(300);
      lexovo.input.keyDown(39, 0);
      const walking = time(300);
      lexovo.input.keyUp(39, 0);
      return [standing, walking];''')
    print('page tick in Chromium (test mode, canvas included): standing %.0f µs, walking %.0f µs\n' % tuple(page))

    # "Gioca" to the first frame.
    firsts = []
    for _ in range(a.loads):
        webtest.open_page(d, site.url)
        time.sleep(0.5)
        webtest.press_gioca(d)
        t = d.execute_script('return lexovo.timing')
        firsts.append(t['firstFrame'] - t['gioca'])
    print('"Gioca" to the first frame: median %.0f ms (%.0f–%.0f ms, %d loads)\n'
          % (statistics.median(firsts), min(firsts), max(firsts), len(firsts)))

    # The timer's period while walking.
    webtest.open_page(d, site.url)
    webtest.press_gioca(d)
    ActionChains(d).key_down(Keys.ARROW_RIGHT).perform()
    time.sleep(a.seconds)
    beats = d.execute_script('return lexovo.timer.beats.slice()')
    ActionChains(d).key_up(Keys.ARROW_RIGHT).perform()
    periods = sorted(b - c for b, c in zip(beats[1:], beats[:-1]))
    p99 = periods[int(0.99 * (len(periods) - 1))]
    print('tick period over %.0f s: %d ticks, mean %.2f ms, 99th percentile %.1f ms, min %.1f ms, max %.1f ms'
          % (a.seconds, len(beats), statistics.mean(periods), p99, periods[0], periods[-1]))
finally:
    d.quit()
    site.close()
