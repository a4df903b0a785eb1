#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the real program under X (Xvfb in CI) with xdotool and looks at
its windows with ImageMagick's `import`.

    window_test.py PROGRAM DATA_DIR CASE

CASE is one of the names in CASES at the end. Each case starts the
program afresh. LEXOVO_X_HELPER names the helper that presses a window's
close button and reads the pointer's picture; LEXOVO_STORED_DIR holds the
stored pictures as BMP files. The program writes what it does to the file named by
LEXOVO_TEST_LOG (one line per tick, message box, answer, key and click).
Without a DISPLAY the script runs itself under xvfb-run.
"""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

SCREEN = "-screen 0 1024x768x24 -noreset"
START_TITLE = "Gioco di Lexovo (versioni 4.0 e 5.0)"
GAME_TITLE = "Gioco di Lexovo"


class Failure(Exception):
    pass


def check(cond, what):
    if not cond:
        raise Failure(what)
    print("ok:", what)


# --- X helpers -------------------------------------------------------------

def xdo(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True).stdout


def windows(title):
    out = xdo("search", "--onlyvisible", "--name", "^" + title.replace("(", "\\(").replace(")", "\\)") + "$")
    return [int(w) for w in out.split()]


def wait_window(title, timeout=10.0):
    end = time.time() + timeout
    while time.time() < end:
        ws = windows(title)
        if ws:
            time.sleep(0.3)  # let it draw
            return ws[0]
        time.sleep(0.1)
    raise Failure("window %r did not appear" % title)


def wait_gone(title, timeout=5.0):
    end = time.time() + timeout
    while time.time() < end:
        if not windows(title):
            return True
        time.sleep(0.1)
    return False


def geometry(win):
    g = {}
    for line in xdo("getwindowgeometry", "--shell", win).split():
        k, _, v = line.partition("=")
        g[k] = int(v) if v.lstrip("-").isdigit() else v
    return g["X"], g["Y"], g["WIDTH"], g["HEIGHT"]


def wm_class(win):
    """The window's WM_CLASS as xprop reads it, e.g. '"lexovo", "Lexovo"'."""
    out = subprocess.run(["xprop", "-id", str(win), "WM_CLASS"], capture_output=True, text=True).stdout
    return out.partition("=")[2].strip()


# The class of every window of the program: the desktop entry's
# StartupWMClass names it, so that a dock ties the window to its menu entry.
OUR_CLASS = '"lexovo", "Lexovo"'


def click(win, x, y, button=1):
    """Clicks at a point given in the window's own pixels."""
    wx, wy, _, _ = geometry(win)
    xdo("mousemove", wx + x, wy + y)
    time.sleep(0.1)
    xdo("click", button)
    time.sleep(0.3)


def close_window(win):
    """The close button of the window's frame (there is no window manager)."""
    subprocess.run([os.environ["LEXOVO_X_HELPER"], "close", str(win)], check=True)
    time.sleep(0.3)


def pointer_picture():
    out = subprocess.run([os.environ["LEXOVO_X_HELPER"], "cursor"], capture_output=True, text=True,
                         check=True).stdout.split("\n")
    w, h, hx, hy = map(int, out[0].split())
    pixels = [int(v, 16) for row in out[1:1 + h] for v in row.split()]
    return w, h, hx, hy, pixels


def icon_as_pointer(name):
    """A stored icon as the pointer shows it: ARGB, magenta see-through."""
    img = load_picture(os.path.join(os.environ["LEXOVO_STORED_DIR"], name + ".bmp"), "32x32+0+0")
    out = []
    for i in range(0, len(img.data), 3):
        r, g, b = img.data[i:i + 3]
        out.append(0 if (r, g, b) == (255, 0, 255) else 0xFF000000 | r << 16 | g << 8 | b)
    return out


def key(*names):
    xdo("key", *names)
    time.sleep(0.3)


class Image:
    def __init__(self, w, h, data):
        self.w, self.h, self.data = w, h, data

    def px(self, x, y):
        i = (y * self.w + x) * 3
        return tuple(self.data[i:i + 3])

    def crop(self, x, y, w, h):
        rows = [self.data[((y + r) * self.w + x) * 3:((y + r) * self.w + x + w) * 3] for r in range(h)]
        return Image(w, h, b"".join(rows))

    def count(self, pred):
        return sum(1 for i in range(0, len(self.data), 3) if pred(self.data[i], self.data[i + 1], self.data[i + 2]))


