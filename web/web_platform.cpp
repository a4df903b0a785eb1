// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/web_platform.h"

#include <emscripten.h>

#include <chrono>

#include "core/bmp_load.h"
#include "core/data_file.h"
#include "core/runtime_error.h"
#include "core/wav_info.h"
#include "game/game_window.h"
#include "game/stored_pictures.h"

// --- the page's side (web/page/lexovo.js, object Module.page) ---------------

EM_JS(void, page_show_game, (), { Module.page.showGame(); });
EM_JS(void, page_close_game, (), { Module.page.closeGame(); });
EM_JS(void, page_present, (const uint8_t* rgba, int w, int h), { Module.page.present(rgba, w, h); });
EM_JS(void, page_show_box, (const char* title, const char* text, int buttons, int critical, int default_answer), {
    Module.page.showBox(UTF8ToString(title), UTF8ToString(text), buttons, critical, default_answer);
});
EM_JS(int, page_box_answer, (), { return Module.page.boxAnswer(); });
EM_JS(void, page_pointer_image, (int n, const uint8_t* rgba, int w, int h), { Module.page.pointerImage(n, rgba, w, h); });
EM_JS(void, page_set_cursor, (int look), { Module.page.setCursor(look); });
EM_JS(void, page_set_timer, (int on), { Module.page.setTimer(on); });
EM_JS(void, page_sound_load, (int id, const float* samples, int frames, int channels, int rate), {
    Module.page.audio.load(id, samples, frames, channels, rate);
});
EM_JS(void, page_sound_op, (int id, int op), { Module.page.audio.op(id, op); });
EM_JS(void, page_play_tune, (const char* name), { Module.page.audio.tune(UTF8ToString(name)); });
EM_JS(void, page_ended, (), { Module.page.ended(); });

namespace {

// The order of these matters to the page: Answer's values and the
// operations of page_sound_op.
enum SoundOp { kPlay = 0, kLoop = 1, kStop = 2, kRewind = 3, kRelease = 4 };

const auto program_start = std::chrono::steady_clock::now();

// The samples of a sound the rule accepted (8- or 16-bit PCM, one or two
// channels, 8 to 96 kHz: core/wav_info.h), as the page's audio layer takes
// them: 32-bit floats, channel after channel.
std::vector<float> samples_of(const WavFile& f, int& frames, int& channels, int& rate) {
    const WavInfo& w = f.info;
    channels = w.channels;
    rate = int(w.sample_rate);
    const int bytes = w.bits / 8;
    frames = int(w.data_bytes / w.block_align);
    std::vector<float> out(size_t(frames) * size_t(channels));
    const unsigned char* d = f.bytes.data() + w.data_offset;
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c) {
            const unsigned char* p = d + (size_t(i) * size_t(channels) + size_t(c)) * size_t(bytes);
            const float v = bytes == 1 ? (float(p[0]) - 128.0f) / 128.0f
                                       : float(int16_t(uint16_t(p[0] | (p[1] << 8)))) / 32768.0f;
            out[size_t(c) * size_t(frames) + size_t(i)] = v;
        }
    return out;
}

}  // namespace

WebPlatform::WebPlatform(Mode mode)
    : mode_(mode),
      twin_(""),
      random_(static_cast<std::mt19937::result_type>(
          std::chrono::system_clock::now().time_since_epoch().count())) {
    keep_log_ = mode == Mode::Test;
    // The four arrow pointers of Picture30 become the page's cursors.
    for (int n = 1; n <= 4; ++n) {
        const StoredPicture* p = find_stored_picture("Picture30_" + std::to_string(n));
        if (!p) continue;
        Surface s;
        try {
            s = load_bmp_memory(p->data, p->size);
        } catch (const RuntimeError&) {
            continue;
        }
        std::vector<uint8_t> rgba;
        for (Rgb c : s.pixels()) {
            rgba.push_back(uint8_t(c >> 16));
            rgba.push_back(uint8_t(c >> 8));
            rgba.push_back(uint8_t(c));
            rgba.push_back(c == rgb(255, 0, 255) ? 0 : 255);  // magenta is see-through
        }
        page_pointer_image(n, rgba.data(), s.width(), s.height());
    }
}

void WebPlatform::deliver(const std::function<void(GameWindow&)>& handler) {
    if (!accepts_events()) return;
    delivering_ = true;
    try {
        // Every event goes through the game window's event boundary.
        game_->run_handler([&] { handler(*game_); });
    } catch (const ProgramEnded&) {
        // noted by end_program; nothing else runs
    }
    delivering_ = false;
    forget_log();
}

void WebPlatform::run_tick() {
    in_tick_ = true;
    ++ticks_;
    try {
        game_->run_handler([&] { game_->Timer1_Timer(); });
    } catch (const ProgramEnded&) {
    }
    in_tick_ = false;
    forget_log();
}

bool WebPlatform::timer_beat() {
    if (!timer_on_ || !accepts_events() || !game_->timer_enabled()) return false;
    run_tick();
    return true;
}

bool WebPlatform::test_tick() {
    if (!game_ || busy() || ended_) return false;
    twin_.advance_clock(60);
    bool ran = game_->timer_enabled();
    if (ran) run_tick();
    return ran;
}

