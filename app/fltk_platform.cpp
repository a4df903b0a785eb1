// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fltk_platform.h"

#include <FL/Fl.H>
#include <FL/Fl_RGB_Image.H>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdlib>
#include <filesystem>

#include "app/message_box.h"
#include "app/playback.h"
#include "app/recorder.h"
#include "app/sdl_audio.h"
#include "core/bmp_load.h"
#include "core/data_file.h"
#include "core/png_write.h"
#include "core/runtime_error.h"
#include "game/game_window.h"
#include "game/stored_pictures.h"
#include "platform/headless_platform.h"
#ifdef LEXOVO_TEST_HOOKS
#include "tools/replay/trace_writer.h"
#endif

#include <FL/x.H>  // last: its X11 macros clash with the names above
#include <X11/XKBlib.h>

namespace fs = std::filesystem;

namespace {

constexpr double kTickSeconds = 0.060;
constexpr double kPadSeconds = 0.016;

const std::chrono::steady_clock::time_point program_start = std::chrono::steady_clock::now();

Surface stored(const char* name) {
    const StoredPicture* p = find_stored_picture(name);
    if (!p) return {};
    try {
        return load_bmp_memory(p->data, p->size);
    } catch (const RuntimeError&) {
        return {};
    }
}

// Empty when it cannot be known: the data folder is then unknown too, and
// no other folder stands in for it.
fs::path executable_folder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    buf[n] = 0;
    return fs::path(buf).parent_path();
}

}  // namespace

int64_t real_us() {
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - program_start).count();
}

std::unique_ptr<Fl_RGB_Image> rgba_image(const Surface& s, int scale) {
    if (s.empty()) return nullptr;
    int W = s.width() * scale, H = s.height() * scale;
    auto* px = new uchar[size_t(W) * size_t(H) * 4];
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            Rgb c = s.get(x / scale, y / scale);
            uchar* p = px + (size_t(y) * size_t(W) + size_t(x)) * 4;
            p[0] = uchar(c >> 16);
            p[1] = uchar(c >> 8);
            p[2] = uchar(c);
            p[3] = c == rgb(255, 0, 255) ? 0 : 255;
        }
    auto img = std::make_unique<Fl_RGB_Image>(px, W, H, 4);
    img->alloc_array = 1;  // the image frees the pixels
    return img;
}

FltkPlatform::FltkPlatform(Mode mode)
    : mode_(mode), random_(static_cast<std::mt19937::result_type>(
                       std::chrono::system_clock::now().time_since_epoch().count())) {
#ifdef LEXOVO_TEST_HOOKS
    if (const char* f = std::getenv("LEXOVO_TEST_LOG")) log_ = std::fopen(f, "a");
    if (const char* f = std::getenv("LEXOVO_TEST_TRACE")) trace_ = std::fopen(f, "w");
#endif
    fl_open_display();
    view_ = new GameView(screen_scale());
    view_->on_scale = [this](int s) {
        make_pointer_images(s);
        apply_cursor();
    };
    window_icon_ = rgba_image(stored("WindowIcon"));
    if (window_icon_) view_->icon(window_icon_.get());
    make_pointer_images(view_->scale());
    audio_ = std::make_unique<SdlAudio>([this](const std::string& n) { return data_file(n); });
    if (mode_ != Mode::Live) model_ = std::make_unique<HeadlessPlatform>("");
    pad_ = std::make_unique<Gamepad>(static_cast<Gamepad::Target&>(*this));
    if (pad_->available()) Fl::add_timeout(kPadSeconds, pad_poll, this);
}

FltkPlatform::~FltkPlatform() {
    Fl::remove_timeout(pad_poll, this);
    if (log_) std::fclose(log_);
    if (trace_) std::fclose(trace_);
}

void FltkPlatform::make_pointer_images(int scale) {
    if (scale == pointer_scale_) return;
    pointer_scale_ = scale;
    for (int k = 1; k <= 4; ++k)
        pointer_images_[size_t(k)] = rgba_image(stored(("Picture30_" + std::to_string(k)).c_str()), scale);
}

void FltkPlatform::record_to(std::FILE* out) {
    record_file_ = out;
    recorder_ = std::make_unique<Recorder>(out, real_us);
    recorder_->header("Gioco di Lexovo: a game recorded with lexovo --record.\n"
                      "Play it back with lexovo --play FILE, or trace it with lexovo-replay FILE.");
}

void FltkPlatform::play(std::vector<ScriptCommand> script) {
    playback_ = std::make_unique<Playback>(std::move(script), *calls_, *model_, [this](const std::string& file) {
        if (!write_png(game_->window_picture(), file))
            std::fprintf(stderr, "lexovo: cannot write %s\n", file.c_str());
    });
}

void FltkPlatform::attach(GameWindow* game) {
    game_ = game;
    calls_ = std::make_unique<GameCalls>(*game);
    calls_->set_listener(this);
    calls_->set_defer_nested(mode_ == Mode::Record);
    view_->set_input(mode_ == Mode::Play ? nullptr : calls_.get());
    view_->on_close = [this] { game_->run_handler([this] { game_->Form_Unload(); }); };
}

