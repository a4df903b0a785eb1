// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/report_error.h"

#include <cctype>
#include <new>

#include "core/runtime_error.h"

std::string report_error_text(int number, const std::string& description, const std::string& label) {
    std::string upper = label;
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    return "Si è verificato l'errore n. " + std::to_string(number) + " nella funzione '" + upper + "': " +
           description + ". Fare clic su 'Riprova' per continuare, su 'Annulla' per terminare il programma.";
}

void ReportError(Platform& platform, int number, const std::string& description, const std::string& label) {
    // An error inside the report itself gets a plain box of its own, and the
    // routine goes on with its next step.
    auto inner = [&](const RuntimeError& e) {
        MessageBoxRequest box{"Gioco Lexovo", "Errore n." + std::to_string(e.number) + "nella routine di gestione",
                           BoxButtons::Ok, BoxIcon::None, Answer::Ok};
        platform.message_box(box);
    };
    MessageBoxRequest box;
    box.title = "Lexovo5.0";
    box.buttons = BoxButtons::RetryCancel;
    box.icon = BoxIcon::Critical;
    box.default_answer = Answer::Retry;
    try {
        box.text = report_error_text(number, description, label);
    } catch (const RuntimeError& e) {
        inner(e);
    } catch (const std::bad_alloc&) {
        inner(err::out_of_memory());
    }
    Answer answer = Answer::Retry;
    try {
        answer = platform.message_box(box);
    } catch (const RuntimeError& e) {
        inner(e);
    } catch (const std::bad_alloc&) {
        inner(err::out_of_memory());
    }
    if (answer == Answer::Cancel) platform.end_program();
}
