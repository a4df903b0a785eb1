// The one place where the desktop front end calls the game window's
// handlers and its tick. The keyboard, the mouse, a gamepad and a recorded
// game all come in here, so they reach the game in the same shape, and a
// recording or a test log sees every call.
#pragma once
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "app/input_map.h"

class GameWindow;

// One call into the game, in the terms of a replay script.
struct GameCall {
    enum class Kind { Load, KeyDown, KeyUp, Char, MouseDown, MouseMove, MouseUp, Click, DblClick, Tick };
    Kind kind = Kind::Tick;
    int a = 0, b = 0;  // key or character code; or x, y; Load: the time limit
    int shift = 0;     // the Shift/Ctrl/Alt mask of the handler call
    int button = 1;    // of a press or release; the buttons held during a move

    // The command word of the replay script ("keydown", "tick", ...).
    const char* word() const;
    // The script line that makes the replay make this call.
    std::string script_line() const;
};

// What a front end hands in: key and button presses as a player makes them.
// GameCalls turns them into handler calls (a key-down also types its
// character; a press is a mouse-down or, the second of a double click, a
// double click; a release is a mouse-up and then perhaps a click).
class GameInput {
public:
    virtual ~GameInput() = default;
    // ch: the character the key types (Windows-1252), or -1.
    virtual void key_down(int key, int shift, int ch) = 0;
    virtual void key_up(int key, int shift) = 0;
    // Game pixels; a press is always on the picture.
    virtual void press(int button, int shift, int x, int y) = 0;
    virtual void move(int buttons, int shift, int x, int y) = 0;
    virtual void release(int button, int shift, int x, int y) = 0;
};

class GameCalls : public GameInput {
public:
    // Told before and after every call; after() is not told of a call that
    // ended the program (end_program() sees to that one).
    struct Listener {
        virtual ~Listener() = default;
        virtual void before(const GameCall&) {}
        virtual void after(const GameCall&, bool ran) { (void)ran; }
    };

    explicit GameCalls(GameWindow& game) : game_(game) {}

    void set_listener(Listener* l) { listener_ = l; }
    // While recording, a call that comes while another one runs (the load
    // step lets window events through) waits for it to finish, so that the
    // recording can list the calls one after the other.
    void set_defer_nested(bool on) { defer_nested_ = on; }
    // Milliseconds for telling a double click from two clicks.
    void set_clock(std::function<int64_t()> now) { now_ = std::move(now); }

    // GameInput
    void key_down(int key, int shift, int ch) override;
    void key_up(int key, int shift) override;
    void press(int button, int shift, int x, int y) override;
    void move(int buttons, int shift, int x, int y) override;
    void release(int button, int shift, int x, int y) override;

    // The main tick, unless another call is running (a tick never runs
    // inside a handler or another tick). Returns whether it ran.
    bool tick();
    // Runs one call as it is (a recorded game); a tick runs if Timer1 is on.
    void run(const GameCall& c);

    bool busy() const { return depth_ > 0; }
    // The call running now (valid while busy()).
    const GameCall& current() const { return current_; }

private:
    void call(const GameCall& c);
    void invoke(const GameCall& c, bool& ran);

    GameWindow& game_;
    Listener* listener_ = nullptr;
    bool defer_nested_ = false;
    int depth_ = 0;
    GameCall current_;
    std::deque<GameCall> waiting_;
    input::ClickSequence clicks_;
    std::function<int64_t()> now_ = [] {
        return int64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now().time_since_epoch()).count());
    };
};
