#!/usr/bin/env python3
"""The desktop comforts in the real window under X (Xvfb), driven by xdotool:
any window size and full screen, the three ways a frame reaches the screen,
a game recorded and played back, and a game that writes no file and starts
no program.

    desktop_test.py PROGRAM DATA_DIR CASE

DATA_DIR is the build's bin/ folder (lexovo-replay and the data files).
LEXOVO_TEST_SHOTS, if set, names a folder that gets the screenshots taken
on the way (to look at by eye). Each case brings its own X screen.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import window_test as w  # noqa: E402
from window_test import Failure, check, xdo, wait_for  # noqa: E402

F11, ENTER = 122, 13  # virtual-key codes the game must never see for the front end's keys


def launch(exe, folder, *args, extra_env=None, log=True):
    env = dict(os.environ, SDL_AUDIODRIVER="dummy")
    env.pop("LEXOVO_SCALE", None)
    if log:
        env["LEXOVO_TEST_LOG"] = os.path.join(folder, "log.txt")
    env.update(extra_env or {})
    p = w.Program.__new__(w.Program)
    # Program.close() removes p.dir: the case's own folder is the case's to remove.
    p.dir = tempfile.mkdtemp(prefix="lexovo-program-")
    p.log_path = os.path.join(folder, "log.txt")
    p.proc = subprocess.Popen([exe, *args], env=env, cwd=folder)
    return p


def start_free_play(p):
    start = w.wait_window(w.START_TITLE)
    w.click(start, *w.GIOCA)
    game = w.wait_window(w.GAME_TITLE)
    check(wait_for(lambda: p.ticks() > 2), "the game ticks")
    return game


def shot(img_win, name):
    folder = os.environ.get("LEXOVO_TEST_SHOTS")
    if folder:
        os.makedirs(folder, exist_ok=True)
        subprocess.run(["import", "-window", str(img_win), os.path.join(folder, name + ".png")], check=True)


def game_pixels(img, scale, ox, oy, region):
    """The game pixels of a region (gx, gy, gw, gh) as the window shows them."""
    gx, gy, gw, gh = region
    return [img.px(ox + (gx + x) * scale, oy + (gy + y) * scale) for y in range(gh) for x in range(gw)]


def letterbox(ww, wh):
    s = max(1, min(ww // 480, wh // 540))
    return s, (ww - 480 * s) // 2, (wh - 540 * s) // 2


# The frame's top and the inventory bar do not change while nothing is
# carried: every size must show them pixel for pixel as 1x does.
STILL = [(0, 0, 480, 40), (0, 440, 480, 100)]


def check_picture(game, ref, what, tolerance=0):
    """The window shows the game picture at the letterbox's scale, in whole
    blocks, with black around it."""
    _, _, ww, wh = w.geometry(game)
    s, ox, oy = letterbox(ww, wh)
    img = w.grab(game)
    for region in STILL:
        got = game_pixels(img, s, ox, oy, region)
        bad = [i for i, (a, b) in enumerate(zip(got, ref[region]))
               if any(abs(u - v) > tolerance for u, v in zip(a, b))]
        first = "" if not bad else ", %d differ, first at game pixel (%d, %d): %r against %r" % (
            len(bad), region[0] + bad[0] % region[2], region[1] + bad[0] // region[2], got[bad[0]], ref[region][bad[0]])
        check(not bad, "%s: %dx, the frame and bar as at 1x%s" % (what, s, first))
    blocks = all(all(abs(u - v) <= tolerance for u, v in zip(img.px(ox + x * s + s - 1, oy + y * s + s - 1),
                                                                  img.px(ox + x * s, oy + y * s)))
                 for y in range(0, 540, 11) for x in range(0, 480, 7))
    check(blocks, "%s: every game pixel is a %d x %d block" % (what, s, s))
    on_picture = lambda x, y: ox <= x < ox + 480 * s and oy <= y < oy + 540 * s
    border = [img.px(x, y) for x, y in ((0, 0), (ww - 1, wh - 1), (ox - 1, wh // 2), (ww // 2, oy - 1),
                                        (ox + 480 * s, wh // 2), (ww // 2, oy + 540 * s))
              if 0 <= x < ww and 0 <= y < wh and not on_picture(x, y)]
    check(all(c == (0, 0, 0) for c in border), "%s: black around the picture (%d border points)" % (what, len(border)))
    return s, ox, oy


def click_game(p, game, gx, gy, what):
    """Clicks game pixel (gx, gy) through the window as it is now and checks
    the game hears exactly that pixel."""
    wx, wy, ww, wh = w.geometry(game)
    s, ox, oy = letterbox(ww, wh)
    n0 = len(p.log())
    xdo("mousemove", wx + ox + gx * s + s - 1, wy + oy + gy * s + s - 1)
    time.sleep(0.1)
    xdo("click", 1)
    ok = wait_for(lambda: "mousedown 1 %d %d" % (gx, gy) in p.log()[n0:], 2.0)
    events = [e for e in p.log()[n0:] if e != "tick"]
    check(ok and events[:3] == ["mousedown 1 %d %d" % (gx, gy), "mouseup 1 %d %d" % (gx, gy), "click"],
          "%s: a click on game pixel (%d, %d) reaches the game there: %r" % (what, gx, gy, events[:3]))
    time.sleep(0.6)  # no double click with the next one


def click_border(p, game, x, y, what):
    wx, wy, _, _ = w.geometry(game)
    n0 = len(p.log())
    xdo("mousemove", wx + x, wy + y)
    time.sleep(0.1)
    xdo("click", 1)
    time.sleep(0.4)
    events = [e for e in p.log()[n0:] if e != "tick"]
    check(events == [], "%s: a click on the black border at (%d, %d) reaches nothing: %r" % (what, x, y, events))


def walk_right_and_switch_music(game, seconds):
    gx, gy, _, _ = w.geometry(game)
    xdo("mousemove", gx + 240, gy + 500)
    xdo("keydown", "Right")
    time.sleep(seconds)
    xdo("keyup", "Right")
    w.key("m")
    w.key("m")


def resize(game, ww, wh):
    # Whole on the screen: X keeps nothing of a window's parts off the screen.
    xdo("windowmove", game, 0, 0)
    xdo("windowsize", game, ww, wh)
    check(wait_for(lambda: w.geometry(game)[2:] == (ww, wh), 3.0), "the window takes the size %d x %d" % (ww, wh))
    time.sleep(0.4)


def case_sizes(exe, data):
    """On a 1600 x 1700 screen: 1x, 2x, 2x with borders, 3x, a size that
    leaves 1x, full screen by F11 and back by Alt+Enter."""
    folder = tempfile.mkdtemp(prefix="lexovo-sizes-")
    p = launch(exe, folder, extra_env={"LEXOVO_SCALE": "1"})
    try:
        game = start_free_play(p)
        check((w.geometry(game)[2:]) == (480, 540), "LEXOVO_SCALE=1 opens the window at 480 x 540")
        check("present shared memory" in p.log(), "frames go to the screen through shared memory")
        time.sleep(0.5)
        one = w.grab(game)
        ref = {r: game_pixels(one, 1, 0, 0, r) for r in STILL}
        shot(game, "1x")
        check_picture(game, ref, "480 x 540")
        for gx, gy in ((101, 471), (0, 539), (479, 450)):
            click_game(p, game, gx, gy, "1x")

        for ww, wh, name in ((960, 1080, "2x"), (1000, 1100, "2x-border"), (1440, 1620, "3x"), (1300, 1000, "1x-border")):
            resize(game, ww, wh)
            s, ox, oy = check_picture(game, ref, "%d x %d" % (ww, wh))
            shot(game, name)
            click_game(p, game, 101, 471, name)
            click_game(p, game, 479, 539, name)
            if ox > 0:
                click_border(p, game, ox - 1, wh // 2, name)
                click_border(p, game, ox + 480 * s, oy + 500 * s, name)
            if oy > 0:
                click_border(p, game, ww // 2, oy - 1, name)

        # Full screen and back: the front end keeps both keys to itself.
        resize(game, 960, 1080)
        n0 = len(p.log())
        xdo("mousemove", 800, 1000)
        w.key("F11")
        game = w.wait_window(w.GAME_TITLE)
        check(wait_for(lambda: w.geometry(game)[2:] == (1600, 1700), 3.0), "F11 fills the screen: %r" % (w.geometry(game),))
        s, ox, oy = check_picture(game, ref, "full screen")
        check((s, ox, oy) == (3, 80, 40), "full screen shows 3x from (80, 40)")
        shot(game, "full-screen")
        click_game(p, game, 101, 471, "full screen")
        click_game(p, game, 240, 286, "full screen")
        click_border(p, game, 40, 850, "full screen")
        click_border(p, game, 800, 10, "full screen")
        w.key("alt+Return")
        game = w.wait_window(w.GAME_TITLE)
        check(wait_for(lambda: w.geometry(game)[2:] == (960, 1080), 3.0),
              "Alt+Enter gives back the window as it was: %r" % (w.geometry(game),))
        check_picture(game, ref, "after full screen")
        click_game(p, game, 60, 500, "after full screen")
        kept = [e for e in p.log()[n0:] if e.split()[:2] in (["keydown", str(F11)], ["keyup", str(F11)],
                                                                ["keydown", str(ENTER)], ["keyup", str(ENTER)],
                                                                ["keypress", str(ENTER)])]
        check(kept == [], "neither F11 nor Alt+Enter reaches the game, down or up: %r" % kept)
        check(p.running(), "the game goes on")
    finally:
        p.close()
        shutil.rmtree(folder, ignore_errors=True)


def replay_shot(data, ticks, folder):
    """What the game window shows after `ticks` ticks of free play, from the replay tool."""
    script = os.path.join(folder, "shot.txt")
    png = os.path.join(folder, "shot.png")
    with open(script, "w") as f:
        f.write("gioca\ntick %d\nshot %s\n" % (ticks, png))
    subprocess.run([os.path.join(data, "lexovo-replay"), script, "--trace", os.devnull], check=True)
    return w.load_picture(png, "480x540+0+0")


def case_present(exe, data, path, tolerance):
    folder = tempfile.mkdtemp(prefix="lexovo-present-")
    p = launch(exe, folder)
    try:
        game = start_free_play(p)
        check("present " + path in p.log(), "frames go to the screen as %r" % path)
        time.sleep(0.5)
        got = w.grab(game)
        want = replay_shot(data, 10, folder)
        shot(game, path.replace(" ", "-"))
        for region in STILL + [(40, 40, 400, 400)]:
            a = game_pixels(got, 1, 0, 0, region)
            b = game_pixels(want, 1, 0, 0, region)
            close = sum(1 for x, y in zip(a, b) if all(abs(u - v) <= tolerance for u, v in zip(x, y)))
            need = len(a) if region in STILL else 0.95 * len(a)
            check(close >= need, "%s: %d of %d pixels of %r as the game drew them (within %d)"
                  % (path, close, len(a), region, tolerance))
        resize(game, 960, 1080)
        check_picture(game, {r: game_pixels(got, 1, 0, 0, r) for r in STILL}, path + " at 2x", tolerance)
    finally:
        p.close()
        shutil.rmtree(folder, ignore_errors=True)


def case_present_image(exe, data):
    case_present(exe, data, "image", 0)


def case_present_converted(exe, data):
    # A 16-bit screen keeps 5 or 6 bits of each colour, and FLTK dithers.
    case_present(exe, data, "converted", 16)


def case_present_shared(exe, data):
    case_present(exe, data, "shared memory", 0)


def first_difference(a, b):
    import json
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            jx, jy = json.loads(x), json.loads(y)
            keys = [k for k in jx if jx.get(k) != jy.get(k)] or ["(key order)"]
            return "line %d differs first at %r: %r against %r" % (i + 1, keys[0], jx.get(keys[0]), jy.get(keys[0]))
    if len(a) != len(b):
        return "%d lines against %d" % (len(a), len(b))
    return None


def read_lines(path):
    with open(path) as f:
        return f.read().splitlines()


def case_record_replay(exe, data):
    """A game played by hand with --record: lexovo-replay's trace of the
    recording is the one the window wrote while it was played, and --play
    plays the recording back to that trace again."""
    folder = tempfile.mkdtemp(prefix="lexovo-record-")
    record = os.path.join(folder, "partita.txt")
    trace = os.path.join(folder, "window-trace.jsonl")
    p = launch(exe, folder, "--record", record, extra_env={"LEXOVO_TEST_TRACE": trace})
    try:
        start = w.wait_window(w.START_TITLE)
        w.click(start, *w.TIMED)
        sx, sy, sw, sh = w.SECONDS
        w.click(start, sx + sw // 2, sy + sh // 2)
        w.key("Down", "Down", "Down", "Return")  # 120 seconds
        w.click(start, *w.GIOCA)
        game = w.wait_window(w.GAME_TITLE)
        check(wait_for(lambda: p.ticks() > 3), "the game ticks")
        gx, gy, _, _ = w.geometry(game)
        # Walk, the music off and on, jump, come back.
        walk_right_and_switch_music(game, 0.8)
        w.key("shift+Right")
        time.sleep(1.0)
        xdo("keydown", "Left")
        time.sleep(2.0)
        xdo("keyup", "Left")
        # The fly's book: found, opened (the game stands still meanwhile), taken.
        xdo("mousemove", gx + 82, gy + 294)
        time.sleep(0.4)
        xdo("click", 1)
        time.sleep(1.2)
        xdo("click", 1)
        time.sleep(0.6)
        # Dragged out of the bar and dropped in the wrong place, at 2x.
        resize(game, 960, 1080)
        gx, gy, _, _ = w.geometry(game)
        xdo("mousemove", gx + 100, gy + 940)
        time.sleep(0.2)
        xdo("mousedown", 1)
        time.sleep(0.2)
        for k in range(1, 6):
            xdo("mousemove", gx + 100 + 100 * k, gy + 940 - 120 * k)
            time.sleep(0.1)
        xdo("mousemove", gx + 1100, gy + 200)  # past the window's edge with the button held
        time.sleep(0.2)
        xdo("mousemove", gx + 600, gy + 400)
        time.sleep(0.2)
        xdo("mouseup", 1)
        time.sleep(0.5)
        # Esc, a second's thought, No; then Esc and Yes.
        xdo("mousemove", gx + 480, gy + 1000)
        w.key("Escape")
        box = w.wait_window("Uscita dal gioco")
        time.sleep(1.0)
        bx, by, bw, bh = w.geometry(box)
        xdo("mousemove", bx + bw // 2, by + 8)
        w.key("Return")
        check(w.wait_gone("Uscita dal gioco"), "No answers the box")
        time.sleep(0.5)
        xdo("mousemove", gx + 480, gy + 1000)
        w.key("Escape")
        box = w.wait_window("Uscita dal gioco")
        bx, by, bw, bh = w.geometry(box)
        # The box is doubled with the window: Sì is the left of two 150-pixel buttons 12 apart.
        xdo("mousemove", bx + (bw - 312) // 2 + 75, by + bh - 24 - 23)
        time.sleep(0.1)
        xdo("click", 1)
        check(p.wait_exit() == 0, "Esc and Sì end the recorded game with status 0")

        script = read_lines(record)
        commands = [l for l in script if l and not l.startswith("#")]
        words = [l.split()[0] for l in commands]
        check(commands[0] == "gioca 120", "the recording starts with the start dialog's choice: %r" % commands[0])
        for word in ("tick", "keydown", "keyup", "keypress", "mousedown", "mousemove", "mouseup", "click",
                     "wait", "answer"):
            check(word in words, "the recording holds %s lines" % word)
        check("mousemove 550 100" in script, "a move past the window's edge is recorded as it was")
        window = read_lines(trace)
        dragged = [l for l in window if '"dragged_slot":0' in l and '"cmd":"mousemove"' in l]
        check(len(dragged) >= 5, "the fly was taken from its book and dragged (%d moves)" % len(dragged))
        check(len(window) > 100, "the window wrote its trace while it was played (%d lines)" % len(window))
        check('"ended":true' in window[-1], "the last line of the window's trace ends the program")

        replayed = os.path.join(folder, "replay-trace.jsonl")
        r = subprocess.run([os.path.join(data, "lexovo-replay"), record, "--trace", replayed])
        check(r.returncode == 0, "lexovo-replay reads the recording")
        diff = first_difference(read_lines(replayed), window)
        check(diff is None, "lexovo-replay's trace of the recording is the window's, line by line (%s)" % diff)

        # --play: the same game again in the window, at its own pace.
        played = os.path.join(folder, "play-trace.jsonl")
        q = launch(exe, folder, "--play", record, extra_env={"LEXOVO_TEST_TRACE": played, "LEXOVO_SCALE": "1"},
                   log=False)
        check(w.wait_window(w.GAME_TITLE) is not None, "--play opens the game window without the start dialog")
        check(not w.windows(w.START_TITLE), "and no start dialog")
        check(w.wait_window("Uscita dal gioco", 60) is not None, "the recorded question comes up by itself")
        code = q.proc.wait(90)
        check(code == 0, "the recording's own ending ends the program")
        diff = first_difference(read_lines(played), window)
        check(diff is None, "--play traces the recording as it was played (%s)" % diff)
    finally:
        p.close()
        if os.environ.get("LEXOVO_TEST_KEEP"):
            print("kept:", folder)
        else:
            shutil.rmtree(folder, ignore_errors=True)


def case_memory(exe, data):
    """With the tunes' recordings the real window, music playing, stays
    within 64 MB of memory at its peak."""
    check(all(os.path.exists(os.path.join(data, t)) for t in ("intro3.mp3", "symphony.mp3")),
          "the tunes' recordings were made by the build")
    folder = tempfile.mkdtemp(prefix="lexovo-memory-")
    p = launch(exe, folder)
    try:
        game = start_free_play(p)
        walk_right_and_switch_music(game, 1.0)
        time.sleep(3.0)
        with open("/proc/%d/status" % p.proc.pid) as f:
            peak = next(int(l.split()[1]) for l in f if l.startswith("VmHWM:")) / 1024.0
        check(peak <= 64, "peak memory of the game window with its music: %.1f MB (at most 64)" % peak)
    finally:
        p.close()
        shutil.rmtree(folder, ignore_errors=True)


def case_quiet(exe, data):
    """The game as players get it: started with no session bus and a fresh
    home, played and ended, it starts no program and writes no file, even
    when told of a test log."""
    folder = tempfile.mkdtemp(prefix="lexovo-quiet-")
    home = os.path.join(folder, "home")
    fake = os.path.join(folder, "bin")
    marker = os.path.join(folder, "started")
    os.makedirs(home)
    os.makedirs(fake)
    with open(os.path.join(fake, "dbus-launch"), "w") as f:
        f.write("#!/bin/sh\necho \"$0 $*\" >> %s\nexit 1\n" % marker)
    os.chmod(os.path.join(fake, "dbus-launch"), 0o755)
    strace = os.path.join(folder, "strace.txt")
    env = {k: v for k, v in os.environ.items() if k not in ("DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR")}
    env.update(HOME=home, PATH=fake + ":" + env.get("PATH", "/usr/bin:/bin"), SDL_AUDIODRIVER="dummy",
               LEXOVO_TEST_LOG=os.path.join(folder, "log.txt"), XAUTHORITY=env.get("XAUTHORITY", ""))
    proc = subprocess.Popen(["strace", "-f", "-qq", "-o", strace, "-e",
                             "trace=execve,open,openat,creat,mkdir,mkdirat,rename,renameat,renameat2,link,symlink,"
                             "truncate,unlink,unlinkat", exe], env=env, cwd=folder)
    try:
        start = w.wait_window(w.START_TITLE, 30)
        w.click(start, *w.GIOCA)
        game = w.wait_window(w.GAME_TITLE, 30)
        time.sleep(1.5)
        gx, gy, _, _ = w.geometry(game)
        xdo("mousemove", gx + 240, gy + 500)
        w.key("m")
        w.key("Escape")
        box = w.wait_window("Uscita dal gioco", 10)
        _, _, bw, bh = w.geometry(box)
        w.click(box, (bw - 156) // 2 + 37, bh - 12 - 11)
        check(proc.wait(30) == 0, "the game ends with status 0")
        calls = read_lines(strace)
        execs = [l for l in calls if "execve(" in l and "= 0" in l]
        check(len(execs) == 1, "no program is started besides the game itself: %r" % execs)
        check(not os.path.exists(marker), "dbus-launch was never run")
        writes = [l for l in calls if ("O_WRONLY" in l or "O_RDWR" in l or "O_CREAT" in l or "creat(" in l
                                       or "mkdir" in l or "rename" in l or "link(" in l or "unlink" in l
                                       or "truncate(" in l) and "= -1" not in l
                  and not any(d in l for d in ('"/dev/', '"/proc/', '"/sys/'))]
        check(writes == [], "no file is written, made or removed: %r" % writes[:5])
        left = [os.path.join(r, f) for r, _, fs in os.walk(home) for f in fs]
        check(left == [] and os.listdir(home) == [], "the home folder stays empty: %r" % (left or os.listdir(home)))
        check(not os.path.exists(os.path.join(folder, "log.txt")), "LEXOVO_TEST_LOG is nothing to a player's build")
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
        shutil.rmtree(folder, ignore_errors=True)


CASES = {"sizes": case_sizes, "present_shared": case_present_shared, "present_image": case_present_image,
         "present_converted": case_present_converted, "record_replay": case_record_replay, "quiet": case_quiet,
         "memory": case_memory}
SCREENS = {
    "sizes": "-screen 0 1600x1700x24",
    "present_shared": "-screen 0 1024x1100x24",
    "present_image": "-screen 0 1024x1100x24 -extension MIT-SHM",
    "present_converted": "-screen 0 1024x1100x16",
    "record_replay": "-screen 0 1280x1200x24",
    "quiet": "-screen 0 1024x768x24",
    "memory": "-screen 0 1024x768x24",
}


def main():
    if len(sys.argv) != 4 or sys.argv[3] not in CASES:
        print(__doc__)
        return 2
    case = sys.argv[3]
    if not os.environ.get("LEXOVO_TEST_OWN_SCREEN"):
        os.environ["LEXOVO_TEST_OWN_SCREEN"] = "1"
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", SCREENS[case] + " -nolisten tcp -noreset", sys.executable,
                               *sys.argv])
    exe, data = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    try:
        CASES[case](exe, data)
    except Failure as f:
        print("FAILED:", f)
        return 1
    print("passed:", case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
