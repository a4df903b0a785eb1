#include "app/playback.h"

#include <FL/Fl.H>

#include "app/game_calls.h"
#include "platform/headless_platform.h"

namespace {

constexpr double kTickSeconds = 0.060;

// The handler call a script command stands for, made as lexovo-replay makes it.
GameCall call_of(const ScriptCommand& c) {
    using K = GameCall::Kind;
    GameCall g;
    const int shift = c.shift ? 1 : 0;
    auto at = [&](K k, int sh, int button) {
        g = {k, int(c.ints[0]), int(c.ints[1]), sh, button};
    };
    if (c.cmd == "keydown") g = {K::KeyDown, int(c.ints[0]), 0, shift};
    else if (c.cmd == "keyup") g = {K::KeyUp, int(c.ints[0]), 0, shift};
    else if (c.cmd == "keypress") g = {K::Char, int(c.ints[0])};
    else if (c.cmd == "mousedown") at(K::MouseDown, shift, 1);
    else if (c.cmd == "mousemove") at(K::MouseMove, 0, 0);
    else if (c.cmd == "mouseup") at(K::MouseUp, 0, 1);
    else if (c.cmd == "click") g = {K::Click};
    else if (c.cmd == "dblclick") g = {K::DblClick};
    return g;
}

}  // namespace

Playback::Playback(std::vector<ScriptCommand> script, GameCalls& calls, HeadlessPlatform& model,
                   std::function<void(const std::string&)> shot)
    : script_(std::move(script)), calls_(calls), model_(model), shot_(std::move(shot)) {
    if (!script_.empty()) line_ = script_.front().line;
}

Playback::~Playback() { Fl::remove_timeout(step_cb, this); }

void Playback::start() { Fl::add_timeout(0.0, step_cb, this); }

void Playback::step_cb(void* self) { static_cast<Playback*>(self)->step(); }

double Playback::box_seconds() {
    // A tick's box: the command after its run of ticks, if this is the last.
    size_t following = ticks_left_ == 0 ? next_ : ticks_left_ == 1 ? next_ + 1 : script_.size();
    if (following >= script_.size() || script_[following].cmd != "wait") return 1.0;
    waited_ahead_ = true;
    return script_[following].value / 1000;
}

void Playback::step() {
    // The load step lets events run: nothing is played inside another call.
    if (calls_.busy()) {
        Fl::repeat_timeout(0.01, step_cb, this);
        return;
    }
    while (next_ < script_.size() || ticks_left_ > 0) {
        if (ticks_left_ > 0) {
            calls_.run({GameCall::Kind::Tick});
            if (--ticks_left_ == 0) ++next_;
            Fl::repeat_timeout(kTickSeconds, step_cb, this);
            return;
        }
        const ScriptCommand& c = script_[next_];
        line_ = c.line;
        if (c.cmd == "tick") {
            ticks_left_ = c.ints[0];
            if (ticks_left_ == 0) ++next_;
            continue;
        }
        ++next_;
        if (c.cmd == "answer") {
            model_.queue_answer(answer_named(c.text));
        } else if (c.cmd == "random") {
            model_.queue_random(c.value);
        } else if (c.cmd == "shot") {
            shot_(c.text);
        } else if (c.cmd == "wait") {
            model_.advance_clock(int64_t(c.value));
            if (waited_ahead_) {
                waited_ahead_ = false;
                continue;
            }
            Fl::repeat_timeout(c.value / 1000, step_cb, this);
            return;
        } else {
            calls_.run(call_of(c));
        }
    }
}
