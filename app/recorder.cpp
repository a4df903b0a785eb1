#include "app/recorder.h"

#include <charconv>

#include "platform/headless_platform.h"

std::string decimal_text(double v) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    return std::string(buf, r.ptr);
}

Recorder::Recorder(std::FILE* out, std::function<int64_t()> real_us) : out_(out), now_(std::move(real_us)) {}

Recorder::~Recorder() { finish(); }

void Recorder::write(const std::string& line) {
    std::fputs(line.c_str(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
    ++next_line_;
}

void Recorder::header(const std::string& text) {
    size_t from = 0;
    while (from <= text.size()) {
        size_t nl = text.find('\n', from);
        if (nl == std::string::npos) nl = text.size();
        write("# " + text.substr(from, nl - from));
        from = nl + 1;
    }
}

int Recorder::start(const std::string& first_line) {
    int line = next_line_;
    write(first_line);
    return line;
}

void Recorder::close_ticks() {
    if (tick_count_ == 0) return;
    // The run's line number was handed out when it opened; nothing else has
    // been written since, so it is the next line.
    --next_line_;
    write(tick_count_ == 1 ? "tick" : "tick " + std::to_string(tick_count_));
    tick_count_ = 0;
}

int64_t Recorder::before_call() {
    const int64_t now = now_();
    if (!timer_on_ && still_since_ >= 0) still_us_ += now - still_since_;
    still_since_ = -1;
    const int64_t ms = still_us_ / 1000;
    if (ms <= 0) return 0;
    still_us_ -= ms * 1000;
    close_ticks();
    char buf[64];
    std::snprintf(buf, sizeof buf, "wait %lld.%03lld", static_cast<long long>(ms / 1000),
                  static_cast<long long>(ms % 1000));
    write(buf);
    return ms;
}

void Recorder::random_drawn(double v) { pending_ += "random " + decimal_text(v) + "\n"; }

void Recorder::box_answered(Answer a, int64_t open_us) {
    pending_ += std::string("answer ") + answer_name(a) + "\n";
    still_us_ += open_us;
}

int Recorder::after_call(const std::string& script_line, bool is_tick) {
    int line;
    if (!pending_.empty() || !is_tick || tick_count_ >= kTicksPerLine) close_ticks();
    if (!pending_.empty()) {
        std::string p;
        p.swap(pending_);
        size_t from = 0;
        for (size_t nl; (nl = p.find('\n', from)) != std::string::npos; from = nl + 1) write(p.substr(from, nl - from));
    }
    if (is_tick) {
        if (tick_count_ == 0) tick_line_ = next_line_++;
        ++tick_count_;
        line = tick_line_;
    } else {
        line = next_line_;
        write(script_line);
    }
    if (!timer_on_) still_since_ = now_();
    return line;
}

void Recorder::finish() {
    close_ticks();
    std::fflush(out_);
}
