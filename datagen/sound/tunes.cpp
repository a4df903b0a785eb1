// SPDX-License-Identifier: GPL-3.0-or-later
#include "datagen/sound/tunes.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace tunes {
namespace {

using midi::kPpq;
using midi::Note;
using midi::Track;

constexpr long kBeat = kPpq;
constexpr long kBar = 4 * kBeat;
constexpr int kDrums = 9;
constexpr double kIntroMaster = 0.75;
constexpr double kSymphonyMaster = 0.5;

// General MIDI programs (counted from 0).
enum Program {
    kGlockenspiel = 9, kCello = 42, kContrabass = 43, kPizzicato = 45, kTimpani = 47, kStrings = 48,
    kTrumpet = 56, kTrombone = 57, kTuba = 58, kHorn = 60, kOboe = 68, kBassoon = 70, kClarinet = 71,
    kFlute = 73,
};
// General MIDI drum keys.
enum Drum { kCrash = 49, kTriangle = 81, kHiWood = 76, kLowWood = 77 };

enum Kind { kMaj, kMin, kDom7 };
struct Chord {
    long tick, dur;
    int root;  // pitch class 0 = C
    Kind kind;
};

std::vector<int> pitch_classes(const Chord& c) {
    std::vector<int> iv = c.kind == kMaj ? std::vector<int>{0, 4, 7} : c.kind == kMin ? std::vector<int>{0, 3, 7} : std::vector<int>{0, 4, 7, 10};
    for (int& v : iv) v = (v + c.root) % 12;
    return iv;
}

// The chord's tones in close position: the `count` notes nearest to `center`.
std::vector<int> voicing(const Chord& c, int center, int count) {
    std::vector<int> cand;
    for (int pc : pitch_classes(c))
        for (int k = pc; k < 128; k += 12)
            if (std::abs(k - center) <= 9) cand.push_back(k);
    std::sort(cand.begin(), cand.end(), [&](int a, int b) { return std::abs(a - center) < std::abs(b - center); });
    cand.resize(std::min<std::size_t>(cand.size(), count));
    std::sort(cand.begin(), cand.end());
    return cand;
}

// The root (or fifth) of the chord in the octave starting at `low`.
int bass_note(const Chord& c, int low, bool fifth = false) {
    int pc = (c.root + (fifth ? 7 : 0)) % 12;
    int k = low + ((pc - low) % 12 + 12) % 12;
    return k;
}

// "F:4 C7:4 Bb:2 ..." -> chords with lengths in beats, from `start`.
std::vector<Chord> progression(const std::string& text, long start) {
    std::vector<Chord> out;
    std::size_t i = 0;
    long now = start;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '|')) ++i;
        if (i >= text.size()) break;
        std::size_t colon = text.find(':', i);
        std::string name = text.substr(i, colon - i);
        std::size_t end = text.find_first_of(" |", colon);
        if (end == std::string::npos) end = text.size();
        long beats = std::stol(text.substr(colon + 1, end - colon - 1));
        i = end;
        static const int base[7] = {9, 11, 0, 2, 4, 5, 7};
        int root = base[name[0] - 'A'];
        std::size_t p = 1;
        if (p < name.size() && name[p] == '#') root += 1, ++p;
        if (p < name.size() && name[p] == 'b') root += 11, ++p;
        Kind kind = kMaj;
        std::string rest = name.substr(p);
        if (rest == "m") kind = kMin;
        if (rest == "7") kind = kDom7;
        out.push_back({now, beats * kBeat, root % 12, kind});
        now += beats * kBeat;
    }
    return out;
}

Chord at(const std::vector<Chord>& prog, long tick) {
    for (const Chord& c : prog)
        if (tick >= c.tick && tick < c.tick + c.dur) return c;
    return prog.back();
}

// Adds a parsed voice with accents on the beats.
void play(Track& t, int ch, const std::vector<Note>& notes, int vel, int accent = 8) {
    for (const Note& n : notes) {
        int v = vel + (n.tick % kBar == 0 ? accent : (n.tick % kBeat == 0 ? accent / 2 : 0));
        t.note(ch, n.tick, n.dur, n.key, v);
    }
}

