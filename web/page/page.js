// SPDX-License-Identifier: GPL-3.0-or-later
// Gioco di Lexovo in the browser: the page around the game (lexovo.js and
// lexovo.wasm, built from the same sources as the desktop game).
//
// It downloads the program and the data files (with a page that offers to
// try again when a download fails), builds the start dialog and its two
// information dialogs from the texts and layouts the program holds, and
// once "Gioca" is pressed shows the game's 480 x 540 picture, hands it the
// keys, the mouse and the fingers, beats its 60 ms timer, shows its message
// boxes and plays its sounds through WebAudio.
//
// With ?test in the address the page runs in test mode: no timer; a test
// drives the clock, the ticks, the random numbers and the boxes' answers as
// lexovo-replay does, through window.lexovo.
(function () {
  'use strict';

  const TEST = new URLSearchParams(location.search).has('test');
  const $ = (id) => document.getElementById(id);

  // --- the page's own messages, in plain Italian -----------------------------

  function notice(paragraphs, button, action) {
    const n = $('notice');
    n.textContent = '';
    for (const text of paragraphs) {
      const p = document.createElement('p');
      p.textContent = text;
      n.appendChild(p);
    }
    if (button) {
      const b = document.createElement('button');
      b.type = 'button';
      b.textContent = button;
      b.addEventListener('click', action);
      n.appendChild(b);
      setTimeout(() => b.focus(), 0);
    }
    n.hidden = false;
  }

  if (location.protocol === 'file:') {
    notice(['Il gioco non può partire da un file aperto direttamente dal disco: il browser non gli permette di ' +
            'leggere i suoi dati in questo modo.',
            'Apri la cartella del gioco con un piccolo server web (per esempio, dalla cartella del gioco: ' +
            'python3 -m http.server) e poi l\'indirizzo http://localhost:8000/ nel browser.']);
    return;
  }
  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    notice(['Questo browser non può far funzionare il gioco: non conosce WebAssembly, il formato in cui il gioco ' +
            'è scritto.',
            'Aggiorna il browser, oppure apri la pagina con una versione recente di Firefox, Chrome, Edge o Safari.']);
    return;
  }

  // --- downloads ------------------------------------------------------------
  // A file the server says it does not have (404) is absent: the game then
  // reports it missing, as on the desktop. A download that fails on the way
  // (no connection, a server error) is listed on a page that offers to try
  // again.

  const failing = new Map();  // file name -> function that tries again

  function showFailures() {
    if (failing.size === 0) {
      $('notice').hidden = true;
      return;
    }
    const names = [...failing.keys()];
    const which = names.length === 1 ? 'il file «' + names[0] + '»'
                                     : 'i file ' + names.map((n) => '«' + n + '»').join(', ');
    notice(['Non è stato possibile scaricare ' + which + ' del gioco.',
            'Controlla la connessione a Internet, poi prova di nuovo.'], 'Riprova', () => {
      const again = [...failing.values()];
      failing.clear();
      $('notice').hidden = true;
      again.forEach((f) => f());
    });
  }

  // The bytes of a file, or null when the server does not have it.
  function download(url) {
    const name = url.split('/').pop();
    return new Promise((resolve) => {
      const attempt = () => {
        fetch(url, {cache: 'no-cache'}).then((r) => {
          if (r.status === 404 || r.status === 410) return null;
          if (!r.ok) throw new Error('HTTP ' + r.status);
          return r.arrayBuffer().then((b) => new Uint8Array(b));
        }).then((bytes) => {
          failing.delete(name);
          resolve(bytes);
        }, () => {
          failing.set(name, attempt);
          showFailures();
        });
      };
      attempt();
    });
  }

  const loading = {
    total: 0, done: 0,
    show(text) {
      $('loading-text').textContent = text;
      $('loading').hidden = false;
    },
    step() {
      this.done += 1;
      $('loading-bar').value = this.total ? this.done / this.total : 1;
    },
  };

  // --- the audio layer --------------------------------------------------------
  // The sixteen effects with the game's semantics: a sounding buffer is not
  // started again, stop keeps the position, rewind goes back to the start
  // (and a sounding buffer goes on from there), a play-once buffer that
  // reached its end is silent and at its start again. The tunes are the
  // recordings of the two .mid files, each played three times in all.

  const audio = {
    ctx: null,
    out: null,       // every sound goes through this node, and the analyser listens to it
    analyser: null,
    effects: [],     // by id: {buffer, source, playing, looping, offset, startedAt}
    tunes: {},       // by the game's name ("intro3.mid"): AudioBuffer
    tuneSource: null,
    tuneName: '',    // the tune asked for last ('' silence)
    events: [],      // what the game asked, for tests: {t, what, op}

    // On the "Gioca" click: browsers let a page sound only from a gesture.
    start() {
      const Ctx = window.AudioContext || window.webkitAudioContext;
      if (!Ctx || this.ctx) return;
      try {
        this.ctx = new Ctx();
      } catch (e) {
        return;  // no output at all: the game goes on silently
      }
      this.out = this.ctx.createGain();
      this.analyser = this.ctx.createAnalyser();
      this.analyser.fftSize = 2048;
      this.out.connect(this.analyser);
      this.out.connect(this.ctx.destination);
      if (this.ctx.state === 'suspended') this.ctx.resume();
    },

    stopAll() {
      if (this.ctx) this.ctx.close();
      this.ctx = null;
    },

    note(what, op) {
      this.events.push({t: performance.now(), what: what, op: op});
      if (this.events.length > 5000) this.events.splice(0, 1000);
    },

    load(id, ptr, frames, channels, rate) {
      const buffer = new AudioBuffer({length: Math.max(1, frames), numberOfChannels: channels, sampleRate: rate});
      for (let c = 0; c < channels; ++c) {
        const from = (ptr >> 2) + c * frames;
        buffer.copyToChannel(Module.HEAPF32.subarray(from, from + frames), c);
      }
      this.release(id);
      this.effects[id] = {buffer: buffer, source: null, playing: false, looping: false, offset: 0, startedAt: 0};
    },

    // Seconds on the audio clock (the page's clock while there is no output).
    now() { return this.ctx ? this.ctx.currentTime : performance.now() / 1000; },

    position(e) {
      if (!e.playing) return e.offset;
      const p = e.offset + (this.now() - e.startedAt);
      return e.looping ? p % e.buffer.duration : p;
    },

    settle(e) {
      if (e.playing && !e.looping && this.position(e) >= e.buffer.duration) {
        e.playing = false;
        e.offset = 0;
        e.source = null;
      }
    },

    sound(e, from, looping) {
      this.silence(e);
      e.playing = true;
      e.looping = looping;
      e.offset = from;
      e.startedAt = this.now();
      if (!this.ctx) return;
      const s = this.ctx.createBufferSource();
      s.buffer = e.buffer;
      s.loop = looping;
      s.connect(this.out);
      s.start(0, Math.min(from, e.buffer.duration));
      e.source = s;
    },

    silence(e) {
      if (e.source) {
        try { e.source.stop(); } catch (err) { /* already over */ }
        e.source.disconnect();
        e.source = null;
      }
    },

    op(id, op) {
      const e = this.effects[id];
      this.note(id, ['play', 'loop', 'stop', 'rewind', 'release'][op]);
      if (!e) return;
      this.settle(e);
      switch (op) {
      case 0: case 1: {
        const looping = op === 1;
        if (e.playing) {
          if (e.looping !== looping) this.sound(e, this.position(e), looping);
          return;
        }
        this.sound(e, e.offset, looping);
        return;
      }
      case 2:
        if (!e.playing) return;
        e.offset = this.position(e);
        e.playing = false;
        this.silence(e);
        return;
      case 3:
        if (e.playing) this.sound(e, 0, e.looping);
        else e.offset = 0;
        return;
      case 4:
        this.release(id);
        return;
      }
    },

    release(id) {
      const e = this.effects[id];
      if (e) this.silence(e);
      this.effects[id] = undefined;
    },

    // The tunes are decoded while the start dialog shows, by an offline
    // context (which needs no gesture).
    decodeTune(name, bytes) {
      const Off = window.OfflineAudioContext || window.webkitOfflineAudioContext;
      if (!Off) return Promise.resolve();
      const off = new Off(2, 1, 44100);
      return off.decodeAudioData(bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength))
        .then((b) => {
          this.tunes[name] = b;
          if (this.tuneName === name && !this.tuneSource) this.playTune(name);
        }, () => { /* a tune that cannot be decoded stays silent */ });
    },

    tune(name) {
      this.note(name, 'tune');
      if (this.tuneSource) {
        try { this.tuneSource.stop(); } catch (e) { /* over */ }
        this.tuneSource.disconnect();
        this.tuneSource = null;
      }
      this.tuneName = name;
      if (name) this.playTune(name);
    },

    playTune(name) {
      const b = this.tunes[name];
      if (!b || !this.ctx) return;  // it starts once decoded
      const s = this.ctx.createBufferSource();
      s.buffer = b;
      s.loop = true;
      s.connect(this.out);
      const t = this.ctx.currentTime;
      s.start(t);
      s.stop(t + 3 * b.duration);  // three times in all, then silence
      s.onended = () => { if (this.tuneSource === s) this.tuneSource = null; };
      this.tuneSource = s;
    },

    // How loud the output is now (root mean square of the last 2048 samples).
    level() {
      if (!this.analyser) return 0;
      const a = new Float32Array(this.analyser.fftSize);
      this.analyser.getFloatTimeDomainData(a);
      let sum = 0;
      for (const v of a) sum += v * v;
      return Math.sqrt(sum / a.length);
    },
  };

  // --- the game's picture, pointer and timer ------------------------------

  const canvas = $('screen');
  const screen2d = canvas.getContext('2d', {alpha: false});
  const timing = {gioca: 0, firstFrame: 0};
  let scale = 1;  // device pixels per game pixel
  const pointerImages = [];
  let cursorLook = 0;

  function fitScreen() {
    const dpr = window.devicePixelRatio || 1;
    const w = window.innerWidth, h = window.innerHeight;
    scale = Math.max(1, Math.floor(Math.min(w * dpr / 480, h * dpr / 540)));
    let cssW = 480 * scale / dpr, cssH = 540 * scale / dpr;
    if (cssW > w || cssH > h) {  // a screen too small for every pixel: shrink, smoothly
      const k = Math.min(w / cssW, h / cssH);
      cssW *= k;
      cssH *= k;
    }
    canvas.style.width = cssW + 'px';
    canvas.style.height = cssH + 'px';
    applyCursor();
  }

  // The four arrow pointers as cursors, enlarged as the picture is (up to
  // the 128 pixels browsers allow), their hot spot in the middle.
  const cursorCache = new Map();
  function cursorFor(n) {
    const img = pointerImages[n];
    if (!img) return 'default';
    const k = Math.max(1, Math.min(Math.floor(128 / img.width), Math.round(scale / (window.devicePixelRatio || 1))));
    const key = n + ':' + k;
    if (!cursorCache.has(key)) {
      const c = document.createElement('canvas');
      c.width = img.width * k;
      c.height = img.height * k;
      const g = c.getContext('2d');
      g.imageSmoothingEnabled = false;
      g.drawImage(img.canvas, 0, 0, c.width, c.height);
      cursorCache.set(key, 'url(' + c.toDataURL() + ') ' + (c.width >> 1) + ' ' + (c.height >> 1) + ', default');
    }
    return cursorCache.get(key);
  }
  function applyCursor() {
    canvas.style.cursor = cursorLook < 0 ? 'none' : cursorLook === 0 ? 'default' : cursorFor(cursorLook);
  }

  const timer = {
    on: false, handle: 0, next: 0,
    beats: [],  // when each tick ran (performance.now), for measurements
    start() {
      if (this.on) return;
      this.on = true;
      this.next = performance.now() + 60;
      this.schedule();
    },
    stop() {
      this.on = false;
      clearTimeout(this.handle);
    },
    schedule() {
      this.handle = setTimeout(() => this.beat(), Math.max(0, this.next - performance.now()));
    },
    // The next beat keeps to the 60 ms grid; after a long stall (a hidden
    // tab, a box) it starts a fresh grid rather than catching up in a burst.
    beat() {
      if (!this.on) return;
      const now = performance.now();
      if (Module._lexovo_timer()) {
        this.beats.push(now);
        if (this.beats.length > 20000) this.beats.splice(0, 10000);
      }
      this.next += 60;
      if (this.next < now) this.next = now + 60;
      if (this.on) this.schedule();
    },
  };

  // --- message boxes --------------------------------------------------------

  const ANSWER = {ok: 0, yes: 1, no: 2, retry: 3, cancel: 4};
  let boxAnswer = -1;

  function showBox(title, text, buttons, critical, defaultAnswer) {
    const layer = $('box-layer');
    layer.textContent = '';
    const win = document.createElement('div');
    win.className = 'window box';
    win.setAttribute('role', 'alertdialog');
    win.setAttribute('aria-label', title);
    const bar = document.createElement('div');
    bar.className = 'title';
    const caption = document.createElement('span');
    caption.textContent = title;
    const close = document.createElement('button');
    close.type = 'button';
    close.textContent = '×';
    close.tabIndex = -1;
    bar.append(caption, close);
    const body = document.createElement('div');
    body.className = 'body';
    if (critical) {
      body.insertAdjacentHTML('beforeend',
        '<svg class="stop" viewBox="0 0 32 32" aria-hidden="true"><circle cx="16" cy="16" r="15" fill="#c00000" ' +
        'stroke="#000"/><path d="M10 10L22 22M22 10L10 22" stroke="#fff" stroke-width="4" stroke-linecap="round"/></svg>');
    }
    const p = document.createElement('p');
    p.textContent = text;
    body.appendChild(p);
    const row = document.createElement('div');
    row.className = 'buttons';
    const choices = [[['OK', ANSWER.ok]], [['Sì', ANSWER.yes], ['No', ANSWER.no]],
                     [['Riprova', ANSWER.retry], ['Annulla', ANSWER.cancel]]][buttons];
    let first = null;
    const answer = (a) => {
      layer.hidden = true;
      layer.textContent = '';
      boxAnswer = a;
    };
    for (const [label, a] of choices) {
      const b = document.createElement('button');
      b.type = 'button';
      b.textContent = label;
      b.dataset.answer = a;
      b.addEventListener('click', () => answer(a));
      row.appendChild(b);
      if (a === defaultAnswer || !first) first = b;
    }
    close.addEventListener('click', () => answer(defaultAnswer));
    win.addEventListener('keydown', (e) => {
      e.stopPropagation();
      if (e.key === 'Escape') answer(defaultAnswer);
    });
    win.addEventListener('keyup', (e) => e.stopPropagation());
    win.append(bar, body, row);
    layer.appendChild(win);
    layer.hidden = false;
    first.focus();
  }

  function takeBoxAnswer() {
    const a = boxAnswer;
    boxAnswer = -1;
    return a;
  }

  // --- keys, mouse and fingers ------------------------------------------------
  // The game's handlers take Windows virtual-key codes, the Shift/Ctrl/Alt
  // mask (1/2/4), buttons (1 left, 2 right, 4 middle), Windows-1252
  // characters and pixels of its 480 x 540 window.

  const input = {
    keyDown: (key, shift) => Module._lexovo_key_down(key, shift),
    keyUp: (key, shift) => Module._lexovo_key_up(key, shift),
    keyPress: (ch) => Module._lexovo_key_press(ch),
    mouseDown: (button, shift, x, y) => Module._lexovo_mouse_down(button, shift, x, y),
    mouseMove: (buttons, shift, x, y) => Module._lexovo_mouse_move(buttons, shift, x, y),
    mouseUp: (button, shift, x, y) => Module._lexovo_mouse_up(button, shift, x, y),
    click: () => Module._lexovo_click(),
    dblClick: () => Module._lexovo_dblclick(),
  };

  const KEY_CODES = {
    ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Backspace: 8, Tab: 9, Enter: 13, NumpadEnter: 13,
    ShiftLeft: 16, ShiftRight: 16, ControlLeft: 17, ControlRight: 17, AltLeft: 18, AltRight: 18, Pause: 19,
    CapsLock: 20, Escape: 27, Space: 32, PageUp: 33, PageDown: 34, End: 35, Home: 36, PrintScreen: 44,
    Insert: 45, Delete: 46, Help: 47, MetaLeft: 91, MetaRight: 92, OSLeft: 91, OSRight: 92, ContextMenu: 93,
    NumpadMultiply: 106, NumpadAdd: 107, NumpadSubtract: 109, NumpadDecimal: 110, NumpadComma: 110,
    NumpadDivide: 111, NumLock: 144, ScrollLock: 145, Semicolon: 186, Equal: 187, Comma: 188, Minus: 189,
    Period: 190, Slash: 191, Backquote: 192, BracketLeft: 219, Backslash: 220, BracketRight: 221, Quote: 222,
    IntlBackslash: 226,
  };

  function virtualKey(e) {
    // Letters and digits as the keyboard's layout has them, the rest by place.
    if (e.key && e.key.length === 1 && /[a-z]/i.test(e.key)) return e.key.toUpperCase().charCodeAt(0);
    let m = /^Key([A-Z])$/.exec(e.code);
    if (m) return m[1].charCodeAt(0);
    m = /^Digit([0-9])$/.exec(e.code);
    if (m) return 48 + Number(m[1]);
    m = /^Numpad([0-9])$/.exec(e.code);
    if (m) return 96 + Number(m[1]);
    m = /^F([0-9]+)$/.exec(e.code);
    if (m && Number(m[1]) >= 1 && Number(m[1]) <= 24) return 111 + Number(m[1]);
    return KEY_CODES[e.code] || 0;
  }

  const CP1252_HIGH = [0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178];

  // The character a key types, in Windows-1252; -1 when it types none.
  function typedCharacter(e) {
    const special = {Enter: 13, Escape: 27, Tab: 9, Backspace: 8};
    if (e.key in special) return special[e.key];
    if (!e.key || [...e.key].length !== 1) return -1;
    const cp = e.key.codePointAt(0);
    if (e.ctrlKey && !e.altKey && /[a-z]/i.test(e.key)) return cp & 0x1F;
    if (cp < 0x80) return cp === 0x7F ? -1 : cp;
    if (cp >= 0xA0 && cp <= 0xFF) return cp;
    const i = CP1252_HIGH.indexOf(cp);
    return i >= 0 ? 128 + i : 63;  // '?', as Windows types a character outside the set
  }

  function shiftMask(e) { return (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0); }

  let playing = false;            // the game's picture is showing
  const keptUps = new Set();      // keys whose release the page keeps (full screen)

  function toggleFullScreen() {
    const el = document.documentElement;
    if (document.fullscreenElement) document.exitFullscreen();
    else if (el.requestFullscreen) el.requestFullscreen().catch(() => {});
  }

  window.addEventListener('keydown', (e) => {
    if (!playing) return;
    // F11 and Alt+Enter are the page's full-screen keys: the game never sees them.
    if (e.code === 'F11' || (e.altKey && (e.code === 'Enter' || e.code === 'NumpadEnter'))) {
      e.preventDefault();
      keptUps.add(e.code);
      if (!e.repeat) toggleFullScreen();
      return;
    }
    if (!(e.ctrlKey || e.metaKey || e.code === 'F5' || e.code === 'F12')) e.preventDefault();
    input.keyDown(virtualKey(e), shiftMask(e));
    const ch = typedCharacter(e);
    if (ch >= 0) input.keyPress(ch);
  });
  window.addEventListener('keyup', (e) => {
    if (!playing) return;
    if (keptUps.delete(e.code)) {
      e.preventDefault();
      return;
    }
    input.keyUp(virtualKey(e), shiftMask(e));
  });

  // A form reports a double click as Down, Up, Click, DblClick, Up: a second
  // press within 500 ms, with the same button and at most 2 pixels away, is
  // the double click, and its release gives no Click.
  const clicks = {
    have: false, double: false, button: 0, x: 0, y: 0, t: 0,
    press(button, x, y, t) {
      const dbl = this.have && !this.double && button === this.button && t - this.t <= 500 &&
                  Math.abs(x - this.x) <= 2 && Math.abs(y - this.y) <= 2;
      Object.assign(this, {have: true, double: dbl, button: button, x: x, y: y, t: t});
      return dbl;
    },
  };

  function gamePoint(clientX, clientY) {
    const r = canvas.getBoundingClientRect();
    return [Math.floor((clientX - r.left) * 480 / r.width), Math.floor((clientY - r.top) * 540 / r.height)];
  }

  function press(button, shift, clientX, clientY, t) {
    const [x, y] = gamePoint(clientX, clientY);
    if (clicks.press(button, x, y, t)) input.dblClick();
    else input.mouseDown(button, shift, x, y);
  }

  function release(button, shift, clientX, clientY) {
    const [x, y] = gamePoint(clientX, clientY);
    input.mouseUp(button, shift, x, y);
    if (!clicks.double) input.click();
  }

  const BUTTON = [1, 4, 2];  // DOM's left, middle, right
  let held = 0;              // DOM buttons mask

  canvas.addEventListener('pointerdown', (e) => {
    if (e.pointerType === 'touch' || !playing) return;
    e.preventDefault();
    canvas.focus({preventScroll: true});
    canvas.setPointerCapture(e.pointerId);  // moves and the release reach the game, even outside
    held = e.buttons;
    press(BUTTON[e.button] || 1, shiftMask(e), e.clientX, e.clientY, e.timeStamp);
  });
  canvas.addEventListener('pointermove', (e) => {
    if (e.pointerType === 'touch' || !playing) return;
    // A second button pressed or released while one is held comes as a move.
    if (e.button >= 0 && e.buttons !== held) {
      const bit = [1, 4, 2][e.button] || 1;
      const down = (e.buttons & [1, 4, 2][e.button]) !== 0;
      held = e.buttons;
      if (down) press(bit, shiftMask(e), e.clientX, e.clientY, e.timeStamp);
      else release(bit, shiftMask(e), e.clientX, e.clientY);
      return;
    }
    const [x, y] = gamePoint(e.clientX, e.clientY);
    input.mouseMove(e.buttons & 7, shiftMask(e), x, y);
  });
  canvas.addEventListener('pointerup', (e) => {
    if (e.pointerType === 'touch' || !playing) return;
    held = e.buttons;
    release(BUTTON[e.button] || 1, shiftMask(e), e.clientX, e.clientY);
  });
  canvas.addEventListener('contextmenu', (e) => e.preventDefault());

  // A finger is the left button: press, move, release; a tap is a click
  // (and two quick taps a double click).
  let finger = null;
  canvas.addEventListener('touchstart', (e) => {
    if (!playing) return;
    e.preventDefault();
    if (finger !== null) return;
    const t = e.changedTouches[0];
    finger = t.identifier;
    // A mouse comes to the place it presses: the game sees the pointer
    // arrive (and find a book there) before the press.
    const [x, y] = gamePoint(t.clientX, t.clientY);
    input.mouseMove(0, 0, x, y);
    press(1, 0, t.clientX, t.clientY, e.timeStamp);
  }, {passive: false});
  canvas.addEventListener('touchmove', (e) => {
    if (!playing) return;
    e.preventDefault();
    for (const t of e.changedTouches) {
      if (t.identifier !== finger) continue;
      const [x, y] = gamePoint(t.clientX, t.clientY);
      input.mouseMove(1, 0, x, y);
    }
  }, {passive: false});
  const lift = (e) => {
    if (!playing) return;
    e.preventDefault();
    for (const t of e.changedTouches) {
      if (t.identifier !== finger) continue;
      finger = null;
      release(1, 0, t.clientX, t.clientY);
    }
  };
  canvas.addEventListener('touchend', lift, {passive: false});
  canvas.addEventListener('touchcancel', lift, {passive: false});

  // --- the program's dialogs, from its own texts and layouts ----------------

  let dialogs = null;  // what lexovo_dialogs() gives
  let desk = $('desk');

  // A window of the program with its controls laid out in twips.
  function buildWindow(layout, onClose) {
    const tpp = dialogs.twips_per_pixel;
    const px = (t) => Math.trunc(t / tpp);
    const win = document.createElement('div');
    win.className = 'window';
    win.setAttribute('role', 'dialog');
    win.setAttribute('aria-label', layout.caption);
    win.dataset.name = layout.name;
    const bar = document.createElement('div');
    bar.className = 'title';
    const caption = document.createElement('span');
    caption.textContent = layout.caption;
    const close = document.createElement('button');
    close.type = 'button';
    close.className = 'close';
    close.textContent = '×';
    close.tabIndex = -1;
    close.title = 'Chiudi';
    close.addEventListener('click', onClose);
    bar.append(caption, close);
    const client = document.createElement('div');
    client.className = 'client';
    client.style.width = px(layout.width) + 'px';
    client.style.height = px(layout.height) + 'px';
    win.append(bar, client);

    const controls = {};
    const place = (el, c, parent) => {
      // A frame's children are placed from its outer corner; the box
      // starts inside its 2-pixel border.
      const inset = parent ? 2 : 0;
      el.style.left = (px(c.left) - inset) + 'px';
      el.style.top = (px(c.top) - inset) + 'px';
      el.style.width = px(c.width) + 'px';
      el.style.height = px(c.height) + 'px';
      el.classList.add('ctl', 'font-' + c.font);
      if (c.tab >= 0 && c.kind !== 'label' && c.kind !== 'frame') el.tabIndex = c.tab + 1;
      (parent ? controls[parent] : client).appendChild(el);
      controls[c.name] = el;
    };
    for (const c of layout.controls) {
      // What lies outside the client area only stores a text.
      if (c.left + c.width <= 0 || c.top >= layout.height) continue;
      switch (c.kind) {
      case 'label': {
        const el = document.createElement('div');
        el.className = 'label';
        el.textContent = c.text;
        el.style.color = c.colour;
        place(el, c, c.parent);
        break;
      }
      case 'frame': {
        const el = document.createElement('fieldset');
        const legend = document.createElement('legend');
        legend.textContent = c.text;
        el.appendChild(legend);
        place(el, c, c.parent);
        break;
      }
      case 'option': {
        const el = document.createElement('label');
        const radio = document.createElement('input');
        radio.type = 'radio';
        radio.name = layout.name;
        radio.tabIndex = c.tab + 1;
        const text = document.createElement('span');
        el.append(radio, text);
        // A run of blanks is where a list lies over the caption: the words
        // after it follow that list.
        const gap = /  +/.exec(c.text);
        text.textContent = gap ? c.text.slice(0, gap.index) : c.text;
        if (gap) el.dataset.after = c.text.slice(gap.index + gap[0].length);
        place(el, c, c.parent);
        el.tabIndex = -1;
        el.style.overflow = 'visible';
        controls[c.name + '.radio'] = radio;
        break;
      }
      case 'droplist': {
        const el = document.createElement('select');
        for (const item of dialogs.seconds) el.add(new Option(item, item));
        place(el, c, c.parent);
        // The words of the option the list lies over go right of it.
        for (const o of layout.controls) {
          const opt = controls[o.name];
          if (o.kind !== 'option' || !opt || !opt.dataset.after || o.parent !== c.parent) continue;
          if (c.left < o.left || c.left > o.left + o.width) continue;
          const after = document.createElement('span');
          after.className = 'ctl font-' + o.font;
          after.textContent = opt.dataset.after;
          after.style.left = (px(c.left + c.width) + 4 - 2) + 'px';
          after.style.top = (px(o.top) - 2) + 'px';
          after.style.height = px(o.height) + 'px';
          after.style.display = 'flex';
          after.style.alignItems = 'center';
          after.style.whiteSpace = 'pre';
          after.addEventListener('click', () => controls[o.name + '.radio'].click());
          controls[c.parent].appendChild(after);
          controls[o.name + '.after'] = after;
        }
        break;
      }
      case 'button': {
        const el = document.createElement('button');
        el.type = 'button';
        el.textContent = c.text;
        place(el, c, c.parent);
        break;
      }
      case 'textbox': {
        const el = document.createElement('textarea');
        el.readOnly = true;
        el.spellcheck = false;
        place(el, c, c.parent);
        break;
      }
      }
    }
    desk.appendChild(win);
    // A label's text that does not fit its control is made smaller until it does.
    for (const c of layout.controls) {
      const el = controls[c.name];
      if (!el || c.kind !== 'label') continue;
      for (let size = parseFloat(getComputedStyle(el).fontSize); size > 8 &&
           (el.scrollHeight > el.clientHeight + 1 || el.scrollWidth > el.clientWidth + 1); size -= 0.5) {
        el.style.fontSize = size - 0.5 + 'px';
      }
    }
    return {win: win, controls: controls, close: close};
  }

  // In the middle of the page; a page too small for it (a phone) gets it
  // whole, made smaller.
  function centre(win) {
    const w = win.offsetWidth, h = win.offsetHeight;
    const W = desk.clientWidth, H = desk.clientHeight;
    const k = Math.min(1, (W - 8) / w, (H - 8) / h);
    win.style.transform = k < 1 ? 'scale(' + k + ')' : '';
    win.style.left = Math.max(0, (W - w * k) / 2) + 'px';
    win.style.top = Math.max(0, (H - h * k) / 2) + 'px';
  }

  let start = null;   // the start dialog
  let info = null;    // an information dialog on top of it
  let blocker = null;

  function openStartDialog() {
    start = buildWindow(dialogs.start, quit);
    const c = start.controls;
    const free = c['Option1(0).radio'], timed = c['Option1(1).radio'], list = c.Combo1;
    const sync = () => {
      list.disabled = !timed.checked;
      if (c['Option1(1).after']) c['Option1(1).after'].classList.toggle('disabled-text', false);
    };
    free.checked = true;
    list.selectedIndex = 0;
    free.addEventListener('change', sync);
    timed.addEventListener('change', sync);
    sync();
    c.OKButton.addEventListener('click', () => play(timed.checked, list.selectedIndex));
    c.Command2.addEventListener('click', quit);
    c.CancelButton.addEventListener('click', () => openInfo(dialogs.commands));
    c.Command1.addEventListener('click', () => openInfo(dialogs.solution));
    centre(start.win);
    c.OKButton.focus();
  }

  // Soluzione or Comandi over the start dialog, which takes no input until
  // the information dialog is closed (its button, its close button or Esc).
  function openInfo(layout) {
    if (info) return;
    blocker = document.createElement('div');
    blocker.className = 'blocker';
    blocker.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      if (info) info.controls.OKButton.focus();
    });
    start.win.appendChild(blocker);
    start.win.classList.add('inactive');
    start.win.inert = true;
    info = buildWindow(layout, closeInfo);
    info.controls.OKButton.addEventListener('click', closeInfo);
    if (info.controls.Text1) info.controls.Text1.value = dialogs.walkthrough;
    info.win.addEventListener('keydown', (e) => {
      if (e.key === 'Escape') closeInfo();
    });
    centre(info.win);
    info.controls.OKButton.focus();
  }

  function closeInfo() {
    if (!info) return;
    info.win.remove();
    info = null;
    blocker.remove();
    start.win.classList.remove('inactive');
    start.win.inert = false;
    start.controls.OKButton.focus();
  }

  window.addEventListener('resize', () => {
    if (start) centre(start.win);
    if (info) centre(info.win);
    if (playing) fitScreen();
  });

  // --- the program's life -----------------------------------------------------

  let dataReady = null;  // resolves once every data file is unpacked

  function play(timedGame, item) {
    if (!start || info) return;
    timing.gioca = performance.now();
    audio.start();  // inside the click: the one moment a page may start sound
    start.win.remove();
    start = null;
    dataReady.then(() => {
      $('loading').hidden = true;
      Module._lexovo_start(timedGame ? 1 : 0, item);
    });
    if (loading.done < loading.total) loading.show('Caricamento dei dati del gioco…');
  }

  function quit() {
    if (start) start.win.remove();
    start = null;
    ended();
  }

  function ended() {
    playing = false;
    timer.stop();
    audio.stopAll();
    $('game').hidden = true;
    $('box-layer').hidden = true;
    if (document.fullscreenElement) document.exitFullscreen();
    lexovo.ended = true;
    notice(['Il programma è terminato.'], 'Avvia di nuovo il programma', () => location.reload());
  }

  // What the program calls (web_platform.cpp).
  const page = {
    showGame() {
      $('game').hidden = false;
      playing = true;
      fitScreen();
      canvas.tabIndex = 0;
      canvas.focus({preventScroll: true});
    },
    closeGame() {
      playing = false;
      $('game').hidden = true;
    },
    present(ptr, w, h) {
      screen2d.putImageData(new ImageData(new Uint8ClampedArray(Module.HEAPU8.buffer, ptr, w * h * 4), w, h), 0, 0);
      if (!timing.firstFrame && timing.gioca) timing.firstFrame = performance.now();
    },
    showBox: showBox,
    boxAnswer: takeBoxAnswer,
    pointerImage(n, ptr, w, h) {
      const c = document.createElement('canvas');
      c.width = w;
      c.height = h;
      c.getContext('2d').putImageData(new ImageData(new Uint8ClampedArray(Module.HEAPU8.slice(ptr, ptr + w * h * 4).buffer), w, h), 0, 0);
      pointerImages[n] = {canvas: c, width: w, height: h};
    },
    setCursor(look) {
      cursorLook = look;
      applyCursor();
    },
    setTimer(on) {
      if (on) timer.start();
      else timer.stop();
    },
    audio: audio,
    ended: () => setTimeout(ended, 0),
  };

  // --- tests ----------------------------------------------------------------

  function cString(s, f) {
    const n = Module.lengthBytesUTF8(s) + 1;
    const p = Module._malloc(n);
    Module.stringToUTF8(s, p, n);
    try {
      return f(p);
    } finally {
      Module._free(p);
    }
  }

  let announceReady;
  const lexovo = window.lexovo = {
    test: TEST,
    ready: new Promise((r) => { announceReady = r; }),
    ended: false,
    input: input,
    audio: audio,
    timer: timer,
    timing: timing,
    // The game's state as a line of lexovo-replay's trace (the sounds,
    // tunes and boxes since the last call), as text and as an object.
    stateText: (line, cmd, ran) => cString(cmd || 'state', (p) =>
      Module.UTF8ToString(Module._lexovo_state(line || 0, p, ran === undefined || ran === null ? -1 : ran ? 1 : 0))),
    state: (line, cmd, ran) => JSON.parse(lexovo.stateText(line, cmd, ran)),
    ticks: () => Module._lexovo_ticks(),
    boxOpen: () => Module._lexovo_box_open() !== 0,
    busy: () => Module._lexovo_busy() !== 0,  // a handler or a tick has not finished (a box waits)
    // Test mode: lexovo-replay's tick, wait (ms), random and answer.
    tick: () => Module._lexovo_test_tick() !== 0,
    wait: (ms) => Module._lexovo_test_wait(ms),
    random: (v) => Module._lexovo_test_random(v),
    answer: (a) => Module._lexovo_test_answer(ANSWER[a]),
  };

  // --- start ---------------------------------------------------------------

  // The program, gzipped where the browser can inflate it (whether the
  // server compresses or not); the plain copy otherwise, or when the
  // gzipped one is not there.
  function program() {
    if (typeof DecompressionStream !== 'function') return download('lexovo.wasm');
    return download('lexovo.wasm.gz').then((bytes) => {
      if (!bytes) return download('lexovo.wasm');
      if (bytes[0] !== 0x1f || bytes[1] !== 0x8b) return bytes;  // the server inflated it already
      const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
      return new Response(stream).arrayBuffer();
    });
  }

  let runtimeReady;
  const runtime = new Promise((r) => { runtimeReady = r; });

  window.Module = {
    page: page,
    print: (t) => console.log(t),
    printErr: (t) => console.warn(t),
    instantiateWasm(imports, receive) {
      program().then((bytes) => WebAssembly.instantiate(bytes, imports))
        .then((r) => receive(r.instance, r.module), (e) => {
          notice(['Il programma del gioco non è stato scaricato per intero o è danneggiato (' + e + ').'],
                 'Riprova', () => location.reload());
        });
      return {};
    },
    onRuntimeInitialized: () => runtimeReady(),
    onAbort: (what) => notice(['Il gioco si è fermato per un errore interno (' + what + ').'],
                              'Avvia di nuovo il programma', () => location.reload()),
  };

  loading.show('Caricamento del gioco…');
  const script = document.createElement('script');
  const loadScript = () => {
    const s = script.cloneNode();
    s.src = 'lexovo.js';
    s.onload = () => failing.delete('lexovo.js');
    s.onerror = () => {
      s.remove();
      failing.set('lexovo.js', loadScript);
      showFailures();
    };
    document.body.appendChild(s);
  };
  loadScript();

  // The data files, while the program loads and the dialog shows.
  const files = download('data/manifest.json').then((bytes) => {
    const list = bytes ? JSON.parse(new TextDecoder().decode(bytes)) : [];
    loading.total = list.length;
    return Promise.all(list.map((f) => download('data/' + f.file).then((data) => {
      loading.step();
      return {name: f.name, file: f.file, data: data};
    })));
  });

  dataReady = Promise.all([runtime, files]).then(([, list]) => {
    const tunes = [];
    for (const f of list) {
      if (!f.data) continue;  // absent: the game will say so
      if (/\.mp3$/.test(f.file)) {
        tunes.push(audio.decodeTune(f.name, f.data));
        continue;
      }
      const p = Module._malloc(f.data.length);
      Module.HEAPU8.set(f.data, p);
      cString(f.name, (n) => cString(f.file, (k) => Module._lexovo_unpack(n, k, p, f.data.length)));
      Module._free(p);
    }
    return Promise.all(tunes);
  });

  runtime.then(() => {
    $('loading').hidden = true;
    dialogs = JSON.parse(Module.UTF8ToString(Module._lexovo_dialogs()));
    openStartDialog();
    Module._lexovo_prepare(TEST ? 1 : 0);
    dataReady.then(() => announceReady());
  });
})();
