#include "platform/headless_platform.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/runtime_error.h"

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

std::string HeadlessPlatform::data_file(const std::string& bare_name) const {
    if (data_dir_.empty()) return bare_name;
    return data_dir_ + "/" + bare_name;
}

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

namespace {
uint32_t le32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
}

void HeadlessPlatform::sound_load(int id, const std::string& path) {
    struct stat st{};
    if (stat(path.c_str(), &st) != 0) throw err::file_not_found();
    std::ifstream f(path, std::ios::binary);
    std::vector<unsigned char> d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (d.size() < 12 || std::memcmp(d.data(), "RIFF", 4) != 0 || std::memcmp(d.data() + 8, "WAVE", 4) != 0)
        throw err::invalid_call();
    uint32_t byte_rate = 0, data_bytes = 0;
    bool have_fmt = false, have_data = false;
    for (size_t p = 12; p + 8 <= d.size();) {
        uint32_t len = le32(&d[p + 4]);
        if (std::memcmp(&d[p], "fmt ", 4) == 0 && len >= 16 && p + 8 + 16 <= d.size()) {
            byte_rate = le32(&d[p + 16]);
            have_fmt = true;
        } else if (std::memcmp(&d[p], "data", 4) == 0) {
            data_bytes = uint32_t(std::min<uint64_t>(len, d.size() - (p + 8)));
            have_data = true;
        }
        p += 8 + size_t(len) + (len & 1);
    }
    if (!have_fmt || !have_data || byte_rate == 0) throw err::invalid_call();
    Buffer& b = buffers_[id];
    b = Buffer{};
    b.loaded = true;
    b.length_ms = int64_t(data_bytes) * 1000 / byte_rate;
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
