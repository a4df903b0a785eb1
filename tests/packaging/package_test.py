#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Tests of the installed game and of its Debian packages.

    package_test.py --build DIR --bin DIR --app-id ID --data-files A,B,.. --icon-sizes 32,48,.. CASE

install_tree  `cmake --install` into a scratch DESTDIR: exactly the expected
              files with the right modes, valid menu and AppStream entries,
              sound icons; a second prefix beside it; then the uninstall
              target removes all of it.
manpages      the manual pages render without a warning from groff or man,
              carry the release, and name every environment variable the
              program reads for players.
debian        packaging/build-deb.sh: both packages built by dpkg-buildpackage
              from a clean copy of the tree, lintian with nothing to report
              but overridden tags, each package's fields and files.
deb           (after debian) both packages installed with apt on this
              machine, `dpkg -L` against the expected layout, the manual
              page through `man`, the INSTALLED game started by the menu
              entry's command as an ordinary user on an X display of its
              own (start dialog, Gioca, its window class, first frame), then
              both purged and no file of theirs left. Needs root; exits 77
              (skipped) otherwise, or when a lexovo package is installed
              already.
screenshot    packaging/screenshot.txt still plays through lexovo-replay and
              shoots a 480 x 540 picture (the one kept as docs/screenshot.png).
"""
import argparse
import os
import re
import signal
import shutil
import stat
import subprocess
import sys
import tempfile
import time

SKIP = 77
SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
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


MAN_PAGES = ["man/man6/lexovo.6", "man/it/man6/lexovo.6"]  # under share/: English, Italian


def program_files(root, opts):
    """The files of the program's package under prefix root, relative to /."""
    root = root.strip("/")
    files = {root + "/games/lexovo",
             root + "/share/applications/%s.desktop" % opts.app_id,
             root + "/share/metainfo/%s.metainfo.xml" % opts.app_id}
    files |= {root + "/share/icons/hicolor/%sx%s/apps/lexovo.png" % (s, s) for s in opts.icon_sizes}
    files.add(root + "/share/icons/hicolor/scalable/apps/lexovo.svg")
    files |= {root + "/share/" + m for m in MAN_PAGES}
    return files


def data_files(root, opts):
    return {root.strip("/") + "/share/games/lexovo/" + f for f in opts.data_files}


def expected_files(root, opts):
    """Every file the installation puts under prefix root, relative to /."""
    return program_files(root, opts) | data_files(root, opts)


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


def release(opts):
    """(version, date) of the first heading of NEWS."""
    with open(os.path.join(SOURCE, "NEWS"), encoding="utf-8") as f:
        for line in f:
            m = re.match(r"^(\d+\.\d+\.\d+) \((\d{4}-\d\d-\d\d)\)$", line.strip())
            if m:
                return m.group(1), m.group(2)
    raise Failure("NEWS has no release heading")


def check_metainfo(meta, opts):
    r = run(["appstreamcli", "validate", "--pedantic", "--no-net", "--explain", meta])
    print(r.stdout.strip())
    # The one remark allowed: the id's capital L. AppStream recommends lower
    # case ids; this one is the game's name as published, left as it is.
    remarks = [line for line in r.stdout.splitlines() if re.match(r"^[EWIP]: ", line)
               and not re.match(r"^P: [\w.]+:\d+: cid-contains-uppercase-letter ", line)]
    check(r.returncode == 0 and "Validation was successful" in r.stdout and not remarks,
          "appstreamcli validate --pedantic passes the metainfo with no remark (%s)" % remarks)
    with open(meta, encoding="utf-8") as f:
        xml = f.read()
    check('<content_rating type="oars-1.1"' in xml and "<control>keyboard</control>" in xml
          and "<control>pointing</control>" in xml, "the metainfo has the OARS rating and both controls")
    check("<project_license>GPL-3.0-or-later</project_license>" in xml
          and "<metadata_license>FSFAP</metadata_license>" in xml, "GPL 3 or later, the metadata FSFAP")
    check('<launchable type="desktop-id">%s.desktop</launchable>' % opts.app_id in xml,
          "it launches the desktop entry named after its id")
    check(not re.search(r"https?:|\.example\b", xml), "it names no web address (the project has none yet)")
    version, date = release(opts)
    check('<release version="%s" date="%s"/>' % (version, date) in xml,
          "its release is the first of NEWS (%s, %s)" % (version, date))


