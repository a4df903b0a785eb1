#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The whole game won in the browser: the walkthrough with the story test's
shots (its gallery script, tests/replays/story_test.py), driven through the
page's input handlers in test mode, gives lexovo-replay's trace line for
line, and the canvas at every shot is the native shot, pixel for pixel,
and the golden frame. The game ends with the winning banner, and the next
key closes it.

usage: walkthrough_test.py SITE GALLERY GOLDEN_FRAMES"""
import os, re, sys, time

from selenium.webdriver.common.action_chains import ActionChains

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import webtest  # noqa: E402
from webtest import golden  # noqa: E402

site_dir, gallery, golden_frames = sys.argv[1:4]
checks = webtest.Checks('walkthrough in the browser')

with open(os.path.join(gallery, 'walkthrough-shots.txt'), encoding='utf-8') as f:
    script = f.read()
with open(os.path.join(gallery, 'walkthrough-shots.jsonl'), encoding='utf-8') as f:
    native = f.read().splitlines()
cmds = webtest.parse_script(script)
native_shots = [golden.frame_checksum(c['args'][0]) for c in cmds if c['cmd'] == 'shot']
with open(golden_frames, encoding='utf-8') as f:
    golden_shots = [l.split(' ')[1] for l in f.read().splitlines() if l]

site = webtest.Site(site_dir)
d = webtest.browser()
try:
    webtest.open_page(d, site.url, test_mode=True)
    first = cmds.pop(0)
    checks.expect(first['cmd'] == 'gioca' and not first['args'], 'the script does not start with gioca')
    webtest.press_gioca(d)
    lines = [d.execute_script('return lexovo.stateText(arguments[0], "gioca")', first['line'])]
    more, shots = webtest.play_in_page(d, cmds)
    lines += more
    checks.same_trace(native, lines, 'the page against lexovo-replay')
    checks.expect(len(shots) == len(native_shots) and len(shots) > 20,
                  '%d shots in the page, %d native' % (len(shots), len(native_shots)))
    for k, (page, mine, gold) in enumerate(zip(shots, native_shots, golden_shots), 1):
        checks.expect(page == mine, 'shot %d: the canvas is not the native shot' % k)
        checks.expect(page == gold, 'shot %d: the canvas is not the golden frame' % k)
    last = webtest.state(d)
    checks.expect(last['game_over'] and not last['timer'] and last['counters']['swing'] > 400,
                  'the game did not end in the win')
    # The last frame holds the winning banner, as the native one does.
    with open(golden_frames, encoding='utf-8') as f:
        captions = [l.split(' ', 2)[2] for l in f.read().splitlines() if l]
    checks.expect(captions and re.search('the end', captions[-1]) is not None, 'no final frame in the gallery')
    checks.expect(webtest.canvas_checksum(d) == golden_shots[-1], 'the page does not end on the winning frame')
    # After the end any key closes the game, and the page says so.
    ActionChains(d).send_keys('a').perform()
    time.sleep(0.3)
    n = d.find_element('css selector', '#notice')
    checks.expect(n.is_displayed() and 'Il programma è terminato.' in n.text, 'after the end a key left %r' % n.text)
    errors = webtest.console_errors(d)
    checks.expect(not errors, 'console errors: %s' % errors)
finally:
    d.quit()
    site.close()
checks.finish()
