// SPDX-License-Identifier: GPL-3.0-or-later
// Replay scripts: one command a line, read and checked whole before
// anything runs.
#pragma once
#include <string>
#include <vector>

struct ScriptCommand {
    int line = 0;
    std::string cmd;
    std::vector<long> ints;  // numbers of the command (N, CODE, CHAR, X, Y)
    bool shift = false;
    double value = 0;        // wait S (ms after rounding), random V
    std::string text;        // answer A, shot FILE
};

struct ScriptError {
    int line;
    std::string text;
};

// Parses and checks the whole script. On a bad line fills `error` and returns false.
bool parse_script(const std::string& source, std::vector<ScriptCommand>& out, ScriptError& error);
