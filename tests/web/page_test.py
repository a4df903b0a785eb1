#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The page in headless Chromium: its dialogs, its first frame, the end of
the program, the files it could not get and the browsers it cannot run in.

usage: page_test.py CASE SITE NATIVE_REPLAY DATA
CASE: dialogs, first_frame, timed, esci, missing_file, failed_download, bad_browser, transfer"""
import gzip, os, shutil, sys, tempfile, time

from selenium.webdriver.common.action_chains import ActionChains

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import webtest  # noqa: E402

case, site_dir, replay, data = sys.argv[1:5]
checks = webtest.Checks('page: ' + case)
expect = checks.expect

INTRO = ('Il gioco contenuto nelle versioni 4.0 e 5.0 di Lexovo era un classico labirinto ad ostacoli ispirato ai '
         'giochi in stile "Arcade", di moda quando uscirono i primi PC. Nel programma il gioco era collegato al '
         'numero di letture completate ed ai risultati ottenuti dai bambini: più e meglio si leggeva, più tempo si '
         'aveva a disposizione per giocare. Il gioco non aveva grandi pretese e si proponeva solo di aumentare la '
         'motivazione all\'uso del programma da parte dei piccoli lettori. ')
RULES = ('La versione qui riprodotta permette di giocare liberamente, oppure di impostare un tempo massimo dopo il '
         'quale, se non sarà stata raggiunta la fine del percorso, sarà necessario ricomincialo dall\'inizio.')
SECONDS = ['30', '60', '90', '120', '180', '240', '300', '400', '500', '600', '700', '800', '900']
HOW = ['FRECCIA DESTRA O MOUSE', 'FRECCIA SINISTRA O MOUSE', 'FRECCIA SU O MOUSE', 'FRECCIA GIU\u2019 O MOUSE',
       'MAIUSC + FRECCE O MOUSE', 'PASSARE MOUSE SUGLI SCAFFALI', 'CLIC CON IL MOUSE SU LIBIRI ATTIVI',
       'PUNTARE CON MOUSE L\u2019OGGETTO,', 'PREMERE IL PULSANTE, TRASCINARE',
       'L\u2019OGGETTO SU AREA GIOCO, RILASCIARE', 'IL PULSANTE', "Tasto 'M'"]

# Where a control sits in its window's client area, and its size, in pixels.
RECT = '''
const [win, text] = arguments;
const w = document.querySelector('.window[data-name="' + win + '"] .client');
for (const el of w.querySelectorAll('button, .label, legend')) {
  if (el.textContent !== text) continue;
  const a = w.getBoundingClientRect(), r = (el.tagName === 'LEGEND' ? el.parentElement : el).getBoundingClientRect();
  return [Math.round(r.left - a.left), Math.round(r.top - a.top), Math.round(r.width), Math.round(r.height)];
}
return null;'''


def start_window(d):
    return d.execute_script('''
      const w = document.querySelector('.window[data-name="Inizio"]');
      if (!w) return null;
      return {caption: w.querySelector('.title span').textContent,
              labels: [...w.querySelectorAll('.label')].map((e) => e.textContent),
              legend: w.querySelector('legend').textContent,
              options: [...w.querySelectorAll('label.ctl')].map((e) => e.textContent),
              after: [...w.querySelectorAll('span.ctl')].map((e) => e.textContent),
              items: [...w.querySelectorAll('select option')].map((e) => e.textContent),
              listDisabled: w.querySelector('select').disabled,
              listValue: w.querySelector('select').value,
              inert: w.inert,
              focus: document.activeElement.textContent};''')


def native_gioca(script, data_dir):
    lines, shots = webtest.native_trace(replay, data_dir, script)
    return lines, shots


site = webtest.Site(site_dir)
d = None
try:
    if case == 'dialogs':
        d = webtest.browser()
        webtest.open_page(d, site.url)
        w = start_window(d)
        expect(w is not None, 'no start dialog')
        expect(w['caption'] == 'Gioco di Lexovo (versioni 4.0 e 5.0)', 'caption %r' % w['caption'])
        expect(w['labels'] == [INTRO, RULES], 'the labels say %r' % w['labels'])
        expect(w['legend'] == 'Impostazioni', 'frame %r' % w['legend'])
        expect(w['options'] == ['Gioco libero (senza limiti di tempo)', 'Gioca per'] and w['after'] == ['secondi'],
               'options %r %r' % (w['options'], w['after']))
        expect(w['items'] == SECONDS and w['listValue'] == '30' and w['listDisabled'], 'the seconds list at start')
        expect(w['focus'] == 'Gioca', '"%s" has the focus at start' % w['focus'])
        # The layout in twips, at 15 twips a pixel.
        for text, rect in (('Gioca', [336, 240, 57, 25]), ('Esci', [272, 240, 57, 25]),
                           ('Riepilogo comandi', [272, 272, 121, 25]), ('Soluzione completa', [272, 304, 121, 25]),
                           (INTRO, [8, 16, 385, 145]), ('Impostazioni', [8, 232, 249, 97])):
            got = d.execute_script(RECT, 'Inizio', text)
            expect(got == rect, '%s is at %s, not %s' % (text[:20], got, rect))
        order = d.execute_script('''return [...document.querySelectorAll('.window[data-name="Inizio"] [tabindex]')]
          .filter((e) => e.tabIndex > 0).sort((a, b) => a.tabIndex - b.tabIndex).map((e) => e.textContent || e.tagName)''')
        expect(order[:4] == ['Gioca', 'Riepilogo comandi', 'Soluzione completa', 'Esci'], 'tab order %s' % order)
        # The timed option enables the list; free play disables it again.
        d.execute_script("document.querySelectorAll('.window input[type=radio]')[1].click()")
        expect(not start_window(d)['listDisabled'], 'the timed option left the list disabled')
        d.execute_script("const s = document.querySelector('.window select'); s.value = '900';"
                         "s.dispatchEvent(new Event('change'));")
        d.find_elements('css selector', '.window label.ctl')[0].click()
        expect(start_window(d)['listDisabled'], 'free play left the list enabled')
        d.find_elements('css selector', '.window span.ctl')[0].click()  # "secondi" picks its option too
        expect(not start_window(d)['listDisabled'], '"secondi" did not pick the timed option')
        # Riepilogo comandi: its table; the start dialog takes no input meanwhile.
        webtest.button(d, 'Riepilogo comandi').click()
        info = d.execute_script('''const w = document.querySelector('.window[data-name="Comandi"]');
          return w && {caption: w.querySelector('.title span').textContent,
                       labels: [...w.querySelectorAll('.label')].map((e) => [e.textContent, getComputedStyle(e).color])};''')
        expect(info and info['caption'] == 'Riepilogo dei comandi di gioco', 'no commands dialog')
        right = [t for t, c in info['labels'] if c == 'rgb(0, 0, 192)'] if info else []
        expect(right == HOW, 'the right column says %s' % right)
        expect(info and ['CAMMINA AVANTI', 'rgb(0, 0, 0)'] in info['labels'] and
               ['ATT./DISATT. MUSICA', 'rgb(0, 0, 0)'] in info['labels'], 'the left column')
        expect(start_window(d)['inert'], 'the start dialog still takes input')
        gioca = webtest.button(d, 'Gioca', '.window[data-name="Inizio"]')
        ActionChains(d).move_to_element(gioca).click().perform()
        time.sleep(0.3)
        expect(d.execute_script('return document.getElementById("game").hidden'),
               'the start dialog answered while blocked')
        webtest.button(d, 'OK', '.window[data-name="Comandi"]').click()
        w = start_window(d)
        expect(not w['inert'] and w['focus'] == 'Gioca', 'after OK the start dialog is not back in front')
        # Soluzione completa: the whole walkthrough; Esc closes it as "Chiudi" does.
        webtest.button(d, 'Soluzione completa').click()
        text = d.execute_script('''const t = document.querySelector('.window[data-name="Soluzione"] textarea');
          t.scrollTop = t.scrollHeight; return [t.value, t.readOnly, t.scrollTop > 0];''')
        expect(text[0].startswith('Dalla prima libreria prendere la mosca.') and
               text[0].endswith("darlo al professore...Il gioco è terminato. ") and len(text[0]) == 1623 and
               'flauto  e la corda' in text[0] and 'sul  fondo' in text[0], 'the walkthrough reads %r' % text[0][-60:])
        expect(text[1] and text[2], 'the walkthrough box is not read-only or does not scroll')
        d.find_element('css selector', '.window[data-name="Soluzione"] button.ctl').send_keys('\ue00c')  # Esc
        expect(not d.find_elements('css selector', '.window[data-name="Soluzione"]'), 'Esc left Soluzione open')
        expect(not start_window(d)['inert'], 'the start dialog stayed blocked')
        errors = webtest.console_errors(d)
        expect(not errors, 'console errors: %s' % errors)

    elif case == 'first_frame':
        # The first frame after "Gioca" is lexovo-replay's shot of that moment.
        d = webtest.browser()
        webtest.open_page(d, site.url, test_mode=True)
        webtest.press_gioca(d)
        lines, shots = native_gioca('gioca\nshot first.png\n', data)
        expect(webtest.canvas_checksum(d) == shots[0], 'the first frame is not the native one')
        checks.same_trace(lines, [d.execute_script('return lexovo.stateText(1, "gioca")')], 'the state after gioca')
        # Enlarged by the largest whole factor that fits the window, without smoothing.
        size = lambda: d.execute_script("const c = document.getElementById('screen');"  # noqa: E731
                                        "return [c.clientWidth, c.clientHeight, getComputedStyle(c).imageRendering]")
        expect(size() == [480, 540, 'pixelated'], 'in a 1200 x 900 window the picture is %s' % size())
        d.set_window_size(2100, 1400)
        time.sleep(0.3)
        inner = d.execute_script('return [innerWidth, innerHeight]')
        factor = min(inner[0] // 480, inner[1] // 540)
        expect(factor >= 2 and size()[:2] == [480 * factor, 540 * factor],
               'in a %s window the picture is %s' % (inner, size()))
        expect(not webtest.console_errors(d), 'console errors: %s' % webtest.console_errors(d))

    elif case == 'timed':
        # "Gioca per 900 secondi": the time limit the game reads.
        d = webtest.browser()
        webtest.open_page(d, site.url, test_mode=True)
        d.execute_script("document.querySelectorAll('.window input[type=radio]')[1].click();"
                         "const s = document.querySelector('.window select'); s.value = '900';"
                         "s.dispatchEvent(new Event('change'));")
        webtest.press_gioca(d)
        lines, _ = native_gioca('gioca 900\n', data)
        checks.same_trace(lines, [d.execute_script('return lexovo.stateText(1, "gioca")')], 'gioca 900')

    elif case == 'esci':
        # "Esci" ends the program: the page says so and offers to start again.
        d = webtest.browser()
        webtest.open_page(d, site.url)
        webtest.button(d, 'Esci').click()
        notice = d.find_element('css selector', '#notice')
        expect(notice.is_displayed() and 'Il programma è terminato.' in notice.text, 'the page says %r' % notice.text)
        expect(not d.find_elements('css selector', '.window'), 'a dialog is still there')
        notice.find_element('css selector', 'button').click()
        for _ in range(200):
            if d.execute_script('return !!document.querySelector(".window[data-name=Inizio]")'):
                break
            time.sleep(0.05)
        expect(start_window(d) is not None, 'starting again did not bring the start dialog back')
        # The title bar's close button is "Esci" too.
        d.find_element('css selector', '.window[data-name="Inizio"] .title button').click()
        expect('Il programma è terminato.' in d.find_element('css selector', '#notice').text,
               'the close button did not end the program')

    elif case == 'missing_file':
        # A picture the server does not have (404) and an effect the pack
        # does not list: the game reports each as the desktop does, with
        # its procedure's label, and goes on after "Riprova".
        site.missing.add('gameb2.png')
        site.unlisted.add('stairs.wav')
        with tempfile.TemporaryDirectory() as tmp:
            for name in os.listdir(data):
                if name.endswith(('.bmp', '.wav')) and name not in ('gameb2.bmp', 'stairs.wav'):
                    shutil.copy(os.path.join(data, name), tmp)
            lines, _ = native_gioca('gioca\ntick 5\n', tmp)
        expected_boxes = [(b['title'], b['text']) for b in webtest.json.loads(lines[0])['boxes']]
        expect(len(expected_boxes) == 2 and "53 nella funzione 'FORM1_LOAD'" in expected_boxes[0][1] and
               "FORM1_PREPARASUONI" in expected_boxes[1][1], 'the native boxes are %s' % expected_boxes)
        d = webtest.browser()
        webtest.open_page(d, site.url, test_mode=True)
        webtest.button(d, 'Gioca').click()
        seen = []
        for _ in range(len(expected_boxes)):
            for _ in range(100):
                if d.execute_script('return lexovo.boxOpen()'):
                    break
                time.sleep(0.05)
            box = d.execute_script('''const b = document.querySelector('#box-layer .box');
              return b && {title: b.querySelector('.title span').textContent, text: b.querySelector('p').textContent,
                           icon: !!b.querySelector('.stop'), focus: document.activeElement.textContent,
                           buttons: [...b.querySelectorAll('.buttons button')].map((e) => e.textContent)};''')
            if not box:
                break
            seen.append((box['title'], box['text']))
            expect(box['buttons'] == ['Riprova', 'Annulla'] and box['icon'] and box['focus'] == 'Riprova',
                   'the report box: %s' % box)
            webtest.button(d, 'Riprova', '#box-layer').click()
        expect(seen == expected_boxes, 'the page reported %s' % seen)
        for _ in range(100):
            if not d.execute_script('return lexovo.busy()'):
                break
            time.sleep(0.05)
        page = [d.execute_script('return lexovo.stateText(1, "gioca")')]
        for k in range(5):
            page.append(d.execute_script('return lexovo.stateText(2, "tick", lexovo.tick())'))
        checks.same_trace(lines, page, 'the game after the reports')
        expect(not site.requests.count('stairs.wavz'), 'the unlisted effect was downloaded')

    elif case == 'failed_download':
        # A download that fails on the way: a page names the file and offers
        # to try again; it shows again while the network still fails, and
        # the page goes on once it works.
        def failure_page(name):
            for _ in range(200):
                n = d.find_element('css selector', '#notice')
                if n.is_displayed() and name in n.text:
                    return n.text
                time.sleep(0.05)
            return None

        site.dropped['lexovo.wasm.gz'] = 10 ** 6
        site.dropped['lib7.png'] = 10 ** 6
        d = webtest.browser()
        webtest.open_page(d, site.url, wait_ready=False)
        notice = failure_page('lexovo.wasm')
        expect(notice and 'Non è stato possibile scaricare' in notice and '«lexovo.wasm.gz»' in notice and
               'Riprova' in notice,
               'no page for the failed program download: %r' % notice)
        site.dropped['lexovo.wasm.gz'] = 0
        webtest.button(d, 'Riprova', '#notice').click()
        notice = failure_page('lib7.png')
        expect(notice and '«lib7.png»' in notice, 'no page for the failed picture: %r' % notice)
        asked = site.requests.count('lib7.png')
        webtest.button(d, 'Riprova', '#notice').click()
        time.sleep(0.5)
        expect(site.requests.count('lib7.png') > asked and failure_page('lib7.png'),
               'trying again while the network fails did not show the page again')
        site.dropped['lib7.png'] = 0
        webtest.button(d, 'Riprova', '#notice').click()
        ready = d.execute_async_script('const done = arguments[0]; lexovo.ready.then(() => done(true));')
        expect(ready and not d.find_element('css selector', '#notice').is_displayed(), 'the page did not recover')
        expect(d.find_elements('css selector', '.window[data-name="Inizio"]'), 'no start dialog after recovering')

    elif case == 'bad_browser':
        # Opened from the disk, and in a browser without WebAssembly: a
        # message in plain Italian, not an empty page.
        d = webtest.browser()
        d.get('file://' + os.path.abspath(os.path.join(site_dir, 'index.html')))
        time.sleep(0.5)
        n = d.find_element('css selector', '#notice')
        expect(n.is_displayed() and 'direttamente dal disco' in n.text and 'python3 -m http.server' in n.text,
               'from file:// the page says %r' % n.text)
        d.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': 'delete window.WebAssembly;'})
        d.get(site.url)
        time.sleep(0.5)
        n = d.find_element('css selector', '#notice')
        expect(n.is_displayed() and 'WebAssembly' in n.text and 'Aggiorna il browser' in n.text,
               'without WebAssembly the page says %r' % n.text)
        expect('lexovo.wasm' not in site.requests, 'the program was downloaded all the same')
    elif case == 'transfer':
        # Everything the page downloads before it is ready, gzip counted
        # (what a server that compresses sends; the pictures, effects and
        # tunes are compressed already), and as a server that compresses
        # nothing sends it (Python's http.server): at most 10 MB.
        d = webtest.browser()
        webtest.open_page(d, site.url)
        total = plain = 0
        for name in sorted(set(n or 'index.html' for n in site.requests)):
            path = [os.path.join(r, name) for r, _, files in os.walk(site_dir) if name in files]
            expect(len(path) == 1, 'the page asked for %s, which the site has %d times' % (name, len(path)))
            with open(path[0], 'rb') as f:
                raw = f.read()
            sent = min(len(raw), len(gzip.compress(raw, 9)))
            total += sent
            plain += len(raw)
            print('%-16s %9d bytes, %9d sent' % (name, len(raw), sent))
        print('total %d bytes (%.2f MB) gzip counted, %d bytes (%.2f MB) from a server that compresses nothing'
              % (total, total / 1e6, plain, plain / 1e6))
        expect(total <= 10_000_000, 'the page needs %.2f MB before it is ready' % (total / 1e6))
        expect(plain <= 10_000_000, 'the page needs %.2f MB from a plain server' % (plain / 1e6))
        expect('symphony.mp3' in site.requests and 'gameb2.png' in site.requests and
               'lexovo.wasm.gz' in site.requests and 'lexovo.wasm' not in site.requests,
               'the page did not download everything: %s' % sorted(set(site.requests)))
    else:
        sys.exit('unknown case ' + case)
finally:
    if d:
        d.quit()
    site.close()
checks.finish()