def check_scalable_icon(path):
    with open(path, encoding="utf-8") as f:
        svg = f.read()
    check(svg.lstrip().startswith("<?xml") and "<svg" in svg and 'viewBox="0 0 256 256"' in svg,
          "the scalable icon is an SVG picture of 256 units")
    check(svg.count("<path") > 20 and "<image" not in svg, "drawn with %d paths, no picture embedded in it"
          % svg.count("<path"))
    # Drawn at 256 pixels by librsvg, as the desktops draw SVG icons, it is the
    # same book as the PNG icons.
    png = tempfile.mktemp(prefix="lexovo-svg-", suffix=".png")
    try:
        must(["rsvg-convert", "-w", "256", "-h", "256", path, "-o", png], "rsvg-convert")
        check_icon(png, 256)
    finally:
        if os.path.exists(png):
            os.remove(png)


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

        desktop = os.path.join(root, "share/applications/%s.desktop" % opts.app_id)
        keys = desktop_entry(desktop)
        check(keys.get("Exec") == PREFIX + "/games/lexovo" and keys.get("TryExec") == keys.get("Exec"),
              "off the usual PATH, the menu entry starts %s by its full path (Exec=%s)"
              % (PREFIX + "/games/lexovo", keys.get("Exec")))
        check(keys.get("Name") == "Gioco di Lexovo" and keys.get("Icon") == "lexovo"
              and keys.get("Categories", "").startswith("Game;"), "menu entry: Italian name, icon, a game")
        check(keys.get("StartupWMClass") == "lexovo", "the menu entry names the windows' class "
              "(StartupWMClass=%s)" % keys.get("StartupWMClass"))
        r = must(["desktop-file-validate", desktop], "desktop-file-validate")
        check(r.stdout.strip() == "", "desktop-file-validate finds nothing to report " + r.stdout.strip())
        check_metainfo(os.path.join(root, "share/metainfo/%s.metainfo.xml" % opts.app_id), opts)
        for s in opts.icon_sizes:
            check_icon(os.path.join(root, "share/icons/hicolor/%sx%s/apps/lexovo.png" % (s, s)), int(s))
        check_scalable_icon(os.path.join(root, "share/icons/hicolor/scalable/apps/lexovo.svg"))

        # A second installation from the same build folder, into /usr: the
        # uninstall target takes both away.
        must(["cmake", "--install", opts.build, "--prefix", "/usr"], "cmake --install --prefix /usr", env=env)
        files, _ = tree(dest)
        check(files == want | expected_files("/usr", opts), "a second prefix gets its own complete copy")
        keys = desktop_entry(os.path.join(dest, "usr/share/applications/%s.desktop" % opts.app_id))
        check(keys.get("Exec") == "lexovo" and keys.get("TryExec") == "lexovo",
              "whose menu entry starts lexovo through the PATH, where /usr/games is")

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


# --- manpages ----------------------------------------------------------------------

def player_words():
    """The environment variables and the options the program reads, from its
    sources: every one a player may use must be in the manual pages. Those
    meant for tests (their names say TEST) are left out."""
    words = set()
    for folder in ["app", "platform", "audio", "game"]:
        d = os.path.join(SOURCE, folder)
        if not os.path.isdir(d):
            continue
        for name in os.listdir(d):
            if name.endswith((".cpp", ".h")):
                with open(os.path.join(d, name), encoding="utf-8") as f:
                    text = f.read()
                words |= set(re.findall(r'getenv\("([A-Z0-9_]+)"\)', text))
                words |= set(re.findall(r'"(--[a-z][a-z-]+)"', text))
    return sorted(w for w in words if "TEST" not in w.upper())


def case_manpages(opts):
    version, date = release(opts)
    words = player_words()
    check("LEXOVO_SCALE" in words and "SDL_SOUNDFONTS" in words,
          "the program's own variables are found in its sources (%s)" % ", ".join(words))
    env = dict(os.environ, LANG="C.UTF-8", MANWIDTH="80")
    for page in MAN_PAGES:
        path = os.path.join(opts.build, "packaging", page)
        r = run(["groff", "-t", "-man", "-ww", "-z", path])
        check(r.returncode == 0 and not r.stderr.strip(), "groff -ww -z is silent on %s %s" % (page, r.stderr.strip()))
        # What lintian runs on every manual page.
        r = run(["man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", path], env=env)
        check(r.returncode == 0 and not r.stderr.strip(), "man --warnings renders %s silently %s"
              % (page, r.stderr.strip()))
        r = must(["lexgrog", path], "lexgrog", env=env)
        check(": \"lexovo - " in r.stdout, "its NAME line makes a whatis entry (%s)" % r.stdout.strip())
        with open(path, encoding="utf-8") as f:
            source = f.read()
        check('.TH LEXOVO 6 "%s" "lexovo %s"' % (date, version) in source,
              "%s carries the release of NEWS, %s of %s" % (page, version, date))
        text = must(["man", "-l", path], "man -l", env=env).stdout
        text = re.sub(r"\u2010\n\s*", "", text)  # words hyphenated across lines
        missing = [w for w in words if w not in text]
        check(not missing, "%s names every variable and option a player may use (missing: %s)" % (page, missing))
        check("/usr/share/games/lexovo" in text, "and where the data live")
    return 0


