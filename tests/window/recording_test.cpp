// The desktop front end's pieces that need no display: where the picture
// sits in a window of any size, and how a played game is written down as a
// replay script.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "app/game_calls.h"
#include "app/letterbox.h"
#include "app/recorder.h"
#include "tools/replay/replay_script.h"

namespace {

TEST(Letterbox, LargestWholeScaleCentredOnBlack) {
    struct Case { int w, h, scale, x, y; };
    for (Case c : {Case{480, 540, 1, 0, 0}, Case{959, 1079, 1, 239, 269}, Case{960, 1080, 2, 0, 0},
                   Case{1000, 1100, 2, 20, 10}, Case{1440, 1620, 3, 0, 0}, Case{1920, 1080, 2, 480, 0},
                   Case{1600, 1700, 3, 80, 40}, Case{3840, 2160, 4, 960, 0}, Case{300, 200, 1, -90, -170}}) {
        Letterbox b = Letterbox::fit(c.w, c.h);
        EXPECT_EQ(b.scale, c.scale) << c.w << "x" << c.h;
        EXPECT_EQ(b.x, c.x) << c.w << "x" << c.h;
        EXPECT_EQ(b.y, c.y) << c.w << "x" << c.h;
    }
}

TEST(Letterbox, WindowPixelsMapBackToTheGamePixelTheyShow) {
    const Letterbox b = Letterbox::fit(1600, 1700);  // 3x from (80, 40)
    EXPECT_EQ(b.game_x(80), 0);
    EXPECT_EQ(b.game_x(82), 0);
    EXPECT_EQ(b.game_x(83), 1);
    EXPECT_EQ(b.game_x(79), -1);  // a held button reports past the edge
    EXPECT_EQ(b.game_x(77), -1);
    EXPECT_EQ(b.game_x(76), -2);
    EXPECT_EQ(b.game_y(40 + 3 * 539 + 2), 539);
    EXPECT_TRUE(b.inside(80, 40));
    EXPECT_TRUE(b.inside(80 + 1439, 40 + 1619));
    EXPECT_FALSE(b.inside(79, 100));
    EXPECT_FALSE(b.inside(80 + 1440, 100));
    EXPECT_FALSE(b.inside(100, 39));
    EXPECT_FALSE(b.inside(100, 40 + 1620));
    // And the middle of every game pixel maps back to that pixel.
    for (int s : {1, 2, 3, 5}) {
        const Letterbox l = Letterbox::fit(480 * s + 7, 540 * s + 3);
        for (int g = 0; g < 480; g += 7) EXPECT_EQ(l.game_x(l.window_x(g)), g) << s;
        for (int g = 0; g < 540; g += 7) EXPECT_EQ(l.game_y(l.window_y(g)), g) << s;
    }
}

TEST(GameCallLines, EveryHandlerCallAsTheReplayScriptWritesIt) {
    using K = GameCall::Kind;
    EXPECT_EQ((GameCall{K::Load, 0}).script_line(), "gioca");
    EXPECT_EQ((GameCall{K::Load, 90}).script_line(), "gioca 90");
    EXPECT_EQ((GameCall{K::KeyDown, 39, 0, 0}).script_line(), "keydown 39");
    // The game asks only whether the Shift state is 0: Ctrl or Alt alone is written as shift too.
    EXPECT_EQ((GameCall{K::KeyDown, 39, 0, 1}).script_line(), "keydown 39 shift");
    EXPECT_EQ((GameCall{K::KeyDown, 39, 0, 4}).script_line(), "keydown 39 shift");
    EXPECT_EQ((GameCall{K::KeyUp, 16, 0, 0}).script_line(), "keyup 16");
    EXPECT_EQ((GameCall{K::Char, 109}).script_line(), "keypress 109");
    EXPECT_EQ((GameCall{K::MouseDown, 101, 471, 1, 2}).script_line(), "mousedown 101 471 shift");
    EXPECT_EQ((GameCall{K::MouseMove, -3, 600, 1, 1}).script_line(), "mousemove -3 600");
    EXPECT_EQ((GameCall{K::MouseUp, 5, 6, 1}).script_line(), "mouseup 5 6");
    EXPECT_EQ((GameCall{K::Click}).script_line(), "click");
    EXPECT_EQ((GameCall{K::DblClick}).script_line(), "dblclick");
    EXPECT_EQ((GameCall{K::Tick}).script_line(), "tick");
}

TEST(Recording, RandomValuesReadBackToTheSameDouble) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::string script = "gioca\n";
    std::vector<double> values = {0.0, 0.5, 0.1, 1e-300, 4.9e-324, std::nextafter(1.0, 0.0), 0.9999999999999999};
    for (int i = 0; i < 2000; ++i) values.push_back(u(rng));
    for (double v : values) script += "random " + decimal_text(v) + "\n";
    std::vector<ScriptCommand> cmds;
    ScriptError err;
    ASSERT_TRUE(parse_script(script, cmds, err)) << err.line << ": " << err.text;
    ASSERT_EQ(cmds.size(), values.size() + 1);
    for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(cmds[i + 1].value, values[i]) << decimal_text(values[i]);
}

