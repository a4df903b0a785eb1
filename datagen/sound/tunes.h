// SPDX-License-Identifier: GPL-3.0-or-later
// The two tunes of the game, composed in code.
#pragma once
#include <vector>

#include "datagen/sound/midi_writer.h"

namespace tunes {

// The cheerful theme that plays while the professor explores (F major:
// bassoon and clarinet over pizzicato strings and a ticking wood block).
std::vector<midi::Track> intro();

// The closing piece: Beethoven's "Ode to Joy" theme for full orchestra in
// D major, a gentle first statement, a tutti second one and a short coda.
std::vector<midi::Track> symphony();

}  // namespace tunes
