// The game's modal message boxes, drawn the way a classic desktop draws
// them: an optional icon, the text, and the buttons centred under it in the
// order "Sì" "No" / "Riprova" "Annulla" / "OK", centred on the screen.
#pragma once
#include "platform/platform.h"

// Shows the box and waits for an answer. Return (or Space) presses the
// focused button, which starts as the box's default; Esc and the window's
// close button give the default answer. `scale` enlarges it on dense screens.
// With auto_seconds > 0 the box answers auto_answer by itself after that
// long (a recorded game playing back shows its boxes this way).
Answer run_message_box(const MessageBoxRequest& box, int scale = 1, double auto_seconds = 0,
                       Answer auto_answer = Answer::Ok);
