# SPDX-License-Identifier: GPL-3.0-or-later
"""What the browser tests share: a web server for the site that can be told
to answer 404 for a file, to drop the connection for a file a number of
times, or to serve a manifest without some files; headless Chromium driven
by Selenium; the page's test hooks (window.lexovo); native replays to hold
the page to.

Chromium runs with --autoplay-policy=no-user-gesture-required only where a
test says so, so that the audio layer's own start from the "Gioca" click is
what is tested elsewhere."""
import base64, functools, hashlib, http.server, json, os, socket, subprocess, sys, tempfile, threading, time

from selenium import webdriver
from selenium.common.exceptions import StaleElementReferenceException, WebDriverException
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'golden'))
import golden  # noqa: E402

ANSWERS = ['ok', 'yes', 'no', 'retry', 'cancel']


class Site:
    """The site served on 127.0.0.1. `missing` files answer 404, `dropped`
    maps a file to how many times its connection is closed unanswered,
    `unlisted` files are left out of the data manifest."""

    def __init__(self, root):
        self.root = root
        self.missing, self.dropped, self.unlisted = set(), {}, set()
        self.requests = []
        site = self

        class Handler(http.server.SimpleHTTPRequestHandler):
            def __init__(self, *a, **k):
                super().__init__(*a, directory=root, **k)

            def log_message(self, *a):
                pass

            def do_GET(self):
                name = self.path.split('?')[0].rsplit('/', 1)[-1]
                site.requests.append(name)
                if name in site.missing:
                    self.send_error(404)
                    return
                if site.dropped.get(name, 0) > 0:
                    site.dropped[name] -= 1
                    self.close_connection = True
                    try:
                        self.connection.shutdown(socket.SHUT_RDWR)
                    except OSError:
                        pass
                    return
                if name == 'manifest.json' and site.unlisted:
                    with open(os.path.join(root, 'data', 'manifest.json'), 'rb') as f:
                        entries = [e for e in json.load(f) if e['name'] not in site.unlisted]
                    body = json.dumps(entries).encode()
                    self.send_response(200)
                    self.send_header('Content-Type', 'application/json')
                    self.send_header('Content-Length', str(len(body)))
                    self.end_headers()
                    self.wfile.write(body)
                    return
                super().do_GET()

        self.server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = 'http://127.0.0.1:%d/' % self.server.server_address[1]

    def close(self):
        self.server.shutdown()


def browser(autoplay=True, width=1200, height=900, touch=False):
    o = Options()
    o.binary_location = os.environ.get('LEXOVO_CHROMIUM', '/usr/bin/chromium')
    for a in ['--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
              '--window-size=%d,%d' % (width, height), '--hide-scrollbars', '--mute-audio',
              '--no-first-run', '--disable-extensions', '--disable-background-timer-throttling',
              '--disable-renderer-backgrounding', '--disable-backgrounding-occluded-windows']:
        o.add_argument(a)
    if autoplay:
        o.add_argument('--autoplay-policy=no-user-gesture-required')
    if touch:
        o.add_argument('--touch-events=enabled')
    o.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    service = Service(os.environ.get('LEXOVO_CHROMEDRIVER', '/usr/bin/chromedriver'))
    for attempt in range(3):
        try:
            d = webdriver.Chrome(service=service, options=o)
            d.set_script_timeout(300)
            return d
        except WebDriverException:
            if attempt == 2:
                raise
            time.sleep(2)


def open_page(d, url, test_mode=False, wait_ready=True):
    d.get(url + ('?test' if test_mode else ''))
    if wait_ready:
        ok = d.execute_async_script(
            'const done = arguments[0];'
            'const t = setTimeout(() => done(false), 120000);'
            'const poll = () => window.lexovo ? lexovo.ready.then(() => { clearTimeout(t); done(true); })'
            '                                 : setTimeout(poll, 50);'
            'poll();')
        if not ok:
            raise AssertionError('the page never got ready')


def console_errors(d):
    return [e['message'] for e in d.get_log('browser') if e['level'] == 'SEVERE']


def button(d, text, scope='.window', timeout=5.0):
    """The shown button with this text; the page may be drawing its box anew
    meanwhile (a button found a moment ago is then gone), so it looks again
    until one holds still."""
    end = time.time() + timeout
    while True:
        try:
            for b in d.find_elements('css selector', scope + ' button'):
                if b.text == text and b.is_displayed():
                    return b
        except StaleElementReferenceException:
            pass
        if time.time() > end:
            raise AssertionError('no button "%s" in %s' % (text, scope))
        time.sleep(0.05)


def press_gioca(d):
    button(d, 'Gioca').click()
    for _ in range(200):
        if d.execute_script('return !document.getElementById("game").hidden'):
            return
        time.sleep(0.05)
    raise AssertionError('"Gioca" did not show the game')


def state(d, line=0, cmd='state', ran=None):
    return d.execute_script('return lexovo.state(arguments[0], arguments[1], arguments[2])', line, cmd, ran)


# The canvas read back: its RGB bytes' checksum as golden.py writes it.
CANVAS_CHECKSUM = '''
  const g = document.getElementById('screen').getContext('2d');
  const px = g.getImageData(0, 0, 480, 540).data;
  const rgb = new Uint8Array(480 * 540 * 3);
  for (let i = 0, j = 0; i < px.length; i += 4) { rgb[j++] = px[i]; rgb[j++] = px[i + 1]; rgb[j++] = px[i + 2]; }
  return crypto.subtle.digest('SHA-256', rgb).then((h) =>
    '480x540:' + [...new Uint8Array(h)].map((b) => b.toString(16).padStart(2, '0')).join('').slice(0, 32));
'''


