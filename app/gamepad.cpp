#include "app/gamepad.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "app/game_calls.h"

namespace {

constexpr int kVkLeft = 37, kVkShift = 16, kVkEscape = 27, kVkM = 77;
// Past this tilt the left stick holds a direction; it lets go below the
// second figure, so that a stick held near the edge does not chatter.
constexpr int kStickOn = 16384, kStickOff = 11000;

SDL_GameController* pad(void* p) { return static_cast<SDL_GameController*>(p); }

}  // namespace

Gamepad::Gamepad(Target& target) : target_(target) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // SDL has no window of its own here: it must not wait for one to have
    // the focus before it reports the controllers.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!started_) return;
    SDL_GameControllerEventState(SDL_ENABLE);
}

Gamepad::~Gamepad() {
    if (!started_) return;
    for (auto& [id, p] : open_) SDL_GameControllerClose(pad(p));
    open_.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

Gamepad::State Gamepad::read() const {
    State s;
    for (const auto& [id, p] : open_) {
        SDL_GameController* c = pad(p);
        auto button = [&](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(c, b) != 0; };
        auto axis = [&](SDL_GameControllerAxis a) { return int(SDL_GameControllerGetAxis(c, a)); };
        const int lx = axis(SDL_CONTROLLER_AXIS_LEFTX), ly = axis(SDL_CONTROLLER_AXIS_LEFTY);
        // A direction already held needs less tilt to stay held.
        auto tilt = [&](int v, int d) { return v >= (held_.dir[d] ? kStickOff : kStickOn); };
        s.dir[0] = s.dir[0] || button(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || tilt(-lx, 0);
        s.dir[1] = s.dir[1] || button(SDL_CONTROLLER_BUTTON_DPAD_UP) || tilt(-ly, 1);
        s.dir[2] = s.dir[2] || button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || tilt(lx, 2);
        s.dir[3] = s.dir[3] || button(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || tilt(ly, 3);
        s.shift = s.shift || button(SDL_CONTROLLER_BUTTON_A);
        s.click = s.click || button(SDL_CONTROLLER_BUTTON_B);
        s.start = s.start || button(SDL_CONTROLLER_BUTTON_START);
        s.back = s.back || button(SDL_CONTROLLER_BUTTON_BACK);
        const int rx = axis(SDL_CONTROLLER_AXIS_RIGHTX), ry = axis(SDL_CONTROLLER_AXIS_RIGHTY);
        if (std::abs(rx) > std::abs(s.rx)) s.rx = rx;
        if (std::abs(ry) > std::abs(s.ry)) s.ry = ry;
    }
    return s;
}

void Gamepad::poll(int64_t now) {
    if (!started_) return;
    SDL_Event e;
    bool removed = false;
    SDL_PumpEvents();
    while (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_CONTROLLERDEVICEADDED, SDL_CONTROLLERDEVICEREMOVED) > 0) {
        if (e.type == SDL_CONTROLLERDEVICEADDED) {
            if (SDL_GameController* c = SDL_GameControllerOpen(e.cdevice.which)) {
                int id = int(SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c)));
                if (open_.count(id)) SDL_GameControllerClose(c);  // already open: opening counts twice
                else open_[id] = c;
            }
        } else if (e.type == SDL_CONTROLLERDEVICEREMOVED) {
            auto it = open_.find(int(e.cdevice.which));
            if (it != open_.end()) {
                SDL_GameControllerClose(pad(it->second));
                open_.erase(it);
                removed = true;
            }
        }
    }
    // Whatever else SDL queued (its own joystick events) is of no use here.
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    const double dt = last_poll_ < 0 ? 0 : double(std::min<int64_t>(now - last_poll_, 100)) / 1000;
    last_poll_ = now;
    if (removed) release_all();  // an unplugged pad lets go of everything it held
    State s = read();
    if (!target_.input()) {
        // Nothing to steer: what is pressed now is not heard. A key's release
        // will be (as the keyboard's is); the mouse button's will not.
        if (s.click && !held_.click) click_unheard_ = true;
        held_ = s;
        held_.rx = held_.ry = 0;
        repeat_dir_ = -1;
        return;
    }
    changed(s, now);

    // The pointer: speed grows with the tilt beyond the dead zone.
    auto speed = [](int v) {
        int a = std::abs(v);
        if (a <= kDeadZone) return 0.0;
        double f = double(a - kDeadZone) / double(32767 - kDeadZone);
        return (v < 0 ? -1 : 1) * std::pow(std::min(f, 1.0), 1.5) * kPointerSpeed;
    };
    const double vx = speed(s.rx), vy = speed(s.ry);
    if (vx == 0 && vy == 0) {
        px_ = py_ = -1;  // the mouse may move it meanwhile: start from where it is next time
        return;
    }
    int x, y;
    target_.pointer(x, y);
    if (px_ < 0 || int(px_) != x || int(py_) != y) px_ = x + 0.5, py_ = y + 0.5;
    px_ = std::clamp(px_ + vx * dt, 0.0, 479.99);
    py_ = std::clamp(py_ + vy * dt, 0.0, 539.99);
    if (int(px_) != x || int(py_) != y)
        target_.move_pointer(int(px_), int(py_), held_.click ? 1 : 0, held_.shift ? 1 : 0);
}

void Gamepad::changed(const State& s, int64_t now) {
    GameInput* in = target_.input();
    // Shift first: the keyboard's Shift goes down before the arrow it jumps with.
    if (s.shift != held_.shift) {
        held_.shift = s.shift;
        if (s.shift) in->key_down(kVkShift, 1, -1);
        else in->key_up(kVkShift, 0);
    }
    const int shift = held_.shift ? 1 : 0;
    for (int d = 0; d < 4; ++d) {
        if (s.dir[d] == held_.dir[d]) continue;
        held_.dir[d] = s.dir[d];
        if (s.dir[d]) {
            in->key_down(kVkLeft + d, shift, -1);
            repeat_dir_ = d;  // the last key pressed is the one that repeats
            next_repeat_ = now + kRepeatDelayMs;
        } else {
            in->key_up(kVkLeft + d, shift);
            if (repeat_dir_ == d) repeat_dir_ = -1;
        }
    }
    if (repeat_dir_ >= 0 && now >= next_repeat_) {
        in->key_down(kVkLeft + repeat_dir_, shift, -1);
        next_repeat_ += kRepeatIntervalMs;
        if (next_repeat_ <= now) next_repeat_ = now + kRepeatIntervalMs;
    }
    if (s.click != held_.click) {
        held_.click = s.click;
        int x, y;
        target_.pointer(x, y);
        if (s.click) in->press(1, shift, x, y);
        else if (click_unheard_) click_unheard_ = false;
        else in->release(1, shift, x, y);
    }
    if (s.start != held_.start) {
        held_.start = s.start;
        if (s.start) in->key_down(kVkEscape, shift, 27);
        else in->key_up(kVkEscape, shift);
    }
    if (s.back != held_.back) {
        held_.back = s.back;
        // With Shift held the keyboard's M types a capital, which is not the music key.
        if (s.back) in->key_down(kVkM, shift, shift ? 'M' : 'm');
        else in->key_up(kVkM, shift);
    }
}

void Gamepad::release_all() {
    State none;
    if (target_.input()) changed(none, last_poll_);
    held_ = none;
    repeat_dir_ = -1;
}
