// SPDX-License-Identifier: GPL-3.0-or-later
// lexovo-replay SCRIPT [--data DIR] [--trace FILE]: plays a script on the
// game's own logic without a display and writes a trace of the game state.
#include <unistd.h>

#include <climits>
#include <fstream>
#include <iostream>
#include <sstream>

#include "tools/replay/replay_runner.h"

namespace {
std::string executable_folder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "";  // unknown: the load step reports it, no other folder is read
    std::string p(buf, size_t(n));
    size_t slash = p.rfind('/');
    return slash == std::string::npos ? "" : p.substr(0, slash);
}
}  // namespace

int main(int argc, char** argv) {
    std::string script_path, trace_path;
    ReplayOptions options;
    options.data_dir = executable_folder();
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--data" && i + 1 < argc) options.data_dir = argv[++i];
        else if (a == "--trace" && i + 1 < argc) trace_path = argv[++i];
        else if (script_path.empty() && a.rfind("--", 0) != 0) script_path = a;
        else {
            std::cerr << "usage: lexovo-replay SCRIPT [--data DIR] [--trace FILE]\n";
            return 1;
        }
    }
    if (script_path.empty()) {
        std::cerr << "usage: lexovo-replay SCRIPT [--data DIR] [--trace FILE]\n";
        return 1;
    }
    std::ifstream in(script_path, std::ios::binary);
    if (!in) {
        std::cerr << "lexovo-replay: cannot read " << script_path << '\n';
        return 1;
    }
    std::stringstream src;
    src << in.rdbuf();
    std::vector<ScriptCommand> script;
    ScriptError error;
    if (!parse_script(src.str(), script, error)) {
        std::cerr << "lexovo-replay: bad script line " << error.line << ": " << error.text << '\n';
        return 2;
    }
    try {
        if (trace_path.empty()) return run_replay(script, options, std::cout, std::cerr);
        std::ofstream out(trace_path, std::ios::binary);
        if (!out) {
            std::cerr << "lexovo-replay: cannot write " << trace_path << '\n';
            return 1;
        }
        int rc = run_replay(script, options, out, std::cerr);
        out.close();
        return out ? rc : 1;
    } catch (const std::exception& e) {
        std::cerr << "lexovo-replay: " << e.what() << '\n';
        return 1;
    }
}
