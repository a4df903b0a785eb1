// Gioco di Lexovo: the start dialog first; "Gioca" opens the game window,
// whose closing ends the program.
//
//   lexovo                 the game
//   lexovo --record FILE   the game, written to FILE as a replay script
//   lexovo --play FILE     a recorded game played back in the window
#include <FL/Fl.H>
#include <FL/Fl_RGB_Image.H>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/dialog_windows.h"
#include "app/fltk_platform.h"
#include "app/quiet_start.h"
#include "app/recorder.h"
#include "core/bmp_load.h"
#include "game/game_state.h"
#include "game/game_window.h"
#include "game/stored_pictures.h"
#include "tools/replay/replay_script.h"

#include <FL/x.H>  // last: its X11 macros clash with the names above

namespace {

const char kUsage[] =
    "uso: lexovo [--record FILE | --play FILE]\n"
    "  --record FILE  registra la partita in FILE (uno script di lexovo-replay)\n"
    "  --play FILE    rivede nella finestra una partita registrata\n";

int usage(int status) {
    std::fputs(kUsage, status == 0 ? stdout : stderr);
    return status;
}

// Reads and checks a recorded game; exits as lexovo-replay does on a bad one.
std::vector<ScriptCommand> read_script(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "lexovo: impossibile leggere %s\n", path);
        std::exit(1);
    }
    std::stringstream src;
    src << in.rdbuf();
    std::vector<ScriptCommand> script;
    ScriptError error;
    if (!parse_script(src.str(), script, error)) {
        std::fprintf(stderr, "lexovo: %s, riga %d non valida: %s\n", path, error.line, error.text.c_str());
        std::exit(2);
    }
    if (script.empty()) {
        std::fprintf(stderr, "lexovo: %s non contiene una partita\n", path);
        std::exit(2);
    }
    return script;
}

}  // namespace

int main(int argc, char** argv) {
    FltkPlatform::Mode mode = FltkPlatform::Mode::Live;
    const char* file = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) return usage(0);
        bool record = !std::strcmp(argv[i], "--record"), play = !std::strcmp(argv[i], "--play");
        if ((!record && !play) || file || i + 1 >= argc) return usage(2);
        mode = record ? FltkPlatform::Mode::Record : FltkPlatform::Mode::Play;
        file = argv[++i];
    }
    keep_fltk_preferences_closed();
    keep_dbus_from_autolaunching();

    std::vector<ScriptCommand> script;
    std::FILE* record = nullptr;
    if (mode == FltkPlatform::Mode::Play) {
        script = read_script(file);
        if (script.front().cmd == "esci") return 0;
    } else if (mode == FltkPlatform::Mode::Record) {
        record = std::fopen(file, "w");
        if (!record) {
            std::fprintf(stderr, "lexovo: impossibile scrivere %s\n", file);
            return 1;
        }
    }

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
    if (mode == FltkPlatform::Mode::Play) {
        limit = script.front().ints.empty() ? 0 : int(script.front().ints[0]);
    } else {
        StartDialog start;
        if (start.run() != StartDialog::Choice::Play) {
            if (record) {
                Recorder r(record, real_us);
                r.start("esci");
                r.finish();
                std::fclose(record);
            }
            return 0;
        }
        limit = start.time_limit();
    }  // the start dialog is gone before the game window opens

    // Both live until the program ends from inside one of the window's
    // handlers; nothing is torn down behind it.
    auto* platform = new FltkPlatform(mode);
    auto* game = new GameWindow(*platform);
    platform->attach(game);
    if (record) platform->record_to(record);
    if (mode == FltkPlatform::Mode::Play) platform->play(std::move(script));
    platform->start_game(limit);
    Fl::check();
    platform->view().show();
    Fl::focus(&platform->view());
    for (;;) Fl::wait();  // the game window's closing ends the program
}
