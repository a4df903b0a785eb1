// SPDX-License-Identifier: GPL-3.0-or-later
// The start dialog and its two information dialogs, built from the layouts
// in dialogs/dialog_texts.h.
#pragma once
#include <FL/Fl_Window.H>

class Fl_Choice;

// Enlarges every dialog built afterwards by a whole factor (dense screens).
void set_dialog_scale(int scale);

class Fl_Round_Button;

class StartDialog : public Fl_Window {
public:
    enum class Choice { Waiting, Play, Quit };

    StartDialog();

    // Runs until the player presses "Gioca" (Play), "Esci" or closes the
    // dialog (Quit). The dialog is hidden when this returns.
    Choice run();
    // The time limit the choice stands for (valid after Play).
    int time_limit() const { return time_limit_; }

    // While an information dialog is open the start dialog takes no input.
    void set_blocked(bool b);
    bool blocked() const { return blocked_; }

    int handle(int event) override;

private:
    static void on_option(Fl_Widget*, void*);
    static void on_play(Fl_Widget*, void*);
    static void on_quit(Fl_Widget*, void*);
    static void on_solution(Fl_Widget*, void*);
    static void on_commands(Fl_Widget*, void*);
    static void on_close(Fl_Widget*, void*);
    void open_info(bool solution);

    Fl_Round_Button* free_play_ = nullptr;
    Fl_Round_Button* timed_ = nullptr;
    Fl_Choice* seconds_ = nullptr;
    Choice choice_ = Choice::Waiting;
    int time_limit_ = 0;
    bool blocked_ = false;
};

// Soluzione or Comandi, shown without being modal over the start dialog;
// its button, Esc or its close button hand control back to the owner.
class InfoDialog : public Fl_Window {
public:
    InfoDialog(bool solution, StartDialog& owner);

private:
    static void on_close(Fl_Widget*, void*);
    StartDialog& owner_;
};