void FltkPlatform::start_game(int limit) {
    time_limit = limit;
    calls_->run({GameCall::Kind::Load, limit});
    if (playback_) playback_->start();
}

GameInput* FltkPlatform::input() {
    // A box is modal: the pad reaches the game no more than the keyboard does.
    if (box_depth_ > 0 || !game_ || mode_ == Mode::Play || !view_->shown()) return nullptr;
    return calls_.get();
}

void FltkPlatform::pad_poll(void* self) {
    auto* p = static_cast<FltkPlatform*>(self);
    Fl::repeat_timeout(kPadSeconds, pad_poll, self);
    p->pad_->poll(real_us() / 1000);
}

// --- every call into the game --------------------------------------------

void FltkPlatform::before(const GameCall& c) {
    using K = GameCall::Kind;
    const std::string n = " ";
    switch (c.kind) {
    case K::Load: log("gioca " + std::to_string(c.a)); break;
    case K::KeyDown: log("keydown " + std::to_string(c.a) + n + std::to_string(c.shift)); break;
    case K::KeyUp: log("keyup " + std::to_string(c.a)); break;
    case K::Char: log("keypress " + std::to_string(c.a)); break;
    case K::MouseDown:
        log("mousedown " + std::to_string(c.button) + n + std::to_string(c.a) + n + std::to_string(c.b));
        break;
    case K::MouseUp:
        log("mouseup " + std::to_string(c.button) + n + std::to_string(c.a) + n + std::to_string(c.b));
        break;
    case K::Click: log("click"); break;
    case K::DblClick: log("dblclick"); break;
    case K::Tick: log("tick"); break;
    case K::MouseMove: break;
    }
    if (recorder_ && c.kind != K::Load) model_->advance_clock(recorder_->before_call());
    // The script's clock: a tick moves it on by 60 ms before it runs.
    if (model_ && c.kind == K::Tick) model_->advance_clock(60);
}

void FltkPlatform::after(const GameCall& c, bool ran) {
    const bool tick = c.kind == GameCall::Kind::Tick;
    int line = 0;
    if (recorder_) line = c.kind == GameCall::Kind::Load ? recorder_->start(c.script_line())
                                                         : recorder_->after_call(c.script_line(), tick);
    else if (playback_) line = playback_->line();
    trace(line, c, ran, false);
}

void FltkPlatform::trace(int line, const GameCall& c, bool ran, bool ended) {
#ifdef LEXOVO_TEST_HOOKS
    if (!trace_ || !model_) return;
    const bool tick = c.kind == GameCall::Kind::Tick;
    std::string t = trace_line(line, c.word(), tick ? &ran : nullptr, ended, *game_, model_->take_log());
    std::fputs(t.c_str(), trace_);
    std::fputc('\n', trace_);
    std::fflush(trace_);
#else
    (void)line, (void)c, (void)ran, (void)ended;
#endif
}

void FltkPlatform::log(const std::string& line) {
    if (!log_) return;
    std::fprintf(log_, "%lld %s\n", static_cast<long long>(clock_ms()), line.c_str());
    std::fflush(log_);
}

// --- the platform ----------------------------------------------------------

// Run from the build tree, the data lie beside the program; installed, they
// lie in share/games/lexovo under the program's prefix.
// The folder is made current as the game always did, but every data file is
// opened by its full path inside it: a folder that cannot be entered is
// reported (76) and its files then fail one by one, never read from the
// folder the player started the program in.
void FltkPlatform::enter_program_folder() {
    const fs::path exe = executable_folder();
    if (exe.empty()) throw err::path_not_found();
    const fs::path installed = exe.parent_path() / "share" / "games" / "lexovo";
    std::error_code ec;
    fs::path folder = exe;
    if (!fs::exists(exe / "gameb2.bmp", ec) && fs::is_directory(installed, ec)) folder = installed;
    data_folder_ = folder.string();
    if (!can_enter_folder(data_folder_)) throw err::path_not_found();
    fs::current_path(folder, ec);
    if (ec) throw err::path_not_found();
}

std::string FltkPlatform::data_file(const std::string& bare_name) const { return data_path(data_folder_, bare_name); }

void FltkPlatform::show_window() {
    view_->show();
    // Held keys repeat as key-downs only, without a key-up before each.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(fl_display, True, &supported);
    Fl::focus(view_);
    apply_cursor();
    log(std::string("present ") + view_->present_path());
}

void FltkPlatform::present(const Surface& picture) {
    view_->show_picture(picture);
    if (view_->shown()) Fl::flush();
}

void FltkPlatform::close_window() { view_->hide(); }

