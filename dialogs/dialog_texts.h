// SPDX-License-Identifier: GPL-3.0-or-later
// The three dialogs of the program as data: captions, texts and the layout
// of every control, in twips (15 twips to the pixel) relative to the control's
// container, listed in tab order. The toolkit code in app/ only draws them.
// Texts are UTF-8.
#pragma once
#include <string>
#include <vector>

enum class ControlKind { Label, Frame, Option, DropList, Button, TextBox };

// Fonts the dialogs were drawn with: the dialog's default sans serif, regular
// or bold, at 8.25 or 9.75 points.
enum class DialogFont { Regular8, Bold8, Bold10 };

struct Control {
    std::string name;    // e.g. "Option1(1)", "Label2(3)"
    ControlKind kind;
    const char* parent;  // containing frame's name, nullptr for the dialog
    std::string text;
    int left, top, width, height;  // twips
    int tab;                       // tab index; -1 when the control takes no focus
    DialogFont font;
    unsigned colour = 0x000000;    // text colour 0xRRGGBB
};

struct DialogLayout {
    const char* name;
    std::string caption;
    int client_w, client_h;  // twips
    std::vector<Control> controls;  // sorted by tab index

    const Control& control(const std::string& name) const;  // throws std::out_of_range
};

constexpr int kTwipsPerPixel = 15;
constexpr int px(int twips) { return twips / kTwipsPerPixel; }

// The start dialog Inizio and its seconds list.
const DialogLayout& start_dialog();
const std::vector<std::string>& seconds_items();

// Soluzione (the walkthrough) and Comandi (the summary of the controls).
const DialogLayout& solution_dialog();
const DialogLayout& commands_dialog();
const std::string& walkthrough_text();

// The time limit that "Gioca" stores: 0 for free play, otherwise the number
// of the list item at `index`.
int chosen_time_limit(bool timed, int index);
