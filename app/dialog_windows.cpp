// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialog_windows.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <map>
#include <string>

#include "dialogs/dialog_texts.h"

namespace {

// Whole-number enlargement for very dense screens, as for the game window.
int g_scale = 1;
int sp(int twips) { return px(twips) * g_scale; }

// The dialogs were drawn in a narrow bitmap sans serif; a condensed sans is
// the nearest match (fontconfig falls back to the plain one where it is
// missing, and fit_label() then makes the text fit).
constexpr Fl_Font kRegular = FL_FREE_FONT, kBold = FL_FREE_FONT + 1;

void register_fonts() {
    static bool done = false;
    if (done) return;
    done = true;
    Fl::set_font(kRegular, " DejaVu Sans Condensed");
    Fl::set_font(kBold, "BDejaVu Sans Condensed");
}

Fl_Font font_face(DialogFont f) { return f == DialogFont::Regular8 ? kRegular : kBold; }
int font_size(DialogFont f) { return (f == DialogFont::Bold10 ? 13 : 11) * g_scale; }

void apply_font(Fl_Widget* w, DialogFont f) {
    register_fonts();
    w->labelfont(font_face(f));
    w->labelsize(font_size(f));
}

// Shrinks a label's size until its text fits inside the control.
void fit_label(Fl_Widget* w) {
    if (!w->label()) return;
    for (int size = w->labelsize(); size >= 8 * g_scale; --size) {
        fl_font(w->labelfont(), size);
        int mw = w->w(), mh = 0;
        fl_measure(w->label(), mw, mh, 0);
        w->labelsize(size);
        if (mw <= w->w() && mh <= w->h()) return;
    }
}

// A push button that also answers Return while it has the focus, as a
// dialog's buttons do.
class DialogButton : public Fl_Button {
public:
    using Fl_Button::Fl_Button;
    int handle(int e) override {
        if (e == FL_KEYBOARD && Fl::focus() == this &&
            (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
            do_callback();
            return 1;
        }
        return Fl_Button::handle(e);
    }
};

// A frame whose caption sits on its top edge, interrupting the line.
class CaptionFrame : public Fl_Group {
public:
    CaptionFrame(int x, int y, int w, int h, const std::string& caption)
        : Fl_Group(x, y, w, h), caption_(caption) {
        end();
    }

protected:
    void draw() override {
        if (damage() & ~FL_DAMAGE_CHILD) {
            fl_color(color());
            fl_rectf(x(), y(), w(), h());
            fl_font(labelfont(), labelsize());
            int top = y() + fl_height() / 2;
            fl_draw_box(FL_ENGRAVED_FRAME, x(), top, w(), h() - (top - y()), color());
            int tw = int(fl_width(caption_.c_str()));
            fl_color(color());
            fl_rectf(x() + 6 * g_scale, y(), tw + 4 * g_scale, fl_height());
            fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
            fl_draw(caption_.c_str(), x() + 8 * g_scale, y() + fl_height() - fl_descent());
            for (int i = 0; i < children(); ++i) draw_child(*child(i));
        } else {
            draw_children();
        }
    }

private:
    std::string caption_;
};

// An option whose caption has a run of blanks for a control laid over it:
// the words after the blanks are drawn just right of that control, whatever
// the width of a blank in the font at hand.
class GapOption : public Fl_Round_Button {
public:
    GapOption(int x, int y, int w, int h, const std::string& caption) : Fl_Round_Button(x, y, w, h) {
        copy_label(caption.c_str());
        size_t b = caption.find("  ");
        if (b != std::string::npos) {
            size_t e = caption.find_first_not_of(' ', b);
            before_ = caption.substr(0, b);
            after_ = e == std::string::npos ? "" : caption.substr(e);
        }
    }
    void lay_over(const Fl_Widget* w) { gap_end_ = w->x() + w->w(); }

protected:
    void draw() override {
        if (before_.empty() || !gap_end_) {
            Fl_Round_Button::draw();
            return;
        }
        std::string full = label();
        label(before_.c_str());
        Fl_Round_Button::draw();
        fl_font(labelfont(), labelsize());
        fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
        fl_draw(after_.c_str(), gap_end_ + 4 * g_scale, y(), x() + w() + 100 - gap_end_, h(), FL_ALIGN_LEFT, nullptr, 0);
        copy_label(full.c_str());
    }

private:
    std::string before_, after_;
    int gap_end_ = 0;
};

Fl_Box* make_label(const Control& c, int ox, int oy) {
    auto* b = new Fl_Box(ox + sp(c.left), oy + sp(c.top), sp(c.width), sp(c.height));
    b->copy_label(c.text.c_str());
    apply_font(b, c.font);
    b->labelcolor(fl_rgb_color(uchar(c.colour >> 16), uchar(c.colour >> 8), uchar(c.colour)));
    b->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP | FL_ALIGN_CLIP);
    fit_label(b);
    return b;
}

Fl_Button* make_button(const Control& c) {
    auto* b = new DialogButton(sp(c.left), sp(c.top), sp(c.width), sp(c.height));
    b->copy_label(c.text.c_str());
    apply_font(b, c.font);
    return b;
}

void centre_on_screen(Fl_Window* w) {
    int sx, sy, sw, sh;
    Fl::screen_work_area(sx, sy, sw, sh);
    w->position(sx + (sw - w->w()) / 2, sy + (sh - w->h()) / 2);
}

bool is_input_event(int e) {
    switch (e) {
    case FL_PUSH: case FL_RELEASE: case FL_DRAG: case FL_KEYDOWN: case FL_KEYUP: case FL_SHORTCUT:
    case FL_MOUSEWHEEL: case FL_DND_ENTER: case FL_DND_DRAG: case FL_DND_RELEASE: case FL_PASTE:
        return true;
    default:
        return false;
    }
}

InfoDialog* open_info_dialog = nullptr;
StartDialog* blocked_dialog = nullptr;

// While the start dialog is blocked, every input event for it stops here,
// and keys go to the information dialog even if the focus was left behind.
int blocking_dispatch(int e, Fl_Window* w) {
    if (blocked_dialog && is_input_event(e)) {
        if (w == blocked_dialog) {
            if (e == FL_PUSH && open_info_dialog) open_info_dialog->show();
            return 1;
        }
        Fl_Widget* f = Fl::focus();
        if (f && open_info_dialog && (f == blocked_dialog || f->window() == blocked_dialog))
            Fl::focus(open_info_dialog);
    }
    return Fl::handle_(e, w);
}

}  // namespace