def parse_ppm(raw):
    # P6 <w> <h> <max>\n<data>
    parts, pos = [], 0
    while len(parts) < 4:
        while raw[pos:pos + 1].isspace():
            pos += 1
        start = pos
        while not raw[pos:pos + 1].isspace():
            pos += 1
        parts.append(raw[start:pos])
    pos += 1
    assert parts[0] == b"P6" and parts[3] == b"255", parts
    w, h = int(parts[1]), int(parts[2])
    return Image(w, h, raw[pos:pos + w * h * 3])


def grab(win):
    raw = subprocess.run(["import", "-window", str(win), "-depth", "8", "ppm:-"], capture_output=True, check=True).stdout
    return parse_ppm(raw)


def load_picture(path, crop):
    raw = subprocess.run(["convert", path, "-crop", crop, "+repage", "-depth", "8", "ppm:-"], capture_output=True,
                         check=True).stdout
    return parse_ppm(raw)


def dark(r, g, b):
    return r < 70 and g < 70 and b < 70


# --- the program -----------------------------------------------------------

def launch(exe, env, cwd, tries=3, command=None):
    """Starts the program (or command, which runs it). One that could not
    even open the display (it leaves at once) is started again: the test
    display can refuse a client for a moment, and that is not what the
    tests are about."""
    for _ in range(tries):
        proc = subprocess.Popen(command or [exe], env=env, cwd=cwd)
        try:
            code = proc.wait(0.5)
        except subprocess.TimeoutExpired:
            return proc
        print("the program left at once (status %d); starting it again" % code)
        time.sleep(0.5)
    return proc


class Program:
    def __init__(self, exe, args=(), wrap=(), extra_env=None):
        self.dir = tempfile.mkdtemp(prefix="lexovo-window-")
        os.chmod(self.dir, 0o777)  # also for a program run as another user
        self.log_path = os.path.join(self.dir, "log.txt")
        env = dict(os.environ, LEXOVO_TEST_LOG=self.log_path, SDL_AUDIODRIVER="dummy", **(extra_env or {}))
        self.proc = launch(exe, env, self.dir, command=[*wrap, exe, *args])

    def log(self):
        try:
            with open(self.log_path) as f:
                return [line.split(None, 1)[1].strip() for line in f if " " in line]
        except FileNotFoundError:
            return []

    def ticks(self):
        return sum(1 for line in self.log() if line == "tick")

    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout=5.0):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def close(self):
        if self.running():
            self.proc.kill()
            self.proc.wait()
        shutil.rmtree(self.dir, ignore_errors=True)


# Where the start dialog's controls are, in its own pixels (twips / 15).
GIOCA = (336 + 28, 240 + 12)
ESCI = (272 + 28, 240 + 12)
COMMANDS = (272 + 60, 272 + 12)
SOLUTION = (272 + 60, 304 + 12)
FREE_PLAY = (24 + 7, 256 + 8)
TIMED = (24 + 7, 288 + 8)
SECONDS = (104, 285, 49, 21)


def seconds_text_dark(start, scale=1):
    x, y, w, h = (v * scale for v in SECONDS)
    return grab(start).crop(x + 2, y + 3, w - 20 * scale, h - 6).count(dark)


# --- the cases -------------------------------------------------------------

