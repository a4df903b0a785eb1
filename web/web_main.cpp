// SPDX-License-Identifier: GPL-3.0-or-later
// Gioco di Lexovo in the browser: what the page (web/page/lexovo.js) calls.
// The page builds the start dialog from lexovo_dialogs(), unpacks the data
// files with lexovo_unpack(), and on "Gioca" calls lexovo_start(); from
// then on it hands the game its window events and its timer's beats.
#include <emscripten.h>
#include <sys/stat.h>

#include <nlohmann/json.hpp>
#include <string>

#include "dialogs/dialog_texts.h"
#include "game/game_state.h"
#include "game/game_window.h"
#include "tools/replay/trace_writer.h"
#include "web/data_unpack.h"
#include "web/web_platform.h"

namespace {

WebPlatform* platform = nullptr;
GameWindow* game = nullptr;
std::string text_out;  // the last text handed to the page

const char* hand_out(std::string s) {
    text_out = std::move(s);
    return text_out.c_str();
}

const char* kind_name(ControlKind k) {
    switch (k) {
    case ControlKind::Label: return "label";
    case ControlKind::Frame: return "frame";
    case ControlKind::Option: return "option";
    case ControlKind::DropList: return "droplist";
    case ControlKind::Button: return "button";
    case ControlKind::TextBox: return "textbox";
    }
    return "label";
}

const char* font_name(DialogFont f) {
    switch (f) {
    case DialogFont::Regular8: return "regular8";
    case DialogFont::Bold8: return "bold8";
    case DialogFont::Bold10: return "bold10";
    }
    return "regular8";
}

nlohmann::json layout(const DialogLayout& d) {
    nlohmann::json j;
    j["name"] = d.name;
    j["caption"] = d.caption;
    j["width"] = d.client_w;
    j["height"] = d.client_h;
    j["controls"] = nlohmann::json::array();
    for (const Control& c : d.controls) {
        char colour[8];
        std::snprintf(colour, sizeof colour, "#%06x", c.colour & 0xFFFFFF);
        j["controls"].push_back({{"name", c.name},
                                 {"kind", kind_name(c.kind)},
                                 {"parent", c.parent ? c.parent : ""},
                                 {"text", c.text},
                                 {"left", c.left},
                                 {"top", c.top},
                                 {"width", c.width},
                                 {"height", c.height},
                                 {"tab", c.tab},
                                 {"font", font_name(c.font)},
                                 {"colour", colour}});
    }
    return j;
}

void deliver(const std::function<void(GameWindow&)>& handler) {
    if (platform) platform->deliver(handler);
}

}  // namespace