void set_dialog_scale(int scale) { g_scale = std::max(1, scale); }

void StartDialog::set_blocked(bool b) {
    blocked_ = b;
    blocked_dialog = b ? this : nullptr;
    Fl::event_dispatch(b ? blocking_dispatch : nullptr);
}

StartDialog::StartDialog() : Fl_Window(sp(start_dialog().client_w), sp(start_dialog().client_h)) {
    const DialogLayout& d = start_dialog();
    copy_label(d.caption.c_str());
    end();

    // The controls are added in tab order, which is also the order FLTK
    // moves the focus in; the seconds list comes after the option it lies
    // on, so it is drawn over that option's blanks.
    std::map<std::string, Fl_Group*> frames;
    GapOption* timed_caption = nullptr;  // the option the list lies over
    for (const Control& c : d.controls) {
        Fl_Group* parent = this;
        int ox = 0, oy = 0;
        if (c.parent) {
            parent = frames.at(c.parent);
            ox = parent->x();
            oy = parent->y();
        }
        Fl_Widget* w = nullptr;
        switch (c.kind) {
        case ControlKind::Label:
            w = make_label(c, ox, oy);
            break;
        case ControlKind::Frame: {
            auto* f = new CaptionFrame(ox + sp(c.left), oy + sp(c.top), sp(c.width), sp(c.height), c.text);
            frames[c.name] = f;
            w = f;
            break;
        }
        case ControlKind::Option: {
            auto* o = new GapOption(ox + sp(c.left), oy + sp(c.top), sp(c.width), sp(c.height), c.text);
            o->type(FL_RADIO_BUTTON);
            o->callback(on_option, this);
            (c.name == "Option1(0)" ? free_play_ : timed_) = o;
            if (c.name == "Option1(1)") timed_caption = o;
            w = o;
            break;
        }
        case ControlKind::DropList: {
            auto* ch = new Fl_Choice(ox + sp(c.left), oy + sp(c.top), sp(c.width), sp(c.height));
            for (const std::string& item : seconds_items()) ch->add(item.c_str());
            ch->textfont(font_face(c.font));
            ch->textsize(font_size(c.font));
            seconds_ = ch;
            timed_caption->lay_over(ch);
            w = ch;
            break;
        }
        case ControlKind::Button: {
            Fl_Button* b = make_button(c);
            if (c.name == "OKButton") b->callback(on_play, this);
            else if (c.name == "Command2") b->callback(on_quit, this);
            else if (c.name == "CancelButton") b->callback(on_commands, this);
            else if (c.name == "Command1") b->callback(on_solution, this);
            w = b;
            break;
        }
        case ControlKind::TextBox:
            break;
        }
        if (!w) continue;
        if (c.kind != ControlKind::Label) apply_font(w, c.font);
        parent->add(w);
    }

    // Load: free play chosen, the list on its first item and disabled.
    free_play_->setonly();
    seconds_->value(0);
    seconds_->deactivate();

    size_range(w(), h(), w(), h());
    callback(on_close, this);
    centre_on_screen(this);
}

