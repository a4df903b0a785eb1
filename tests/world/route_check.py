#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Holds a replay trace to the landmarks written into its script.

    route_check.py SCRIPT TRACE
    route_check.py SCRIPT --model MAP          (plays it in route_model.py)
    route_check.py SCRIPT --replay EXE DATA    (plays it in lexovo-replay)
    route_check.py SCRIPT --compare EXE DATA   (plays it in both and holds
                                                them to each other, tick by tick)

A script line of the form

    #@ prof_x=280 prof_y=72 book2_state=1

states what must hold after the command just above it (for `tick N`, after
its last tick). Values are JSON (numbers, true/false, strings in quotes,
lists). The trace is JSON Lines as lexovo-replay writes it, or as
route_model.py writes it; each line names the script line it belongs to.
Exit status 0 when every landmark holds, 1 otherwise (each failure is
printed), 2 when the files cannot be read or a landmark names nothing.
"""
import json
import os
import subprocess
import sys
import tempfile


def landmarks(script_path):
    """[(line_of_landmark, line_of_command, {field: value})]"""
    out, last_command = [], None
    for number, raw in enumerate(open(script_path, encoding="utf-8"), 1):
        text = raw.strip()
        if text.startswith("#@"):
            if last_command is None:
                raise SystemExit("%s:%d: a landmark before any command" % (script_path, number))
            fields = {}
            for item in text[2:].split():
                key, _, value = item.partition("=")
                fields[key] = json.loads(value)
            out.append((number, last_command, fields))
        elif text and not text.startswith("#"):
            last_command = number
    return out


def make_trace(argv, trace_path):
    """Plays the script named in argv into trace_path; returns a failure text or None."""
    script = argv[1]
    if argv[2] == "--model" and len(argv) == 4:
        model = os.path.join(os.path.dirname(os.path.abspath(__file__)), "route_model.py")
        command = [sys.executable, model, argv[3], script, "--trace", trace_path]
    elif argv[2] == "--replay" and len(argv) == 5:
        command = [argv[3], script, "--data", argv[4], "--trace", trace_path]
    else:
        return "bad arguments"
    done = subprocess.run(command)
    if done.returncode != 0:
        return "%s exited with %d" % (command[0], done.returncode)
    return None


COMPARED = ("prof_x", "prof_y", "scroll_x", "scroll_y", "falling", "fall_state", "well_trapped",
            "game_over", "final_anim", "spider_state", "plant_stage", "rope_stage", "jungle_stage",
            "inventory") + tuple("book%d_state" % i for i in range(1, 14))


def compare(argv):
    """Plays the script in the model (on DATA/gamemap1.bmp) and in the replay tool."""
    script, exe, data = argv[1], argv[3], argv[4]
    with tempfile.TemporaryDirectory() as tmp:
        mine, theirs = os.path.join(tmp, "model.jsonl"), os.path.join(tmp, "replay.jsonl")
        for args, path in (([script, "--model", os.path.join(data, "gamemap1.bmp")], mine),
                           ([script, "--replay", exe, data], theirs)):
            failure = make_trace([None] + args, path)
            if failure:
                print("%s: %s" % (script, failure))
                return 2
        a = [json.loads(l) for l in open(mine) if l.strip()]
        b = [json.loads(l) for l in open(theirs) if l.strip()]
    if len(a) != len(b):
        print("%s: the model wrote %d trace lines, the game %d" % (script, len(a), len(b)))
        return 1
    for x, y in zip(a, b):
        for key in COMPARED:
            if x[key] != y[key]:
                print("%s:%d: %s is %s in the game, %s in the model" % (script, x["line"], key,
                                                                         json.dumps(y[key]), json.dumps(x[key])))
                return 1
    print("%s: the model and the game agree on all %d trace lines" % (script, len(a)))
    return 0


def main(argv):
    if len(argv) == 5 and argv[2] == "--compare":
        return compare(argv)
    if len(argv) == 3:
        return check(argv[1], argv[2])
    if len(argv) in (4, 5) and argv[2] in ("--model", "--replay"):
        with tempfile.TemporaryDirectory() as tmp:
            trace = os.path.join(tmp, "trace.jsonl")
            failure = make_trace(argv, trace)
            if failure:
                print("%s: %s" % (argv[1], failure))
                return 2
            return check(argv[1], trace)
    sys.stderr.write(__doc__)
    return 2


def check(script, trace_path):
    last_state = {}
    for raw in open(trace_path, encoding="utf-8"):
        raw = raw.strip()
        if raw:
            entry = json.loads(raw)
            last_state[entry["line"]] = entry
    marks = landmarks(script)
    failures = 0
    for where, command_line, fields in marks:
        state = last_state.get(command_line)
        if state is None:
            print("%s:%d: no trace line for script line %d" % (script, where, command_line))
            failures += 1
            continue
        for key, want in fields.items():
            if key not in state:
                print("%s:%d: the trace has no field %s" % (script, where, key))
                return 2
            if state[key] != want:
                print("%s:%d: %s is %s, the route needs %s (at script line %d)"
                      % (script, where, key, json.dumps(state[key]), json.dumps(want), command_line))
                failures += 1
    print("%s: %d landmarks, %d failed" % (script, len(marks), failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
