// Gioco di Lexovo: the start dialog first; "Gioca" opens the game window,
// whose closing ends the program.
#include <FL/Fl.H>
#include <FL/Fl_RGB_Image.H>

#include <cstdlib>
#include <memory>

#include "app/dialog_windows.h"
#include "app/fltk_platform.h"
#include "core/bmp_load.h"
#include "game/game_state.h"
#include "game/game_window.h"
#include "game/stored_pictures.h"

#include <FL/x.H>  // last: its X11 macros clash with the names above

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    // Every window, dialogs and message boxes included, is of the class
    // "lexovo" (WM_CLASS "lexovo", "Lexovo"): the desktop entry's
    // StartupWMClass, which ties the windows to the menu entry and its icon.
    Fl_Window::default_xclass("lexovo");
    fl_open_display();
    Fl::scheme("base");
    Fl::visual(FL_RGB);

    // Every window of the program carries the game's icon.
    std::unique_ptr<Fl_RGB_Image> icon;
    if (const StoredPicture* p = find_stored_picture("WindowIcon")) {
        try {
            icon = rgba_image(load_bmp_memory(p->data, p->size));
        } catch (const RuntimeError&) {
        }
        if (icon) Fl_Window::default_icon(icon.get());
    }

    set_dialog_scale(screen_scale());

    int limit = 0;
    {
        StartDialog start;
        if (start.run() != StartDialog::Choice::Play) return 0;
        limit = start.time_limit();
    }  // the start dialog is gone before the game window opens
    time_limit = limit;

    // Both live until the program ends from inside one of the window's
    // handlers; nothing is torn down behind it.
    auto* platform = new FltkPlatform;
    platform->log("gioca " + std::to_string(limit));
    auto* game = new GameWindow(*platform);
    platform->attach(game);
    game->Form_Load();
    Fl::check();
    platform->view().show();
    Fl::focus(&platform->view());
    for (;;) Fl::wait();  // the game window's closing ends the program
}