StartDialog::Choice StartDialog::run() {
    show();
    Fl::focus(child(0));  // "Gioca" is first in tab order
    while (choice_ == Choice::Waiting) Fl::wait();
    hide();
    return choice_;
}

int StartDialog::handle(int e) {
    if (e == FL_FOCUS || e == FL_UNFOCUS) {
        Fl_Window::handle(e);
        return 1;
    }
    return Fl_Window::handle(e);
}

void StartDialog::on_option(Fl_Widget*, void* self) {
    auto* d = static_cast<StartDialog*>(self);
    if (d->free_play_->value()) d->seconds_->deactivate();
    else d->seconds_->activate();
}

void StartDialog::on_play(Fl_Widget*, void* self) {
    auto* d = static_cast<StartDialog*>(self);
    d->time_limit_ = chosen_time_limit(d->timed_->value() != 0, d->seconds_->value());
    d->choice_ = Choice::Play;
}

void StartDialog::on_quit(Fl_Widget*, void* self) { static_cast<StartDialog*>(self)->choice_ = Choice::Quit; }

void StartDialog::on_close(Fl_Widget*, void* self) {
    auto* d = static_cast<StartDialog*>(self);
    // Esc does not leave the dialog; its close button does.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
    if (d->blocked_) return;
    d->choice_ = Choice::Quit;
}

void StartDialog::on_solution(Fl_Widget*, void* self) { static_cast<StartDialog*>(self)->open_info(true); }
void StartDialog::on_commands(Fl_Widget*, void* self) { static_cast<StartDialog*>(self)->open_info(false); }

void StartDialog::open_info(bool solution) {
    set_blocked(true);
    auto* info = new InfoDialog(solution, *this);
    open_info_dialog = info;
    info->show();
    Fl::check();
    info->show();
    Fl::focus(info->child(0));  // its button comes first in tab order
}

namespace {
// Owns the walkthrough's text buffer; the display must go before it.
class WalkthroughBox : public Fl_Text_Display {
public:
    WalkthroughBox(int x, int y, int w, int h) : Fl_Text_Display(x, y, w, h) {
        buffer(&text_);
        text_.text(walkthrough_text().c_str());
    }
    ~WalkthroughBox() override { buffer(nullptr); }

private:
    Fl_Text_Buffer text_;
};
}  // namespace

InfoDialog::InfoDialog(bool solution, StartDialog& owner)
    : Fl_Window(sp((solution ? solution_dialog() : commands_dialog()).client_w),
                sp((solution ? solution_dialog() : commands_dialog()).client_h)),
      owner_(owner) {
    const DialogLayout& d = solution ? solution_dialog() : commands_dialog();
    copy_label(d.caption.c_str());
    for (const Control& c : d.controls) {
        switch (c.kind) {
        case ControlKind::Button:
            make_button(c)->callback(on_close, this);
            break;
        case ControlKind::TextBox: {
            auto* t = new WalkthroughBox(sp(c.left), sp(c.top), sp(c.width), sp(c.height));
            t->textfont(font_face(c.font));
            t->textsize(font_size(c.font));
            t->wrap_mode(Fl_Text_Display::WRAP_AT_BOUNDS, 0);
            t->scrollbar_align(FL_ALIGN_RIGHT);
            t->scrollbar_width(Fl::scrollbar_size() * g_scale);
            t->color(FL_WHITE);
            break;
        }
        case ControlKind::Label:
            // The walkthrough's store lies outside the client area: not drawn.
            if (c.left >= 0 && c.top < d.client_h) make_label(c, 0, 0);
            break;
        default:
            break;
        }
    }
    end();
    size_range(w(), h(), w(), h());
    callback(on_close, this);  // the close button and Esc close it as the button does
    centre_on_screen(this);
}

void InfoDialog::on_close(Fl_Widget*, void* self) {
    auto* d = static_cast<InfoDialog*>(self);
    StartDialog& owner = d->owner_;
    d->hide();
    open_info_dialog = nullptr;
    owner.set_blocked(false);
    Fl::delete_widget(d);  // gone after the next round of events
    Fl::check();
    owner.show();
    Fl::focus(&owner);
}
