// SPDX-License-Identifier: GPL-3.0-or-later
// The game window Form1: its state, its pictures and every procedure that
// works on them. The procedures live in the subsystem folders (one unit
// each); they reach the outside world only through Platform.
#pragma once
#include <array>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "platform/sound_ids.h"
#include "core/int16.h"
#include "core/runtime_error.h"
#include "core/surface.h"
#include "game/game_state.h"
#include "game/picture_catalogue.h"
#include "platform/platform.h"

class GameWindow {
public:
    static constexpr int kWindowW = 480, kWindowH = 540;

    explicit GameWindow(Platform& platform);

    // Every front end calls the window events below through run_handler:
    // a run-time error that escaped every step of the handler (see the error
    // trap below) is reported there, with the label of the innermost trapped
    // procedure that was running when it was raised, and the program goes on
    // with its next event. ProgramEnded passes through.
    template <class F> void run_handler(F&& handler) {
        escaped_from_ = nullptr;
        try {
            handler();
        } catch (const RuntimeError& e) {
            report(e);
        } catch (const std::bad_alloc&) {
            report(err::out_of_memory());
        }
    }

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
    // Every window event, the tick and the procedures with a label of their
    // own arm a Trap with that label on entry. A statement that can raise a
    // run-time error runs through step(): when it fails, ReportError shows the
    // error with the label of the innermost trap, and after "Riprova" the
    // procedure goes on with its next statement. A test that can raise runs
    // through test(), and a test that fails counts as false. Everything else
    // runs bare; these, and nothing else, can raise:
    //   6    checked 16-bit arithmetic: an Int16 given a computed value
    //        (Int16(v), +=, -=, field = expression), cint(), int_part();
    //   9    a subscript worked out at run time: P(n, k) with a computed
    //        element, picture72_forest(k), inventory_slot(i);
    //   53, 481  loading a picture file (load_bmp_file);
    //   76   entering the data folder (Platform::enter_program_folder);
    //   53, 5    loading an effect (Platform::sound_load);
    //   91   any use of an effect whose buffer is empty (sfx_play, sfx_loop,
    //        sfx_stop, sfx_rewind, sfx_status);
    //   any  a message box (the toolkit may fail to show one);
    //   7    memory that runs out (std::bad_alloc), in any statement: it is
    //        caught where a RuntimeError would be, and whatever the failed
    //        statement had made is given back as the stack unwinds.
    // Nothing else raises: reading, comparing and copying fields, assigning
    // constants, floating-point arithmetic, the fixed pictures
    // (picture1_play_area() ...) and the elements of a stored sprite named
    // by constants, block transfers and single pixels (a surface clips them),
    // PlayMidi and InitDMusic (they swallow their own failures), and every
    // other Platform call (a platform promises that they do not throw).
    // A procedure without a trap of its own (marked "caller's trap" below)
    // reports under the label of the trapped procedure that called it.
    // Should an error escape all the same (a statement that can raise left
    // bare, a platform that breaks its word), it leaves the handler and
    // run_handler reports it.
    struct Trap {
        Trap(GameWindow& w, const char* label) : w_(w), label_(label), unwinding_(std::uncaught_exceptions()) {
            if (w_.labels_.empty()) w_.escaped_from_ = nullptr;
            w_.labels_.push_back(label);
        }
        ~Trap() {
            // Left by an error: the first trap it leaves is the innermost.
            if (std::uncaught_exceptions() > unwinding_ && !w_.escaped_from_) w_.escaped_from_ = label_;
            w_.labels_.pop_back();
        }
        Trap(const Trap&) = delete;
        Trap& operator=(const Trap&) = delete;
        GameWindow& w_;
        const char* label_;
        int unwinding_;
    };
    template <class F> void step(F&& f) {
        try { f(); } catch (const RuntimeError& e) { report(e); } catch (const std::bad_alloc&) { report(err::out_of_memory()); }
    }
    template <class F> bool test(F&& f) {
        try {
            return f();
        } catch (const RuntimeError& e) {
            report(e);
        } catch (const std::bad_alloc&) {
            report(err::out_of_memory());
        }
        return false;
    }
    // Reports with the label of the innermost trap running when `e` was raised.
    void report(const RuntimeError& e);

    // --- game/ -------------------------------------------------------------
    void load_stored_pictures();
    void starting_values();
    int walk_frame_now() const;
    // The world view; caller's trap (the tick's).
    void draw_background();
    void draw_fork_vase_and_cloud();
    void draw_grown_plant();
    void draw_seed();
    void draw_coiled_rope();
    void draw_risen_rope();
    void draw_professor(int walk_frame);  // raises (6, 9): the tick runs it as one step
    void close_game_window();             // the unload step, with its own trap
    // Picture n, element k (the numbers of game/picture_catalogue.h).
    Surface& P(int n, int k = 0) {
        if (n < 0 || n >= int(pic_.size()) || k < 0 || size_t(k) >= pic_[size_t(n)].size()) throw err::subscript();
        return pic_[size_t(n)][size_t(k)];
    }
    // The pictures with a fixed role.
    Surface& picture1_play_area() { return pic_[kPicture1PlayArea][0]; }
    Surface& picture5_background() { return pic_[kPicture5Background][0]; }
    Surface& picture8_collision_map() { return pic_[kPicture8CollisionMap][0]; }
    Surface& picture12_bar_background() { return pic_[kPicture12BarBackground][0]; }
    Surface& picture40_bar() { return pic_[kPicture40Bar][0]; }
    Surface& picture63_page() { return pic_[kPicture63Page][0]; }
    Surface& picture64_frame() { return pic_[kPicture64Frame][0]; }
    Surface& picture72_forest(int k) { return P(kPicture72Forest, k); }
    // Slot i of the inventory, 0 to 4; any other i raises 9.
    std::string& inventory_slot(int i) {
        if (i < 0 || size_t(i) >= s_.inventory.size()) throw err::subscript();
        return s_.inventory[size_t(i)];
    }
    // Sprite pair n (mask and image in one array) into the play area.
    void sprite(int n, int x, int y) { draw_sprite(picture1_play_area(), x, y, P(n, 0), P(n, 1)); }
    void copy_to_play(const Surface& src, int x, int y) { blit(picture1_play_area(), x, y, src, Rop::SrcCopy); }
    void set_timer(bool on);
    void set_pointer(Pointer p);
    void show_cursor(bool show);

    // --- screen/ (caller's trap: the tick's) -------------------------------
    void draw_bar();  // raises (6, 9): the tick runs it as one step
    void draw_dragged();
    void draw_end_picture(int walk_frame);
    void compose_screen();

    // --- control/ ----------------------------------------------------------
    void Calcola_mov();
    void tasti(int key, int shift);
    void release_requests();  // caller's trap (Form1_keyup, Form1_mouseup)

    // --- items/ ------------------------------------------------------------
    void take(const std::string& item);      // caller's trap (Form1_click)
    void press_in_bar(float x, float y);     // caller's trap (Form1_mousedown)
    void drop_object();                      // caller's trap (Form1_mouseup)
    void shelf_search(float x, float y);     // caller's trap (Form1_mousemove)
    void libri();
    void open_or_close_books();              // caller's trap (Form1_click)

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
    std::vector<const char*> labels_;      // the traps armed, innermost last
    const char* escaped_from_ = nullptr;   // the innermost trap an error has left
    bool timer1_ = false;
    Pointer pointer_ = Pointer::Arrow;
    bool cursor_hidden_ = false;
    bool press_hid_cursor_ = false;
};
