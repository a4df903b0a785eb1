// SPDX-License-Identifier: GPL-3.0-or-later
// The one seam between the game logic and the world outside it. The game
// window reaches the screen, the message boxes, the sound card, the pointer,
// the timer, the clock, chance and the end of the program only through here.
// Two implementations: the FLTK + SDL2_mixer front end (app/) and the
// headless one that the replay tool and the tests use (platform/headless_*).
#pragma once
#include <cstdint>
#include <string>

#include "core/surface.h"

enum class BoxButtons { Ok, YesNo, RetryCancel };
enum class BoxIcon { None, Critical };
enum class Answer { Ok, Yes, No, Retry, Cancel };

struct MessageBoxRequest {
    std::string title;
    std::string text;  // UTF-8
    BoxButtons buttons = BoxButtons::Ok;
    BoxIcon icon = BoxIcon::None;
    Answer default_answer = Answer::Ok;  // what Return (and a box closed unanswered) gives
};

// The mouse pointer's looks: the standard arrow and the four direction icons.
enum class Pointer { Arrow, Icon1, Icon2, Icon3, Icon4 };

// Only the calls said so below may throw RuntimeError; the game runs every
// other call outside its error trap (game/game_window.h), and one that throws
// anyway is reported at the event boundary, cutting its handler short.
class Platform {
public:
    virtual ~Platform() = default;

    // Files: the load step enters the data folder (throwing RuntimeError 76
    // when it cannot); a bare data file name resolves through data_file() to
    // its full path inside that folder, whatever the current folder is and
    // whether or not the folder could be entered (never to another folder).
    virtual void enter_program_folder() = 0;
    virtual std::string data_file(const std::string& bare_name) const = 0;

    // The game window. present() puts the whole 480 x 540 window picture on
    // the screen; it is called whenever the game has drawn onto the window.
    virtual void show_window() = 0;
    virtual void present(const Surface& window_picture) = 0;
    virtual void close_window() = 0;  // the window goes away (unload already ran)

    // Modal message box; returns the button chosen. Timer1 never ticks while
    // one is open. May throw RuntimeError when the toolkit cannot show it.
    virtual Answer message_box(const MessageBoxRequest& box) = 0;

    // Lets pending window events run once.
    virtual void do_events() = 0;

    // Pointer and cursor.
    virtual void set_pointer(Pointer p) = 0;
    virtual void show_cursor(bool show) = 0;

    // Timer1, the 60 ms main tick.
    virtual void set_timer(bool on) = 0;

    // Monotonic clock in whole milliseconds; uniform random number in [0, 1).
    virtual int64_t clock_ms() = 0;
    virtual double random_uniform() = 0;

    // Sound effects: one buffer per id (0 … 15, in load order). Loading throws
    // RuntimeError (53 missing, 5 unreadable); the rest never throw.
    virtual void sound_device_create() = 0;
    virtual void sound_load(int id, const std::string& path) = 0;
    virtual void sound_play(int id, bool looping) = 0;
    virtual void sound_stop(int id) = 0;
    virtual void sound_rewind(int id) = 0;
    virtual int sound_status(int id) = 0;  // 0 silent, 1 playing once, 5 looping
    virtual void sound_release(int id) = 0;

    // Music: failures are silent. play_midi stops the current tune and plays
    // the named data file (a bare name) three times in all; "" means silence.
    virtual void music_init() = 0;
    virtual void play_midi(const std::string& bare_name) = 0;

    // Ends the program at once. Never returns.
    [[noreturn]] virtual void end_program() = 0;
};
