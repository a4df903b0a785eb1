#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Tests of scripts/licence-lines.sh, the licence line at the head of every
source file.

    licence_test.py SCRIPT script   the script on a scratch repository
    licence_test.py SCRIPT tree     its --check on this repository: exits 77
                                    (skipped) while no file carries the line
                                    yet, i.e. before the script first ran
"""
import os
import subprocess
import sys
import tempfile

from package_test import SKIP, Failure, check, run

LINE = "SPDX-License-Identifier: GPL-3.0-or-later"


# path -> (content, executable); what the script must make of each.
SAMPLES = {
    "core/a.cpp": ("#include <x>\nint a;\n", False),
    "core/b.h": ("// SPDX-License-Identifier: GPL-3.0-or-later\n#pragma once\n", False),
    "CMakeLists.txt": ("project(x)\n", False),
    "cmake/rules.cmake": ("set(a 1)\n", False),
    "tools/t.py": ("#!/usr/bin/env python3\nprint(1)\n", True),
    "scripts/s.sh": ("#!/usr/bin/env bash\necho hi\n", True),
    "tests/tools/checker": ("#!/usr/bin/env python3\n# Origin: a copy\n", True),
    "README.md": ("# Title\n", False),
    "tests/replays/game.txt": ("gioca\ntick 3\n", False),
    "packaging/debian/rules": ("#!/usr/bin/make -f\n%:\n\tdh $@\n", True),
    "man/lexovo.6.in": ("'\\\" t\n.TH LEXOVO 6\n", False),
}
WANT = {
    "core/a.cpp": "// " + LINE + "\n#include <x>\nint a;\n",
    "core/b.h": SAMPLES["core/b.h"][0],
    "CMakeLists.txt": "# " + LINE + "\nproject(x)\n",
    "cmake/rules.cmake": "# " + LINE + "\nset(a 1)\n",
    "tools/t.py": "#!/usr/bin/env python3\n# " + LINE + "\nprint(1)\n",
    "scripts/s.sh": "#!/usr/bin/env bash\n# " + LINE + "\necho hi\n",
    "tests/tools/checker": "#!/usr/bin/env python3\n# " + LINE + "\n# Origin: a copy\n",
}


def case_script(script):
    top = tempfile.mkdtemp(prefix="lexovo-licence-")
    try:
        for path, (text, exe) in SAMPLES.items():
            full = os.path.join(top, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w") as f:
                f.write(text)
            os.chmod(full, 0o755 if exe else 0o644)
        with open(os.path.join(top, "untracked.cpp"), "w") as f:
            f.write("int u;\n")
        run(["git", "init", "-q"], cwd=top)
        run(["git", "add", *SAMPLES], cwd=top)

        r = run(["bash", script, "--check", top])
        listed = set(r.stdout.split())
        lacking = {p for p in WANT if WANT[p] != SAMPLES[p][0]}
        check(r.returncode == 1 and listed == lacking,
              "--check lists exactly the source files without the line and fails (%s)" % sorted(listed))
        check(all(open(os.path.join(top, p)).read() == t for p, (t, _) in SAMPLES.items()),
              "--check changes nothing")

        r = run(["bash", script, top])
        check(r.returncode == 0, "the script runs (%s)" % r.stderr.strip())
        for path, (text, exe) in SAMPLES.items():
            got = open(os.path.join(top, path)).read()
            check(got == WANT.get(path, text), "%s: %s" % (path, "the line added, a #! line kept first"
                                                            if path in WANT and path in lacking else "left as it was"))
            mode = os.stat(os.path.join(top, path)).st_mode & 0o777
            check(mode == (0o755 if exe else 0o644), "%s keeps its mode %o" % (path, mode))
        check(open(os.path.join(top, "untracked.cpp")).read() == "int u;\n", "a file git does not track is left alone")

        before = {p: open(os.path.join(top, p)).read() for p in SAMPLES}
        r = run(["bash", script, top])
        after = {p: open(os.path.join(top, p)).read() for p in SAMPLES}
        check(r.returncode == 0 and before == after and not r.stdout.strip(), "a second run changes nothing")
        r = run(["bash", script, "--check", top])
        check(r.returncode == 0 and not r.stdout.strip(), "and --check passes")
    finally:
        subprocess.run(["rm", "-rf", top])
    return 0


def case_tree(script):
    top = os.path.dirname(os.path.dirname(os.path.abspath(script)))
    r = run(["bash", script, "--check", top])
    files = run(["git", "ls-files"], cwd=top).stdout.split()
    def head(f):
        with open(os.path.join(top, f), errors="replace") as fh:
            return fh.readline() + fh.readline()
    carrying = [f for f in files if os.path.isfile(os.path.join(top, f)) and LINE in head(f)]
    if not carrying:
        print("skipped: no file carries the licence line yet; scripts/licence-lines.sh adds it to all")
        return SKIP
    print(r.stdout.strip())
    check(r.returncode == 0, "every source file of the repository carries the licence line")
    return 0


def main():
    script, case = sys.argv[1], sys.argv[2]
    try:
        return case_script(script) if case == "script" else case_tree(script)
    except Failure as e:
        print("FAILED:", e, flush=True)
        return 1


if __name__ == "__main__":
    sys.exit(main())
