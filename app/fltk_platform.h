// SPDX-License-Identifier: GPL-3.0-or-later
// The platform for players: the game window in FLTK, its pointer and
// message boxes, the 60 ms tick as an FLTK timeout, sound through SDL2_mixer,
// game controllers through SDL. It can also record the game being played as
// a replay script (--record) or play one back (--play): the game's clock,
// chance and box answers then follow the script's rules (a virtual clock of
// 60 ms a tick and written waits), kept by a headless platform alongside.
#pragma once
#include <array>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/game_calls.h"
#include "app/game_view.h"
#include "app/gamepad.h"
#include "platform/platform.h"

class Fl_RGB_Image;
class GameWindow;
class HeadlessPlatform;
class Playback;
class Recorder;
class SdlAudio;
struct ScriptCommand;

class FltkPlatform : public Platform, private GameCalls::Listener, private Gamepad::Target {
public:
    enum class Mode { Live, Record, Play };

    explicit FltkPlatform(Mode mode = Mode::Live);
    ~FltkPlatform() override;

    // Recording: the script goes to `out` (which the platform then owns).
    void record_to(std::FILE* out);
    // Playing back: the checked script, its first command a gioca.
    void play(std::vector<ScriptCommand> script);

    void attach(GameWindow* game);
    GameView& view() { return *view_; }
    GameCalls& calls() { return *calls_; }
    // Starts the game with the start dialog's choice: the load step, then
    // the window. Recording, the choice is the script's first line.
    void start_game(int time_limit);

    void enter_program_folder() override;
    std::string data_file(const std::string& bare_name) const override;

    void show_window() override;
    void present(const Surface& window_picture) override;
    void close_window() override;

    Answer message_box(const MessageBoxRequest& box) override;
    void do_events() override;

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

    // Test builds: with LEXOVO_TEST_LOG naming a file, the window tests read
    // one line per tick, message box, key, click and start of play from it.
    void log(const std::string& line);
    bool logging() const { return log_ != nullptr; }

private:
    // GameCalls::Listener
    void before(const GameCall& c) override;
    void after(const GameCall& c, bool ran) override;
    // Gamepad::Target
    GameInput* input() override;
    void pointer(int& x, int& y) override { view_->pointer(x, y); }
    void move_pointer(int x, int y, int buttons, int shift) override { view_->move_pointer(x, y, buttons, shift); }

    static void tick(void* self);
    static void music_poll(void* self);
    static void pad_poll(void* self);
    void apply_cursor();
    void make_pointer_images(int scale);
    void trace(int line, const GameCall& c, bool ran, bool ended);

    Mode mode_;
    GameView* view_;
    GameWindow* game_ = nullptr;
    std::unique_ptr<GameCalls> calls_;
    std::unique_ptr<SdlAudio> audio_;
    std::unique_ptr<Gamepad> pad_;
    std::unique_ptr<HeadlessPlatform> model_;  // recording or playing: the script's clock and effects
    std::unique_ptr<Recorder> recorder_;
    std::unique_ptr<Playback> playback_;
    std::FILE* record_file_ = nullptr;
    std::array<std::unique_ptr<Fl_RGB_Image>, 5> pointer_images_;
    int pointer_scale_ = 0;
    std::unique_ptr<Fl_RGB_Image> window_icon_;
    Pointer pointer_ = Pointer::Arrow;
    int cursor_count_ = 0;  // as the system keeps it: shown while >= 0
    bool timer_on_ = false;
    int box_depth_ = 0;
    std::mt19937 random_;
    std::FILE* log_ = nullptr;
    std::FILE* trace_ = nullptr;
    std::string data_folder_;  // empty until the load step has looked for it
};

// Colour-keyed picture (magenta is transparent) into an FLTK image with alpha,
// enlarged by `scale` without smoothing.
std::unique_ptr<Fl_RGB_Image> rgba_image(const Surface& s, int scale = 1);

// Real time in microseconds since the program started.
int64_t real_us();
