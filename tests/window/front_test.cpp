// SPDX-License-Identifier: GPL-3.0-or-later
// The front end's logic that needs no display: keys and clicks as the game
// window's handlers receive them, and the dialogs' texts and layout.
#include <FL/Enumerations.H>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/input_map.h"
#include "dialogs/dialog_texts.h"

namespace {

size_t code_points(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

TEST(Keys, VirtualKeyCodesOfTheKeysTheGameReads) {
    EXPECT_EQ(input::virtual_key(FL_Left), 37);
    EXPECT_EQ(input::virtual_key(FL_Up), 38);
    EXPECT_EQ(input::virtual_key(FL_Right), 39);
    EXPECT_EQ(input::virtual_key(FL_Down), 40);
    // FLTK reports letter keys in lower case; the code is the capital.
    EXPECT_EQ(input::virtual_key('a'), 65);
    EXPECT_EQ(input::virtual_key('m'), 77);
    EXPECT_EQ(input::virtual_key('z'), 90);
    EXPECT_EQ(input::virtual_key('0'), 48);
    EXPECT_EQ(input::virtual_key('9'), 57);
    EXPECT_EQ(input::virtual_key(FL_F + 1), 112);
    EXPECT_EQ(input::virtual_key(FL_F + 12), 123);
    EXPECT_EQ(input::virtual_key(FL_Escape), 27);
    EXPECT_EQ(input::virtual_key(FL_Enter), 13);
    EXPECT_EQ(input::virtual_key(FL_KP_Enter), 13);
    EXPECT_EQ(input::virtual_key(' '), 32);
    EXPECT_EQ(input::virtual_key(FL_Shift_L), 16);
    EXPECT_EQ(input::virtual_key(FL_Shift_R), 16);
    EXPECT_EQ(input::virtual_key(FL_Control_R), 17);
    EXPECT_EQ(input::virtual_key(FL_KP + '5'), 101);
    // No other key may pass for an arrow: after the end of a game every
    // non-arrow key closes the window.
    for (int k : {int(FL_Home), int(FL_End), int(FL_Page_Up), int(FL_KP + '4'), int(FL_Insert), int(FL_Menu), 0x20AC})
        EXPECT_FALSE(input::virtual_key(k) >= 37 && input::virtual_key(k) <= 40) << k;
}

TEST(Keys, ShiftStateCountsAModifiersOwnPressButNotItsRelease) {
    EXPECT_EQ(input::shift_mask(0), 0);
    EXPECT_EQ(input::shift_mask(FL_SHIFT), 1);
    EXPECT_EQ(input::shift_mask(FL_CTRL), 2);
    EXPECT_EQ(input::shift_mask(FL_ALT), 4);
    EXPECT_EQ(input::shift_mask(FL_SHIFT | FL_CTRL | FL_CAPS_LOCK | FL_NUM_LOCK), 3);
    EXPECT_EQ(input::shift_mask(0, FL_Shift_L, true), 1);
    EXPECT_EQ(input::shift_mask(FL_SHIFT, FL_Shift_R, false), 0);
    EXPECT_EQ(input::shift_mask(FL_SHIFT, FL_Control_L, false), 1);
    EXPECT_EQ(input::shift_mask(FL_SHIFT, FL_Right, true), 1);
}

TEST(Keys, CharacterCodesAreWindows1252) {
    EXPECT_EQ(input::char_code("m"), 109);
    EXPECT_EQ(input::char_code("M"), 77);  // Shift or Caps Lock: not the music key
    EXPECT_EQ(input::char_code("\x1b"), 27);
    EXPECT_EQ(input::char_code("\r"), 13);
    EXPECT_EQ(input::char_code("\b"), 8);
    EXPECT_EQ(input::char_code("\x01"), 1);  // Ctrl+A
    EXPECT_EQ(input::char_code(""), -1);      // arrows, F keys
    EXPECT_EQ(input::char_code("\x7f"), -1);  // Delete types nothing
    EXPECT_EQ(input::char_code("\xc3\xa8"), 232);      // è
    EXPECT_EQ(input::char_code("\xc2\xa3"), 163);      // £
    EXPECT_EQ(input::char_code("\xe2\x82\xac"), 128);  // €
    EXPECT_EQ(input::char_code("\xe2\x80\x99"), 146);  // ’
    EXPECT_EQ(input::char_code("\xe4\xb8\xad"), '?');  // outside the set
    EXPECT_EQ(input::char_code("\xc3"), -1);           // cut short
}

TEST(Mouse, ButtonsAsTheFormReportsThem) {
    EXPECT_EQ(input::button_of(1), 1);
    EXPECT_EQ(input::button_of(3), 2);
    EXPECT_EQ(input::button_of(2), 4);
    EXPECT_EQ(input::buttons_held(FL_BUTTON1 | FL_BUTTON3), 3);
    EXPECT_EQ(input::buttons_held(FL_BUTTON2), 4);
    EXPECT_EQ(input::buttons_held(FL_SHIFT), 0);
}

// Plays presses and releases through the sequence the way the window does
// and writes down the handlers it would call.
struct Recorder {
    input::ClickSequence seq;
    std::vector<std::string> calls;
    void press(int b, int x, int y, int64_t t) { calls.push_back(seq.press(b, x, y, t) ? "dbl" : "down"); }
    void release() {
        calls.push_back("up");
        if (seq.release_gives_click()) calls.push_back("click");
    }
};

TEST(Mouse, DoubleClickGivesDownUpClickDblClickUp) {
    Recorder r;
    r.press(1, 100, 100, 1000);
    r.release();
    r.press(1, 101, 99, 1300);
    r.release();
    EXPECT_EQ(r.calls, (std::vector<std::string>{"down", "up", "click", "dbl", "up"}));
}

TEST(Mouse, WhatDoesNotMakeADoubleClick) {
    Recorder slow;  // too late
    slow.press(1, 10, 10, 0);
    slow.release();
    slow.press(1, 10, 10, input::ClickSequence::kDoubleClickMs + 1);
    slow.release();
    EXPECT_EQ(slow.calls, (std::vector<std::string>{"down", "up", "click", "down", "up", "click"}));

    Recorder moved;  // too far
    moved.press(1, 10, 10, 0);
    moved.press(1, 13, 10, 100);
    EXPECT_EQ(moved.calls[1], "down");

    Recorder other;  // another button
    other.press(1, 10, 10, 0);
    other.press(2, 10, 10, 100);
    EXPECT_EQ(other.calls[1], "down");

    Recorder triple;  // the third press starts afresh, the fourth pairs with it
    for (int i = 0; i < 4; ++i) {
        triple.press(1, 10, 10, i * 100);
        triple.release();
    }
    EXPECT_EQ(triple.calls, (std::vector<std::string>{"down", "up", "click", "dbl", "up", "down", "up", "click",
                                                      "dbl", "up"}));
}

TEST(Dialogs, StartDialogLayoutAndTabOrder) {
    const DialogLayout& d = start_dialog();
    EXPECT_EQ(d.caption, "Gioco di Lexovo (versioni 4.0 e 5.0)");
    EXPECT_EQ(px(d.client_w), 402);
    EXPECT_EQ(px(d.client_h), 343);
    std::vector<std::string> order;
    for (const Control& c : d.controls) order.push_back(c.name);
    EXPECT_EQ(order, (std::vector<std::string>{"OKButton", "CancelButton", "Command1", "Command2", "Label1",
                                               "Frame1", "Label2", "Option1(0)", "Option1(1)", "Combo1"}));
    // Every control lies inside its container.
    for (const Control& c : d.controls) {
        int cw = d.client_w, ch = d.client_h;
        if (c.parent) {
            cw = d.control(c.parent).width;
            ch = d.control(c.parent).height;
        }
        EXPECT_GE(c.left, 0) << c.name;
        EXPECT_LE(c.left + c.width, cw) << c.name;
        EXPECT_LE(c.top + c.height, ch) << c.name;
    }
    // The list lies over the blanks of the timed option's caption.
    const Control& opt = d.control("Option1(1)");
    const Control& combo = d.control("Combo1");
    EXPECT_EQ(opt.text, "Gioca per               secondi");
    EXPECT_EQ(opt.text.size(), 31u);
    EXPECT_EQ(combo.parent, std::string("Frame1"));
    EXPECT_LT(combo.top, opt.top + opt.height);
    EXPECT_GT(combo.top + combo.height, opt.top);
    EXPECT_EQ(d.control("OKButton").font, DialogFont::Bold8);
    EXPECT_EQ(d.control("Command1").font, DialogFont::Regular8);
    EXPECT_EQ(d.control("Label1").font, DialogFont::Bold10);
    EXPECT_THROW(d.control("Command3"), std::out_of_range);
}

TEST(Dialogs, SecondsListAndTheTimeLimitGiocaStores) {
    const auto& items = seconds_items();
    ASSERT_EQ(items.size(), 13u);
    EXPECT_EQ(items.front(), "30");
    EXPECT_EQ(items.back(), "900");
    EXPECT_EQ(chosen_time_limit(false, 12), 0);  // free play, whatever the list shows
    EXPECT_EQ(chosen_time_limit(true, 0), 30);
    EXPECT_EQ(chosen_time_limit(true, 7), 400);
    EXPECT_EQ(chosen_time_limit(true, 12), 900);
    int previous = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_GT(chosen_time_limit(true, int(i)), previous);
        previous = chosen_time_limit(true, int(i));
    }
}

TEST(Dialogs, TextsAsTheOriginalHasThem) {
    const std::string& w = walkthrough_text();
    EXPECT_EQ(code_points(w), 1623u);
    EXPECT_NE(w.find("flauto  e"), std::string::npos);
    EXPECT_NE(w.find("sul  fondo"), std::string::npos);
    const std::string end = "...Il gioco \xc3\xa8 terminato. ";
    EXPECT_EQ(w.rfind(end), w.size() - end.size());
    EXPECT_EQ(solution_dialog().control("Text1").text, w);
    const std::string intro = start_dialog().control("Label1").text;
    EXPECT_EQ(intro.back(), ' ');
    EXPECT_NE(intro.find("pi\xc3\xb9 e meglio"), std::string::npos);
    EXPECT_NE(start_dialog().control("Label2").text.find("ricomincialo dall'inizio."), std::string::npos);
}

TEST(Dialogs, CommandsTable) {
    const DialogLayout& d = commands_dialog();
    EXPECT_EQ(d.caption, "Riepilogo dei comandi di gioco");
    EXPECT_EQ(px(d.client_w), 518);
    EXPECT_EQ(px(d.client_h), 315);
    int actions = 0, hows = 0, quotes = 0;
    std::set<int> tops;
    for (const Control& c : d.controls) {
        if (c.name.rfind("Label1(", 0) == 0) {
            ++actions;
            EXPECT_EQ(c.colour, 0x000000u) << c.name;
            EXPECT_EQ(c.left, 120);
        } else if (c.name.rfind("Label2(", 0) == 0) {
            ++hows;
            EXPECT_EQ(c.colour, 0x0000C0u) << c.name;
            EXPECT_EQ(c.left, 3120);
            EXPECT_LE(c.left + c.width, d.client_w);
            tops.insert(c.top);
            if (c.text.find("\xe2\x80\x99") != std::string::npos) ++quotes;
        }
    }
    EXPECT_EQ(actions, 9);
    EXPECT_EQ(hows, 12);
    EXPECT_EQ(tops.size(), 12u);
    EXPECT_EQ(quotes, 3);
    EXPECT_EQ(d.control("Label2(6)").text, "CLIC CON IL MOUSE SU LIBIRI ATTIVI");
    EXPECT_EQ(d.control("Label1(8)").text, "ATT./DISATT. MUSICA");
    EXPECT_EQ(d.control("Label1(8)").top, d.control("Label2(11)").top);
    EXPECT_EQ(d.control("OKButton").text, "OK");
}

}  // namespace