def case_start_dialog(exe, data):
    p = Program(exe)
    try:
        start = wait_window(START_TITLE)
        x, y, w, h = geometry(start)
        check((w, h) == (402, 343), "start dialog's client area is 402 x 343 (%d x %d)" % (w, h))
        check((x, y) == ((1024 - 402) // 2, (768 - 343) // 2), "start dialog is centred on the screen")
        img = grab(start)
        bg = img.px(3, 3)
        check(abs(bg[0] - bg[1]) < 8 and abs(bg[1] - bg[2]) < 8 and 150 < bg[0] < 230,
              "dialog background is a light grey %r" % (bg,))
        check(img.crop(8, 16, 385, 40).count(dark) > 300, "the introduction's first lines are written")
        button = img.crop(336 + 3, 240 + 3, 57 - 6, 25 - 6)
        check(button.count(dark) > 15, "the Gioca button carries its caption")
        face = button.px(2, 2)
        check(face != (0, 0, 0) and abs(face[0] - bg[0]) < 40, "the Gioca button is drawn as a button")

        check(seconds_text_dark(start) == 0, "the seconds list starts disabled")
        click(start, *TIMED)
        check(seconds_text_dark(start) > 5, "choosing the timed game enables the list")
        click(start, *FREE_PLAY)
        check(seconds_text_dark(start) == 0, "choosing free play disables it again")

        key("Escape")
        time.sleep(0.5)
        check(p.running() and windows(START_TITLE), "Esc does not leave the start dialog")

        click(start, *ESCI)
        check(p.wait_exit() == 0, "Esci ends the program with status 0")
        check(not any(l.startswith("gioca") for l in p.log()), "and no game was started")
    finally:
        p.close()


def case_info_dialogs(exe, data):
    p = Program(exe)
    try:
        start = wait_window(START_TITLE)
        click(start, *SOLUTION)
        sol = wait_window("Soluzione completa")
        _, _, w, h = geometry(sol)
        check((w, h) == (402, 189), "Soluzione opens with a 402 x 189 client area")
        check(wm_class(start) == OUR_CLASS and wm_class(sol) == OUR_CLASS,
              "the start dialog and Soluzione are of the program's class (%s, %s)" % (wm_class(start), wm_class(sol)))
        text = grab(sol).crop(16 + 3, 16 + 3, 369 - 24, 129 - 6)
        check(text.count(dark) > 1000, "the walkthrough fills its text box")

        # The timed option is not covered by Soluzione: a click there must do nothing.
        click(start, *TIMED)
        check(len(windows("Soluzione completa")) == 1, "only one Soluzione is open")
        click(sol, 304 + 40, 152 + 12)  # Chiudi
        check(wait_gone("Soluzione completa"), "Chiudi closes Soluzione")
        check(seconds_text_dark(start) == 0, "the start dialog took no input while Soluzione was open")
        click(start, *TIMED)
        check(seconds_text_dark(start) > 5, "after Chiudi the start dialog takes input again")

        click(start, *COMMANDS)
        cmd = wait_window("Riepilogo dei comandi di gioco")
        _, _, w, h = geometry(cmd)
        check((w, h) == (518, 315), "Comandi opens with a 518 x 315 client area")
        check(wm_class(cmd) == OUR_CLASS, "so is Comandi (%s)" % wm_class(cmd))
        img = grab(cmd)
        blue = lambda r, g, b: r < 40 and g < 40 and 150 < b < 230
        check(img.crop(208, 8, 300, 260).count(blue) > 300, "the right-hand column is dark blue")
        check(img.crop(8, 8, 190, 260).count(blue) == 0, "the left-hand column is not")
        check(img.crop(8, 8, 190, 260).count(dark) > 300, "the left-hand column is written in black")

        # Esc takes the same way out as the window's close button.
        wx, wy, _, _ = geometry(cmd)
        xdo("mousemove", wx + 250, wy + 150)
        key("Escape")
        check(wait_gone("Riepilogo dei comandi di gioco"), "Comandi closes from its window")
        check(p.running(), "closing Comandi does not end the program")
        click(start, *FREE_PLAY)
        check(seconds_text_dark(start) == 0, "the start dialog takes input again")
        click(start, *COMMANDS)
        cmd = wait_window("Riepilogo dei comandi di gioco")
        click(cmd, 424 + 40, 280 + 12)  # OK
        check(wait_gone("Riepilogo dei comandi di gioco"), "OK closes Comandi")
        click(start, *ESCI)
        check(p.wait_exit() == 0, "Esci then ends the program with status 0")
    finally:
        p.close()


def case_start_dialog_closed(exe, data):
    p = Program(exe)
    try:
        start = wait_window(START_TITLE)
        click(start, *SOLUTION)
        sol = wait_window("Soluzione completa")
        close_window(start)
        check(p.running(), "the start dialog cannot be closed while Soluzione is open")
        close_window(sol)
        check(wait_gone("Soluzione completa"), "Soluzione closes from its frame")
        click(start, *TIMED)
        check(seconds_text_dark(start) > 5, "and the start dialog takes input again")
        close_window(start)
        check(p.wait_exit() == 0, "closing the start dialog ends the program with status 0")
        check(not any(l.startswith("gioca") for l in p.log()), "without starting a game")
    finally:
        p.close()


def case_game_window_closed(exe, data):
    p = Program(exe)
    try:
        start = wait_window(START_TITLE)
        click(start, *GIOCA)
        game = wait_window(GAME_TITLE)
        check(wm_class(game) == OUR_CLASS, "the game window's class is the program's (WM_CLASS %s)" % wm_class(game))
        check("gioca 0" in p.log(), "Gioca without touching anything is free play")
        check(wait_for(lambda: p.ticks() > 2), "the main tick runs")
        close_window(game)
        check(p.wait_exit() == 0, "closing the game window ends the program with status 0")
        check(p.log()[-1:] == ["end"], "through the unload step")
    finally:
        p.close()


def case_error_box(exe, data):
    """Without step.wav the load step reports error 53 and the footsteps
    error 91, in the Retry/Cancel box with the stop sign."""
    folder = tempfile.mkdtemp(prefix="lexovo-nostep-")
    try:
        for f in os.listdir(data):
            if f.endswith((".bmp", ".wav", ".mid")) and f != "step.wav":
                shutil.copy(os.path.join(data, f), folder)
        exe = shutil.copy(exe, folder)  # the data beside the program are the ones it reads
        p = Program(exe)
        try:
            start = wait_window(START_TITLE)
            click(start, *GIOCA)
            box = wait_window("Lexovo5.0")
            check(wm_class(box) == OUR_CLASS, "the message box is of the program's class (%s)" % wm_class(box))
            img = grab(box)
            check(img.count(lambda r, g, b: r > 150 and g < 40 and b < 40) > 200, "the box shows the stop sign")
            check(img.count(dark) > 200, "and its text")
            check("box Lexovo5.0" in p.log() and not windows(GAME_TITLE), "the missing file is reported during load")
            bx, by, bw, bh = geometry(box)
            xdo("mousemove", bx + bw // 2, by + 8)
            key("Return")
            check(wait_for(lambda: "answer retry" in p.log()), "Return is Riprova")
            # The Return key's release reaches the game window, whose key-up
            # stops the missing footsteps: a report of its own, answered with
            # the mouse so that no further key-up follows.
            if wait_for(lambda: p.log()[-1:] == ["box Lexovo5.0"], 1.0):
                box = wait_window("Lexovo5.0")
                _, _, bw, bh = geometry(box)
                click(box, (bw - 156) // 2 + 37, bh - 12 - 11)
            check(wait_gone("Lexovo5.0"), "the report is gone")
            game = wait_window(GAME_TITLE)
            check(wait_for(lambda: p.ticks() > 2), "the game goes on after Riprova")

            gx, gy, _, _ = geometry(game)
            xdo("mousemove", gx + 240, gy + 500)
            key("Right")  # the footsteps have no sound to play
            box = wait_window("Lexovo5.0")
            ticks = p.ticks()
            time.sleep(0.6)
            check(p.ticks() == ticks, "no tick runs while the report is open")
            bx, by, bw, bh = geometry(box)
            click(box, (bw - 156) // 2 + 81 + 37, bh - 12 - 11)
            check(p.wait_exit() == 0, "Annulla ends the program")
            check("answer cancel" in p.log(), "the answer was Annulla")
        finally:
            p.close()
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def case_hostile_data(exe, data):
    """A FIFO, then a picture header declaring 30000 x 30000, in place of
    gameb2.bmp: the load step reports it at once in the error box (no hang,
    no gigabytes), and after Riprova the game window opens and ticks."""
    giant = bytearray(54)
    giant[0:2] = b"BM"
    for at, v in ((2, 54), (10, 54), (14, 40), (18, 30000), (22, 30000), (26, 1), (28, 24)):
        giant[at:at + 4] = v.to_bytes(4, "little")
    for what in ("fifo", "giant"):
        folder = tempfile.mkdtemp(prefix="lexovo-hostile-")
        try:
            for f in os.listdir(data):
                if f.endswith((".bmp", ".wav", ".mid")) and f != "gameb2.bmp":
                    shutil.copy(os.path.join(data, f), folder)
            if what == "fifo":
                os.mkfifo(os.path.join(folder, "gameb2.bmp"))
            else:
                with open(os.path.join(folder, "gameb2.bmp"), "wb") as f:
                    f.write(giant)
            p = Program(shutil.copy(exe, folder))
            try:
                start = wait_window(START_TITLE)
                click(start, *GIOCA)
                box = wait_window("Lexovo5.0", 5)
                check("box Lexovo5.0" in p.log() and not windows(GAME_TITLE), "%s: reported during load" % what)
                _, _, bw, bh = geometry(box)
                click(box, (bw - 156) // 2 + 37, bh - 12 - 11)
                check(wait_for(lambda: "answer retry" in p.log()), "%s: Riprova" % what)
                wait_window(GAME_TITLE)
                check(wait_for(lambda: p.ticks() > 2), "%s: the game goes on after Riprova" % what)
                check(p.running(), "%s: and keeps running" % what)
            finally:
                p.close()
        finally:
            shutil.rmtree(folder, ignore_errors=True)


def case_unreadable_data(exe, data):
    """Installed, with a data folder that cannot be entered (mode 000; run
    as root, the program runs as nobody, whom the mode stops): the load
    reports 76 "Impossibile trovare il percorso" once, then each file it
    cannot open (53), and after Riprova to each the game window opens and
    ticks. A copy of every data file lies in the folder the program is
    started in: none of them is read."""
    prefix = tempfile.mkdtemp(prefix="lexovo-unreadable-")
    folder = os.path.join(prefix, "share", "games", "lexovo")
    os.makedirs(folder)
    os.makedirs(os.path.join(prefix, "games"))
    try:
        names = [f for f in os.listdir(data) if f.endswith((".bmp", ".wav", ".mid", ".mp3"))]
        for f in names:
            shutil.copy(os.path.join(data, f), folder)
        game_exe = shutil.copy(exe, os.path.join(prefix, "games"))
        for d in (prefix, os.path.dirname(folder), os.path.dirname(os.path.dirname(folder)),
                  os.path.join(prefix, "games")):
            os.chmod(d, 0o755)
        os.chmod(folder, 0)
        wrap = ("setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups") if os.geteuid() == 0 else ()
        out = tempfile.mkdtemp(prefix="lexovo-unreadable-out-")
        os.chmod(out, 0o777)
        trace = os.path.join(out, "trace.jsonl")
        p = Program(game_exe, args=("--record", os.path.join(out, "game.txt")), wrap=wrap,
                    extra_env={"LEXOVO_TEST_TRACE": trace})
        try:
            # The decoys, in the folder it was started in, before the load.
            for f in names:
                shutil.copy(os.path.join(data, f), p.dir)
            start = wait_window(START_TITLE)
            click(start, *GIOCA)
            answered = 0
            while answered < 80 and not windows(GAME_TITLE):
                if not wait_for(lambda: windows("Lexovo5.0") or windows(GAME_TITLE), 5):
                    break
                if windows(GAME_TITLE):
                    break
                box = wait_window("Lexovo5.0")
                _, _, bw, bh = geometry(box)
                n = len([l for l in p.log() if l == "answer retry"])
                click(box, (bw - 156) // 2 + 37, bh - 12 - 11)
                check(wait_for(lambda: len([l for l in p.log() if l == "answer retry"]) > n), "Riprova answered")
                answered += 1
            wait_window(GAME_TITLE)
            check(wait_for(lambda: p.ticks() > 2), "the game goes on after the reports")
            check(p.running(), "and keeps running")
            boxes = []
            with open(trace) as f:
                for line in f:
                    if line.endswith("\n"):
                        boxes += json.loads(line).get("boxes", [])
            texts = [b.get("text", "") for b in boxes]
            print("%d reports:\n  %s" % (len(texts), "\n  ".join(texts)))
            check(len(texts) == answered, "the trace holds the %d reports answered (%d)" % (answered, len(texts)))
            check(texts and "76" in texts[0] and "Impossibile trovare il percorso" in texts[0] and
                  "FORM1_LOAD" in texts[0], "the first report is 76 from Form1_load")
            check(sum("76" in t for t in texts) == 1, "76 is reported once")
            check(len(texts) > 10 and all("53" in t for t in texts[1:]),
                  "then each file it cannot open, with 53 (not read from the folder it started in)")
        finally:
            p.close()
            shutil.rmtree(out, ignore_errors=True)
    finally:
        os.chmod(folder, 0o755)
        shutil.rmtree(prefix, ignore_errors=True)


def wait_for(pred, timeout=5.0):
    end = time.time() + timeout
    while time.time() < end:
        if pred():
            return True
        time.sleep(0.05)
    return False


def case_play(exe, data):
    p = Program(exe)
    try:
        start = wait_window(START_TITLE)
        click(start, *TIMED)
        sx, sy, sw, sh = SECONDS
        click(start, sx + sw // 2, sy + sh // 2)  # the list drops down
        key("Down", "Return")  # second item
        click(start, *GIOCA)
        game = wait_window(GAME_TITLE)
        check(wait_gone(START_TITLE), "Gioca closes the start dialog")
        check("gioca 60" in p.log(), "the second item starts a 60-second game")
        _, _, w, h = geometry(game)
        check((w, h) == (480, 540), "the game window's client area is 480 x 540")
        check(wait_for(lambda: p.ticks() > 0), "the main tick runs")

        # The play area shows the start view: the lower-left 400 x 400 of the
        # background (before the first tick alone; afterwards the professor,
        # books and railings are drawn over parts of it).
        shot = grab(game)
        area = shot.crop(40, 40, 400, 400)
        bmp = os.path.join(data, "gameb2.bmp")
        bh = int(subprocess.run(["identify", "-format", "%h", bmp], capture_output=True, text=True).stdout)
        view = load_picture(bmp, "400x400+0+%d" % (bh - 400))
        same = sum(1 for i in range(0, len(area.data), 3) if area.data[i:i + 3] == view.data[i:i + 3])
        check(same > 0.8 * 400 * 400, "the play area at (40, 40) is the background's start view "
              "(%.1f%% of its pixels)" % (100.0 * same / (400 * 400)))
        frame = shot.crop(0, 0, 480, 40)
        check(frame.count(lambda r, g, b: (r, g, b) != (0, 0, 0)) > 0.9 * 480 * 40, "the frame is drawn around it")

        # Holding Right: repeated key-downs, one key-up, and the professor moves.
        before = grab(game).crop(40, 40, 400, 400)
        wx, wy, _, _ = geometry(game)
        xdo("mousemove", wx + 240, wy + 500)
        n0 = len(p.log())
        arrow = pointer_picture()
        xdo("keydown", "Right")
        time.sleep(1.2)
        held = pointer_picture()
        xdo("keyup", "Right")
        time.sleep(0.3)
        events = p.log()[n0:]
        downs = events.count("keydown 39 0")
        ups = sum(1 for e in events if e.startswith("keyup 39"))
        check(downs >= 1 and ups == 1, "a held Right gives %d key-downs and exactly one key-up" % downs)
        after = grab(game).crop(40, 40, 400, 400)
        check(after.data != before.data, "the picture changes while Right is held")
        check(held[:4] == (32, 32, 16, 16) and held[4] == icon_as_pointer("Picture30_1"),
              "while Right is held the pointer is the right-arrow icon, its hot spot in the middle")
        check(pointer_picture() == arrow and arrow[4] != held[4], "after the release it is the arrow again")

        # Esc asks; while the box is open no tick runs; No goes on.
        key("Escape")
        box = wait_window("Uscita dal gioco")
        log = p.log()
        check("keypress 27" in log and "box Uscita dal gioco" in log, "Esc reaches the game as character 27")
        ticks_open = p.ticks()
        time.sleep(0.8)
        check(p.ticks() == ticks_open, "no tick runs while the box is open (%d, %d)" % (ticks_open, p.ticks()))
        bx, by, bw, bh2 = geometry(box)
        xdo("mousemove", bx + bw // 2, by + 8)  # without a window manager the keys go where the pointer is
        key("Return")
        check(wait_gone("Uscita dal gioco"), "Return answers the box")
        check(p.log()[-1:] == ["answer no"] or "answer no" in p.log(), "Return is No, the default")
        check(wait_for(lambda: p.ticks() > ticks_open + 3), "the ticks go on after No")
        check(p.running(), "No keeps the game running")

        # Esc again, and Yes (the left-hand button) ends the program.
        xdo("mousemove", wx + 240, wy + 500)
        key("Escape")
        box = wait_window("Uscita dal gioco")
        _, _, bw, bh2 = geometry(box)
        click(box, (bw - 156) // 2 + 37, bh2 - 12 - 11)
        check(p.wait_exit() == 0, "Esc and Sì end the program with status 0")
        check("answer yes" in p.log(), "the answer was Yes")
    finally:
        p.close()


def case_large_screen(exe, data):
    """Runs on its own 192-dpi screen: the picture is doubled pixel for pixel
    and the mouse is mapped back to the game's own pixels."""
    p = Program(exe)
    try:
        start = wait_window(START_TITLE)
        _, _, w, h = geometry(start)
        check((w, h) == (804, 686), "the start dialog is doubled too")
        check(seconds_text_dark(start, 2) == 0, "with its seconds list disabled")
        click(start, 2 * TIMED[0], 2 * TIMED[1])
        check(seconds_text_dark(start, 2) > 20, "the doubled timed option enables it")
        click(start, 2 * GIOCA[0], 2 * GIOCA[1])
        game = wait_window(GAME_TITLE)
        check("gioca 30" in p.log(), "and the doubled Gioca starts a 30-second game")
        _, _, w, h = geometry(game)
        check((w, h) == (960, 1080), "on a 192-dpi screen the game window is 960 x 1080")
        check(wait_for(lambda: p.ticks() > 0), "the main tick runs")
        img = grab(game)
        blocks = all(img.px(2 * x, 2 * y) == img.px(2 * x + 1, 2 * y) == img.px(2 * x, 2 * y + 1)
                     == img.px(2 * x + 1, 2 * y + 1) for y in range(0, 540, 7) for x in range(0, 480, 5))
        check(blocks, "every picture pixel is a 2 x 2 block")
        small = Image(480, 540, b"".join(img.data[((2 * y) * 960 + 2 * x) * 3:((2 * y) * 960 + 2 * x) * 3 + 3]
                                         for y in range(540) for x in range(480)))
        area = small.crop(40, 40, 400, 400)
        bmp = os.path.join(data, "gameb2.bmp")
        bh = int(subprocess.run(["identify", "-format", "%h", bmp], capture_output=True, text=True).stdout)
        view = load_picture(bmp, "400x400+0+%d" % (bh - 400))
        same = sum(1 for i in range(0, len(area.data), 3) if area.data[i:i + 3] == view.data[i:i + 3])
        check(same > 0.8 * 400 * 400, "the doubled play area is the background's start view")
        n0 = len(p.log())
        click(game, 2 * 101 + 1, 2 * 471 + 1)  # on the inventory bar: steers nothing
        events = [e for e in p.log()[n0:] if e != "tick"]
        check(events[:3] == ["mousedown 1 101 471", "mouseup 1 101 471", "click"],
              "a click on screen pixel (203, 943) reaches the game at (101, 471): %r" % events[:3])
        time.sleep(0.7)
        n0 = len(p.log())
        xdo("click", "--repeat", 2, "--delay", 120, 1)
        time.sleep(0.4)
        events = [e.split()[0] for e in p.log()[n0:] if e != "tick"]
        check(events == ["mousedown", "mouseup", "click", "dblclick", "mouseup"],
              "a double click comes as Down, Up, Click, DblClick, Up: %r" % events)
    finally:
        p.close()


CASES = {"start_dialog": case_start_dialog, "start_dialog_closed": case_start_dialog_closed,
         "info_dialogs": case_info_dialogs, "play": case_play, "game_window_closed": case_game_window_closed,
         "error_box": case_error_box, "hostile_data": case_hostile_data, "unreadable_data": case_unreadable_data,
         "large_screen": case_large_screen}
# Cases that bring their own screen.
OWN_SCREEN = {"large_screen": "-screen 0 1280x1200x24 -dpi 192 -noreset"}


def main():
    if len(sys.argv) != 4 or sys.argv[3] not in CASES:
        print(__doc__)
        return 2
    case = sys.argv[3]
    if case in OWN_SCREEN and not os.environ.get("LEXOVO_TEST_OWN_SCREEN"):
        os.environ["LEXOVO_TEST_OWN_SCREEN"] = "1"
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", OWN_SCREEN[case], sys.executable, *sys.argv])
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", SCREEN, sys.executable, *sys.argv])
    exe, data, case = sys.argv[1:]
    try:
        CASES[case](exe, data)
    except Failure as f:
        print("FAILED:", f)
        return 1
    print("passed:", case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
