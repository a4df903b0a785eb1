// Writes a game played in the real window as a replay script that
// lexovo-replay plays back to the same game. The script's clock is the
// game's clock while recording: 60 ms a tick, plus the real time that
// passes while the tick stands still (Timer1 off, a message box open),
// written as `wait` before the next call. Random draws and box answers are
// written before the call that made them, so the replay hands them out in
// the same order.
#pragma once
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/platform.h"

class Recorder {
public:
    // `real_us` reads a monotonic clock in microseconds.
    Recorder(std::FILE* out, std::function<int64_t()> real_us);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // A few comment lines saying what the file is.
    void header(const std::string& text);
    // The start dialog's choice: "gioca", "gioca N" or "esci". Returns its line.
    int start(const std::string& first_line);

    // Before a call into the game runs: the time the tick stood still since
    // the last call goes into the script as a wait. Returns the milliseconds
    // by which the game's clock moves on.
    int64_t before_call();
    // During the call.
    void random_drawn(double v);
    void box_answered(Answer a, int64_t open_us);
    void timer_set(bool on) { timer_on_ = on; }
    // After it: writes the draws and answers it made, then the call itself
    // (ticks in a row share one `tick N` line). Returns the call's line number.
    int after_call(const std::string& script_line, bool is_tick);
    // Writes whatever is still held back (the last run of ticks).
    void finish();

    // How many ticks share one line at most: a game that crashes loses no
    // more than this of its end.
    static constexpr int kTicksPerLine = 50;

private:
    void write(const std::string& line);
    void close_ticks();

    std::FILE* out_;
    std::function<int64_t()> now_;
    int next_line_ = 1;
    int tick_line_ = 0, tick_count_ = 0;  // the open run of ticks
    std::string pending_;                 // random and answer lines of the running call
    bool timer_on_ = false;
    int64_t still_since_ = -1;            // real time when the tick last stood still outside a call
    int64_t still_us_ = 0;                // standing time not yet written
};

// The shortest plain decimal that reads back to the same double.
std::string decimal_text(double v);
