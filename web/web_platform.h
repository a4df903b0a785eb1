// SPDX-License-Identifier: GPL-3.0-or-later
// The platform for the browser: the game window is a canvas in the page,
// the message boxes are boxes in the page that the game waits on, sound
// goes through the page's WebAudio layer and the 60 ms tick comes from a
// page timer. The page's side lives in web/page/lexovo.js; the two talk
// through the functions exported in web_main.cpp and the page hooks below.
//
// The bookkeeping of the sixteen effect buffers, the clock and chance in
// test mode, and the log of sounds, tunes and boxes are those of the replay
// (a HeadlessPlatform kept as a twin): the page plays what the game asks,
// and the game sees the same effect status, the same clock and the same
// random numbers as lexovo-replay does. In play mode the twin's clock
// follows the real one.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "platform/platform.h"

class GameWindow;

class WebPlatform : public Platform {
public:
    enum class Mode { Play, Test };
    explicit WebPlatform(Mode mode);

    void attach(GameWindow* game) { game_ = game; }
    bool attached() const { return game_ != nullptr; }
    Mode mode() const { return mode_; }

    // Whether a window event may reach the game now: not before it is
    // there, not while a box waits for its answer, not inside a tick, not
    // after the end.
    bool accepts_events() const { return game_ && !busy() && !ended_; }
    // A handler or a tick is running (it may be waiting in a box).
    bool busy() const { return delivering_ || in_tick_ || box_depth_ > 0; }
    bool ended() const { return ended_; }
    bool box_open() const { return box_depth_ > 0; }
    bool timer_on() const { return timer_on_; }

    // The event boundary: hands one window event to the game if it may
    // reach it now (see accepts_events); the end of the program inside it
    // is noted and goes no further.
    void deliver(const std::function<void(GameWindow&)>& handler);

    // The page timer's 60 ms beat (play mode): one main tick, unless Timer1
    // is off, a tick is running or a box is open. Whether the tick ran.
    bool timer_beat();

    // Test mode: what lexovo-replay's script commands do.
    bool test_tick();  // clock + 60 ms, then the main tick if Timer1 is on; whether it ran
    void test_wait(int64_t ms) { twin_.advance_clock(ms); }
    void test_random(double v) { twin_.queue_random(v); }
    void test_answer(Answer a) { answers_.push_back(a); }

    // Sounds, tunes and boxes since the last call (the replay's log). Kept
    // from the first call on (and always in test mode); a player's page
    // does not keep it.
    HeadlessPlatform::Log take_log() {
        keep_log_ = true;
        return twin_.take_log();
    }
    int ticks() const { return ticks_; }

    // Marks the program as ended (the page then says so).
    void program_ended();

    // --- Platform ---
    void enter_program_folder() override;
    std::string data_file(const std::string& bare_name) const override;
    void show_window() override;
    void present(const Surface& window_picture) override;
    void close_window() override;
    Answer message_box(const MessageBoxRequest& box) override;
    void do_events() override {}
    void set_pointer(Pointer p) override;
    void show_cursor(bool show) override;
    void set_timer(bool on) override;
    int64_t clock_ms() override;
    double random_uniform() override;
    void sound_device_create() override;
    void sound_load(int id, const std::string& path) override;
    void sound_play(int id, bool looping) override;
    void sound_stop(int id) override;
    void sound_rewind(int id) override;
    int sound_status(int id) override;
    void sound_release(int id) override;
    void music_init() override;
    void play_midi(const std::string& bare_name) override;
    [[noreturn]] void end_program() override;

private:
    void sync_clock();  // play mode: the twin's clock to the real one
    void run_tick();
    void forget_log();
    void apply_cursor();

    Mode mode_;
    GameWindow* game_ = nullptr;
    HeadlessPlatform twin_;
    std::deque<Answer> answers_;  // test mode: answers for the next boxes
    std::mt19937 random_;         // play mode
    std::vector<uint8_t> rgba_;   // the window picture as the canvas takes it
    Pointer pointer_ = Pointer::Arrow;
    int cursor_count_ = 0;  // as the system keeps it: shown while >= 0
    bool timer_on_ = false;
    bool in_tick_ = false;
    bool delivering_ = false;
    int box_depth_ = 0;
    bool ended_ = false;
    int ticks_ = 0;
    bool keep_log_ = false;
};

// The data folder in the browser's in-memory file system.
constexpr const char* kWebDataFolder = "/data";
