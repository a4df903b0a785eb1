// SPDX-License-Identifier: GPL-3.0-or-later
// Turning FLTK's keys, modifier states and mouse buttons into what the game
// window's handlers expect: Windows virtual-key codes, the Shift/Ctrl/Alt
// mask (1/2/4), the button mask (1 left, 2 right, 4 middle), character codes
// in the Windows-1252 set, and the order in which a form reports clicks.
#pragma once
#include <cstdint>
#include <string>

namespace input {

// Virtual-key code of an FLTK key (Fl::event_key()); 0 when there is none.
int virtual_key(int fltk_key);

// Shift state of an FLTK event state, as the key and mouse handlers take it.
// A modifier key's own press already counts, its own release no longer does.
int shift_mask(int fltk_state, int fltk_key = 0, bool key_down = false);

// Button of a press or release (Fl::event_button(): 1 left, 2 middle, 3 right).
int button_of(int fltk_button);
// Buttons held, from an event state.
int buttons_held(int fltk_state);

// The character a key press types (from Fl::event_text()), in Windows-1252;
// -1 when the key types nothing (arrows, function keys, Delete, ...).
int char_code(const std::string& utf8_text);

// A form reports a double click as Down, Up, Click, DblClick, Up: the second
// press becomes DblClick and its release gives no Click. A second press
// counts as a double click when it comes within 500 ms of the first, with the
// same button and no more than 2 pixels away; the press after a double click
// starts afresh.
class ClickSequence {
public:
    // Returns true when this press is the second of a double click.
    bool press(int button, int x, int y, int64_t time_ms);
    // Whether the release of the last press gives a Click.
    bool release_gives_click() const { return !last_was_double_; }

    static constexpr int64_t kDoubleClickMs = 500;
    static constexpr int kSlop = 2;

private:
    bool have_first_ = false;
    bool last_was_double_ = false;
    int button_ = 0, x_ = 0, y_ = 0;
    int64_t time_ = 0;
};

}  // namespace input
