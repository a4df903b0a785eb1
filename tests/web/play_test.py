#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Playing the page as a player does, in headless Chromium: real key, mouse
and touch events reach the game's handlers as on the desktop (the state
after each is lexovo-replay's after the same handler calls), the Esc box
holds the game, and the audio layer plays what the game asks.

usage: play_test.py CASE SITE NATIVE_REPLAY DATA
CASE: keys, mouse, touch, esc, audio"""
import json, os, sys, time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import webtest  # noqa: E402

case, site_dir, replay, data = sys.argv[1:5]
checks = webtest.Checks('play: ' + case)
expect = checks.expect

# What each player's action is for the game: the handler calls lexovo-replay
# makes of these script lines. A press on the picture comes after the
# pointer got there; its release gives the click (tests/web wait more than
# a double click's 500 ms between presses).
BOOK = ['mousemove 82 294', 'mousedown 82 294', 'mouseup 82 294', 'click']
CLOSE_PAGE = ['mousemove 200 200', 'mousedown 200 200', 'mouseup 200 200', 'click']
DRAG_START = ['mousemove 50 470', 'mousedown 50 470']
DRAG_MOVE = ['mousemove 300 100']
DRAG_DROP = ['mouseup 300 100', 'click']
STEER_PRESS = ['mousemove 300 250', 'mousedown 300 250']
STEER_RELEASE = ['mouseup 300 250', 'click']
TICKS = lambda n: [['tick']] * n  # noqa: E731


def expected_states(groups):
    """lexovo-replay's state after each group of script lines (the sounds,
    tunes and boxes of the whole group), without line and command."""
    script = ['gioca'] + [l for g in groups for l in g]
    lines, _ = webtest.native_trace(replay, data, '\n'.join(script) + '\n')
    records = [json.loads(l) for l in lines]
    out, at = [], 1
    for g in groups:
        part = records[at:at + len(g)]
        at += len(g)
        merged = dict(part[-1])
        for k in ('sounds', 'music', 'boxes'):
            merged[k] = [x for r in part for x in r[k]]
        out.append(merged)
    return records[0], out


def bare(rec):
    return {k: v for k, v in rec.items() if k not in ('line', 'cmd', 'ran')}


def page_state(d):
    return bare(json.loads(d.execute_script('return lexovo.stateText()')))


def client_point(d, x, y):
    """The viewport point of window pixel (x, y) of the game's picture."""
    r = d.execute_script("const r = document.getElementById('screen').getBoundingClientRect();"
                         "return [r.left, r.top, r.width, r.height];")
    return r[0] + (x + 0.5) * r[2] / 480, r[1] + (y + 0.5) * r[3] / 540


class Mouse:
    def __init__(self, d):
        self.d, self.down, self.at = d, False, None

    def _send(self, kind, x, y):
        cx, cy = client_point(self.d, x, y)
        self.d.execute_cdp_cmd('Input.dispatchMouseEvent', {
            'type': kind, 'x': cx, 'y': cy, 'button': 'left' if kind != 'mouseMoved' or self.down else 'none',
            'buttons': 1 if self.down else 0, 'clickCount': 1 if kind != 'mouseMoved' else 0})

    def move(self, x, y):
        self._send('mouseMoved', x, y)
        self.at = (x, y)

    def press(self, x, y):
        if self.at != (x, y):
            self.move(x, y)
        self.down = True
        self._send('mousePressed', x, y)

    def release(self, x, y):
        self.down = False
        self._send('mouseReleased', x, y)


class Finger:
    def __init__(self, d):
        self.d = d

    def _send(self, kind, x, y):
        points = [] if kind == 'touchEnd' else [{'x': client_point(self.d, x, y)[0],
                                                  'y': client_point(self.d, x, y)[1], 'id': 1}]
        self.d.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': points})

    def press(self, x, y):
        self._send('touchStart', x, y)

    def move(self, x, y):
        self._send('touchMove', x, y)

    def release(self, x, y):
        self._send('touchEnd', x, y)


def tick(d):
    return d.execute_script('return lexovo.tick()')


def watch_handlers(d):
    """From now on the page's handler calls are counted (window.calls)."""
    d.execute_script('''window.calls = [];
      for (const k of Object.keys(lexovo.input)) {
        const f = lexovo.input[k];
        lexovo.input[k] = (...a) => { calls.push([k, ...a]); return f(...a); };
      }''')


def handler_calls(d):
    return d.execute_script('const c = window.calls; window.calls = []; return c;')


