#include "app/game_view.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdlib>

#include "app/game_calls.h"
#include "app/input_map.h"
#include "app/presenter.h"

#include <FL/x.H>  // last: its X11 macros clash with the names above

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

GameView::GameView(int scale) : Fl_Window(kW * scale, kH * scale, "Gioco di Lexovo") {
    end();
    resizable(this);
    size_range(kW, kH);
    callback(closed, this);
    int sx, sy, sw, sh;
    Fl::screen_work_area(sx, sy, sw, sh);
    position(sx + std::max(0, (sw - w()) / 2), sy + std::max(0, (sh - h()) / 2));
    fl_open_display();
    presenter_ = std::make_unique<Presenter>(fl_display, fl_visual->visual, fl_visual->depth);
}

GameView::~GameView() = default;

const char* GameView::present_path() const { return Presenter::name(presenter_->path()); }

void GameView::show_picture(const Surface& pic) {
    picture_ = &pic;
    shown_scale_ = scale();
    presenter_->update(pic, shown_scale_);
    damage(FL_DAMAGE_USER1);  // the picture only: the border stays as it is
}

void GameView::resize(int X, int Y, int W, int H) {
    Fl_Window::resize(X, Y, W, H);
    int s = scale();
    if (s == shown_scale_) return;
    if (picture_) {
        shown_scale_ = s;
        presenter_->update(*picture_, s);
    }
    if (on_scale) on_scale(s);
}

void GameView::draw() {
    const Letterbox lb = letterbox();
    const int pw = kW * lb.scale, ph = kH * lb.scale;
    const bool new_picture_only = damage() == FL_DAMAGE_USER1;
    if (!new_picture_only || !picture_) {
        fl_color(FL_BLACK);
        if (!picture_) {
            fl_rectf(0, 0, w(), h());
            return;
        }
        fl_rectf(0, 0, w(), lb.y);
        fl_rectf(0, lb.y + ph, w(), h() - lb.y - ph);
        fl_rectf(0, lb.y, lb.x, ph);
        fl_rectf(lb.x + pw, lb.y, w() - lb.x - pw, ph);
    }
    presenter_->draw(fl_window, fl_gc, lb.x, lb.y, new_picture_only);
}

void GameView::toggle_full_screen() {
    if (fullscreen_active()) {
        fullscreen_off(saved_x_, saved_y_, saved_w_, saved_h_);
    } else {
        saved_x_ = x(), saved_y_ = y(), saved_w_ = w(), saved_h_ = h();
        fullscreen();
    }
    // Without a window manager FLTK shows the window afresh to change it,
    // and a full-screen window made that way goes without its title: put
    // it back, so that the window keeps its name for whoever looks for it.
    const char* title = label();
    label(nullptr);
    label(title);
    Fl::focus(this);
    redraw();
}

bool GameView::deliver_move(int x, int y) {
    if (x == last_x_ && y == last_y_) return false;  // within the same game pixel
    last_x_ = x, last_y_ = y;
    return true;
}

void GameView::move_pointer(int x, int y, int buttons, int shift) {
    pointer_x_ = x, pointer_y_ = y;
    if (shown()) {
        const Letterbox lb = letterbox();
        XWarpPointer(fl_display, 0, fl_xid(this), 0, 0, 0, 0, lb.window_x(x), lb.window_y(y));
    }
    if (input_ && deliver_move(x, y)) input_->move(buttons, shift, x, y);
}

int GameView::handle(int e) {
    switch (e) {
    case FL_FOCUS:
    case FL_UNFOCUS:
    case FL_ENTER:
    case FL_LEAVE:
        return 1;
    case FL_KEYDOWN: {
        const int key = Fl::event_key();
        if (kept_keys_.count(key)) return 1;  // a kept key held down repeats
        const bool enter = key == FL_Enter || key == FL_KP_Enter;
        if (key == FL_F + 11 || (enter && (Fl::event_state() & FL_ALT))) {
            kept_keys_.insert(key);
            toggle_full_screen();
            return 1;
        }
        if (input_)
            input_->key_down(input::virtual_key(key), input::shift_mask(Fl::event_state(), key, true),
                             input::char_code(std::string(Fl::event_text(), size_t(Fl::event_length()))));
        return 1;
    }
    case FL_KEYUP: {
        const int key = Fl::event_key();
        if (kept_keys_.erase(key)) return 1;
        if (input_) input_->key_up(input::virtual_key(key), input::shift_mask(Fl::event_state(), key, false));
        return 1;
    }
    case FL_PUSH:
    case FL_DRAG:
    case FL_MOVE:
    case FL_RELEASE:
        break;
    default:
        return Fl_Window::handle(e);
    }
    const Letterbox lb = letterbox();
    const int x = lb.game_x(Fl::event_x()), y = lb.game_y(Fl::event_y());
    const int shift = input::shift_mask(Fl::event_state());
    pointer_x_ = std::clamp(x, 0, kW - 1), pointer_y_ = std::clamp(y, 0, kH - 1);
    const int bit = input::button_of(Fl::event_button());
    switch (e) {
    case FL_PUSH:
        if (!lb.inside(Fl::event_x(), Fl::event_y())) return 1;  // the border: nothing
        buttons_on_picture_ |= bit;
        last_x_ = x, last_y_ = y;
        if (input_) input_->press(bit, shift, x, y);
        return 1;
    case FL_RELEASE:
        if (!(buttons_on_picture_ & bit)) return 1;
        buttons_on_picture_ &= ~bit;
        last_x_ = x, last_y_ = y;
        if (input_) input_->release(bit, shift, x, y);
        return 1;
    default:
        // Over the border the game hears of the pointer only while a button
        // pressed on the picture is held, as a window hears of it outside.
        if (!buttons_on_picture_ && !lb.inside(Fl::event_x(), Fl::event_y())) return 1;
        if (input_ && deliver_move(x, y)) input_->move(input::buttons_held(Fl::event_state()), shift, x, y);
        return 1;
    }
}

void GameView::closed(Fl_Widget*, void* self) {
    auto* v = static_cast<GameView*>(self);
    // Esc is a key for the game, not a way out of the window.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    if (v->on_close) v->on_close();
    else std::exit(0);
}