extern "C" {

// The three dialogs, their texts and layouts in twips, as JSON.
EMSCRIPTEN_KEEPALIVE const char* lexovo_dialogs() {
    nlohmann::json j;
    j["twips_per_pixel"] = kTwipsPerPixel;
    j["start"] = layout(start_dialog());
    j["solution"] = layout(solution_dialog());
    j["commands"] = layout(commands_dialog());
    j["seconds"] = seconds_items();
    j["walkthrough"] = walkthrough_text();
    return hand_out(j.dump());
}

// One downloaded data file into the data folder; false when its bytes
// could not be unpacked (it is then left out, as a missing file).
EMSCRIPTEN_KEEPALIVE int lexovo_unpack(const char* name, const char* packed_name, const unsigned char* bytes,
                                       int size) {
    mkdir(kWebDataFolder, 0755);
    return unpack_data_file(bytes, size_t(size), packed_name, std::string(kWebDataFolder) + "/" + name);
}

// The game window, made while the start dialog shows (its pictures are
// decoded then, not after "Gioca"). Test mode: the test drives the clock,
// the ticks, the random numbers and the boxes' answers (lexovo_test_*).
EMSCRIPTEN_KEEPALIVE void lexovo_prepare(int test_mode) {
    if (platform) return;
    platform = new WebPlatform(test_mode ? WebPlatform::Mode::Test : WebPlatform::Mode::Play);
    game = new GameWindow(*platform);
}

// "Gioca": the time limit the dialog's choice stands for, then the game
// window's load step.
EMSCRIPTEN_KEEPALIVE void lexovo_start(int timed, int item) {
    if (!platform || platform->attached()) return;
    time_limit = chosen_time_limit(timed != 0, item);
    platform->attach(game);
    deliver([](GameWindow& g) { g.Form_Load(); });
}

// The page timer's beat; whether the main tick ran.
EMSCRIPTEN_KEEPALIVE int lexovo_timer() { return platform && platform->timer_beat(); }

// Window events, as the game window's handlers take them: virtual-key
// codes, Shift/Ctrl/Alt masks, buttons 1 left, 2 right, 4 middle, pixels of
// the 480 x 540 window.
EMSCRIPTEN_KEEPALIVE void lexovo_key_down(int key, int shift) {
    deliver([=](GameWindow& g) { g.Form_KeyDown(key, shift); });
}
EMSCRIPTEN_KEEPALIVE void lexovo_key_up(int key, int shift) {
    deliver([=](GameWindow& g) { g.Form_KeyUp(key, shift); });
}
EMSCRIPTEN_KEEPALIVE void lexovo_key_press(int ch) {
    deliver([=](GameWindow& g) { g.Form_KeyPress(ch); });
}
EMSCRIPTEN_KEEPALIVE void lexovo_mouse_down(int button, int shift, int x, int y) {
    deliver([=](GameWindow& g) { g.Form_MouseDown(button, shift, float(x), float(y)); });
}
EMSCRIPTEN_KEEPALIVE void lexovo_mouse_move(int buttons, int shift, int x, int y) {
    deliver([=](GameWindow& g) { g.Form_MouseMove(buttons, shift, float(x), float(y)); });
}
EMSCRIPTEN_KEEPALIVE void lexovo_mouse_up(int button, int shift, int x, int y) {
    deliver([=](GameWindow& g) { g.Form_MouseUp(button, shift, float(x), float(y)); });
}
EMSCRIPTEN_KEEPALIVE void lexovo_click() {
    deliver([](GameWindow& g) { g.Form_Click(); });
}
EMSCRIPTEN_KEEPALIVE void lexovo_dblclick() {
    deliver([](GameWindow& g) { g.Form_DblClick(); });
}
// The window's close button.
EMSCRIPTEN_KEEPALIVE void lexovo_close() {
    deliver([](GameWindow& g) { g.Form_Unload(); });
}

// The game's state as one line of lexovo-replay's trace (after the script
// command `cmd` on line `line`; ran: -1 for a command that is no tick).
EMSCRIPTEN_KEEPALIVE const char* lexovo_state(int line, const char* cmd, int ran) {
    if (!game) return "";
    bool r = ran > 0;
    return hand_out(trace_line(line, cmd, ran < 0 ? nullptr : &r, platform->ended(), *game, platform->take_log()));
}

EMSCRIPTEN_KEEPALIVE int lexovo_ticks() { return platform ? platform->ticks() : 0; }
EMSCRIPTEN_KEEPALIVE int lexovo_box_open() { return platform && platform->box_open(); }
EMSCRIPTEN_KEEPALIVE int lexovo_busy() { return platform && platform->busy(); }
EMSCRIPTEN_KEEPALIVE int lexovo_ended() { return platform && platform->ended(); }

// --- test mode: lexovo-replay's tick, wait, random and answer -------------

EMSCRIPTEN_KEEPALIVE int lexovo_test_tick() { return platform && platform->test_tick(); }
EMSCRIPTEN_KEEPALIVE void lexovo_test_wait(double ms) {
    if (platform) platform->test_wait(int64_t(ms));
}
EMSCRIPTEN_KEEPALIVE void lexovo_test_random(double v) {
    if (platform) platform->test_random(v);
}
EMSCRIPTEN_KEEPALIVE void lexovo_test_answer(int answer) {
    if (platform) platform->test_answer(Answer(answer));
}

}  // extern "C"

int main() { return 0; }