# --- debian -------------------------------------------------------------------------

def debian_out(opts):
    return os.path.join(opts.build, "packaging", "debian-out")


def debs(opts):
    """The package files build-deb.sh left: {package: path}."""
    out = debian_out(opts)
    found = {}
    if os.path.isdir(out):
        for n in os.listdir(out):
            if n.endswith(".deb"):
                found[n.split("_")[0]] = os.path.join(out, n)
    return found


def doc_files(package, extra=()):
    return {"usr/share/doc/%s/%s" % (package, f) for f in ("changelog.gz", "copyright", *extra)}


def package_layout(opts):
    """{package: every file it installs, relative to /}, as Debian ships it:
    manual pages compressed, the documentation in share/doc."""
    program = {f + ".gz" if "/man/" in f else f for f in program_files("/usr", opts)}
    return {"lexovo": program | doc_files("lexovo", ["NEWS.gz"]),
            "lexovo-data": data_files("/usr", opts) | doc_files("lexovo-data")}


def case_debian(opts):
    for tool in ["dpkg-buildpackage", "dpkg-source", "dh", "lintian"]:
        if not shutil.which(tool):
            print("skipped: %s is not available (scripts/install-deps.sh test brings it)" % tool)
            return SKIP
    out = debian_out(opts)
    shutil.rmtree(out, ignore_errors=True)
    start = time.time()
    r = run(["bash", os.path.join(SOURCE, "packaging", "build-deb.sh"), out])
    print(r.stdout.strip()[-8000:])
    print(r.stderr.strip()[-4000:])
    print("build-deb.sh took %.0f s" % (time.time() - start))
    lint_path = os.path.join(out, "lintian.txt")
    check(os.path.isfile(lint_path), "build-deb.sh built the packages and ran lintian")
    with open(lint_path) as f:
        lint = f.read().splitlines()
    reported = [line for line in lint if re.match(r"^[EWIPX]: ", line)]
    check(not reported, "lintian --pedantic -E -I reports nothing that is neither fixed nor overridden (%s)"
          % reported)
    check(r.returncode == 0, "build-deb.sh ends with status 0")
    overridden = [line for line in lint if line.startswith("O: ")]
    print("overridden, each with its reason in the override file:", overridden or "none")

    version, _ = release(opts)
    found = debs(opts)
    check({"lexovo", "lexovo-data"} <= set(found), "both packages are built (%s)" % sorted(found))
    field = lambda pkg, name: must(["dpkg-deb", "-f", found[pkg], name], "dpkg-deb -f").stdout.strip()
    for pkg in ["lexovo", "lexovo-data"]:
        check(field(pkg, "Version") == version and field(pkg, "Section") == "games",
              "%s %s in section games" % (pkg, field(pkg, "Version")))
    check(field("lexovo-data", "Architecture") == "all" and field("lexovo-data", "Multi-Arch") == "foreign",
          "lexovo-data is architecture-independent")
    check(field("lexovo", "Architecture") not in ("all", ""), "lexovo is built for the machine (%s)"
          % field("lexovo", "Architecture"))
    depends = field("lexovo", "Depends")
    names = {d.split()[0] for d in depends.replace("|", ",").split(",")}
    check("lexovo-data (= %s)" % version in depends and "timgm6mb-soundfont | fluid-soundfont-gm" in depends,
          "lexovo depends on its data of the same version and on a General MIDI soundfont")
    check({"libfltk1.3", "libsdl2-mixer-2.0-0", "libsdl2-2.0-0", "libc6"} <= names,
          "the library scan adds FLTK, SDL2, SDL2_mixer and libc (Depends: %s)" % depends)

    for pkg, want in package_layout(opts).items():
        listing = must(["dpkg-deb", "-c", found[pkg]], "dpkg-deb -c").stdout.splitlines()
        files = {line.split()[5].lstrip("./") for line in listing if not line.startswith("d")}
        check(files == want, "%s holds exactly the expected files (missing %s, extra %s)"
              % (pkg, sorted(want - files), sorted(files - want)))

    scratch = tempfile.mkdtemp(prefix="lexovo-deb-")
    try:
        must(["dpkg-deb", "-x", found["lexovo"], scratch], "dpkg-deb -x")
        with open(os.path.join(scratch, "usr/games/lexovo"), "rb") as f:
            program = f.read()
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    # The test hooks exist in test builds only, behind the CMake option
    # LEXOVO_TEST_HOOKS, which debian/rules turns off. A tree from before
    # that option has its hook in every build, so there is nothing to check.
    if hook_option():
        check(b"LEXOVO_TEST_LOG" not in program, "the packaged program has no test hook (no LEXOVO_TEST_LOG in it)")
    else:
        print("not checked: this tree has no LEXOVO_TEST_HOOKS option yet, its test hook is in every build")
    return 0


