#include "app/fltk_platform.h"

#include <FL/Fl.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/fl_draw.H>
#include <FL/x.H>
#include <X11/XKBlib.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

#include "app/message_box.h"
#include "core/bmp_load.h"
#include "core/runtime_error.h"
#include "game/game_window.h"
#include "game/stored_pictures.h"
#include "app/sdl_audio.h"

namespace fs = std::filesystem;

namespace {

constexpr double kTickSeconds = 0.060;

// The game clock counts from the start of the program.
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

fs::path executable_folder() {
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return fs::current_path();
    buf[n] = 0;
    return fs::path(buf).parent_path();
}

}  // namespace

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

int screen_scale() {
    if (const char* e = std::getenv("LEXOVO_SCALE")) {
        int s = std::atoi(e);
        if (s >= 1 && s <= 8) return s;
    }
    float h = 0, v = 0;
    Fl::screen_dpi(h, v);
    // The X server works the density out from whole millimetres: 192 dpi
    // may come back as 191.7.
    float dpi = (h + v) / 2;
    if (dpi < 188) return 1;
    int scale = std::max(2, int(dpi / 96 + 0.05f));
    int sx, sy, sw, sh;
    Fl::screen_work_area(sx, sy, sw, sh);
    while (scale > 1 && (GameView::kW * scale > sw || GameView::kH * scale > sh)) --scale;
    return scale;
}

// --- the window ---------------------------------------------------------

GameView::GameView(int scale, FltkPlatform& platform)
    : Fl_Window(kW * scale, kH * scale, "Gioco di Lexovo"), scale_(scale), platform_(platform),
      rgb_(size_t(kW) * size_t(kH) * size_t(scale) * size_t(scale) * 3, 0) {
    end();
    size_range(w(), h(), w(), h());
    callback(on_close, this);
    int sx, sy, sw, sh;
    Fl::screen_work_area(sx, sy, sw, sh);
    position(sx + std::max(0, (sw - w()) / 2), sy + std::max(0, (sh - h()) / 2));
}

void GameView::show_picture(const Surface& pic) {
    const int W = kW * scale_;
    int rows = std::min(kH, pic.height()), cols = std::min(kW, pic.width());
    for (int y = 0; y < rows; ++y) {
        const Rgb* src = pic.row(y);
        unsigned char* line = rgb_.data() + size_t(y) * size_t(scale_) * size_t(W) * 3;
        unsigned char* p = line;
        for (int x = 0; x < cols; ++x) {
            Rgb c = src[x];
            for (int k = 0; k < scale_; ++k) {
                *p++ = static_cast<unsigned char>(c >> 16);
                *p++ = static_cast<unsigned char>(c >> 8);
                *p++ = static_cast<unsigned char>(c);
            }
        }
        for (int k = 1; k < scale_; ++k)
            std::copy(line, line + size_t(W) * 3, line + size_t(k) * size_t(W) * 3);
    }
    redraw();
}

void GameView::note(const char* what, int a, int b, int c) {
    if (!platform_.logging()) return;
    std::string line = what;
    for (int v : {a, b, c})
        if (v != kNone) line += " " + std::to_string(v);
    platform_.log(line);
}

void GameView::draw() { fl_draw_image(rgb_.data(), 0, 0, w(), h(), 3, 0); }

float GameView::logical(int v) const {
    // The game sees its own 480 x 540 pixels: whole pixels, rounded down,
    // also outside the window while a button is held.
    if (scale_ == 1) return float(v);
    return float(v >= 0 ? v / scale_ : -((-v + scale_ - 1) / scale_));
}

int GameView::handle(int e) {
    switch (e) {
    case FL_FOCUS:
    case FL_UNFOCUS:
    case FL_ENTER:
    case FL_LEAVE:
        return 1;
    default:
        break;
    }
    if (!game_) return Fl_Window::handle(e);
    // Each handler runs through the game window's event boundary.
    GameWindow& g = *game_;
    switch (e) {
    case FL_KEYDOWN: {
        int key = Fl::event_key();
        int shift = input::shift_mask(Fl::event_state(), key, true);
        note("keydown", input::virtual_key(key), shift);
        g.run_handler([&] { g.Form_KeyDown(input::virtual_key(key), shift); });
        int ch = input::char_code(std::string(Fl::event_text(), size_t(Fl::event_length())));
        if (ch >= 0) {
            note("keypress", ch);
            g.run_handler([&] { g.Form_KeyPress(ch); });
        }
        return 1;
    }
    case FL_KEYUP: {
        int key = Fl::event_key();
        note("keyup", input::virtual_key(key));
        g.run_handler([&] { g.Form_KeyUp(input::virtual_key(key), input::shift_mask(Fl::event_state(), key, false)); });
        return 1;
    }
    case FL_PUSH: {
        int b = input::button_of(Fl::event_button());
        float x = logical(Fl::event_x()), y = logical(Fl::event_y());
        auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch()).count();
        if (clicks_.press(b, int(x), int(y), now)) {
            note("dblclick");
            g.run_handler([&] { g.Form_DblClick(); });
        } else {
            note("mousedown", b, int(x), int(y));
            g.run_handler([&] { g.Form_MouseDown(b, input::shift_mask(Fl::event_state()), x, y); });
        }
        return 1;
    }
    case FL_DRAG:
    case FL_MOVE:
        g.run_handler([&] {
            g.Form_MouseMove(input::buttons_held(Fl::event_state()), input::shift_mask(Fl::event_state()),
                             logical(Fl::event_x()), logical(Fl::event_y()));
        });
        return 1;
    case FL_RELEASE:
        note("mouseup", input::button_of(Fl::event_button()), int(logical(Fl::event_x())), int(logical(Fl::event_y())));
        g.run_handler([&] {
            g.Form_MouseUp(input::button_of(Fl::event_button()), input::shift_mask(Fl::event_state()),
                           logical(Fl::event_x()), logical(Fl::event_y()));
        });
        if (clicks_.release_gives_click()) {
            note("click");
            g.run_handler([&] { g.Form_Click(); });
        }
        return 1;
    default:
        break;
    }
    return Fl_Window::handle(e);
}

