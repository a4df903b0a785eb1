// SPDX-License-Identifier: GPL-3.0-or-later
// A Standard MIDI File (format 1) writer and a small score notation for
// composing the tunes in code.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace midi {

constexpr int kPpq = 480;  // ticks per quarter note

struct Event {
    long tick;
    int order;  // at the same tick: 0 meta, 1 controls, 2 note-offs, 3 note-ons
    std::vector<std::uint8_t> bytes;
};

class Track {
public:
    explicit Track(std::string name) : name_(std::move(name)) {}
    void tempo(long tick, double bpm);
    void time_signature(long tick, int num, int denom_pow2);
    void program(int ch, long tick, int prog);
    void control(int ch, long tick, int cc, int value);
    void note(int ch, long tick, long dur, int key, int vel);
    // The track lasts at least until tick: a tune can end on a rest, which
    // matters when a player loops it.
    void end_at(long tick) { end_ = std::max(end_, tick); }
    const std::string& name() const { return name_; }
    std::vector<std::uint8_t> bytes() const;  // the whole MTrk chunk
    long end_tick() const;

private:
    std::string name_;
    std::vector<Event> events_;
    long end_ = 0;
};

// Writes format 1 with the given tracks (the first one usually holds the tempo).
bool write_file(const std::string& path, const std::vector<Track>& tracks);

// Score notation, one voice: tokens separated by spaces,
//   "F#4/4"  note F sharp in octave 4 (middle C is C4), 4 sixteenths long
//   "r/2"    rest of two sixteenths
//   "Bb3/6." the same with a dot: held for only half its length (staccato)
//   "|"      bar line, ignored (for reading)
// The voice is placed from start_tick; transpose shifts every note.
struct Note {
    long tick, dur;
    int key;
};
std::vector<Note> parse(const std::string& score, long start_tick = 0, int transpose = 0);
long length_ticks(const std::string& score);
int key_of(const std::string& name);  // "C4" -> 60

constexpr long kSixteenth = kPpq / 4;

}  // namespace midi