// volume is the channel's share of the whole; `master` scales every channel
// so the full band stays clear of clipping through either soundfont.
Track instrument(const std::string& name, int ch, int prog, int volume, int pan, int reverb, double master) {
    Track t(name);
    t.program(ch, 0, prog);
    t.control(ch, 0, 7, static_cast<int>(volume * master + 0.5));
    t.control(ch, 0, 10, pan);
    t.control(ch, 0, 91, reverb);
    return t;
}

}  // namespace

// ------------------------------------------------------------------ intro

std::vector<Track> intro() {
    const double bpm = 126;
    Track conductor("Gioco di Lexovo");
    conductor.tempo(0, bpm);
    conductor.time_signature(0, 4, 2);

    // Sections, in bars: vamp 2, A 8, A' 8, B 8, A'' 8, tag 2.
    const long vamp = 0, a1 = 2 * kBar, a2 = 10 * kBar, b = 18 * kBar, a3 = 26 * kBar, tag = 34 * kBar;
    const std::string a_chords = "F:4 | C7:4 | F:4 | Bb:2 C7:2 | F:4 | Dm:2 G7:2 | C7:4 | F:4";
    const std::string b_chords = "Bb:4 | F:4 | Gm:4 | C7:4 | Bb:4 | F:4 | G7:4 | C7:4";
    std::vector<Chord> prog = progression("F:4 F:4 " + a_chords + " " + a_chords + " " + b_chords + " " + a_chords + " F:4 F:4", 0);

    const std::string melody =
        "C3/2. F3/2. A3/2. F3/2. C4/4 A3/4 | Bb3/2. A3/2. G3/2. E3/2. C3/4 r/4 | "
        "A2/2. C3/2. F3/2. A3/2. G3/2. F3/2. E3/2. F3/2. | D3/2. F3/2. Bb3/4 C3/2. E3/2. G3/4 | "
        "C4/3 A3/1 F3/2. A3/2. C4/3 A3/1 F3/4 | D4/2. C4/2. A3/2. F3/2. B3/2. D4/2. G3/4 | "
        "C4/2. Bb3/2. G3/2. E3/2. Bb3/2. G3/2. E3/2. C3/2. | F3/4 C3/2. A2/2. F2/4 r/4";
    const std::string counter =
        "r/8 A4/4 C5/4 | Bb4/8 G4/8 | A4/4 F4/4 C5/8 | Bb4/8 C5/8 | "
        "A4/6 G4/2 F4/8 | F4/8 G4/8 | E4/4 G4/4 Bb4/4 C5/4 | A4/8 r/8";
    const std::string b_tune =
        "D5/4 F5/2. D5/2. Bb4/4 D5/4 | C5/4 A4/2. C5/2. F5/8 | Bb4/2. A4/2. G4/2. A4/2. Bb4/2. D5/2. G5/4 | "
        "E5/4 D5/2. C5/2. Bb4/4 G4/4 | D5/4 F5/2. D5/2. Bb4/4 F5/4 | A5/4 G5/2. F5/2. C5/8 | "
        "B4/2. D5/2. F5/2. D5/2. G5/4 F5/4 | E5/2. G5/2. E5/2. C5/2. Bb4/4 G4/4";
    const std::string tag_tune = "C4/2. A3/2. F3/2. C3/2. A2/2. C3/2. F2/4 | F2/4. r/12";

    Track bassoon = instrument("Fagotto", 0, kBassoon, 110, 50, 40, kIntroMaster);
    play(bassoon, 0, midi::parse(melody, a1), 92);
    play(bassoon, 0, midi::parse(melody, a2), 88);
    play(bassoon, 0, midi::parse(melody, a3), 96);
    play(bassoon, 0, midi::parse(tag_tune, tag), 92);
    // In B the bassoon walks the bass: root and fifth, short.
    for (long t = b; t < a3; t += kBeat) {
        Chord c = at(prog, t);
        bassoon.note(0, t, kBeat / 2, bass_note(c, 41, (t / kBeat) % 2 == 1), 80);
    }

    Track clarinet = instrument("Clarinetto", 1, kClarinet, 100, 80, 45, kIntroMaster);
    play(clarinet, 1, midi::parse(counter, a2), 70, 4);
    play(clarinet, 1, midi::parse(b_tune, b), 88);
    play(clarinet, 1, midi::parse(counter, a3), 72, 4);

    Track flute = instrument("Flauto", 2, kFlute, 90, 35, 55, kIntroMaster);
    play(flute, 2, midi::parse(melody, a3, 24), 62, 6);
    play(flute, 2, midi::parse("C6/2. A5/2. F5/2. C5/2. A4/2. C5/2. F5/4 | F5/4. r/12", tag), 60);

    // Pizzicato strings: oom on 1 and 3 (root, fifth), pah on 2 and 4.
    Track pizz_bass = instrument("Pizzicato bassi", 3, kPizzicato, 115, 60, 35, kIntroMaster);
    Track pizz = instrument("Pizzicato", 4, kPizzicato, 95, 70, 40, kIntroMaster);
    for (long t = vamp; t < tag + kBar; t += kBeat) {
        Chord c = at(prog, t);
        long beat = (t / kBeat) % 4;
        if (beat == 0 || beat == 2)
            pizz_bass.note(3, t, kBeat / 2, bass_note(c, 41, beat == 2), beat == 0 ? 100 : 88);
        else
            for (int k : voicing(c, 62, 3)) pizz.note(4, t, kBeat / 3, k, 70);
    }
    // The last chord, on the tag's second bar.
    pizz_bass.note(3, tag + kBar, kBeat, 41, 105);
    for (int k : voicing(at(prog, tag), 65, 4)) pizz.note(4, tag + kBar, kBeat, k, 85);

    Track glock = instrument("Glockenspiel", 5, kGlockenspiel, 70, 90, 60, kIntroMaster);
    for (long t = a3; t < tag; t += kBar) {
        std::vector<int> v = voicing(at(prog, t), 84, 3);
        glock.note(5, t, kBeat, v.back(), 60);
        glock.note(5, t + 2 * kBeat + kBeat / 2, kBeat / 2, v.front(), 45);
    }
    glock.note(5, vamp, kBeat, 77, 55);
    glock.note(5, vamp + kBar, kBeat, 81, 55);
    glock.note(5, tag + kBar, kBeat * 2, 89, 65);

    // A wooden clock ticking along with the professor.
    Track drums("Orologio");
    drums.control(kDrums, 0, 7, static_cast<int>(80 * kIntroMaster));
    drums.control(kDrums, 0, 91, 30);
    for (long t = vamp; t < tag + kBar; t += kBeat) drums.note(kDrums, t, kBeat / 4, (t / kBeat) % 2 ? kLowWood : kHiWood, (t / kBeat) % 4 == 0 ? 52 : 40);
    for (long t : {a1, a2, b, a3}) drums.note(kDrums, t, kBeat, kTriangle, 55);
    drums.note(kDrums, tag + kBar, kBeat, kTriangle, 70);
    // The tag's last bar is heard whole before the theme comes round again.
    conductor.end_at(tag + 2 * kBar);

    return {conductor, bassoon, clarinet, flute, pizz_bass, pizz, glock, drums};
}

