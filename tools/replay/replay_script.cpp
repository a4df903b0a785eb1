// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/replay/replay_script.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

const char* const kTimedItems[] = {"30", "60", "90", "120", "180", "240", "300", "400", "500", "600", "700", "800", "900"};

bool to_long(const std::string& s, long& v) {
    if (s.empty()) return false;
    const char* b = s.data();
    const char* e = b + s.size();
    if (*b == '+') return false;
    auto [p, ec] = std::from_chars(b, e, v);
    return ec == std::errc() && p == e;
}

bool to_decimal(const std::string& s, double& v) {
    // Plain decimal: digits with at most one point, no sign, no exponent.
    if (s.empty()) return false;
    bool point = false, digit = false;
    for (char c : s) {
        if (c == '.') { if (point) return false; point = true; }
        else if (c >= '0' && c <= '9') digit = true;
        else return false;
    }
    if (!digit) return false;
    // strtod, not from_chars: not every standard library reads a double with
    // it. The program never leaves the "C" locale, so the point is '.'.
    char* end = nullptr;
    v = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(v);
}

bool in16(long v) { return v >= -32768 && v <= 32767; }

// Seconds written in decimal to whole milliseconds, halves to even, exactly.
double decimal_ms(const std::string& s) {
    size_t dot = s.find('.');
    std::string whole = s.substr(0, dot), frac = dot == std::string::npos ? "" : s.substr(dot + 1);
    double ms = (whole.empty() ? 0 : std::stod(whole)) * 1000;
    std::string first = (frac + "000").substr(0, 3), rest = frac.size() > 3 ? frac.substr(3) : "";
    ms += std::stoi(first);
    if (!rest.empty()) {
        bool above_half = rest[0] > '5' || (rest[0] == '5' && rest.find_first_not_of('0', 1) != std::string::npos);
        bool half = rest[0] == '5' && rest.find_first_not_of('0', 1) == std::string::npos;
        if (above_half || (half && std::fmod(ms, 2.0) != 0)) ms += 1;
    }
    return ms;
}

}  // namespace

bool parse_script(const std::string& source, std::vector<ScriptCommand>& out, ScriptError& error) {
    std::istringstream in(source);
    std::string raw;
    int n = 0;
    bool started = false;
    auto bad = [&](const std::string& line) {
        error = {n, line};
        return false;
    };
    while (std::getline(in, raw)) {
        ++n;
        std::string line = raw;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream fields(line);
        std::vector<std::string> f;
        for (std::string w; fields >> w;) f.push_back(w);
        if (f.empty() || f[0][0] == '#') continue;
        ScriptCommand c;
        c.line = n;
        c.cmd = f[0];
        const size_t argc = f.size() - 1;
        auto ints = [&](size_t count, bool shift_allowed) {
            if (argc < count || argc > count + (shift_allowed ? 1 : 0)) return false;
            for (size_t i = 0; i < count; ++i) {
                long v;
                if (!to_long(f[i + 1], v) || !in16(v)) return false;
                c.ints.push_back(v);
            }
            if (argc == count + 1) {
                if (f[count + 1] != "shift") return false;
                c.shift = true;
            }
            return true;
        };
        bool ok = false;
        if (!started) {
            if (c.cmd == "gioca" && argc == 0) ok = true;
            else if (c.cmd == "gioca" && argc == 1) {
                for (const char* item : kTimedItems)
                    if (f[1] == item) ok = true;
                if (ok) c.ints.push_back(std::stol(f[1]));
            } else if (c.cmd == "esci" && argc == 0) ok = true;
            if (!ok) return bad(line);
            started = true;
            out.push_back(c);
            continue;
        }
        if (c.cmd == "tick") {
            if (argc == 0) { c.ints.push_back(1); ok = true; }
            else if (argc == 1) { long v; ok = to_long(f[1], v) && v >= 0 && v <= 100000000; if (ok) c.ints.push_back(v); }
        } else if (c.cmd == "wait") {
            double s;
            ok = argc == 1 && to_decimal(f[1], s) && s <= 1e9;
            if (ok) c.value = decimal_ms(f[1]);
        } else if (c.cmd == "keydown" || c.cmd == "keyup" || c.cmd == "mousedown") {
            ok = ints(c.cmd == "mousedown" ? 2 : 1, true);
            if (ok && c.cmd == "mousedown" && (c.ints[0] < 0 || c.ints[0] > 479 || c.ints[1] < 0 || c.ints[1] > 539))
                ok = false;
        } else if (c.cmd == "keypress") {
            ok = ints(1, false);
        } else if (c.cmd == "mousemove" || c.cmd == "mouseup") {
            ok = ints(2, false);
        } else if (c.cmd == "click" || c.cmd == "dblclick") {
            ok = argc == 0;
        } else if (c.cmd == "answer") {
            ok = argc == 1 && (f[1] == "yes" || f[1] == "no" || f[1] == "retry" || f[1] == "cancel" || f[1] == "ok");
            if (ok) c.text = f[1];
        } else if (c.cmd == "random") {
            double v;
            ok = argc == 1 && to_decimal(f[1], v) && v < 1.0;
            if (ok) c.value = v;
        } else if (c.cmd == "shot") {
            ok = argc == 1;
            if (ok) c.text = f[1];
        }
        if (!ok) return bad(line);
        out.push_back(c);
    }
    return true;
}
