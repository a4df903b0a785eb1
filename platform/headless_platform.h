// SPDX-License-Identifier: GPL-3.0-or-later
// A platform with no display and no sound card: a virtual clock, queued
// message-box answers and random numbers, and a log of every sound and
// music call. The replay tool and the tests run the game on it.
#pragma once
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/sound_ids.h"
#include "platform/platform.h"

struct BoxRecord {
    std::string title, text, answer;
};

class HeadlessPlatform : public Platform {
public:
    explicit HeadlessPlatform(std::string data_dir);

    // --- what the driver controls ---
    void advance_clock(int64_t ms) { clock_ += ms; }
    void queue_answer(Answer a) { answers_.push_back(a); }
    void queue_random(double v) { randoms_.push_back(v); }
    // Sound and music calls and boxes since the last take_log().
    struct Log {
        std::vector<std::string> sounds, music;
        std::vector<BoxRecord> boxes;
    };
    Log take_log();
    // Called whenever a message box is shown (tests count ticks with it).
    std::function<void(const MessageBoxRequest&)> on_box;

    bool timer_on() const { return timer_; }
    Pointer pointer() const { return pointer_; }
    int presents() const { return presents_; }
    bool ended() const { return ended_; }

    // --- Platform ---
    void enter_program_folder() override;
    std::string data_file(const std::string& bare_name) const override;
    void show_window() override {}
    void present(const Surface&) override { ++presents_; }
    void close_window() override {}
    Answer message_box(const MessageBoxRequest& box) override;
    void do_events() override {}
    void set_pointer(Pointer p) override { pointer_ = p; }
    void show_cursor(bool) override {}
    void set_timer(bool on) override { timer_ = on; }
    int64_t clock_ms() override { return clock_; }
    double random_uniform() override;
    void sound_device_create() override {}
    void sound_load(int id, const std::string& path) override;
    void sound_play(int id, bool looping) override;
    void sound_stop(int id) override;
    void sound_rewind(int id) override;
    int sound_status(int id) override;
    void sound_release(int id) override;
    void music_init() override {}
    void play_midi(const std::string& bare_name) override { log_.music.push_back(bare_name); }
    [[noreturn]] void end_program() override;

private:
    struct Buffer {
        bool loaded = false;
        int64_t length_ms = 0;
        bool playing = false, looping = false;
        int64_t pos_ms = 0;      // position when started or stopped
        int64_t started_at = 0;  // clock when it started sounding
    };
    void settle(Buffer& b);  // a play-once buffer that reached its end falls silent
    int64_t position(const Buffer& b) const;
    void record(int id, const char* op) { log_.sounds.push_back(std::string(kSfxNames[id]) + ":" + op); }

    std::string data_dir_;
    int64_t clock_ = 0;
    std::deque<Answer> answers_;
    std::deque<double> randoms_;
    std::mt19937_64 rng_{20240601};
    Log log_;
    Buffer buffers_[kSfxCount];
    bool timer_ = false;
    Pointer pointer_ = Pointer::Arrow;
    int presents_ = 0;
    bool ended_ = false;
};

const char* answer_name(Answer a);
// The answer a name stands for ("yes", "no", "retry", "cancel"; anything else is OK).
Answer answer_named(const std::string& name);
