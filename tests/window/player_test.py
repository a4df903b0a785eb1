#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A player's session in the real window, end to end: the start dialog, a
timed game, walking, a book opened and closed, its object taken and
dragged, Esc answered No and then Yes. The sound goes through SDL's disk
driver into a file, which shows the intro tune and the effects playing.

    player_test.py PROGRAM DATA_DIR
"""
import array
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import window_test as w  # noqa: E402

RATE, CHANNELS = 44100, 2  # what the sound layer opens


def rms(raw, start, end):
    """RMS of the 16-bit samples between two byte offsets of the recording."""
    start -= start % 4
    end -= end % 4
    if end <= start:
        return 0.0
    a = array.array("h")
    a.frombytes(raw[start:end])
    return (sum(v * v for v in a) / len(a)) ** 0.5


class Recording:
    """The disk driver writes as the sound plays: the file's size is a clock."""

    def __init__(self, path):
        self.path = path

    def mark(self):
        return os.path.getsize(self.path) if os.path.exists(self.path) else 0

    def level(self, a, b):
        with open(self.path, "rb") as f:
            return rms(f.read(), a, b)


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", w.SCREEN, sys.executable, *sys.argv])
    exe, data = sys.argv[1:]
    folder = tempfile.mkdtemp(prefix="lexovo-player-")
    audio = os.path.join(folder, "audio.raw")
    log_path = os.path.join(folder, "log.txt")
    env = dict(os.environ, LEXOVO_TEST_LOG=log_path, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=audio)
    proc = w.launch(exe, env, folder)
    p = w.Program.__new__(w.Program)
    p.dir, p.log_path, p.proc = folder, log_path, proc
    rec = Recording(audio)
    try:
        start = w.wait_window(w.START_TITLE)
        w.click(start, *w.TIMED)
        sx, sy, sw, sh = w.SECONDS
        w.click(start, sx + sw // 2, sy + sh // 2)
        w.key("Down", "Down", "Return")  # the third item
        w.click(start, *w.GIOCA)
        game = w.wait_window(w.GAME_TITLE)
        w.check("gioca 90" in p.log(), "the third item of the list starts a 90-second game")
        w.check(w.wait_for(lambda: p.ticks() > 3), "the game ticks")
        gx, gy, _, _ = w.geometry(game)

        a = rec.mark()
        time.sleep(2.0)
        b = rec.mark()
        w.check(b - a > RATE * CHANNELS * 2, "the sound output keeps writing (%d bytes in 2 s)" % (b - a))
        intro = rec.level(a, b)
        w.check(intro > 150, "the intro tune is playing (RMS %.0f)" % intro)

        # 'm' stops the tune: silence, which the effects below then break.
        w.xdo("mousemove", gx + 240, gy + 500)
        w.key("m")
        time.sleep(0.6)
        a = rec.mark()
        time.sleep(1.0)
        quiet = rec.level(a, rec.mark())
        w.check(quiet < 20, "after 'm' the music is silent (RMS %.0f)" % quiet)

        # Walking: the picture changes and the footsteps sound.
        before = w.grab(game).crop(40, 40, 400, 400)
        a = rec.mark()
        w.xdo("keydown", "Right")
        time.sleep(1.0)
        w.xdo("keyup", "Right")
        steps = rec.level(a, rec.mark())
        w.check(w.grab(game).crop(40, 40, 400, 400).data != before.data, "holding Right moves the picture")
        w.check(steps > 100, "the footsteps are heard (RMS %.0f)" % steps)
        time.sleep(0.4)
        # Back to the start of the floor, where book 3 stands.
        w.xdo("keydown", "Left")
        time.sleep(1.2)
        w.xdo("keyup", "Left")
        time.sleep(0.5)

        # The fly's book: the pointer finds it with a chime, a click opens it.
        a = rec.mark()
        w.xdo("mousemove", gx + 82, gy + 294)
        time.sleep(0.5)
        chime = rec.level(a, rec.mark())
        w.check(chime > 100, "the chime rings over the book (RMS %.0f)" % chime)
        w.xdo("click", 1)
        time.sleep(0.5)
        page = w.grab(game)
        paper = page.px(60, 60)
        w.check(paper[0] > 180 and paper[1] > 160 and paper[2] > 110, "the page covers the play area %r" % (paper,))
        ticks = p.ticks()
        time.sleep(0.5)
        w.check(p.ticks() == ticks, "the game stands still while the page is open")
        a = rec.mark()
        w.xdo("click", 1)
        time.sleep(0.6)
        pop = rec.level(a, rec.mark())
        w.check(w.wait_for(lambda: p.ticks() > ticks + 2), "the next click closes it and the game goes on")
        w.check(pop > 80, "the object drops into the bar with a pop (RMS %.0f)" % pop)
        bar = w.grab(game).crop(40, 440, 100, 60)
        empty = w.grab(game).crop(240, 440, 100, 60)
        w.check(bar.data != empty.data, "the fly sits in the first slot")

        # Dragging it: it follows the pointer, and a wrong place sends it back.
        w.xdo("mousemove", gx + 50, gy + 470)
        time.sleep(0.2)
        w.xdo("mousedown", 1)
        time.sleep(0.2)
        w.xdo("mousemove", gx + 300, gy + 200)
        time.sleep(0.4)
        held = w.grab(game)
        around = held.crop(300, 200, 61, 29)
        w.check(w.grab(game).crop(40, 440, 100, 60).data != bar.data, "its slot is empty while it is held")
        w.check(len(set(around.data[i:i + 3] for i in range(0, len(around.data), 3))) > 10,
                "the fly is drawn at the pointer")
        cursor = w.pointer_picture()
        w.check(not any(v >> 24 for v in cursor[4]), "the pointer itself is hidden while the fly is held")
        a = rec.mark()
        w.xdo("mouseup", 1)
        time.sleep(0.6)
        buzz = rec.level(a, rec.mark())
        w.check(buzz > 80, "a drop in the wrong place makes the refusal sound (RMS %.0f)" % buzz)
        w.check(w.grab(game).crop(40, 440, 100, 60).data == bar.data, "and the fly is back in its slot")

        # Esc: No goes on, Yes ends the program.
        w.xdo("mousemove", gx + 240, gy + 500)
        w.key("Escape")
        box = w.wait_window("Uscita dal gioco")
        bx, by, bw, bh = w.geometry(box)
        w.xdo("mousemove", bx + bw // 2, by + 8)
        w.key("Return")
        w.check(w.wait_gone("Uscita dal gioco") and proc.poll() is None, "Esc then No keeps the game running")
        w.xdo("mousemove", gx + 240, gy + 500)
        w.key("Escape")
        box = w.wait_window("Uscita dal gioco")
        _, _, bw, bh = w.geometry(box)
        w.click(box, (bw - 156) // 2 + 37, bh - 12 - 11)
        w.check(p.wait_exit() == 0, "Esc then Sì ends the program with status 0")
    except w.Failure as f:
        print("FAILED:", f)
        return 1
    finally:
        p.close()
    print("passed: player session")
    return 0


if __name__ == "__main__":
    sys.exit(main())