def pointer_actions(d, hand, groups_out, states_out):
    """Finds book 3 with the pointer, opens its page and closes it (the fly
    enters the bar), drags the fly to a wrong place (it comes back), steers
    the professor with a press. Records the page's state after each action."""
    def after(group):
        groups_out.append(group)
        states_out.append(page_state(d))

    def ticks(n):
        for _ in range(n):
            tick(d)
            after(['tick'])

    if isinstance(hand, Mouse):
        hand.move(82, 294)
        after(['mousemove 82 294'])
        hand.press(82, 294)
        after(['mousedown 82 294'])
    else:
        hand.press(82, 294)  # a finger lands where a mouse would have come first
        after(['mousemove 82 294', 'mousedown 82 294'])
    hand.release(82, 294)
    after(['mouseup 82 294', 'click'])
    ticks(3)
    time.sleep(0.6)
    hand.press(200, 200)
    after(['mousemove 200 200', 'mousedown 200 200'])
    hand.release(200, 200)
    after(['mouseup 200 200', 'click'])
    ticks(3)
    time.sleep(0.6)
    hand.press(50, 470)
    after(DRAG_START)
    ticks(2)
    hand.move(300, 100)
    after(DRAG_MOVE)
    states_out[-1]['cursor_hidden_in_page'] = d.execute_script(
        "return document.getElementById('screen').style.cursor === 'none'")
    ticks(2)
    hand.release(300, 100)
    after(DRAG_DROP)
    ticks(3)
    time.sleep(0.6)
    hand.press(300, 250)
    after(STEER_PRESS)
    states_out[-1]['cursor_in_page'] = d.execute_script("return document.getElementById('screen').style.cursor")
    ticks(15)
    hand.release(300, 250)
    after(STEER_RELEASE)
    ticks(3)


