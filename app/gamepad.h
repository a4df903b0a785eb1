// Game controllers through SDL2's game controller support: the d-pad or the
// left stick are the arrow keys, A held is Shift (the jump), B is the mouse
// button at the pointer, the right stick moves the pointer (to search the
// shelves and to drag objects), Start is Esc and Back is 'm'. The game hears
// exactly what the keyboard and the mouse would make it hear: a held
// direction repeats its key-down as a held key does. Controllers may come
// and go at any time; with none, nothing changes.
#pragma once
#include <cstdint>
#include <map>

class GameInput;

class Gamepad {
public:
    // Where the pad's input goes, and the pointer it moves.
    struct Target {
        virtual ~Target() = default;
        // nullptr while the game is not to be steered (a message box is
        // open, a recorded game plays): the pad's presses are then dropped.
        virtual GameInput* input() = 0;
        virtual void pointer(int& x, int& y) = 0;  // game pixels
        virtual void move_pointer(int x, int y, int buttons, int shift) = 0;
    };

    explicit Gamepad(Target& target);
    ~Gamepad();
    Gamepad(const Gamepad&) = delete;
    Gamepad& operator=(const Gamepad&) = delete;

    // Whether SDL's controller support could start.
    bool available() const { return started_; }
    int controllers() const { return int(open_.size()); }

    // Takes in what the controllers did since the last call; `now_ms` is a
    // monotonic clock. Call it often (every 16 ms or so).
    void poll(int64_t now_ms);

    // Key repeat of a held direction, as an X server's default.
    static constexpr int kRepeatDelayMs = 660, kRepeatIntervalMs = 40;
    // Right stick: dead zone, and game pixels a second at full tilt.
    static constexpr int kDeadZone = 8000;
    static constexpr double kPointerSpeed = 480;

private:
    struct State {
        bool dir[4] = {};  // left, up, right, down (the order of their key codes)
        bool shift = false, click = false, start = false, back = false;
        int rx = 0, ry = 0;
    };
    State read() const;
    void release_all();
    void changed(const State& now, int64_t now_ms);

    Target& target_;
    bool started_ = false;
    std::map<int, void*> open_;  // SDL_GameController* by joystick instance id
    State held_;
    bool click_unheard_ = false;  // B went down while nothing was steered
    int repeat_dir_ = -1;
    int64_t next_repeat_ = 0;
    int64_t last_poll_ = -1;
    double px_ = -1, py_ = -1;  // the pointer as the stick moves it
};
