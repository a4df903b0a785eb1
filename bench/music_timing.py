#!/usr/bin/env python3
"""The music's cost in the real window under X (Xvfb when there is no
DISPLAY): peak memory, and the 'm' key hammered, with the tunes' recordings
and with FluidSynth alone, in the same run.

    music_timing.py PROGRAM DATA_DIR [--rounds N]

PROGRAM is a test build's game (it reads LEXOVO_TEST_LOG, one line per tick
with its clock in ms). Two data folders take turns, round by round: DATA_DIR
as built ("recordings": intro3.mp3 and symphony.mp3 beside the .mid files)
and a copy without the recordings ("FluidSynth": the tunes played through
the synthesiser with the FluidR3 soundfont, as before). Each round starts
the game, plays for 4 s with the music on, then types 'm' 200 times in
about half a second and asks the window to close. Per round:

- peak RSS: VmHWM of the game just before the close request;
- tick lateness while 'm' is hammered: how much later than 60 ms after the
  one before each tick came, from the first 'm' to 2 s after the last
  (worst and 99th percentile, over the rounds' ticks together);
- close to exit: from the close request to the end of the process.

The sound goes to SDL's dummy driver (the mixing is done, nothing is heard).
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from window_timing import GAME_TITLE, GIOCA, START_TITLE, find, log_lines, wait, xdo  # noqa: E402

PRESSES = 200


def peak_rss_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmHWM:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def close_window(win):
    """What a window manager's close button does: WM_DELETE_WINDOW."""
    helper = os.environ.get("LEXOVO_X_HELPER")
    if helper:
        subprocess.run([helper, "close", str(win)], check=True)
    else:
        xdo("windowclose", win)


def one_round(exe, work):
    log = os.path.join(work, "log.txt")
    if os.path.exists(log):
        os.remove(log)
    env = dict(os.environ, LEXOVO_TEST_LOG=log, SDL_AUDIODRIVER="dummy")
    env.pop("SDL_SOUNDFONTS", None)
    proc = subprocess.Popen([exe], env=env, cwd=work)
    start = wait(lambda: find(START_TITLE), 30)[0]
    time.sleep(0.3)
    geo = dict(l.split("=") for l in xdo("getwindowgeometry", "--shell", start).split())
    xdo("mousemove", int(geo["X"]) + GIOCA[0], int(geo["Y"]) + GIOCA[1])
    time.sleep(0.1)
    xdo("click", 1)
    game = wait(lambda: find(GAME_TITLE), 30)[0]
    geo = dict(l.split("=") for l in xdo("getwindowgeometry", "--shell", game).split())
    xdo("mousemove", int(geo["X"]) + 240, int(geo["Y"]) + 500)
    time.sleep(4.0)
    first_m = len(log_lines(log))
    t0 = time.monotonic()
    xdo("key", "--delay", "0", *(["m"] * PRESSES))
    typed = time.monotonic() - t0
    time.sleep(2.0)
    rss = peak_rss_mb(proc.pid)
    lines = log_lines(log)
    t_close = time.monotonic()
    close_window(game)
    proc.wait(120)
    to_exit = time.monotonic() - t_close
    # The ticks from the first 'm' on: each one's distance from the last.
    m_at = next(int(l[0]) for l in lines[first_m:] if l[1].strip() == "keypress 109")
    ticks = [int(l[0]) for l in lines if l[1].strip() == "tick"]
    window = [t for t in ticks if t >= m_at - 60]
    late = [b - a - 60 for a, b in zip(window, window[1:])]
    presses = sum(1 for l in lines[first_m:] if l[1].strip() == "keypress 109")
    return dict(rss=rss, late=late, to_exit=to_exit * 1000, typed=typed * 1000, presses=presses)


def main():
    args = sys.argv[1:]
    if len(args) < 2:
        print(__doc__)
        return 2
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24 -noreset", sys.executable, __file__,
                               *args])
    exe, data = os.path.abspath(args[0]), os.path.abspath(args[1])
    rounds = int(args[args.index("--rounds") + 1]) if "--rounds" in args else 3
    root = tempfile.mkdtemp(prefix="lexovo-music-")
    # Each variant: the program beside its data folder (the game reads its data from beside itself).
    variants = {}
    for name, keep in (("recordings", lambda f: True), ("FluidSynth", lambda f: not f.endswith(".mp3"))):
        folder = os.path.join(root, name)
        os.makedirs(folder)
        for f in os.listdir(data):
            if f.endswith((".bmp", ".wav", ".mid", ".mp3")) and keep(f):
                os.symlink(os.path.join(data, f), os.path.join(folder, f))
        variants[name] = shutil.copy(exe, folder)
    results = {name: [] for name in variants}
    try:
        for r in range(rounds):
            for name, program in variants.items():
                results[name].append(one_round(program, os.path.dirname(program)))
    finally:
        shutil.rmtree(root, ignore_errors=True)
    print("%-12s %14s %16s %14s %16s %12s" % ("music", "peak_rss_mb", "late_worst_ms", "late_p99_ms", "close_to_exit_ms",
                                              "m_reached"))
    for name, rs in results.items():
        late = sorted(x for r in rs for x in r["late"])
        p99 = late[min(len(late) - 1, int(0.99 * len(late)))]
        print("%-12s %14.1f %16d %14d %16.0f %12s" % (
            name, max(r["rss"] for r in rs), late[-1], p99, statistics.median(r["to_exit"] for r in rs),
            "/".join(str(r["presses"]) for r in rs)))
        print("  rounds: rss %s MB; worst lateness %s ms; close to exit %s ms; %d presses typed in %s ms" % (
            ", ".join("%.1f" % r["rss"] for r in rs), ", ".join(str(max(r["late"])) for r in rs),
            ", ".join("%.0f" % r["to_exit"] for r in rs), PRESSES, ", ".join("%.0f" % r["typed"] for r in rs)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
