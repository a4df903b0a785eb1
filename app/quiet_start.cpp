#include "app/quiet_start.h"

#include <FL/Fl.H>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

// Fl::options_ and Fl::options_read_ are private, and FLTK 1.3 offers no
// way to set an option without first reading the preferences. A pointer to
// a private member may still be named in an explicit instantiation (access
// is not checked there), which hands the two over.
template <unsigned char* Options, unsigned char* Read>
struct FltkOptions {
    friend void set_fltk_defaults() {
        Options[Fl::OPTION_ARROW_FOCUS] = 0;
        Options[Fl::OPTION_VISIBLE_FOCUS] = 1;
        Options[Fl::OPTION_DND_TEXT] = 1;
        Options[Fl::OPTION_SHOW_TOOLTIPS] = 1;
        Options[Fl::OPTION_FNFC_USES_GTK] = 1;
        *Read = 1;
    }
};
template struct FltkOptions<Fl::options_, &Fl::options_read_>;
void set_fltk_defaults();

}  // namespace

void keep_fltk_preferences_closed() { set_fltk_defaults(); }

void keep_dbus_from_autolaunching() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address && *address) return;
    // libdbus looks for the session bus of a systemd login here first.
    if (const char* run = std::getenv("XDG_RUNTIME_DIR")) {
        std::string socket = std::string(run) + "/bus";
        if (access(socket.c_str(), F_OK) == 0) return;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 1);
}
