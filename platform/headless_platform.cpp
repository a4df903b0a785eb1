// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/headless_platform.h"

#include "core/data_file.h"
#include "core/runtime_error.h"
#include "core/wav_info.h"

const char* answer_name(Answer a) {
    switch (a) {
    case Answer::Ok: return "ok";
    case Answer::Yes: return "yes";
    case Answer::No: return "no";
    case Answer::Retry: return "retry";
    case Answer::Cancel: return "cancel";
    }
    return "ok";
}

Answer answer_named(const std::string& a) {
    if (a == "yes") return Answer::Yes;
    if (a == "no") return Answer::No;
    if (a == "retry") return Answer::Retry;
    if (a == "cancel") return Answer::Cancel;
    return Answer::Ok;
}

HeadlessPlatform::HeadlessPlatform(std::string data_dir) : data_dir_(std::move(data_dir)) {}

// The folder is only checked, never made current: the data are read by
// their full paths.
void HeadlessPlatform::enter_program_folder() {
    if (!can_enter_folder(data_dir_)) throw err::path_not_found();
}

std::string HeadlessPlatform::data_file(const std::string& bare_name) const { return data_path(data_dir_, bare_name); }

HeadlessPlatform::Log HeadlessPlatform::take_log() {
    Log out = std::move(log_);
    log_ = Log{};
    return out;
}

Answer HeadlessPlatform::message_box(const MessageBoxRequest& box) {
    if (on_box) on_box(box);
    Answer a = box.default_answer;
    if (!answers_.empty()) {
        Answer q = answers_.front();
        answers_.pop_front();
        bool fits = false;
        switch (box.buttons) {
        case BoxButtons::Ok: fits = q == Answer::Ok; break;
        case BoxButtons::YesNo: fits = q == Answer::Yes || q == Answer::No; break;
        case BoxButtons::RetryCancel: fits = q == Answer::Retry || q == Answer::Cancel; break;
        }
        if (fits) a = q;
    }
    log_.boxes.push_back({box.title, box.text, answer_name(a)});
    return a;
}

double HeadlessPlatform::random_uniform() {
    if (!randoms_.empty()) {
        double v = randoms_.front();
        randoms_.pop_front();
        return v;
    }
    return double(rng_() >> 11) * (1.0 / 9007199254740992.0);
}

void HeadlessPlatform::sound_load(int id, const std::string& path) {
    int64_t length_ms = read_wav_file(path).info.length_ms();
    Buffer& b = buffers_[id];
    b = Buffer{};
    b.loaded = true;
    b.length_ms = length_ms;
}

int64_t HeadlessPlatform::position(const Buffer& b) const {
    if (!b.playing) return b.pos_ms;
    int64_t p = b.pos_ms + (clock_ - b.started_at);
    return b.looping && b.length_ms > 0 ? p % b.length_ms : p;
}

void HeadlessPlatform::settle(Buffer& b) {
    if (b.playing && !b.looping && position(b) >= b.length_ms) {
        b.playing = false;
        b.pos_ms = 0;
    }
}

void HeadlessPlatform::sound_play(int id, bool looping) {
    Buffer& b = buffers_[id];
    settle(b);
    record(id, looping ? "loop" : "play");
    if (b.playing) {
        if (b.looping != looping) {  // the same buffer, its looping flag changed
            b.pos_ms = position(b);
            b.started_at = clock_;
            b.looping = looping;
        }
        return;
    }
    b.playing = true;
    b.looping = looping;
    b.started_at = clock_;
}

void HeadlessPlatform::sound_stop(int id) {
    Buffer& b = buffers_[id];
    settle(b);
    record(id, "stop");
    if (!b.playing) return;
    b.pos_ms = position(b);
    b.playing = false;
}

void HeadlessPlatform::sound_rewind(int id) {
    Buffer& b = buffers_[id];
    settle(b);
    record(id, "rewind");
    b.pos_ms = 0;
    b.started_at = clock_;
}

int HeadlessPlatform::sound_status(int id) {
    Buffer& b = buffers_[id];
    settle(b);
    if (!b.playing) return 0;
    return b.looping ? 5 : 1;
}

void HeadlessPlatform::sound_release(int id) { buffers_[id] = Buffer{}; }

void HeadlessPlatform::end_program() {
    ended_ = true;
    throw ProgramEnded{};
}
