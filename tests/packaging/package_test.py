#!/usr/bin/env python3
"""Tests of the installed game.

    package_test.py --build DIR --bin DIR --app-id ID --data-files A,B,.. --icon-sizes 32,48,.. CASE

install_tree  `cmake --install` into a scratch DESTDIR: exactly the expected
              files with the right modes, valid menu and AppStream entries,
              sound icons; a second prefix beside it; then the uninstall
              target removes all of it.
deb           `cpack -G DEB`, the package's control fields and contents,
              `apt-get install` of it on this machine, the INSTALLED game
              played under Xvfb (start dialog, Gioca, first frame), and
              `apt-get remove`. Needs root, dpkg and apt; exits 77 (skipped)
              otherwise, or when a lexovo package is installed already.
screenshot    packaging/screenshot.txt still plays through lexovo-replay and
              shoots a 480 x 540 picture (the one kept as docs/screenshot.png).
play EXE      (run by deb under xvfb-run) starts EXE, presses Gioca and
              looks at the first frame of the game window.
"""
import argparse
import os
import shutil
import stat
import subprocess
import sys
import tempfile
import time

SKIP = 77
PREFIX = "/opt/lexovo-test"  # any prefix works; the .deb uses /usr
START_TITLE = "Gioco di Lexovo (versioni 4.0 e 5.0)"
GAME_TITLE = "Gioco di Lexovo"
GIOCA = (336 + 28, 240 + 12)  # the start dialog's Gioca button, in its own pixels


class Failure(Exception):
    pass


def check(cond, what):
    if not cond:
        raise Failure(what)
    print("ok:", what, flush=True)


def run(cmd, **kw):
    kw.setdefault("capture_output", True)
    kw.setdefault("text", True)
    r = subprocess.run(cmd, **kw)
    return r


def must(cmd, what, **kw):
    r = run(cmd, **kw)
    if r.returncode != 0:
        out = (r.stdout or "") + (r.stderr or "") if kw.get("text", True) else ""
        raise Failure("%s: %s exited %d\n%s" % (what, " ".join(map(str, cmd)), r.returncode, out[-4000:]))
    return r


def expected_files(root, opts):
    """Every file the installation puts under prefix root, relative to /."""
    root = root.strip("/")
    files = {root + "/games/lexovo",
             root + "/share/applications/lexovo.desktop",
             root + "/share/metainfo/%s.metainfo.xml" % opts.app_id}
    files |= {root + "/share/games/lexovo/" + f for f in opts.data_files}
    files |= {root + "/share/icons/hicolor/%sx%s/apps/lexovo.png" % (s, s) for s in opts.icon_sizes}
    return files


def tree(top):
    files, dirs = set(), set()
    for d, subdirs, names in os.walk(top):
        rel = os.path.relpath(d, top)
        for s in subdirs:
            dirs.add(os.path.normpath(os.path.join(rel, s)))
        for n in names:
            files.add(os.path.normpath(os.path.join(rel, n)))
    return files, dirs


def desktop_entry(path):
    keys = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if "=" in line and not line.startswith("#"):
                k, _, v = line.rstrip("\n").partition("=")
                keys[k] = v
    return keys


def rgba(path):
    """(width, height, bytes) of a PNG as 8-bit RGBA, read through ImageMagick."""
    size = must(["identify", "-format", "%w %h %[channels]", path], "identify").stdout.split()
    raw = must(["convert", path, "-depth", "8", "rgba:-"], "convert", text=False).stdout
    return int(size[0]), int(size[1]), size[2], raw


