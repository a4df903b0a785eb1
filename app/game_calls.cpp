#include "app/game_calls.h"

#include "game/game_window.h"

const char* GameCall::word() const {
    switch (kind) {
    case Kind::Load: return "gioca";
    case Kind::KeyDown: return "keydown";
    case Kind::KeyUp: return "keyup";
    case Kind::Char: return "keypress";
    case Kind::MouseDown: return "mousedown";
    case Kind::MouseMove: return "mousemove";
    case Kind::MouseUp: return "mouseup";
    case Kind::Click: return "click";
    case Kind::DblClick: return "dblclick";
    case Kind::Tick: return "tick";
    }
    return "?";
}

std::string GameCall::script_line() const {
    std::string s = word();
    auto num = [&](int v) { s += " " + std::to_string(v); };
    // The script carries a Shift state of 0 or 1; the game only ever asks
    // whether it is 0, so any modifier held is written as "shift".
    const char* sh = shift != 0 ? " shift" : "";
    switch (kind) {
    case Kind::Load:
        if (a != 0) num(a);
        break;
    case Kind::KeyDown:
    case Kind::KeyUp:
        num(a);
        s += sh;
        break;
    case Kind::Char: num(a); break;
    case Kind::MouseDown:
        num(a), num(b);
        s += sh;
        break;
    case Kind::MouseMove:
    case Kind::MouseUp: num(a), num(b); break;
    default: break;
    }
    return s;
}

void GameCalls::key_down(int key, int shift, int ch) {
    call({GameCall::Kind::KeyDown, key, 0, shift});
    if (ch >= 0) call({GameCall::Kind::Char, ch});
}

void GameCalls::key_up(int key, int shift) { call({GameCall::Kind::KeyUp, key, 0, shift}); }

void GameCalls::press(int button, int shift, int x, int y) {
    if (clicks_.press(button, x, y, now_())) call({GameCall::Kind::DblClick});
    else call({GameCall::Kind::MouseDown, x, y, shift, button});
}

void GameCalls::move(int buttons, int shift, int x, int y) {
    // Far outside the window a held button reports nothing the game's
    // 16-bit coordinates could not carry.
    auto clamp = [](int v) { return v < -32768 ? -32768 : v > 32767 ? 32767 : v; };
    call({GameCall::Kind::MouseMove, clamp(x), clamp(y), shift, buttons});
}

void GameCalls::release(int button, int shift, int x, int y) {
    call({GameCall::Kind::MouseUp, x, y, shift, button});
    if (clicks_.release_gives_click()) call({GameCall::Kind::Click});
}

bool GameCalls::tick() {
    if (depth_ > 0) return false;
    GameCall t{GameCall::Kind::Tick};
    call(t);
    return true;
}

void GameCalls::run(const GameCall& c) { call(c); }

void GameCalls::call(const GameCall& c) {
    if (depth_ > 0 && defer_nested_) {
        if (c.kind != GameCall::Kind::Tick) waiting_.push_back(c);
        return;
    }
    GameCall outer = current_;
    ++depth_;
    current_ = c;
    bool ran = true;
    if (listener_) listener_->before(c);
    invoke(c, ran);
    if (listener_) listener_->after(c, ran);
    current_ = outer;
    --depth_;
    while (depth_ == 0 && !waiting_.empty()) {
        GameCall next = waiting_.front();
        waiting_.pop_front();
        call(next);
    }
}

void GameCalls::invoke(const GameCall& c, bool& ran) {
    using K = GameCall::Kind;
    const float x = float(c.a), y = float(c.b);
    if (c.kind == K::Tick) ran = game_.timer_enabled();
    // Every call goes through the game window's event boundary.
    game_.run_handler([&] {
        switch (c.kind) {
        case K::Load: game_.Form_Load(); break;
        case K::KeyDown: game_.Form_KeyDown(c.a, c.shift); break;
        case K::KeyUp: game_.Form_KeyUp(c.a, c.shift); break;
        case K::Char: game_.Form_KeyPress(c.a); break;
        case K::MouseDown: game_.Form_MouseDown(c.button, c.shift, x, y); break;
        case K::MouseMove: game_.Form_MouseMove(c.button, c.shift, x, y); break;
        case K::MouseUp: game_.Form_MouseUp(c.button, c.shift, x, y); break;
        case K::Click: game_.Form_Click(); break;
        case K::DblClick: game_.Form_DblClick(); break;
        case K::Tick:
            if (ran) game_.Timer1_Timer();
            break;
        }
    });
}
