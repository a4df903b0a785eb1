// The platform for players: the game window in FLTK, its pointer and
// message boxes, the 60 ms tick as an FLTK timeout, sound through SDL2_mixer.
#pragma once
#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <FL/Fl_Window.H>

#include "app/input_map.h"
#include "platform/platform.h"

class Fl_RGB_Image;
class GameWindow;
class SdlAudio;

// The game window on the screen: shows the last picture presented, enlarged
// by a whole factor on very dense screens, and hands keys and mouse events to
// the game window's handlers.
class FltkPlatform;

class GameView : public Fl_Window {
public:
    GameView(int scale, FltkPlatform& platform);
    void attach(GameWindow* game) { game_ = game; }
    int scale() const { return scale_; }

    void show_picture(const Surface& picture);

    void draw() override;
    int handle(int event) override;

    static constexpr int kW = 480, kH = 540;

private:
    static void on_close(Fl_Widget*, void*);
    float logical(int v) const;

    void note(const char* what, int a = kNone, int b = kNone, int c = kNone);
    static constexpr int kNone = -1000000;

    int scale_;
    FltkPlatform& platform_;
    std::vector<unsigned char> rgb_;  // kW*scale x kH*scale, 3 bytes a pixel
    GameWindow* game_ = nullptr;
    input::ClickSequence clicks_;
};

class FltkPlatform : public Platform {
public:
    FltkPlatform();
    ~FltkPlatform() override;

    void attach(GameWindow* game);
    GameView& view() { return *view_; }

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

    // Test hook: with LEXOVO_TEST_LOG naming a file, the window tests read
    // one line per tick, message box and start of play from it.
    void log(const std::string& line);
    bool logging() const { return log_ != nullptr; }

private:
    static void tick(void* self);
    static void music_poll(void* self);
    void apply_cursor();

    GameView* view_;
    GameWindow* game_ = nullptr;
    std::unique_ptr<SdlAudio> audio_;
    std::array<std::unique_ptr<Fl_RGB_Image>, 5> pointer_images_;
    std::unique_ptr<Fl_RGB_Image> window_icon_;
    Pointer pointer_ = Pointer::Arrow;
    int cursor_count_ = 0;  // as the system keeps it: shown while >= 0
    bool timer_on_ = false;
    bool in_tick_ = false;
    int box_depth_ = 0;
    std::mt19937 random_;
    std::FILE* log_ = nullptr;
};

// Colour-keyed picture (magenta is transparent) into an FLTK image with alpha,
// enlarged by `scale` without smoothing.
std::unique_ptr<Fl_RGB_Image> rgba_image(const Surface& s, int scale = 1);

// Whole-number enlargement for the screen's density: 1 up to 191 dpi, then
// dpi / 96. LEXOVO_SCALE overrides it.
int screen_scale();