// A recorder on a clock the test moves by hand, writing into memory.
struct Session {
    int64_t now_us = 0;
    char* buf = nullptr;
    size_t size = 0;
    std::FILE* f = open_memstream(&buf, &size);
    Recorder rec{f, [this] { return now_us; }};
    ~Session() {
        std::fclose(f);
        std::free(buf);
    }
    std::string text() {
        rec.finish();
        return std::string(buf, size);
    }
    int call(const std::string& line) {
        rec.before_call();
        return rec.after_call(line, false);
    }
    int tick() {
        rec.before_call();
        return rec.after_call("tick", true);
    }
};

TEST(Recording, TicksShareALineAndStandingStillIsAWait) {
    Session s;
    s.rec.header("one\ntwo");
    EXPECT_EQ(s.rec.start("gioca 60"), 3);
    s.rec.timer_set(true);
    EXPECT_EQ(s.tick(), 4);
    EXPECT_EQ(s.tick(), 4);
    EXPECT_EQ(s.tick(), 4);
    s.now_us += 5'000'000;  // real time between ticks is the ticks' own: no wait
    EXPECT_EQ(s.call("keydown 39"), 5);
    EXPECT_EQ(s.tick(), 6);
    // A page opens: the timer stops, 1.2345678 s pass, a click closes it.
    s.rec.before_call();
    s.rec.timer_set(false);
    EXPECT_EQ(s.rec.after_call("click", false), 7);
    s.now_us += 1'234'567;
    EXPECT_EQ(s.call("mousemove 10 20"), 9);  // after "wait 1.234"
    s.now_us += 1'765'500;
    s.rec.before_call();
    s.rec.timer_set(true);
    EXPECT_EQ(s.rec.after_call("click", false), 11);  // after "wait 1.766": the leftover 0.567 ms counts
    s.now_us += 9'000'000;
    EXPECT_EQ(s.tick(), 12);
    EXPECT_EQ(s.text(), "# one\n# two\ngioca 60\ntick 3\nkeydown 39\ntick\nclick\nwait 1.234\nmousemove 10 20\n"
                        "wait 1.766\nclick\ntick\n");
}

TEST(Recording, DrawsAndAnswersGoBeforeTheirCallAndABoxsTimeAfterIt) {
    Session s;
    s.rec.start("gioca");
    s.rec.timer_set(true);
    s.tick();
    s.tick();
    // The spider's two draws in the third tick: the run of ticks is cut there.
    s.rec.before_call();
    s.rec.random_drawn(0.25);
    s.rec.random_drawn(0.75);
    EXPECT_EQ(s.rec.after_call("tick", true), 5);
    EXPECT_EQ(s.tick(), 5);
    // Esc: the question stays open for 2.5 s and is answered No.
    s.rec.before_call();
    s.rec.box_answered(Answer::No, 2'500'000);
    EXPECT_EQ(s.rec.after_call("keypress 27", false), 7);
    EXPECT_EQ(s.tick(), 9);
    EXPECT_EQ(s.text(), "gioca\ntick 2\nrandom 0.25\nrandom 0.75\ntick 2\nanswer no\nkeypress 27\nwait 2.500\ntick\n");
}

TEST(Recording, ALongRunOfTicksIsWrittenAsItGoes) {
    Session s;
    s.rec.start("gioca");
    s.rec.timer_set(true);
    for (int i = 0; i < Recorder::kTicksPerLine * 2 + 1; ++i) s.tick();
    std::fflush(s.f);
    // Two full lines are on the file already, before the game ends.
    EXPECT_EQ(std::string(s.buf, s.size), "gioca\ntick 50\ntick 50\n");
    EXPECT_EQ(s.text(), "gioca\ntick 50\ntick 50\ntick\n");
}

TEST(Recording, WhatTheRecorderWritesIsAValidScript) {
    Session s;
    s.rec.header("a game");
    s.rec.start("gioca 30");
    s.rec.timer_set(true);
    for (int i = 0; i < 120; ++i) {
        s.rec.before_call();
        if (i % 17 == 0) s.rec.random_drawn(0.123456789 * (i % 7));
        if (i % 29 == 0) s.rec.box_answered(Answer::Retry, 123456);
        s.rec.after_call("tick", true);
        if (i % 11 == 0) s.call("mousemove -5 700");
        if (i == 60) s.rec.timer_set(false);
        s.now_us += 77'777;
    }
    std::vector<ScriptCommand> cmds;
    ScriptError err;
    const std::string text = s.text();
    ASSERT_TRUE(parse_script(text, cmds, err)) << err.line << ": " << err.text << "\n" << text;
    long ticks = 0;
    for (const ScriptCommand& c : cmds)
        if (c.cmd == "tick") ticks += c.ints[0];
    EXPECT_EQ(ticks, 120);
}

}  // namespace
