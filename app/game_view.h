// The game window on the screen. It can be given any size and put in full
// screen (F11, Alt+Enter: keys the front end keeps for itself); the game's
// picture is shown at the largest whole-number scale that fits, centred on
// black. Keys and mouse events go to a GameInput in the game's own pixels; a
// press on the black border reaches nothing.
#pragma once
#include <FL/Fl_Window.H>

#include <functional>
#include <memory>
#include <set>

#include "app/letterbox.h"
#include "core/surface.h"

class GameInput;
class Presenter;

class GameView : public Fl_Window {
public:
    static constexpr int kW = Letterbox::kW, kH = Letterbox::kH;

    // Opens at `scale` times the picture's size; frames go to the screen
    // the fastest way the display offers (see Presenter).
    explicit GameView(int scale);
    ~GameView() override;

    // Where keys and mouse events go; nullptr: nowhere (a recorded game plays).
    void set_input(GameInput* in) { input_ = in; }
    // Told when the window is closed from its frame.
    std::function<void()> on_close;
    // Told when the picture's scale changes (the pointer's icons follow it).
    std::function<void(int)> on_scale;

    Letterbox letterbox() const { return Letterbox::fit(w(), h()); }
    int scale() const { return letterbox().scale; }
    const char* present_path() const;

    // Shows a new picture; `picture` must live until the next one.
    void show_picture(const Surface& picture);

    void toggle_full_screen();

    // The pointer in game pixels, as last seen; and moving it there from a
    // gamepad: the pointer is put on that game pixel and the game told.
    void pointer(int& x, int& y) const { x = pointer_x_, y = pointer_y_; }
    void move_pointer(int x, int y, int buttons, int shift);

    void draw() override;
    int handle(int event) override;
    void resize(int x, int y, int w, int h) override;

private:
    static void closed(Fl_Widget*, void*);
    bool deliver_move(int x, int y);

    std::unique_ptr<Presenter> presenter_;
    const Surface* picture_ = nullptr;
    int shown_scale_ = 0;
    GameInput* input_ = nullptr;
    std::set<int> kept_keys_;      // keys held whose press the front end took
    int buttons_on_picture_ = 0;   // mouse buttons pressed on the picture, still held
    int last_x_ = -1000000, last_y_ = -1000000;  // the last position the game was told of
    int pointer_x_ = kW / 2, pointer_y_ = kH / 2;
    int saved_x_ = 0, saved_y_ = 0, saved_w_ = 0, saved_h_ = 0;
};

// Whole-number enlargement for the screen's density: 1 up to 191 dpi, then
// dpi / 96, as far as the screen allows. LEXOVO_SCALE overrides it.
int screen_scale();
