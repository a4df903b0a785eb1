#include "app/message_box.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <vector>

namespace {

// Sizes at a scale of 1; set() multiplies them for a dense screen.
struct Metrics {
    int margin = 12, icon = 32, button_w = 75, button_h = 23, gap = 6, max_text = 380, font_size = 12;
    void set(int s) {
        *this = Metrics{};
        for (int* v : {&margin, &icon, &button_w, &button_h, &gap, &max_text, &font_size}) *v *= s;
    }
} m;
constexpr Fl_Font kFont = FL_HELVETICA;

// The critical-stop sign: a red disc with a white cross.
class StopSign : public Fl_Box {
public:
    StopSign(int x, int y) : Fl_Box(x, y, m.icon, m.icon) {}
    void draw() override {
        fl_color(fl_rgb_color(192, 0, 0));
        fl_pie(x(), y(), w(), h(), 0, 360);
        fl_color(FL_BLACK);
        fl_arc(x(), y(), w(), h(), 0, 360);
        fl_color(FL_WHITE);
        fl_line_style(FL_SOLID | FL_CAP_ROUND, w() / 8);
        int k = w() * 10 / 32;
        fl_line(x() + k, y() + k, x() + w() - k - 1, y() + h() - k - 1);
        fl_line(x() + w() - k - 1, y() + k, x() + k, y() + h() - k - 1);
        fl_line_style(0);
    }
};

// Labels treat '@' and '&' as markup; a message shows them as they are.
std::string plain_label(const std::string& s) {
    std::string out;
    for (char c : s) {
        if (c == '@' || c == '&') out += c;
        out += c;
    }
    return out;
}

class MessageWindow : public Fl_Window {
public:
    MessageWindow(const MessageBoxRequest& box) : Fl_Window(100, 100), box_(box), answer_(box.default_answer) {
        end();
        copy_label(box.title.c_str());
        set_modal();

        struct B { const char* label; Answer a; };
        std::vector<B> buttons;
        switch (box.buttons) {
        case BoxButtons::Ok: buttons = {{"OK", Answer::Ok}}; break;
        case BoxButtons::YesNo: buttons = {{"S\u00ec", Answer::Yes}, {"No", Answer::No}}; break;
        case BoxButtons::RetryCancel: buttons = {{"Riprova", Answer::Retry}, {"Annulla", Answer::Cancel}}; break;
        }

        text_ = plain_label(box.text);
        fl_font(kFont, m.font_size);
        int tw = 0, th = 0;
        fl_measure(text_.c_str(), tw, th, 0);
        if (tw > m.max_text) {
            tw = m.max_text;
            th = 0;
            fl_measure(text_.c_str(), tw, th, 0);
        }
        bool icon = box.icon == BoxIcon::Critical;
        int tx = m.margin + (icon ? m.icon + m.margin : 0);
        int body_h = std::max(th, icon ? m.icon : 0);
        int row_w = int(buttons.size()) * (m.button_w + m.gap) - m.gap;
        int W = std::max({tx + tw + m.margin, row_w + 2 * m.margin, 180});
        int by = m.margin + body_h + m.margin + 4;
        int H = by + m.button_h + m.margin;
        size(W, H);
        size_range(W, H, W, H);

        begin();
        if (icon) new StopSign(m.margin, m.margin);
        // A left-aligned label keeps 3 pixels clear on either side.
        auto* msg = new Fl_Box(tx - 3, m.margin + (body_h - th) / 2, tw + 6, th);
        msg->label(text_.c_str());
        msg->labelfont(kFont);
        msg->labelsize(m.font_size);
        msg->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
        int bx = (W - row_w) / 2;
        for (const B& b : buttons) {
            auto* w = new Fl_Button(bx, by, m.button_w, m.button_h, b.label);
            w->labelsize(m.font_size);
            w->callback(button_cb, this);
            answers_.push_back({w, b.a});
            if (b.a == box.default_answer) default_button_ = w;
            bx += m.button_w + m.gap;
        }
        end();
        if (!default_button_) default_button_ = answers_.front().first;
        callback(close_cb, this);
        int sx, sy, sw, sh;
        Fl::screen_work_area(sx, sy, sw, sh);
        position(sx + (sw - W) / 2, sy + (sh - H) / 2);
    }

    Answer run(double auto_seconds, Answer auto_answer) {
        show();
        default_button_->take_focus();
        Fl::focus(default_button_);
        auto_answer_ = auto_answer;
        if (auto_seconds > 0) Fl::add_timeout(auto_seconds, answer_by_itself, this);
        while (shown()) Fl::wait();
        Fl::remove_timeout(answer_by_itself, this);
        return answer_;
    }

    int handle(int e) override {
        if (e == FL_FOCUS || e == FL_UNFOCUS) return 1;
        if (e == FL_KEYBOARD && (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
            for (auto& [w, a] : answers_)
                if (Fl::focus() == w) { finish(a); return 1; }
            finish(box_.default_answer);
            return 1;
        }
        return Fl_Window::handle(e);
    }

private:
    void finish(Answer a) {
        answer_ = a;
        hide();
    }
    static void button_cb(Fl_Widget* w, void* self) {
        auto* m = static_cast<MessageWindow*>(self);
        for (auto& [b, a] : m->answers_)
            if (b == w) m->finish(a);
    }
    static void answer_by_itself(void* self) {
        auto* m = static_cast<MessageWindow*>(self);
        m->finish(m->auto_answer_);
    }
    // Esc and the close button.
    static void close_cb(Fl_Widget*, void* self) {
        auto* m = static_cast<MessageWindow*>(self);
        m->finish(m->box_.default_answer);
    }

    MessageBoxRequest box_;
    std::string text_;
    Answer answer_;
    Answer auto_answer_ = Answer::Ok;
    std::vector<std::pair<Fl_Widget*, Answer>> answers_;
    Fl_Widget* default_button_ = nullptr;
};

}  // namespace

Answer run_message_box(const MessageBoxRequest& box, int scale, double auto_seconds, Answer auto_answer) {
    m.set(std::max(1, scale));
    // Whatever window had the keyboard gets it back afterwards.
    Fl_Window* previous = Fl::first_window();
    Answer a;
    {
        MessageWindow w(box);
        a = w.run(auto_seconds, auto_answer);
    }
    if (previous && previous->shown()) {
        previous->show();
        Fl::focus(previous);
    }
    return a;
}
