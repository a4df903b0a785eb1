// The game window Form1: its state, its pictures and every procedure that
// works on them. The procedures live in the subsystem folders (one unit
// each); they reach the outside world only through Platform.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "platform/sound_ids.h"
#include "core/int16.h"
#include "core/runtime_error.h"
#include "core/surface.h"
#include "game/game_state.h"
#include "platform/platform.h"

class GameWindow {
public:
    static constexpr int kWindowW = 480, kWindowH = 540;

    explicit GameWindow(Platform& platform);

    // Window events.
    void Form_Load();
    void Form_Unload();  // ends the program
    void Timer1_Timer();
    void Form_KeyDown(int key, int shift);
    void Form_KeyUp(int key, int shift);
    void Form_KeyPress(int ch);
    void Form_MouseDown(int button, int shift, float x, float y);
    void Form_MouseMove(int button, int shift, float x, float y);
    void Form_MouseUp(int button, int shift, float x, float y);
    void Form_Click();
    void Form_DblClick();

    // Read-only views for the front ends, the replay and the tests.
    const GameState& state() const { return s_; }
    const ProcedureCounters& counters() const { return c_; }
    const Surface& window_picture() const { return window_; }
    bool timer_enabled() const { return timer1_; }
    Pointer pointer() const { return pointer_; }
    bool cursor_hidden() const { return cursor_hidden_; }
    const Surface& picture(int n, int k = 0) const { return pic_[size_t(n)][size_t(k)]; }

    // Test access: a test may set up a state directly.
    GameState& mutable_state() { return s_; }
    ProcedureCounters& mutable_counters() { return c_; }
    Surface& mutable_picture(int n, int k = 0) { return P(n, k); }

private:
    // --- error trap -------------------------------------------------------
    // Each procedure arms its trap with its label; every statement that can
    // fail runs through step(), which reports the error and goes on.
    struct Trap {
        Trap(GameWindow& w, const char* label) : w_(w) { w_.labels_.push_back(label); }
        ~Trap() { w_.labels_.pop_back(); }
        GameWindow& w_;
    };
    template <class F> void step(F&& f) {
        try { f(); } catch (const RuntimeError& e) { report(e); }
    }
    // A test that fails with an error counts as false.
    template <class F> bool test(F&& f) {
        try { return f(); } catch (const RuntimeError& e) { report(e); return false; }
    }
    void report(const RuntimeError& e);

    // --- game/ -------------------------------------------------------------
    void load_stored_pictures();
    void starting_values();
    void draw_background();
    void draw_professor(int walk_frame);
    void close_game_window();
    Surface& P(int n, int k = 0) {
        if (n < 0 || n >= int(pic_.size()) || k < 0 || size_t(k) >= pic_[size_t(n)].size()) throw err::subscript();
        return pic_[size_t(n)][size_t(k)];
    }
    void sprite(int n, int x, int y) { draw_sprite(P(1), x, y, P(n, 0), P(n, 1)); }
    void copy_to_play(const Surface& src, int x, int y) { blit(P(1), x, y, src, Rop::SrcCopy); }
    void set_timer(bool on);
    void set_pointer(Pointer p);
    void show_cursor(bool show);
    double clock_seconds();

    // --- screen/ -----------------------------------------------------------
    void draw_bar();
    void draw_dragged();
    void draw_end_picture(int walk_frame);
    void compose_screen();

    // --- control/ ----------------------------------------------------------
    void Calcola_mov();
    void tasti(int key, int shift);
    void release_requests();

    // --- items/ ------------------------------------------------------------
    void take(const std::string& item);
    void press_in_bar(float x, float y);
    void drop_object();
    void shelf_search(float x, float y);
    void libri();
    void open_or_close_books();

    // --- events/ -----------------------------------------------------------
    void ragno();
    void ringhiere();
    void crolla();
    void pianta();
    void pianta2();
    void corda();
    void jungla();
    void anim_finale();
    void finetempo();

    // --- audio/ ------------------------------------------------------------
    void creasuoni();
    void preparasuoni();
    void InitDMusic();
    void PlayMidi(const std::string& name);
    void vuotasuoni();
    void sfx_play(Sfx id) { sfx_checked(id); platform_.sound_play(id, false); }
    void sfx_loop(Sfx id) { sfx_checked(id); platform_.sound_play(id, true); }
    void sfx_stop(Sfx id) { sfx_checked(id); platform_.sound_stop(id); }
    void sfx_rewind(Sfx id) { sfx_checked(id); platform_.sound_rewind(id); }
    int sfx_status(Sfx id) { sfx_checked(id); return platform_.sound_status(id); }
    void sfx_checked(Sfx id) const { if (!sfx_loaded_[id]) throw err::object_not_set(); }

    Platform& platform_;
    GameState s_;
    ProcedureCounters c_;
    std::array<std::vector<Surface>, 78> pic_;
    Surface window_;
    std::array<bool, kSfxCount> sfx_loaded_{};
    std::vector<const char*> labels_;
    bool timer1_ = false;
    Pointer pointer_ = Pointer::Arrow;
    bool cursor_hidden_ = false;
    bool press_hid_cursor_ = false;
};
