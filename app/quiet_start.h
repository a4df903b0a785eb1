// Two things the libraries under the game would do on their own, which a
// game that writes no file and starts no program must prevent: call these
// first thing in main(), before FLTK or SDL start.
#pragma once

// FLTK 1.3 reads its global options (tooltips, visible focus, ...) from
// Fl_Preferences on first use, and saving those preferences writes
// ~/.fltk/fltk.org/fltk.prefs (and /etc/fltk/fltk.org/fltk.prefs as root)
// on every start that does not find them. The options are set to FLTK's own
// defaults here and marked as read, so the preferences are never opened.
void keep_fltk_preferences_closed();

// With no session bus, SDL's sound and controller set-up makes libdbus start
// `dbus-launch --autolaunch` from $PATH. Where no session bus can be found,
// the session bus is marked as disabled for this process instead.
void keep_dbus_from_autolaunching();