def canvas_checksum(d):
    return d.execute_async_script('const done = arguments[0]; (async () => {' + CANVAS_CHECKSUM + '})().then(done);')


def canvas_png(d, path):
    data = d.execute_script("return document.getElementById('screen').toDataURL('image/png')")
    with open(path, 'wb') as f:
        f.write(base64.b64decode(data.split(',', 1)[1]))


# --- replay scripts played through the page -------------------------------

def decimal_ms(s):
    """`wait S` as the replay rounds it: whole milliseconds, halves to even."""
    whole, _, frac = s.partition('.')
    ms = int(whole or '0') * 1000 + int((frac + '000')[:3])
    rest = frac[3:]
    if rest:
        if rest[0] > '5' or (rest[0] == '5' and rest.strip('0') != '5') or (rest.strip('0') == '5' and ms % 2):
            ms += 1
    return ms


def parse_script(text):
    cmds = []
    for n, raw in enumerate(text.split('\n'), 1):
        f = raw.split()
        if not f or f[0].startswith('#'):
            continue
        cmds.append({'line': n, 'cmd': f[0], 'args': f[1:]})
    return cmds


# Runs a list of commands in the page (test mode) through its input
# handlers (window.lexovo.input, the functions the page's own key, mouse
# and touch listeners call) and its test hooks; returns the trace lines and
# the canvas checksum at each `shot`.
PLAYER = '''
const [cmds, done] = arguments;
const out = [], shots = [];
const line = (c, ran) => out.push(lexovo.stateText(c.line, c.cmd, ran));
const ended = () => lexovo.ended || Module._lexovo_ended() !== 0;
const shift = (c, n) => (c.args[n] === 'shift' ? 1 : 0);
const I = lexovo.input;
(async () => {
  for (const c of cmds) {
    const a = c.args.map(Number);
    switch (c.cmd) {
    case 'answer': lexovo.answer(c.args[0]); continue;
    case 'random': lexovo.random(Number(c.args[0])); continue;
    case 'wait': lexovo.wait(c.ms); continue;
    case 'shot': shots.push(await (async () => { %s })()); continue;
    case 'tick':
      for (let i = 0; i < (c.args.length ? a[0] : 1); ++i) {
        if (ended()) break;
        line(c, lexovo.tick());
      }
      continue;
    case 'keydown': I.keyDown(a[0], shift(c, 1)); break;
    case 'keyup': I.keyUp(a[0], shift(c, 1)); break;
    case 'keypress': I.keyPress(a[0]); break;
    case 'mousedown': I.mouseDown(1, shift(c, 2), a[0], a[1]); break;
    case 'mousemove': I.mouseMove(0, 0, a[0], a[1]); break;
    case 'mouseup': I.mouseUp(1, 0, a[0], a[1]); break;
    case 'click': I.click(); break;
    case 'dblclick': I.dblClick(); break;
    default: throw new Error('cannot play ' + c.cmd);
    }
    line(c);
    if (ended()) break;
  }
})().then(() => done({lines: out, shots: shots}), (e) => done({error: String(e)}));
''' % CANVAS_CHECKSUM


def play_in_page(d, cmds, chunk=150):
    """Plays commands after `gioca` (which the caller has done through the
    dialog); returns (trace lines, shot checksums)."""
    for c in cmds:
        if c['cmd'] == 'wait':
            c['ms'] = decimal_ms(c['args'][0])
    lines, shots = [], []
    for i in range(0, len(cmds), chunk):
        r = d.execute_async_script(PLAYER, cmds[i:i + chunk])
        if 'error' in r:
            raise AssertionError('the page could not play the script: ' + r['error'])
        lines += r['lines']
        shots += r['shots']
        if lines and json.loads(lines[-1]).get('ended'):
            break
    return lines, shots


def native_trace(replay, data, script_text):
    """lexovo-replay's trace of a script, and the frame checksums of its shots."""
    with tempfile.TemporaryDirectory() as tmp:
        shots_dir = os.path.join(tmp, 'shots')
        os.makedirs(shots_dir)
        text, names = [], []
        for raw in script_text.split('\n'):
            f = raw.split()
            if f and f[0] == 'shot':
                names.append(os.path.join(shots_dir, '%03d.png' % len(names)))
                raw = 'shot ' + names[-1]
            text.append(raw)
        script = os.path.join(tmp, 'script.txt')
        with open(script, 'w') as f:
            f.write('\n'.join(text))
        trace = os.path.join(tmp, 'trace.jsonl')
        p = subprocess.run([replay, script, '--data', data, '--trace', trace], capture_output=True, text=True,
                           timeout=600)
        if p.returncode != 0:
            raise AssertionError('lexovo-replay failed: ' + p.stderr)
        with open(trace, encoding='utf-8') as f:
            lines = f.read().splitlines()
        return lines, [golden.frame_checksum(n) for n in names]


class Checks:
    """Collects failures; a test prints them all and fails at the end."""

    def __init__(self, name):
        self.name, self.failures, self.count = name, [], 0

    def expect(self, cond, what):
        self.count += 1
        if not cond:
            self.failures.append(what)
            print('FAIL:', what, flush=True)
        return cond

    def same_trace(self, expected, actual, what):
        why = golden.compare_lines(expected, actual)
        return self.expect(not why, '%s: %s' % (what, why))

    def finish(self):
        print('%s: %d checks, %d failed' % (self.name, self.count, len(self.failures)))
        sys.exit(1 if self.failures else 0)
