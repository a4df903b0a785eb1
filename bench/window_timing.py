#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The real game under X (Xvfb when there is no DISPLAY): start-up to the
first frame and the period of the main tick.

    window_timing.py PROGRAM [--runs N] [--seconds S]

For each of N fresh starts: the time from starting the process to the start
dialog on the screen, and from pressing "Gioca" to the first tick (the first
composed frame), read from the program's own log (LEXOVO_TEST_LOG, one line
per tick with its clock in ms). Then one game played for S seconds with the
right arrow held: the period between consecutive ticks, mean and 99th
percentile. Needs xdotool.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

START_TITLE = "Gioco di Lexovo (versioni 4.0 e 5.0)"
GAME_TITLE = "Gioco di Lexovo"
GIOCA = (336 + 28, 240 + 12)  # the start dialog's Gioca button, in its own pixels


def xdo(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True).stdout


def find(title):
    out = xdo("search", "--onlyvisible", "--name",
              "^" + title.replace("(", "\\(").replace(")", "\\)") + "$")
    return [int(w) for w in out.split()]


def wait(pred, timeout, step=0.002):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        v = pred()
        if v:
            return v
        time.sleep(step)
    raise SystemExit("timed out")


def log_lines(path):
    try:
        with open(path) as f:
            return [l.split(None, 1) for l in f if " " in l]
    except FileNotFoundError:
        return []


def start(exe, workdir):
    log = os.path.join(workdir, "log.txt")
    if os.path.exists(log):
        os.remove(log)
    env = dict(os.environ, LEXOVO_TEST_LOG=log, SDL_AUDIODRIVER="dummy")
    t0 = time.monotonic()
    proc = subprocess.Popen([exe], env=env, cwd=workdir)
    win = wait(lambda: find(START_TITLE), 20)[0]
    t_dialog = time.monotonic() - t0
    time.sleep(0.3)
    geo = dict(l.split("=") for l in xdo("getwindowgeometry", "--shell", win).split())
    xdo("mousemove", int(geo["X"]) + GIOCA[0], int(geo["Y"]) + GIOCA[1])
    time.sleep(0.1)
    t_click = time.monotonic()
    xdo("click", 1)
    wait(lambda: any(l[1].strip() == "tick" for l in log_lines(log)), 20)
    t_first = time.monotonic() - t_click
    lines = log_lines(log)
    g = next(int(l[0]) for l in lines if l[1].startswith("gioca"))
    f = next(int(l[0]) for l in lines if l[1].strip() == "tick")
    return proc, log, t_dialog, t_first, f - g


def main():
    args = sys.argv[1:]
    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24", sys.executable, __file__, *args])
    exe = os.path.abspath(args[0])
    runs = int(args[args.index("--runs") + 1]) if "--runs" in args else 5
    seconds = float(args[args.index("--seconds") + 1]) if "--seconds" in args else 60
    work = tempfile.mkdtemp(prefix="lexovo-timing-")
    dialog, first, in_game = [], [], []
    for i in range(runs):
        proc, log, td, tf, fg = start(exe, work)
        dialog.append(td * 1000)
        first.append(tf * 1000)
        in_game.append(fg)
        if i < runs - 1:
            proc.kill()
            proc.wait()
    # The last game keeps going: the right arrow held, ticks counted.
    game = wait(lambda: find(GAME_TITLE), 10)[0]
    xdo("windowactivate", "--sync", game)
    xdo("keydown", "Right")
    time.sleep(seconds)
    xdo("keyup", "Right")
    proc.kill()
    proc.wait()
    ticks = [int(l[0]) for l in log_lines(log) if l[1].strip() == "tick"]
    periods = [b - a for a, b in zip(ticks, ticks[1:])]
    periods.sort()
    p99 = periods[min(len(periods) - 1, int(0.99 * len(periods)))]
    print("process start to start dialog on screen: median %.0f ms (runs: %s)"
          % (statistics.median(dialog), ", ".join("%.0f" % d for d in dialog)))
    print("Gioca pressed to first tick (first composed frame): median %.0f ms wall, %.0f ms by the game's clock"
          % (statistics.median(first), statistics.median(in_game)))
    print("start-up without the player's time in the dialog: median %.0f ms"
          % statistics.median([a + b for a, b in zip(dialog, first)]))
    print("tick period over %d ticks (%.0f s): mean %.2f ms, p99 %d ms, min %d ms, max %d ms"
          % (len(periods), seconds, statistics.mean(periods), p99, periods[0], periods[-1]))


if __name__ == "__main__":
    main()