// ------------------------------------------------------------------ symphony

std::vector<Track> symphony() {
    Track conductor("Inno alla gioia");
    conductor.tempo(0, 100);
    conductor.time_signature(0, 4, 2);

    // The theme in C, sung here in D (transpose +2).
    const std::string theme =
        "E4/4 E4/4 F4/4 G4/4 | G4/4 F4/4 E4/4 D4/4 | C4/4 C4/4 D4/4 E4/4 | E4/6 D4/2 D4/8 | "
        "E4/4 E4/4 F4/4 G4/4 | G4/4 F4/4 E4/4 D4/4 | C4/4 C4/4 D4/4 E4/4 | D4/6 C4/2 C4/8 | "
        "D4/4 D4/4 E4/4 C4/4 | D4/4 E4/2 F4/2 E4/4 C4/4 | D4/4 E4/2 F4/2 E4/4 D4/4 | C4/4 D4/4 G3/8 | "
        "E4/4 E4/4 F4/4 G4/4 | G4/4 F4/4 E4/4 D4/4 | C4/4 C4/4 D4/4 E4/4 | D4/6 C4/2 C4/8";
    const std::string theme_chords =
        "C:4 | G7:4 | C:4 | G:4 | C:4 | G7:4 | C:4 | G7:2 C:2 | "
        "G:2 C:2 | G7:2 C:2 | G7:2 C:1 G:1 | Am:1 D7:1 G:2 | C:4 | G7:4 | C:4 | G7:2 C:2";
    const std::string coda_tune = "A4/4 C5/4 F5/8 | E5/8 D5/8 | C5/16 | C5/4 r/12";
    const std::string coda_chords = "F:4 | C:2 G7:2 | C:4 | C:4";
    const int T = 2;  // into D major
    const long s1 = 0, s2 = 16 * kBar, coda = 32 * kBar, fin = coda + 3 * kBar;
    std::vector<Chord> prog = progression(theme_chords + " " + theme_chords + " " + coda_chords, 0);
    for (Chord& c : prog) c.root = (c.root + T) % 12;
    // Broaden the last bars.
    conductor.tempo(coda + kBar, 94);
    conductor.tempo(coda + 2 * kBar, 84);
    conductor.tempo(fin, 72);

    Track strings = instrument("Violini", 0, kStrings, 110, 45, 60, kSymphonyMaster);
    play(strings, 0, midi::parse(theme, s1, T + 12), 78);
    play(strings, 0, midi::parse(theme, s2, T + 12), 104);
    play(strings, 0, midi::parse(coda_tune, coda, T + 12), 100);

    Track clarinet = instrument("Clarinetti", 1, kClarinet, 95, 70, 50, kSymphonyMaster);
    play(clarinet, 1, midi::parse(theme, s1, T), 68);

    Track flute = instrument("Flauti", 7, kFlute, 95, 30, 55, kSymphonyMaster);
    play(flute, 7, midi::parse(theme, s2, T + 12), 90);
    play(flute, 7, midi::parse(coda_tune, coda, T + 12), 88);
    Track oboe = instrument("Oboi", 8, kOboe, 90, 60, 50, kSymphonyMaster);
    play(oboe, 8, midi::parse(theme, s2, T + 12), 84);
    play(oboe, 8, midi::parse(coda_tune, coda, T + 12), 82);

    Track trumpet = instrument("Trombe", 6, kTrumpet, 105, 75, 50, kSymphonyMaster);
    play(trumpet, 6, midi::parse(theme, s2, T), 100);
    play(trumpet, 6, midi::parse(coda_tune, coda, T), 100);

    // Horns hold the harmony softly first, then march in quarters.
    Track horn = instrument("Corni", 2, kHorn, 100, 85, 60, kSymphonyMaster);
    Track trombone = instrument("Tromboni", 11, kTrombone, 100, 95, 50, kSymphonyMaster);
    Track tuba = instrument("Tuba", 12, kTuba, 95, 70, 45, kSymphonyMaster);
    Track cello = instrument("Violoncelli", 3, kCello, 105, 80, 55, kSymphonyMaster);
    Track bass = instrument("Contrabbassi", 4, kContrabass, 105, 90, 50, kSymphonyMaster);
    Track bassoon = instrument("Fagotti", 5, kBassoon, 95, 65, 45, kSymphonyMaster);
    Track tremolo = instrument("Viole", 10, kStrings, 90, 70, 55, kSymphonyMaster);
    for (const Chord& c : prog) {
        bool tutti = c.tick >= s2;
        if (!tutti) {
            for (int k : voicing(c, 57, 3)) horn.note(2, c.tick, c.dur - 20, k, 58);
            for (long t = c.tick; t < c.tick + c.dur; t += 2 * kBeat) {
                long d = std::min(2 * kBeat, c.tick + c.dur - t);
                cello.note(3, t, d - 20, bass_note(c, 38), 72);
                bass.note(4, t, d - 20, bass_note(c, 26), 70);
            }
            for (long t = c.tick; t < c.tick + c.dur; t += kBeat)
                bassoon.note(5, t, kBeat * 2 / 3, bass_note(c, 38, (t / kBeat) % 2 == 1), 64);
        } else {
            for (long t = c.tick; t < c.tick + c.dur; t += kBeat) {
                int accent = (t % kBar == 0) ? 10 : 0;
                for (int k : voicing(c, 60, 3)) horn.note(2, t, kBeat - 40, k, 88 + accent);
                cello.note(3, t, kBeat - 30, bass_note(c, 38), 96 + accent);
                bass.note(4, t, kBeat - 30, bass_note(c, 26), 96 + accent);
                tuba.note(12, t, kBeat - 60, bass_note(c, 26), 84 + accent);
                for (long e = t; e < t + kBeat; e += kBeat / 2)
                    for (int k : voicing(c, 64, 3)) tremolo.note(10, e, kBeat / 2 - 20, k, 72 + accent);
            }
            for (int k : voicing(c, 50, 3)) trombone.note(11, c.tick, c.dur - 30, k, 92);
        }
    }
    // The very last chord, held under the fermata.
    Chord last{fin, 2 * kBar, (0 + T) % 12, kMaj};
    for (int k : voicing(last, 74, 4)) strings.note(0, fin, kBar * 2, k, 92);
    for (int k : voicing(last, 62, 4)) horn.note(2, fin, kBar * 2, k, 88);
    for (int k : voicing(last, 50, 3)) trombone.note(11, fin, kBar * 2, k, 86);
    trumpet.note(6, fin, kBar * 2, 62 + 12, 96);
    flute.note(7, fin, kBar * 2, 86, 86);
    cello.note(3, fin, kBar * 2, 38, 92);
    bass.note(4, fin, kBar * 2, 26, 92);
    tuba.note(12, fin, kBar * 2, 26, 84);

    Track timpani = instrument("Timpani", 13, kTimpani, 110, 64, 50, kSymphonyMaster);
    // First statement: a soft stroke to close each phrase.
    for (int bar : {3, 7, 11, 15}) {
        Chord c = at(prog, s1 + bar * kBar);
        timpani.note(13, s1 + bar * kBar, kBeat, c.root == (7 + T) % 12 ? 45 : 50, 62);
    }
    // Tutti: tonic and dominant on the strong beats, a roll before the coda.
    for (long t = s2; t < coda; t += 2 * kBeat) {
        Chord c = at(prog, t);
        bool dominant = c.root == (7 + T) % 12 || c.root == (2 + T) % 12;
        timpani.note(13, t, kBeat, dominant ? 45 : 50, t % kBar == 0 ? 100 : 84);
    }
    for (long t = coda + 2 * kBar; t < fin; t += kBeat / 4)
        timpani.note(13, t, kBeat / 4, 50, 60 + static_cast<int>(35 * (t - coda - 2 * kBar) / kBar));
    timpani.note(13, fin, kBeat, 50, 104);

    Track drums("Piatti");
    drums.control(kDrums, 0, 7, static_cast<int>(100 * kSymphonyMaster));
    drums.control(kDrums, 0, 91, 60);
    drums.note(kDrums, s2, kBeat * 2, kCrash, 100);
    drums.note(kDrums, coda, kBeat * 2, kCrash, 96);
    drums.note(kDrums, fin, kBeat * 4, kCrash, 96);
    conductor.end_at(fin + 2 * kBar + kBar / 2);  // a breath after the last chord

    return {conductor, strings, clarinet, flute, oboe, trumpet, horn, trombone, tuba, cello, bass, bassoon, tremolo, timpani, drums};
}

}  // namespace tunes
