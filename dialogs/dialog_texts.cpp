// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/dialog_texts.h"

#include <algorithm>
#include <stdexcept>

const Control& DialogLayout::control(const std::string& n) const {
    for (const Control& c : controls)
        if (n == c.name) return c;
    throw std::out_of_range("no control " + n + " in " + name);
}

namespace {

using K = ControlKind;
using F = DialogFont;

const char* const kIntro =
    "Il gioco contenuto nelle versioni 4.0 e 5.0 di Lexovo era un classico labirinto ad ostacoli "
    "ispirato ai giochi in stile \"Arcade\", di moda quando uscirono i primi PC. Nel programma il "
    "gioco era collegato al numero di letture completate ed ai risultati ottenuti dai bambini: "
    "più e meglio si leggeva, più tempo si aveva a disposizione per giocare. Il gioco non aveva "
    "grandi pretese e si proponeva solo di aumentare la motivazione all'uso del programma da "
    "parte dei piccoli lettori. ";

// "ricomincialo" is how the original dialog spells it.
const char* const kTimeRules =
    "La versione qui riprodotta permette di giocare liberamente, oppure di impostare un tempo "
    "massimo dopo il quale, se non sarà stata raggiunta la fine del percorso, sarà necessario "
    "ricomincialo dall'inizio.";

// One paragraph; the two double blanks and the final blank are part of it.
const char* const kWalkthrough =
    "Dalla prima libreria prendere la mosca. Salire le scale a pioli della seconda libreria, "
    "prendere l'ombrello e il vaso. Arrivati in cima, recuperare la mosca dalla barra degli "
    "oggetti e darla al ragno che la inseguirà e lascerà il passaggio libero. All'inizio della "
    "discesa dei gradini di pietra, recuperare l'ombrello e darlo al professore: lo userà come "
    "paracadute per frenare la discesa nel vano sotterraneo dopo il crollo del passaggio. Nella "
    "libreria del vano sotterraneo prendere il seme, la forchetta e la nuvola. Mettere il vaso "
    "alla base del cunicolo verticale, mettere il seme nel vaso, la nuvola sul vaso e infine la "
    "forchetta nel vaso: scoppierà un temporale che innaffiando il vaso farà crescere la pianta "
    "di fagioli magici. Usare la pianta come scala per uscire dal cunicolo e proseguire a destra "
    "fino al pozzo verticale. Saltare dall'altro lato (Maiusc+ freccia a destra) e nella "
    "libreria al centro tra i due pozzi prendere il libro della giungla. Saltare anche il "
    "secondo pozzo verticale e nella libreria seguente prendere il flauto  e la corda. Poi "
    "tornare indietro e lasciarsi cadere nel pozzo verticale. Aprire il libro che si trova sul  "
    "fondo e prendere il costume da Tarzan. Mettere la corda sul fondo del pozzo ed dare il "
    "flauto al professore che lo userà per incantarla. Risalire utilizzando la corda come scala. "
    "Proseguire fino al baratro successivo senza salire sulla libreria. Giunti quasi sull'orlo, "
    "prendere il libro della giungla e metterlo vicino al baratro: si aprirà magicamente un "
    "paesaggio che mostra una foresta. Prendere il costume da Tarzan e darlo al professore...Il "
    "gioco è terminato. ";

void sort_by_tab(DialogLayout& d) {
    std::stable_sort(d.controls.begin(), d.controls.end(), [](const Control& a, const Control& b) {
        // Controls that take no focus keep their place after the others.
        int ta = a.tab < 0 ? 1000 : a.tab, tb = b.tab < 0 ? 1000 : b.tab;
        return ta < tb;
    });
}

DialogLayout make_start() {
    DialogLayout d{"Inizio", "Gioco di Lexovo (versioni 4.0 e 5.0)", 6030, 5145, {}};
    d.controls = {
        {"Label1", K::Label, nullptr, kIntro, 120, 240, 5775, 2175, 4, F::Bold10},
        {"Label2", K::Label, nullptr, kTimeRules, 120, 2520, 5775, 855, 6, F::Bold8},
        {"Frame1", K::Frame, nullptr, "Impostazioni", 120, 3480, 3735, 1455, 5, F::Bold8},
        {"Option1(0)", K::Option, "Frame1", "Gioco libero (senza limiti di tempo)", 240, 360, 3255, 255, 7,
         F::Bold8},
        {"Option1(1)", K::Option, "Frame1", "Gioca per" + std::string(15, ' ') + "secondi", 240, 840, 2895, 255,
         8, F::Bold8},
        {"Combo1", K::DropList, "Frame1", "", 1440, 800, 735, 315, 9, F::Bold8},
        {"OKButton", K::Button, nullptr, "Gioca", 5040, 3600, 855, 375, 0, F::Bold8},
        {"Command2", K::Button, nullptr, "Esci", 4080, 3600, 855, 375, 3, F::Regular8},
        {"CancelButton", K::Button, nullptr, "Riepilogo comandi", 4080, 4080, 1815, 375, 1, F::Regular8},
        {"Command1", K::Button, nullptr, "Soluzione completa", 4080, 4560, 1815, 375, 2, F::Regular8},
    };
    sort_by_tab(d);
    return d;
}

DialogLayout make_solution() {
    DialogLayout d{"Soluzione", "Soluzione completa", 6030, 2835, {}};
    d.controls = {
        {"Text1", K::TextBox, nullptr, kWalkthrough, 240, 240, 5535, 1935, 2, F::Bold10},
        {"OKButton", K::Button, nullptr, "Chiudi", 4560, 2280, 1215, 375, 0, F::Regular8},
        // Only stores the walkthrough; it lies outside the client area.
        {"Label1", K::Label, nullptr, kWalkthrough, -960, 3960, 5535, 4095, 1, F::Bold10},
    };
    sort_by_tab(d);
    return d;
}

DialogLayout make_commands() {
    DialogLayout d{"Comandi", "Riepilogo dei comandi di gioco", 7770, 4725, {}};
    d.controls.push_back({"OKButton", K::Button, nullptr, "OK", 6360, 4200, 1215, 375, 0, F::Regular8});
    struct Row { int top; const char* action; const char* how; };
    // The action column has a label only where a new command starts; the
    // last command's description runs over four lines. "LIBIRI" is as the
    // original table spells it.
    static const Row rows[] = {
        {120, "CAMMINA AVANTI", "FRECCIA DESTRA O MOUSE"},
        {480, "CAMMINA INDIETRO", "FRECCIA SINISTRA O MOUSE"},
        {840, "SALE SUGLI SCAFFALI", "FRECCIA SU O MOUSE"},
        {1200, "SCENDE DAGLI SCAFFALI", "FRECCIA GIU\u2019 O MOUSE"},
        {1560, "SALTA", "MAIUSC + FRECCE O MOUSE"},
        {1920, "CERCA I LIBRI", "PASSARE MOUSE SUGLI SCAFFALI"},
        {2280, "APRE I LIBRI", "CLIC CON IL MOUSE SU LIBIRI ATTIVI"},
        {2640, "USA GLI OGGETTI", "PUNTARE CON MOUSE L\u2019OGGETTO,"},
        {2880, nullptr, "PREMERE IL PULSANTE, TRASCINARE"},
        {3120, nullptr, "L\u2019OGGETTO SU AREA GIOCO, RILASCIARE"},
        {3360, nullptr, "IL PULSANTE"},
        {3720, "ATT./DISATT. MUSICA", "Tasto 'M'"},
    };
    int a = 0, h = 0;
    for (const Row& r : rows) {
        if (r.action) {
            d.controls.push_back({"Label1(" + std::to_string(a++) + ")", K::Label, nullptr, r.action, 120, r.top, 2775, 255, -1,
                                  F::Bold10});
        }
        d.controls.push_back({"Label2(" + std::to_string(h++) + ")", K::Label, nullptr, r.how, 3120, r.top, 7770 - 3120 - 120, 255,
                              -1, F::Bold10, 0x0000C0});
    }
    return d;
}

}  // namespace

const DialogLayout& start_dialog() {
    static const DialogLayout d = make_start();
    return d;
}

const std::vector<std::string>& seconds_items() {
    static const std::vector<std::string> items = {"30",  "60",  "90",  "120", "180", "240", "300",
                                                   "400", "500", "600", "700", "800", "900"};
    return items;
}

const DialogLayout& solution_dialog() {
    static const DialogLayout d = make_solution();
    return d;
}

const DialogLayout& commands_dialog() {
    static const DialogLayout d = make_commands();
    return d;
}

const std::string& walkthrough_text() {
    static const std::string t = kWalkthrough;
    return t;
}

int chosen_time_limit(bool timed, int index) {
    if (!timed) return 0;
    return std::stoi(seconds_items().at(static_cast<size_t>(index)));
}