Answer FltkPlatform::message_box(const MessageBoxRequest& box) {
    // The tick keeps being scheduled while the box waits, but it does not
    // run until the box has been answered.
    ++box_depth_;
    log("box " + box.title);
    Answer a;
    if (mode_ == Mode::Play) {
        // The script answers; the box is shown meanwhile and answers by itself.
        a = model_->message_box(box);
        run_message_box(box, view_->scale(), playback_->box_seconds(), a);
    } else {
        const int64_t opened = real_us();
        a = run_message_box(box, view_->scale());
        if (recorder_) {
            recorder_->box_answered(a, real_us() - opened);
            model_->queue_answer(a);
            model_->message_box(box);
        }
    }
    --box_depth_;
    static const char* const names[] = {"ok", "yes", "no", "retry", "cancel"};
    log(std::string("answer ") + names[int(a)]);
    if (view_->shown()) Fl::focus(view_);
    return a;
}

void FltkPlatform::do_events() { Fl::check(); }

void FltkPlatform::set_pointer(Pointer p) {
    pointer_ = p;
    apply_cursor();
}

void FltkPlatform::show_cursor(bool show) {
    cursor_count_ += show ? 1 : -1;
    apply_cursor();
}

void FltkPlatform::apply_cursor() {
    if (cursor_count_ < 0) {
        view_->cursor(FL_CURSOR_NONE);
        return;
    }
    Fl_RGB_Image* img = pointer_ == Pointer::Arrow ? nullptr : pointer_images_[size_t(pointer_)].get();
    if (!img) {
        view_->cursor(FL_CURSOR_DEFAULT);
        return;
    }
    // The icons' hot spot is their middle.
    view_->cursor(img, img->w() / 2, img->h() / 2);
}

void FltkPlatform::set_timer(bool on) {
    if (on == timer_on_) return;
    timer_on_ = on;
    if (recorder_) recorder_->timer_set(on);
    if (mode_ == Mode::Play) return;  // the script's ticks drive the game
    if (on) Fl::add_timeout(kTickSeconds, tick, this);
    else Fl::remove_timeout(tick, this);
}

void FltkPlatform::tick(void* self) {
    auto* p = static_cast<FltkPlatform*>(self);
    Fl::repeat_timeout(kTickSeconds, tick, self);
    // No tick inside a message box (the box's own event loop keeps the timer
    // going) nor inside another call into the game that lets events run.
    if (p->box_depth_ > 0 || !p->calls_) return;
    p->calls_->tick();
}

int64_t FltkPlatform::clock_ms() {
    if (model_) return model_->clock_ms();
    return real_us() / 1000;
}

double FltkPlatform::random_uniform() {
    if (mode_ == Mode::Play) return model_->random_uniform();
    double v = std::uniform_real_distribution<double>(0.0, 1.0)(random_);
    if (v >= 1.0) v = std::nextafter(1.0, 0.0);  // the distribution may round up to its end
    if (recorder_) recorder_->random_drawn(v);
    return v;
}

void FltkPlatform::sound_device_create() { audio_->create_device(); }

void FltkPlatform::sound_load(int id, const std::string& path) {
    audio_->load(id, path);
    if (!model_) return;
    try {
        model_->sound_load(id, path);
    } catch (const RuntimeError&) {
        // the mixer took it: the script's model plays it as silence of no length
    }
}

void FltkPlatform::sound_play(int id, bool looping) {
    audio_->play(id, looping);
    if (model_) model_->sound_play(id, looping);
}

void FltkPlatform::sound_stop(int id) {
    audio_->stop(id);
    if (model_) model_->sound_stop(id);
}

void FltkPlatform::sound_rewind(int id) {
    audio_->rewind(id);
    if (model_) model_->sound_rewind(id);
}

// Recording or playing back, the game hears the effects' status on the
// script's clock, so that the replay takes the same turns.
int FltkPlatform::sound_status(int id) { return model_ ? model_->sound_status(id) : audio_->status(id); }

void FltkPlatform::sound_release(int id) {
    audio_->release(id);
    if (model_) model_->sound_release(id);
}

void FltkPlatform::music_init() { audio_->music_init(); }

void FltkPlatform::play_midi(const std::string& bare_name) {
    if (model_) model_->play_midi(bare_name);
    // The first tune may still be loading when the window opens: it then
    // starts a moment later instead of holding the first picture back.
    Fl::remove_timeout(music_poll, this);
    if (!audio_->play_midi_soon(bare_name)) Fl::add_timeout(0.02, music_poll, this);
}

void FltkPlatform::music_poll(void* self) {
    auto* p = static_cast<FltkPlatform*>(self);
    if (!p->audio_->poll()) Fl::repeat_timeout(0.02, music_poll, self);
}

void FltkPlatform::end_program() {
    log("end");
    // The call that ended the program goes into the recording and the trace.
    if (calls_ && calls_->busy()) {
        const GameCall& c = calls_->current();
        const bool tick = c.kind == GameCall::Kind::Tick;
        int line = 0;
        if (recorder_) line = recorder_->after_call(c.script_line(), tick);
        else if (playback_) line = playback_->line();
        trace(line, c, true, true);
    }
    if (recorder_) recorder_->finish();
    if (record_file_) std::fclose(record_file_);
    audio_->shutdown();
    if (log_) std::fflush(log_);
    std::exit(0);
}