site = webtest.Site(site_dir)
d = None
try:
    if case in ('mouse', 'touch'):
        d = webtest.browser(touch=case == 'touch')
        webtest.open_page(d, site.url, test_mode=True)
        webtest.press_gioca(d)
        first = page_state(d)
        groups, states = [], []
        watch_handlers(d)
        pointer_actions(d, Mouse(d) if case == 'mouse' else Finger(d), groups, states)
        steering = [s for g, s in zip(groups, states) if g == STEER_PRESS][0]
        expect(steering['pointer'] == 'icon1', 'the pointer while steering right is %s' % steering['pointer'])
        if case == 'mouse':  # the arrow pointer of Picture30 as the page's cursor
            expect(steering['cursor_in_page'].startswith('url("data:image/png'),
                   'the cursor is %s' % steering['cursor_in_page'][:40])
        handler_calls(d)
        # A press outside the picture, on the black around it, reaches nothing.
        d.execute_cdp_cmd('Input.dispatchMouseEvent', {'type': 'mousePressed', 'x': 5, 'y': 5, 'button': 'left',
                                                       'buttons': 1, 'clickCount': 1})
        d.execute_cdp_cmd('Input.dispatchMouseEvent', {'type': 'mouseReleased', 'x': 5, 'y': 5, 'button': 'left',
                                                       'buttons': 0, 'clickCount': 1})
        expect(handler_calls(d) == [], 'a press beside the picture reached the game')
        native_first, native = expected_states(groups)
        expect(first == bare(native_first), 'the state after gioca differs')
        book = [s['book3_state'] for s in states]
        expect(states[0]['book3_state'] == 1 and 'snd_activate:play' in states[0]['sounds'] if case == 'mouse'
               else states[0]['book3_state'] == 1, 'the pointer did not find book 3: %s' % states[0])
        expect(3 in book and 'mosca' in states[-1]['inventory'], 'the book never gave its fly: %s' % book)
        drag = [s for g, s in zip(groups, states) if g == DRAG_MOVE][0]
        expect(drag['dragged_item'] == 'mosca' and drag['cursor_hidden'] and drag['cursor_hidden_in_page'],
               'no fly held under a hidden cursor: %s' % {k: drag[k] for k in ('dragged_item', 'cursor_hidden')})
        dropped = [s for g, s in zip(groups, states) if g == DRAG_DROP][0]
        expect(dropped['dragged_slot'] == -1 and dropped['inventory'][0] == 'mosca' and not dropped['cursor_hidden'],
               'the fly did not come back to the bar')
        steered = [s for g, s in zip(groups, states) if g == ['tick']][-1]
        expect(steered['prof_x'] > first['prof_x'], 'the press did not steer the professor right')
        for k, (g, want, got) in enumerate(zip(groups, native, states)):
            got = {kk: v for kk, v in got.items() if kk not in ('cursor_hidden_in_page', 'cursor_in_page')}
            if not expect(got == bare(want), 'after %s (action %d) the page is not the desktop: %s' % (
                    g, k + 1, webtest.golden.first_difference(bare(want), got))):
                break
        expect(not webtest.console_errors(d), 'console errors: %s' % webtest.console_errors(d))

    elif case == 'keys':
        # Held right arrow: the professor walks, frame after frame; Shift +
        # Right jumps. Each state is the desktop's after the same keys.
        d = webtest.browser()
        webtest.open_page(d, site.url, test_mode=True)
        webtest.press_gioca(d)
        page_state(d)  # the load step's sounds and tune
        groups, states, frames = [], [], []

        def after(group):
            groups.append(group)
            states.append(page_state(d))

        ActionChains(d).key_down(Keys.ARROW_RIGHT).perform()
        after(['keydown 39'])
        for _ in range(30):
            tick(d)
            after(['tick'])
            frames.append(webtest.canvas_checksum(d))
        ActionChains(d).key_up(Keys.ARROW_RIGHT).perform()
        after(['keyup 39'])
        ActionChains(d).key_down(Keys.SHIFT).perform()
        after(['keydown 16 shift'])
        ActionChains(d).key_down(Keys.ARROW_RIGHT).perform()
        after(['keydown 39 shift'])
        for _ in range(25):
            tick(d)
            after(['tick'])
        ActionChains(d).key_up(Keys.ARROW_RIGHT).perform()
        after(['keyup 39 shift'])
        ActionChains(d).key_up(Keys.SHIFT).perform()
        after(['keyup 16'])
        ActionChains(d).send_keys('x').perform()  # any other key: its press and character too
        after(['keydown 88', 'keypress 120', 'keyup 88'])
        # The page's full-screen keys, F11 and Alt+Enter, are the page's
        # own: neither their press nor their release reaches the game (Alt
        # itself does).
        watch_handlers(d)
        ActionChains(d).send_keys(Keys.F11).perform()
        ActionChains(d).key_down(Keys.ALT).send_keys(Keys.ENTER).key_up(Keys.ALT).perform()
        calls = handler_calls(d)
        expect(calls == [['keyDown', 18, 4], ['keyUp', 18, 0]], 'the full-screen keys gave %s' % calls)
        _, native = expected_states(groups)
        walk = [s['prof_x'] for s in states[1:31]]
        expect(walk[-1] - walk[0] >= 60 and states[1]['go_right'], 'the professor did not walk: %s' % walk[::5])
        expect(len(set(frames)) > 10, 'the frames did not change while he walked')
        expect(any(s['jump_right'] for s in states[33:]), 'Shift + Right did not jump')
        for k, (g, want, got) in enumerate(zip(groups, native, states)):
            if not expect(got == bare(want), 'after %s (action %d) the page is not the desktop: %s' % (
                    g, k + 1, webtest.golden.first_difference(bare(want), got))):
                break
        # The frame after the walk is the desktop's.
        script = 'gioca\nkeydown 39\ntick 30\nshot walk.png\n'
        _, shots = webtest.native_trace(replay, data, script)
        d.get(site.url + '?test')
        webtest.open_page(d, site.url, test_mode=True)
        webtest.press_gioca(d)
        ActionChains(d).key_down(Keys.ARROW_RIGHT).perform()
        for _ in range(30):
            tick(d)
        expect(webtest.canvas_checksum(d) == shots[0], 'the frame after the walk is not the native one')
        ActionChains(d).key_up(Keys.ARROW_RIGHT).perform()

    elif case == 'esc':
        # On the page's own 60 ms timer: Esc asks "Sì"/"No"; no tick runs
        # while the box is open; No goes on; Yes ends the program.
        d = webtest.browser()
        webtest.open_page(d, site.url)
        webtest.press_gioca(d)
        webtest.state(d)  # from now on the page keeps the log of boxes
        time.sleep(0.6)
        before = d.execute_script('return lexovo.ticks()')
        expect(before >= 5, 'the timer beat only %d times in 0.6 s' % before)
        ActionChains(d).send_keys(Keys.ESCAPE).perform()
        time.sleep(0.2)
        box = d.execute_script('''const b = document.querySelector('#box-layer .box');
          return b && {title: b.querySelector('.title span').textContent, text: b.querySelector('p').textContent,
                       focus: document.activeElement.textContent,
                       buttons: [...b.querySelectorAll('.buttons button')].map((e) => e.textContent)};''')
        expect(box == {'title': 'Uscita dal gioco', 'text': 'Si desidera terminare la partita in corso?',
                       'focus': 'No', 'buttons': ['Sì', 'No']}, 'the Esc box: %s' % box)
        held = d.execute_script('return lexovo.ticks()')
        time.sleep(1.0)
        expect(d.execute_script('return lexovo.ticks()') == held, 'ticks ran while the box was open')
        expect(d.execute_script('return lexovo.timer.on'), 'the timer itself stopped')
        # A key meant for the game does not reach it while the box is open.
        ActionChains(d).key_down(Keys.ARROW_RIGHT).key_up(Keys.ARROW_RIGHT).perform()
        webtest.button(d, 'No', '#box-layer').click()
        time.sleep(0.5)
        st = webtest.state(d)
        expect(d.execute_script('return lexovo.ticks()') > held + 3 and not st.get('ended') and st['timer'],
               'the game did not go on after No')
        expect(st['prof_x'] == -10 and not st['go_right'], 'the arrow pressed under the box reached the game')
        expect([b['answer'] for b in st['boxes']] == ['no'], 'the box answered %s' % st['boxes'])
        ActionChains(d).send_keys(Keys.ESCAPE).perform()
        time.sleep(0.2)
        webtest.button(d, 'Sì', '#box-layer').click()
        time.sleep(0.3)
        n = d.find_element('css selector', '#notice')
        expect(n.is_displayed() and 'Il programma è terminato.' in n.text, 'the page says %r' % n.text)
        expect(d.find_element('css selector', '#game').get_attribute('hidden') is not None, 'the game still shows')
        expect(webtest.state(d).get('ended') is True, 'the game did not end')
        after_end = d.execute_script('return lexovo.ticks()')
        time.sleep(0.3)
        expect(d.execute_script('return lexovo.ticks()') == after_end, 'ticks after the end')
        expect(not webtest.console_errors(d), 'console errors: %s' % webtest.console_errors(d))

    elif case == 'audio':
        # No autoplay: the sound starts from the "Gioca" click itself. The
        # intro plays through the WebAudio graph, the effects the game asks
        # for are started there, 'm' switches the tune off and on.
        d = webtest.browser(autoplay=False)
        webtest.open_page(d, site.url)
        webtest.press_gioca(d)
        time.sleep(1.0)
        a = d.execute_script('''const a = lexovo.audio;
          return {state: a.ctx && a.ctx.state, tune: a.tuneName, playing: !!a.tuneSource,
                  decoded: Object.keys(a.tunes).sort(), level: a.level(),
                  effects: a.effects.filter((e) => e).length};''')
        expect(a['state'] == 'running', 'the audio context is %s' % a['state'])
        expect(a['tune'] == 'intro3.mid' and a['playing'], 'the intro is not playing: %s' % a)
        expect(a['decoded'] == ['intro3.mid', 'symphony.mid'], 'tunes decoded: %s' % a['decoded'])
        expect(a['effects'] == 16, '%d effects loaded' % a['effects'])
        expect(a['level'] > 0.001, 'nothing comes out of the graph (level %g)' % a['level'])
        ActionChains(d).key_down(Keys.ARROW_RIGHT).perform()
        time.sleep(0.5)
        step = d.execute_script('''const e = lexovo.audio.effects[0];
          return {loop: lexovo.audio.events.some((x) => x.what === 0 && x.op === 'loop'),
                  sounding: !!(e && e.playing && e.looping && e.source)};''')
        ActionChains(d).key_up(Keys.ARROW_RIGHT).perform()
        time.sleep(0.3)
        expect(step['loop'] and step['sounding'], 'the footsteps were not started: %s' % step)
        stopped = d.execute_script('const e = lexovo.audio.effects[0]; return !e.playing && !e.source && e.offset > 0;')
        expect(stopped, 'the footsteps did not stop keeping their place')
        ActionChains(d).send_keys('m').perform()
        time.sleep(0.3)
        off = d.execute_script('return [lexovo.audio.tuneName, !!lexovo.audio.tuneSource]')
        expect(off == ['', False], "'m' did not silence the tune: %s" % off)
        ActionChains(d).send_keys('m').perform()
        time.sleep(0.3)
        on = d.execute_script('return [lexovo.audio.tuneName, !!lexovo.audio.tuneSource]')
        expect(on == ['intro3.mid', True], "'m' did not start the intro again: %s" % on)
        expect(not webtest.console_errors(d), 'console errors: %s' % webtest.console_errors(d))
    else:
        sys.exit('unknown case ' + case)
finally:
    if d:
        d.quit()
    site.close()
checks.finish()