void GameView::on_close(Fl_Widget*, void* self) {
    auto* v = static_cast<GameView*>(self);
    // Esc is a key for the game, not a way out of the window.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    if (v->game_) v->game_->run_handler([&] { v->game_->Form_Unload(); });
    else std::exit(0);
}

// --- the platform -------------------------------------------------------

FltkPlatform::FltkPlatform()
    : random_(static_cast<std::mt19937::result_type>(
          std::chrono::system_clock::now().time_since_epoch().count())) {
    if (const char* f = std::getenv("LEXOVO_TEST_LOG")) log_ = std::fopen(f, "a");
    fl_open_display();
    int scale = screen_scale();
    view_ = new GameView(scale, *this);
    window_icon_ = rgba_image(stored("WindowIcon"));
    if (window_icon_) view_->icon(window_icon_.get());
    for (int k = 1; k <= 4; ++k)
        pointer_images_[size_t(k)] = rgba_image(stored(("Picture30_" + std::to_string(k)).c_str()), scale);
    audio_ = std::make_unique<SdlAudio>([this](const std::string& n) { return data_file(n); });
}

FltkPlatform::~FltkPlatform() {
    if (log_) std::fclose(log_);
}

void FltkPlatform::attach(GameWindow* game) {
    game_ = game;
    view_->attach(game);
}

void FltkPlatform::log(const std::string& line) {
    if (!log_) return;
    std::fprintf(log_, "%lld %s\n", static_cast<long long>(clock_ms()), line.c_str());
    std::fflush(log_);
}

// Run from the build tree, the data lie beside the program; installed, they
// lie in share/games/lexovo under the program's prefix.
void FltkPlatform::enter_program_folder() {
    fs::path exe = executable_folder();
    fs::path installed = exe.parent_path() / "share" / "games" / "lexovo";
    std::error_code ec;
    fs::path folder = exe;
    if (!fs::exists(exe / "gameb2.bmp", ec) && fs::is_directory(installed, ec)) folder = installed;
    fs::current_path(folder, ec);
    if (ec) throw err::file_not_found();
}

std::string FltkPlatform::data_file(const std::string& bare_name) const { return bare_name; }

void FltkPlatform::show_window() {
    view_->show();
    // Held keys repeat as key-downs only, without a key-up before each.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(fl_display, True, &supported);
    Fl::focus(view_);
    apply_cursor();
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
    Answer a = run_message_box(box, view_->scale());
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
    if (on) Fl::add_timeout(kTickSeconds, tick, this);
    else Fl::remove_timeout(tick, this);
}

void FltkPlatform::tick(void* self) {
    auto* p = static_cast<FltkPlatform*>(self);
    Fl::repeat_timeout(kTickSeconds, tick, self);
    // No tick inside a message box (the box's own event loop keeps the timer
    // going) nor inside a tick that lets events run.
    if (p->box_depth_ > 0 || p->in_tick_ || !p->game_) return;
    p->in_tick_ = true;
    p->log("tick");
    p->game_->run_handler([&] { p->game_->Timer1_Timer(); });
    p->in_tick_ = false;
}

int64_t FltkPlatform::clock_ms() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - program_start).count();
}

double FltkPlatform::random_uniform() { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); }

void FltkPlatform::sound_device_create() { audio_->create_device(); }
void FltkPlatform::sound_load(int id, const std::string& path) { audio_->load(id, path); }
void FltkPlatform::sound_play(int id, bool looping) { audio_->play(id, looping); }
void FltkPlatform::sound_stop(int id) { audio_->stop(id); }
void FltkPlatform::sound_rewind(int id) { audio_->rewind(id); }
int FltkPlatform::sound_status(int id) { return audio_->status(id); }
void FltkPlatform::sound_release(int id) { audio_->release(id); }
void FltkPlatform::music_init() { audio_->music_init(); }
void FltkPlatform::play_midi(const std::string& bare_name) {
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
    audio_->shutdown();
    if (log_) std::fflush(log_);
    std::exit(0);
}