void WebPlatform::forget_log() {
    if (!keep_log_) twin_.take_log();
}

void WebPlatform::sync_clock() {
    if (mode_ != Mode::Play) return;
    int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - program_start).count();
    if (now > twin_.clock_ms()) twin_.advance_clock(now - twin_.clock_ms());
}

// The data are read by their full paths in the page's data folder, which is
// only checked here, never made current.
void WebPlatform::enter_program_folder() {
    if (!can_enter_folder(kWebDataFolder)) throw err::path_not_found();
}

std::string WebPlatform::data_file(const std::string& bare_name) const { return data_path(kWebDataFolder, bare_name); }

void WebPlatform::show_window() {
    page_show_game();
    apply_cursor();
}

void WebPlatform::present(const Surface& pic) {
    const int w = pic.width(), h = pic.height();
    rgba_.resize(size_t(w) * size_t(h) * 4);
    // 0x00RRGGBB into the canvas's R, G, B, A bytes, two pixels at a time
    // (WebAssembly has 64-bit registers but no byte swap).
    const size_t n = size_t(w) * size_t(h);
    const uint64_t* in = reinterpret_cast<const uint64_t*>(pic.pixels().data());
    uint64_t* out = reinterpret_cast<uint64_t*>(rgba_.data());
    constexpr uint64_t kLow = 0x000000FF000000FFull, kMid = 0x0000FF000000FF00ull, kAlpha = 0xFF000000FF000000ull;
    for (size_t i = 0; i < n / 2; ++i) {
        uint64_t c = in[i];
        out[i] = kAlpha | ((c & kLow) << 16) | (c & kMid) | ((c >> 16) & kLow);
    }
    if (n % 2) {
        Rgb c = pic.pixels()[n - 1];
        reinterpret_cast<uint32_t*>(rgba_.data())[n - 1] = 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    page_present(rgba_.data(), w, h);
}

void WebPlatform::close_window() { page_close_game(); }

Answer WebPlatform::message_box(const MessageBoxRequest& box) {
    // A queued answer (test mode) is taken as the replay takes it; otherwise
    // the box shows in the page and the game waits here, the page's events
    // going on, until it is answered. Neither ticks nor window events reach
    // the game meanwhile (accepts_events).
    if (answers_.empty()) {
        ++box_depth_;
        page_show_box(box.title.c_str(), box.text.c_str(), int(box.buttons), box.icon == BoxIcon::Critical,
                      int(box.default_answer));
        int a;
        while ((a = page_box_answer()) < 0) emscripten_sleep(15);
        --box_depth_;
        answers_.push_back(Answer(a));
    }
    twin_.queue_answer(answers_.front());
    answers_.pop_front();
    return twin_.message_box(box);  // the answer the box takes, logged
}

void WebPlatform::set_pointer(Pointer p) {
    pointer_ = p;
    apply_cursor();
}

void WebPlatform::show_cursor(bool show) {
    cursor_count_ += show ? 1 : -1;
    apply_cursor();
}

void WebPlatform::apply_cursor() { page_set_cursor(cursor_count_ < 0 ? -1 : int(pointer_)); }

void WebPlatform::set_timer(bool on) {
    timer_on_ = on;
    if (mode_ == Mode::Play) page_set_timer(on);
}

int64_t WebPlatform::clock_ms() {
    sync_clock();
    return twin_.clock_ms();
}

double WebPlatform::random_uniform() {
    if (mode_ == Mode::Test) return twin_.random_uniform();
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_);
}

// Nothing to open: the page made its audio context on the "Gioca" click;
// where the browser gives it no output, it plays into nothing, silently.
void WebPlatform::sound_device_create() {}

void WebPlatform::sound_load(int id, const std::string& path) {
    WavFile f = read_wav_file(path);  // the one rule: 53 missing, 5 not a sound
    twin_.sound_load(id, path);
    int frames, channels, rate;
    std::vector<float> samples = samples_of(f, frames, channels, rate);
    page_sound_load(id, samples.data(), frames, channels, rate);
}

void WebPlatform::sound_play(int id, bool looping) {
    sync_clock();
    twin_.sound_play(id, looping);
    page_sound_op(id, looping ? kLoop : kPlay);
}

void WebPlatform::sound_stop(int id) {
    sync_clock();
    twin_.sound_stop(id);
    page_sound_op(id, kStop);
}

void WebPlatform::sound_rewind(int id) {
    sync_clock();
    twin_.sound_rewind(id);
    page_sound_op(id, kRewind);
}

int WebPlatform::sound_status(int id) {
    sync_clock();
    return twin_.sound_status(id);
}

void WebPlatform::sound_release(int id) {
    twin_.sound_release(id);
    page_sound_op(id, kRelease);
}

// The tunes were recorded at build time (datagen/tunes); the page fetched
// and decoded them while the start dialog was showing.
void WebPlatform::music_init() {}

void WebPlatform::play_midi(const std::string& bare_name) {
    twin_.play_midi(bare_name);
    page_play_tune(bare_name.c_str());
}

void WebPlatform::program_ended() {
    if (ended_) return;
    ended_ = true;
    timer_on_ = false;
    page_ended();
}

void WebPlatform::end_program() {
    program_ended();
    throw ProgramEnded{};
}