def hook_option():
    for d, _, names in os.walk(SOURCE):
        if "/build" in d or "/.git" in d:
            continue
        for n in names:
            if n == "CMakeLists.txt" or n.endswith(".cmake"):
                with open(os.path.join(d, n), encoding="utf-8", errors="replace") as f:
                    if re.search(r"option\(\s*LEXOVO_TEST_HOOKS\b", f.read()):
                        return True
    return False


# --- deb: the packages installed ----------------------------------------------------------

def installed_packages():
    out = run(["dpkg-query", "-W", "-f", "${Package}:${Architecture} ${db:Status-Abbrev}\n"]).stdout
    return {line.split()[0] for line in out.splitlines() if len(line.split()) > 1 and line.split()[1] == "ii"}


# Where the packages put files; what is there besides theirs must be the same
# before the installation and after the purge.
WATCHED = ["/usr/games", "/usr/share/games", "/usr/share/doc/lexovo", "/usr/share/doc/lexovo-data",
           "/usr/share/applications", "/usr/share/metainfo", "/usr/share/icons/hicolor", "/usr/share/man/man6",
           "/usr/share/man/it", "/var/games"]


def snapshot():
    found = set()
    for top in WATCHED:
        for d, _, names in os.walk(top):
            found.add(d)
            # The icon cache belongs to the icon theme, rebuilt by its trigger.
            found |= {os.path.join(d, n) for n in names if n != "icon-theme.cache"}
    return found