def check_icon(path, size):
    w, h, channels, raw = rgba(path)
    check((w, h) == (size, size), "%dx%d icon is %d x %d" % (size, size, w, h))
    check("a" in channels, "%dx%d icon has an alpha channel (%s)" % (size, size, channels))
    a = lambda x, y: raw[(y * w + x) * 4 + 3]
    check(all(a(x, y) == 0 for x, y in [(0, 0), (w - 1, 0), (0, h // 2)]),
          "%dx%d icon is see-through round the book" % (size, size))
    opaque = [raw[i:i + 3] for i in range(0, len(raw), 4) if raw[i + 3] == 255]
    check(0.35 * w * h < len(opaque) < 0.9 * w * h, "%dx%d icon: the book covers %.0f%% of it"
          % (size, size, 100.0 * len(opaque) / (w * h)))
    red = sum(1 for r, g, b in opaque if r > 120 and r > 2 * g and r > 2 * b)
    dark = sum(1 for r, g, b in opaque if r < 50 and g < 50 and b < 50)
    check(red > 0.2 * len(opaque), "%dx%d icon: red leather (%d of %d pixels)" % (size, size, red, len(opaque)))
    check(dark > 0.02 * len(opaque), "%dx%d icon: dark glasses rims and outlines (%d pixels)" % (size, size, dark))


# --- install_tree -------------------------------------------------------------

def case_install_tree(opts):
    # The list of data files must follow the generators: every file they
    # wrote beside the game (everything there but programs) is installed.
    beside = {n for n in os.listdir(opts.bin) if os.path.isfile(os.path.join(opts.bin, n))
              and not os.access(os.path.join(opts.bin, n), os.X_OK)}
    check(beside == set(opts.data_files), "the installed data files are exactly those the build made beside the "
          "game (not installed: %s; not made: %s)" % (sorted(beside - set(opts.data_files)),
                                                     sorted(set(opts.data_files) - beside)))

    state = os.path.join(opts.build, "packaging")
    notes = ["installed_files.txt", "made_dirs.txt"]
    saved = tempfile.mkdtemp(prefix="lexovo-notes-")
    dest = tempfile.mkdtemp(prefix="lexovo-destdir-")
    # The notes of an installation made from this build folder by hand are
    # kept aside and put back afterwards.
    for n in notes:
        if os.path.exists(os.path.join(state, n)):
            shutil.copy2(os.path.join(state, n), saved)
            os.remove(os.path.join(state, n))
    try:
        env = dict(os.environ, DESTDIR=dest)
        must(["cmake", "--install", opts.build, "--prefix", PREFIX], "cmake --install", env=env)
        files, _ = tree(dest)
        want = expected_files(PREFIX, opts)
        check(files == want, "cmake --install places exactly the %d expected files (missing %s, extra %s)"
              % (len(want), sorted(want - files), sorted(files - want)))
        root = os.path.join(dest, PREFIX.strip("/"))
        exe = os.path.join(root, "games/lexovo")
        with open(exe, "rb") as f:
            check(f.read(4) == b"\x7fELF", "games/lexovo is the program")
        for rel in files:
            mode = stat.S_IMODE(os.stat(os.path.join(dest, rel)).st_mode)
            want_mode = 0o755 if rel.endswith("games/lexovo") else 0o644
            if mode != want_mode:
                raise Failure("%s has mode %o, not %o" % (rel, mode, want_mode))
        print("ok: the program is 755, every other file 644")
        for f in opts.data_files:
            with open(os.path.join(opts.bin, f), "rb") as a, open(os.path.join(root, "share/games/lexovo", f), "rb") as b:
                if a.read() != b.read():
                    raise Failure("share/games/lexovo/%s differs from the built one" % f)
        print("ok: the data files are the built ones")
        check(os.path.isfile(os.path.join(root, "games", "..", "share", "games", "lexovo", "gameb2.bmp")),
              "the data sit at ../share/games/lexovo from the program's folder")

        desktop = os.path.join(root, "share/applications/lexovo.desktop")
        keys = desktop_entry(desktop)
        check(keys.get("Exec") == PREFIX + "/games/lexovo", "the menu entry starts %s (Exec=%s)"
              % (PREFIX + "/games/lexovo", keys.get("Exec")))
        check(keys.get("Name") == "Gioco di Lexovo" and keys.get("Icon") == "lexovo"
              and keys.get("Categories", "").startswith("Game;"), "menu entry: Italian name, icon, a game")
        r = must(["desktop-file-validate", desktop], "desktop-file-validate")
        check(r.stdout.strip() == "", "desktop-file-validate finds nothing to report " + r.stdout.strip())
        meta = os.path.join(root, "share/metainfo/%s.metainfo.xml" % opts.app_id)
        r = run(["appstreamcli", "validate", "--no-net", "--explain", meta])
        print(r.stdout.strip())
        check(r.returncode == 0, "appstreamcli validate --no-net passes the metainfo")
        with open(meta, encoding="utf-8") as f:
            xml = f.read()
        check('<content_rating type="oars-1.1"' in xml and "<control>keyboard</control>" in xml
              and "<control>pointing</control>" in xml and 'type="default"' in xml,
              "the metainfo has the OARS rating, both controls and a default screenshot")
        for s in opts.icon_sizes:
            check_icon(os.path.join(root, "share/icons/hicolor/%sx%s/apps/lexovo.png" % (s, s)), int(s))

        # A second installation from the same build folder, into /usr: the
        # uninstall target takes both away.
        must(["cmake", "--install", opts.build, "--prefix", "/usr"], "cmake --install --prefix /usr", env=env)
        files, _ = tree(dest)
        check(files == want | expected_files("/usr", opts), "a second prefix gets its own complete copy")
        check(desktop_entry(os.path.join(dest, "usr/share/applications/lexovo.desktop")).get("Exec")
              == "/usr/games/lexovo", "whose menu entry starts /usr/games/lexovo")

        with open(os.path.join(state, "made_dirs.txt")) as f:
            made = [line.strip() for line in f if line.strip()]
        check(os.path.join(root, "share/icons/hicolor/48x48/apps") in made and root in made,
              "the installation notes the folders it makes (%d of them)" % len(made))

        must(["cmake", "--build", opts.build, "--target", "uninstall"], "the uninstall target")
        files, dirs = tree(dest)
        check(not files, "uninstall removes every installed file (left: %s)" % sorted(files))
        check(not os.path.exists(os.path.join(root, "share/games/lexovo")), "and the game's data folder")
        left = [d for d in made if os.path.exists(d)]
        check(not left, "and every folder the installation made (left: %s)" % left)
        check(not dirs, "nothing is left in the scratch folder (%s)" % sorted(dirs))
        check(not os.path.exists(os.path.join(state, "installed_files.txt")),
              "the uninstall target has nothing left to remove")
        r = run(["cmake", "--build", opts.build, "--target", "uninstall"])
        check(r.returncode != 0 and "Nothing to uninstall" in r.stdout + r.stderr,
              "a second uninstall says there is nothing to uninstall")
    finally:
        shutil.rmtree(dest, ignore_errors=True)
        for n in notes:
            if os.path.exists(os.path.join(state, n)):
                os.remove(os.path.join(state, n))
            if os.path.exists(os.path.join(saved, n)):
                shutil.move(os.path.join(saved, n), os.path.join(state, n))
        shutil.rmtree(saved, ignore_errors=True)


# --- screenshot -------------------------------------------------------------------

def case_screenshot(opts):
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "packaging", "screenshot.txt")
    scratch = tempfile.mkdtemp(prefix="lexovo-shot-")
    try:
        os.mkdir(os.path.join(scratch, "docs"))
        trace = os.path.join(scratch, "trace.jsonl")
        must([os.path.join(opts.bin, "lexovo-replay"), script, "--trace", trace], "lexovo-replay", cwd=scratch)
        shot = os.path.join(scratch, "docs", "screenshot.png")
        w, h, _, raw = rgba(shot)
        check((w, h) == (480, 540), "the screenshot script shoots the whole 480 x 540 window")
        colours = {raw[i:i + 3] for i in range(0, len(raw), 4 * 7)}
        check(len(colours) > 500, "a painted scene (%d colours)" % len(colours))
        with open(trace) as f:
            last = f.read().splitlines()[-1]
        check('"mosca"' in last, "with the fly taken from the diary in the inventory")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


# --- deb ------------------------------------------------------------------------

def installed_packages():
    out = run(["dpkg-query", "-W", "-f", "${Package}:${Architecture} ${db:Status-Abbrev}\n"]).stdout
    return {line.split()[0] for line in out.splitlines() if len(line.split()) > 1 and line.split()[1] == "ii"}


def case_deb(opts):
    if os.geteuid() != 0:
        print("skipped: installing the package needs root")
        return SKIP
    for tool in ["dpkg", "dpkg-deb", "dpkg-shlibdeps", "apt-get", "cpack", "xvfb-run", "xdotool", "import"]:
        if not shutil.which(tool):
            print("skipped: %s is not available" % tool)
            return SKIP
    if run(["dpkg-query", "-W", "-f", "${db:Status-Abbrev}", "lexovo"]).stdout.startswith("ii"):
        print("skipped: a lexovo package is installed on this machine already; it is left alone")
        return SKIP

    work = tempfile.mkdtemp(prefix="lexovo-deb-")
    before = installed_packages()
    installed = False
    try:
        must(["cpack", "-G", "DEB", "-B", work], "cpack -G DEB", cwd=opts.build)
        debs = [n for n in os.listdir(work) if n.startswith("lexovo_") and n.endswith(".deb")]
        check(len(debs) == 1, "cpack makes one lexovo_*.deb (%s)" % debs)
        deb = os.path.join(work, debs[0])

        field = lambda name: must(["dpkg-deb", "-f", deb, name], "dpkg-deb -f").stdout.strip()
        check(field("Package") == "lexovo" and field("Section") == "games", "package lexovo in section games")
        depends = field("Depends")
        check("timgm6mb-soundfont | fluid-soundfont-gm" in depends, "it depends on a General MIDI soundfont")
        names = {d.split()[0] for d in depends.replace("|", ",").split(",")}
        check({"libfltk1.3", "libsdl2-mixer-2.0-0", "libsdl2-2.0-0", "libc6"} <= names,
              "the library scan adds FLTK, SDL2, SDL2_mixer and libc (Depends: %s)" % depends)
        check(field("Recommends") == "fluid-soundfont-gm", "it recommends fluid-soundfont-gm")
        check("<" in field("Maintainer") and field("Description"), "it has a maintainer and a description")

        listing = must(["dpkg-deb", "-c", deb], "dpkg-deb -c").stdout.splitlines()
        files = {line.split()[-1].lstrip("./") for line in listing if not line.startswith("d")}
        want = expected_files("/usr", opts)
        check(files == want, "the package holds exactly the expected files under /usr (missing %s, extra %s)"
              % (sorted(want - files), sorted(files - want)))

        env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
        # The recommended soundfont is a large download; the required one is enough here.
        must(["apt-get", "install", "-y", "--no-install-recommends", "./" + debs[0]], "apt-get install",
             cwd=work, env=env)
        installed = True
        check(os.access("/usr/games/lexovo", os.X_OK) and os.path.isfile("/usr/share/games/lexovo/gameb2.bmp"),
              "apt installs /usr/games/lexovo and its data in /usr/share/games/lexovo")
        ldd = must(["ldd", "/usr/games/lexovo"], "ldd").stdout
        check("not found" not in ldd, "every library the installed program needs is there")
        keys = desktop_entry("/usr/share/applications/lexovo.desktop")
        check(keys.get("Exec") == "/usr/games/lexovo", "the installed menu entry starts /usr/games/lexovo")

        play = [sys.executable, os.path.abspath(__file__),
                "--build", opts.build, "--bin", opts.bin, "--app-id", opts.app_id,
                "--data-files", ",".join(opts.data_files), "--icon-sizes", ",".join(opts.icon_sizes),
                "play", "/usr/games/lexovo"]
        # On the display the tests already have, when there is one; a second
        # xvfb-run -a started beside other tests can lose the race for its
        # display number ("Can't open display"), so that one is tried again.
        for attempt in range(3):
            r = run(play if os.environ.get("DISPLAY") else
                    ["xvfb-run", "-a", "-s", "-screen 0 1024x768x24 -noreset"] + play, timeout=120)
            if "Can't open display" not in r.stdout + r.stderr:
                break
        print(r.stdout.strip())
        if r.returncode != 0:
            raise Failure("the installed game did not play: " + r.stderr.strip()[-2000:])
        print("ok: the installed game starts and shows its first frame")
    finally:
        if installed:
            r = run(["apt-get", "remove", "-y", "lexovo"], env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
            if r.returncode != 0:
                print(r.stdout, r.stderr)
        # Whatever the installation brought along goes too.
        extra = sorted(installed_packages() - before)
        if extra:
            print("removing what came with the package:", extra)
            run(["apt-get", "purge", "-y", *extra], env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
        shutil.rmtree(work, ignore_errors=True)
    check(not run(["dpkg-query", "-W", "-f", "${db:Status-Abbrev}", "lexovo"]).stdout.startswith("ii"),
          "apt-get remove takes the package away")
    check(not os.path.exists("/usr/games/lexovo") and not os.path.exists("/usr/share/games/lexovo"),
          "and its files")
    check(installed_packages() == before, "the machine has the packages it had before")
    return 0


# --- play (under X) ---------------------------------------------------------------

def xdo(*args):
    return run(["xdotool", *map(str, args)]).stdout


def find_window(title, timeout=15.0):
    pattern = "^" + title.replace("(", "\\(").replace(")", "\\)") + "$"
    end = time.time() + timeout
    while time.time() < end:
        ws = xdo("search", "--onlyvisible", "--name", pattern).split()
        if ws:
            return int(ws[0])
        time.sleep(0.1)
    raise Failure("window %r did not appear" % title)


def geometry(win):
    g = dict(line.partition("=")[::2] for line in xdo("getwindowgeometry", "--shell", win).split())
    return int(g["X"]), int(g["Y"]), int(g["WIDTH"]), int(g["HEIGHT"])


def click(win, x, y):
    wx, wy, _, _ = geometry(win)
    xdo("mousemove", wx + x, wy + y)
    time.sleep(0.1)
    xdo("click", 1)


def grab(win):
    raw = must(["import", "-window", str(win), "-depth", "8", "rgb:-"], "import", text=False).stdout
    _, _, w, h = geometry(win)
    return w, h, raw


def case_play(opts, exe):
    scratch = tempfile.mkdtemp(prefix="lexovo-play-")
    # Started from an unrelated folder: the program must find its data itself.
    proc = subprocess.Popen([exe], cwd=scratch, env=dict(os.environ, SDL_AUDIODRIVER="dummy"),
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    try:
        start = find_window(START_TITLE)
        time.sleep(0.5)
        click(start, *GIOCA)
        game = find_window(GAME_TITLE)
        _, _, w, h = geometry(game)
        check((w, h) == (480, 540), "Gioca opens the game window, 480 x 540")
        check(proc.poll() is None, "the game runs: it found its data files")
        # The first composed frame: the wooden frame round the play area and a
        # painted view inside it.
        end = time.time() + 10
        while True:
            w, h, raw = grab(game)
            px = lambda x, y: raw[(y * w + x) * 3:(y * w + x) * 3 + 3]
            border = [px(x, y) for y in range(0, 40, 3) for x in range(0, 480, 3)]
            lit = sum(1 for p in border if p != b"\0\0\0")
            view = {px(x, y) for y in range(40, 440, 4) for x in range(40, 440, 4)}
            if (lit > 0.9 * len(border) and len(view) > 50) or time.time() > end:
                break
            time.sleep(0.3)
        check(lit > 0.9 * len(border), "the frame round the play area is drawn (%d of %d samples lit)"
              % (lit, len(border)))
        check(len(view) > 50, "the play area shows a painted view (%d colours in the samples)" % len(view))
        # Esc asks whether to end; Sì (the left-hand button) ends the game.
        wx, wy, _, _ = geometry(game)
        xdo("mousemove", wx + 240, wy + 500)
        time.sleep(0.2)
        xdo("key", "Escape")
        box = find_window("Uscita dal gioco", 5)
        time.sleep(0.3)
        _, _, bw, bh = geometry(box)
        click(box, (bw - 156) // 2 + 37, bh - 12 - 11)
        try:
            code = proc.wait(10)
        except subprocess.TimeoutExpired:
            code = None
        check(code == 0, "Esc and Sì close the installed game with status 0 (%r)" % code)
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
        out = proc.stdout.read().decode(errors="replace").strip()
        if out:
            print("program output:", out)
        shutil.rmtree(scratch, ignore_errors=True)
    return 0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("--bin", required=True)
    ap.add_argument("--app-id", required=True)
    ap.add_argument("--data-files", required=True, type=lambda s: s.split(","))
    ap.add_argument("--icon-sizes", required=True, type=lambda s: s.split(","))
    ap.add_argument("case", choices=["install_tree", "screenshot", "deb", "play"])
    ap.add_argument("exe", nargs="?")
    opts = ap.parse_args()
    try:
        if opts.case == "install_tree":
            return case_install_tree(opts) or 0
        if opts.case == "screenshot":
            return case_screenshot(opts) or 0
        if opts.case == "deb":
            return case_deb(opts)
        return case_play(opts, opts.exe)
    except Failure as e:
        print("FAILED:", e, flush=True)
        return 1


if __name__ == "__main__":
    sys.exit(main())
