// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/input_map.h"

#include <FL/Enumerations.H>

#include <cstdlib>

namespace input {

int virtual_key(int k) {
    if (k >= 'a' && k <= 'z') return k - 'a' + 'A';
    if (k >= 'A' && k <= 'Z') return k;
    if (k >= '0' && k <= '9') return k;
    if (k > FL_F && k <= FL_F + 24) return 112 + (k - FL_F - 1);
    if (k >= FL_KP + '0' && k <= FL_KP + '9') return 96 + (k - FL_KP - '0');
    switch (k) {
    case FL_Left: return 37;
    case FL_Up: return 38;
    case FL_Right: return 39;
    case FL_Down: return 40;
    case FL_BackSpace: return 8;
    case FL_Tab: return 9;
    case FL_Enter: case FL_KP_Enter: return 13;
    case FL_Shift_L: case FL_Shift_R: return 16;
    case FL_Control_L: case FL_Control_R: return 17;
    case FL_Alt_L: case FL_Alt_R: return 18;
    case FL_Pause: return 19;
    case FL_Caps_Lock: return 20;
    case FL_Escape: return 27;
    case ' ': return 32;
    case FL_Page_Up: return 33;
    case FL_Page_Down: return 34;
    case FL_End: return 35;
    case FL_Home: return 36;
    case FL_Print: return 44;
    case FL_Insert: return 45;
    case FL_Delete: return 46;
    case FL_Help: return 47;
    case FL_Meta_L: return 91;
    case FL_Meta_R: return 92;
    case FL_Menu: return 93;
    case FL_KP + '*': return 106;
    case FL_KP + '+': return 107;
    case FL_KP + '-': return 109;
    case FL_KP + '.': case FL_KP + ',': return 110;
    case FL_KP + '/': return 111;
    case FL_Num_Lock: return 144;
    case FL_Scroll_Lock: return 145;
    case ';': return 186;
    case '=': case '+': return 187;
    case ',': return 188;
    case '-': return 189;
    case '.': return 190;
    case '/': return 191;
    case '`': return 192;
    case '[': return 219;
    case '\\': return 220;
    case ']': return 221;
    case '\'': return 222;
    case FL_Iso_Key: case '<': return 226;
    default: return 0;
    }
}

int shift_mask(int state, int key, bool key_down) {
    int m = 0;
    if (state & FL_SHIFT) m |= 1;
    if (state & FL_CTRL) m |= 2;
    if (state & FL_ALT) m |= 4;
    int own = 0;
    if (key == FL_Shift_L || key == FL_Shift_R) own = 1;
    if (key == FL_Control_L || key == FL_Control_R) own = 2;
    if (key == FL_Alt_L || key == FL_Alt_R) own = 4;
    if (own) m = key_down ? (m | own) : (m & ~own);
    return m;
}

int button_of(int b) {
    switch (b) {
    case 1: return 1;
    case 2: return 4;
    case 3: return 2;
    default: return 0;
    }
}

int buttons_held(int state) {
    int m = 0;
    if (state & FL_BUTTON1) m |= 1;
    if (state & FL_BUTTON3) m |= 2;
    if (state & FL_BUTTON2) m |= 4;
    return m;
}

namespace {
// Windows-1252 codes 128 … 159 and the characters they stand for.
const char32_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

int char_code(const std::string& s) {
    if (s.empty()) return -1;
    auto u = static_cast<unsigned char>(s[0]);
    if (u < 0x80) return u == 0x7F ? -1 : u;  // Delete types nothing
    char32_t cp = 0;
    int len = 0;
    if ((u & 0xE0) == 0xC0) { cp = u & 0x1F; len = 2; }
    else if ((u & 0xF0) == 0xE0) { cp = u & 0x0F; len = 3; }
    else if ((u & 0xF8) == 0xF0) { cp = u & 0x07; len = 4; }
    else return -1;
    if (static_cast<int>(s.size()) < len) return -1;
    for (int i = 1; i < len; ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    if (cp >= 0xA0 && cp <= 0xFF) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] && kCp1252High[i] == cp) return 128 + i;
    return '?';  // what Windows types for a character outside the set
}

bool ClickSequence::press(int button, int x, int y, int64_t t) {
    bool dbl = have_first_ && !last_was_double_ && button == button_ && t - time_ <= kDoubleClickMs &&
               std::abs(x - x_) <= kSlop && std::abs(y - y_) <= kSlop;
    last_was_double_ = dbl;
    have_first_ = true;
    button_ = button;
    x_ = x;
    y_ = y;
    time_ = t;
    return dbl;
}

}  // namespace input