def start_display():
    """An X server of the test's own on a free display number, which any user
    of the machine may use (no authority file)."""
    n = 120
    while os.path.exists("/tmp/.X%d-lock" % n) or os.path.exists("/tmp/.X11-unix/X%d" % n):
        n += 1
    server = subprocess.Popen(["Xvfb", ":%d" % n, "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    display = ":%d" % n
    for _ in range(100):
        if run(["xdpyinfo", "-display", display]).returncode == 0:
            return display, server
        time.sleep(0.1)
    server.kill()
    raise Failure("Xvfb did not start on %s" % display)


def case_deb(opts):
    if os.geteuid() != 0:
        print("skipped: installing the packages needs root")
        return SKIP
    for tool in ["dpkg", "apt-get", "Xvfb", "xdpyinfo", "xdotool", "xprop", "import", "runuser", "man"]:
        if not shutil.which(tool):
            print("skipped: %s is not available" % tool)
            return SKIP
    for pkg in ["lexovo", "lexovo-data"]:
        if run(["dpkg-query", "-W", "-f", "${db:Status-Abbrev}", pkg]).stdout.startswith("ii"):
            print("skipped: the package %s is installed on this machine already; it is left alone" % pkg)
            return SKIP
    found = debs(opts)
    check({"lexovo", "lexovo-data"} <= set(found), "package.debian built both packages in %s" % debian_out(opts))

    layout = package_layout(opts)
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    before, files_before = installed_packages(), snapshot()
    listed = set()
    installed = False
    try:
        # The recommended soundfont is a large download; the required one is enough here.
        must(["apt-get", "install", "-y", "--no-install-recommends", found["lexovo"], found["lexovo-data"]],
             "apt-get install", env=env)
        installed = True
        for pkg, want in layout.items():
            paths = must(["dpkg", "-L", pkg], "dpkg -L").stdout.split("\n")
            files = {p.lstrip("/") for p in paths if p and not os.path.isdir(p)}
            listed |= {p for p in paths if p and p != "/."}
            check(files == want, "dpkg -L %s: the expected layout (missing %s, extra %s)"
                  % (pkg, sorted(want - files), sorted(files - want)))
            check(all(os.path.isfile("/" + f) for f in want), "and every file of %s is in place" % pkg)
        ldd = must(["ldd", "/usr/games/lexovo"], "ldd").stdout
        check("not found" not in ldd, "every library the installed program needs is there")

        menv = dict(os.environ, LANG="C.UTF-8", MANWIDTH="80")
        check(must(["man", "-w", "lexovo"], "man -w", env=menv).stdout.strip() == "/usr/share/man/man6/lexovo.6.gz",
              "man lexovo finds the English page")
        check(must(["man", "-L", "it", "-w", "lexovo"], "man -L it -w", env=menv).stdout.strip()
              == "/usr/share/man/it/man6/lexovo.6.gz", "and, for Italian, the Italian one")
        page = must(["man", "-P", "cat", "lexovo"], "man lexovo", env=menv).stdout
        check(re.search(r"lexovo\s+-\s+Gioco di Lexovo", page) and "SDL_SOUNDFONTS" in page, "man lexovo shows the page")

        keys = desktop_entry("/usr/share/applications/%s.desktop" % opts.app_id)
        check(keys.get("Exec") == "lexovo" and keys.get("StartupWMClass") == "lexovo",
              "the installed menu entry starts lexovo (on the usual PATH) and names its window class")
        play_installed(keys["Exec"])
    finally:
        if installed:
            r = run(["apt-get", "purge", "-y", "lexovo", "lexovo-data"], env=env)
            if r.returncode != 0:
                print(r.stdout, r.stderr)
        # Whatever the installation brought along goes too.
        extra = sorted(installed_packages() - before)
        if extra:
            print("removing what came with the packages:", extra)
            run(["apt-get", "purge", "-y", *extra], env=env)
    for pkg in ["lexovo", "lexovo-data"]:
        check(run(["dpkg-query", "-W", "-f", "${db:Status-Abbrev}", pkg]).stdout.strip() in ("", "un", "pn"),
              "apt-get purge takes %s away" % pkg)
    left = sorted(p for p in listed if os.path.lexists(p) and not os.path.isdir(p))
    check(not left, "no file of the packages is left (%s)" % left)
    now = snapshot()
    check(now == files_before, "the folders they used hold what they held before (new: %s, gone: %s)"
          % (sorted(now - files_before), sorted(files_before - now)))
    check(installed_packages() == before, "the machine has the packages it had before")
    return 0


# --- the installed game, played --------------------------------------------------------

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


def wm_class(win):
    return run(["xprop", "-id", str(win), "WM_CLASS"]).stdout.partition("=")[2].strip()


def play_installed(command):
    """The menu entry's command run as an ordinary user (nobody) in a login
    shell, so with the PATH every user has, on an X display of our own: the
    start dialog, Gioca, the game window's class and first frame, and Esc."""
    command = re.sub(r"%[a-zA-Z]", "", command).strip()  # no field codes: the game opens no files
    display, server = start_display()
    saved = os.environ.get("DISPLAY")
    os.environ["DISPLAY"] = display
    shell = "cd / && DISPLAY=%s SDL_AUDIODRIVER=dummy exec %s" % (display, command)
    proc = subprocess.Popen(["runuser", "-l", "nobody", "-s", "/bin/sh", "-c", shell], cwd="/",
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True)
    try:
        start = find_window(START_TITLE)
        check(wm_class(start) == '"lexovo", "Lexovo"', "the start dialog's class is the program's (WM_CLASS %s)"
              % wm_class(start))
        time.sleep(0.5)
        click(start, *GIOCA)
        game = find_window(GAME_TITLE)
        _, _, w, h = geometry(game)
        check((w, h) == (480, 540), "Gioca opens the game window, 480 x 540")
        check(wm_class(game) == '"lexovo", "Lexovo"', "of the class the menu entry names (WM_CLASS %s)"
              % wm_class(game))
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
            os.killpg(proc.pid, signal.SIGKILL)
            proc.wait()
        out = proc.stdout.read().decode(errors="replace").strip()
        if out:
            print("program output:", out)
        server.kill()
        server.wait()
        if saved is None:
            del os.environ["DISPLAY"]
        else:
            os.environ["DISPLAY"] = saved


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", required=True)
    ap.add_argument("--bin", required=True)
    ap.add_argument("--app-id", required=True)
    ap.add_argument("--data-files", required=True, type=lambda s: s.split(","))
    ap.add_argument("--icon-sizes", required=True, type=lambda s: s.split(","))
    cases = {"install_tree": case_install_tree, "manpages": case_manpages, "debian": case_debian,
             "deb": case_deb, "screenshot": case_screenshot}
    ap.add_argument("case", choices=sorted(cases))
    opts = ap.parse_args()
    try:
        return cases[opts.case](opts) or 0
    except Failure as e:
        print("FAILED:", e, flush=True)
        return 1


if __name__ == "__main__":
    sys.exit(main())
