// SPDX-License-Identifier: GPL-3.0-or-later
// A run-time error as the game's error trap sees it: a number and an Italian
// description. Thrown by the checked arithmetic, the file loaders and the
// sound layer; caught statement by statement by the procedure that owns it.
// Memory that runs out (std::bad_alloc) is caught there too, as error 7.
#pragma once
#include <string>

struct RuntimeError {
    int number;
    std::string description;
};

namespace err {
inline RuntimeError invalid_call() { return {5, "Chiamata di routine o argomento non validi"}; }
inline RuntimeError overflow() { return {6, "Overflow"}; }
inline RuntimeError out_of_memory() { return {7, "Memoria esaurita"}; }
inline RuntimeError subscript() { return {9, "Indice non incluso nell'intervallo"}; }
inline RuntimeError file_not_found() { return {53, "Impossibile trovare il file"}; }
inline RuntimeError path_not_found() { return {76, "Impossibile trovare il percorso"}; }
inline RuntimeError object_not_set() { return {91, "Variabile oggetto o variabile del blocco With non impostata"}; }
inline RuntimeError invalid_picture() { return {481, "Immagine non valida"}; }
}  // namespace err

// Thrown by a platform when the program ends; never caught by a game trap.
struct ProgramEnded {};
