// SPDX-License-Identifier: GPL-3.0-or-later
// The error trap: reports with each procedure's label, "Riprova" goes on
// with the next step, "Annulla" ends the program at once.
#include "dialogs/report_error.h"
#include "tests/unit/test_world.h"

using namespace testworld;

TEST(ReportError, TextNamesTheProcedureInCapitals) {
    EXPECT_EQ(report_error_text(9, "Indice non incluso nell'intervallo", "Form1_timer1"),
              "Si è verificato l'errore n. 9 nella funzione 'FORM1_TIMER1': Indice non incluso nell'intervallo. "
              "Fare clic su 'Riprova' per continuare, su 'Annulla' per terminare il programma.");
    EXPECT_EQ(report_error_text(6, "Overflow", "creasuoni"),
              "Si è verificato l'errore n. 6 nella funzione 'CREASUONI': Overflow. "
              "Fare clic su 'Riprova' per continuare, su 'Annulla' per terminare il programma.");
}

namespace {
// A platform whose first error box itself fails, as a broken toolkit would.
struct FailingBox : HeadlessPlatform {
    using HeadlessPlatform::HeadlessPlatform;
    int calls = 0;
    std::vector<MessageBoxRequest> shown;
    Answer message_box(const MessageBoxRequest& b) override {
        shown.push_back(b);
        if (++calls == 1) throw RuntimeError{5, "x"};
        return Answer::Ok;
    }
};
}  // namespace

TEST(ReportError, AnErrorInsideTheReportGetsItsOwnBox) {
    FailingBox p("");
    ReportError(p, 53, "Impossibile trovare il file", "Form1_load");
    ASSERT_EQ(p.shown.size(), 2u);
    EXPECT_EQ(p.shown[0].title, "Lexovo5.0");
    EXPECT_EQ(p.shown[0].buttons, BoxButtons::RetryCancel);
    EXPECT_EQ(p.shown[0].icon, BoxIcon::Critical);
    EXPECT_EQ(p.shown[1].title, "Gioco Lexovo");
    EXPECT_EQ(p.shown[1].text, "Errore n.5nella routine di gestione");
    EXPECT_EQ(p.shown[1].buttons, BoxButtons::Ok);
}

TEST(Startup, EveryFieldStartsAtItsValue) {
    Data d(World{});
    Trace t = run(d.dir, "gioca\n");
    const auto& j = t[0];
    EXPECT_EQ(j["prof_x"], -10);
    EXPECT_EQ(j["prof_y"], 168);
    EXPECT_EQ(j["facing"], 1);
    EXPECT_EQ(j["spider_speed"], 7);
    EXPECT_EQ(j["inventory_last"], -1);
    EXPECT_EQ(j["dragged_slot"], -1);
    EXPECT_EQ(j["inventory"], nlohmann::json::array({"", "", "", "", ""}));
    EXPECT_TRUE(j["music_on"]);
    EXPECT_TRUE(j["timer"]);
    EXPECT_EQ(j["time_limit"], 0);
    EXPECT_EQ(j["music"], nlohmann::json::array({"intro3.mid"}));
    EXPECT_TRUE(j["boxes"].empty());
    for (const char* k : {"scroll_x", "scroll_y", "fall_state", "spider_state", "plant_stage", "rope_stage",
                          "jungle_stage", "jump_target_x", "drag_x", "drag_y"})
        EXPECT_EQ(j[k], 0) << k;
    for (int b = 1; b <= 13; ++b) EXPECT_EQ(j["book" + std::to_string(b) + "_state"], 0);
    for (auto& [k, v] : j["counters"].items()) EXPECT_TRUE(v == 0 || v == false) << k;
    EXPECT_EQ(run(d.dir, "gioca 30\n")[0]["time_limit"], 30);
    EXPECT_EQ(run(d.dir, "gioca 900\n")[0]["time_limit"], 900);
    Trace e = run(d.dir, "esci\ntick\n");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_TRUE(e[0]["ended"]);
}

TEST(Startup, MissingBackgroundIsReportedAndTheGameStillTicks) {
    World w;
    w.floor(0, 300, 168);
    Data d(w);
    d.remove("gameb2.bmp");
    Trace t = run(d.dir, "gioca\nkeydown 39\ntick 3\n");
    ASSERT_EQ(t[0]["boxes"].size(), 1u);
    EXPECT_EQ(t[0]["boxes"][0]["title"], "Lexovo5.0");
    EXPECT_NE(t[0]["boxes"][0]["text"].get<std::string>().find("n. 53 nella funzione 'FORM1_LOAD'"), std::string::npos);
    EXPECT_TRUE(t[4]["ran"]);
    EXPECT_EQ(t[4]["prof_x"], 5);
    EXPECT_EQ(t[4]["scroll_y"], 0);  // an empty background keeps the view in range
}

TEST(Startup, AnnullaEndsTheProgramAtOnce) {
    World w;
    w.floor(0, 300, 168);
    Data d(w);
    d.remove("step.wav");
    Trace t = run(d.dir, "gioca\nanswer cancel\nkeydown 39\ntick\n");
    ASSERT_EQ(t.size(), 2u);
    EXPECT_TRUE(t[1]["ended"]);
    EXPECT_EQ(t[1]["boxes"][0]["answer"], "cancel");
    EXPECT_TRUE(t[1]["music"].empty());  // no unload step: the tune is not even stopped
    EXPECT_EQ(t[1]["pointer"], "arrow");  // nothing after the failed step ran
}

TEST(Sound, MissingEffectIsReportedThenEveryUseOfItToo) {
    World w;
    w.floor(0, 300, 168);
    Data d(w);
    d.remove("step.wav");
    Trace t = run(d.dir, "gioca\nkeydown 39\ntick\nkeyup 39\n");
    ASSERT_EQ(t[0]["boxes"].size(), 1u);
    EXPECT_NE(t[0]["boxes"][0]["text"].get<std::string>().find("'FORM1_PREPARASUONI'"), std::string::npos);
    ASSERT_EQ(t[1]["boxes"].size(), 1u);
    EXPECT_NE(t[1]["boxes"][0]["text"].get<std::string>().find("n. 91 nella funzione 'FORM1_TASTI'"), std::string::npos);
    EXPECT_TRUE(t[1]["go_right"]);  // the procedure went on after the failed step
    EXPECT_EQ(t[1]["pointer"], "icon1");
    EXPECT_TRUE(t[1]["sounds"].empty());  // nothing played, nothing listed
    EXPECT_EQ(t[2]["prof_x"], -5);
    EXPECT_NE(t[3]["boxes"][0]["text"].get<std::string>().find("'FORM1_KEYUP'"), std::string::npos);
    EXPECT_EQ(t[3]["sounds"], nlohmann::json::array({"snd_stairs:stop"}));
}

TEST(Sound, EffectStatusFollowsTheGameClock) {
    Data d(World{});
    HeadlessPlatform p(d.dir);
    p.sound_load(snd_flub, d.dir + "/flub.wav");  // 500 ms
    p.sound_play(snd_flub, false);
    EXPECT_EQ(p.sound_status(snd_flub), 1);
    p.advance_clock(200);
    p.sound_stop(snd_flub);
    EXPECT_EQ(p.sound_status(snd_flub), 0);
    p.advance_clock(1000);
    p.sound_play(snd_flub, false);  // goes on from 200 ms
    p.advance_clock(299);
    EXPECT_EQ(p.sound_status(snd_flub), 1);
    p.advance_clock(1);
    EXPECT_EQ(p.sound_status(snd_flub), 0);  // reached its end: silent, back at the start
    p.sound_play(snd_flub, false);
    p.advance_clock(499);
    EXPECT_EQ(p.sound_status(snd_flub), 1);
    p.sound_rewind(snd_flub);
    p.advance_clock(499);
    EXPECT_EQ(p.sound_status(snd_flub), 1);  // rewound: a whole length again
    p.sound_play(snd_step, true);  // not loaded in this platform: still reports looping
    p.sound_load(snd_step, d.dir + "/step.wav");
    p.sound_play(snd_step, true);
    p.advance_clock(100000);
    EXPECT_EQ(p.sound_status(snd_step), 5);
    EXPECT_THROW(p.sound_load(snd_rain, d.dir + "/none.wav"), RuntimeError);
}

TEST(Trap, OverflowInMovementIsReportedWithItsLabel) {
    World w;
    w.floor(0, 300, 168);
    Data d(w);
    Game g(d.dir);
    // Far right of the map the probe reads no colour and he stops, but the
    // view test still runs and overflows.
    g.s().scroll_x = 32765;
    g.s().prof_x = 32970;
    g.s().go_right = true;
    g.platform.advance_clock(60);
    g.game.Timer1_Timer();
    auto log = g.platform.take_log();
    bool found = false;
    for (auto& b : log.boxes) found |= b.text.find("n. 6 nella funzione 'FORM1_CALCOLAMOV': Overflow") != std::string::npos;
    EXPECT_TRUE(found);
    EXPECT_EQ(g.s().scroll_x, 32765);  // the failed step changed nothing
}


namespace {
// A platform that breaks its word: the present() it is told to fail throws,
// although the game runs it outside any step.
struct BrokenScreen : HeadlessPlatform {
    using HeadlessPlatform::HeadlessPlatform;
    int fail_at = 0;  // the number of the present() that fails, counting from 1; 0 none
    int calls = 0;
    void present(const Surface& s) override {
        if (++calls == fail_at) throw err::invalid_call();
        HeadlessPlatform::present(s);
    }
};

struct Escape : ::testing::Test {
    Data d{World{}};
    BrokenScreen platform{d.dir};
    GameWindow game{platform};
    void SetUp() override {
        time_limit = 0;
        game.run_handler([&] { game.Form_Load(); });
        platform.take_log();
    }
    void tick() {
        platform.advance_clock(60);
        game.run_handler([&] { game.Timer1_Timer(); });
    }
    const std::string kInvalidCall = "Chiamata di routine o argomento non validi";
};
}  // namespace

TEST_F(Escape, AnErrorOutsideEveryStepIsReportedWithTheTicksLabelAndTheGameGoesOn) {
    platform.fail_at = platform.calls + 1;
    tick();
    auto log = platform.take_log();
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_EQ(log.boxes[0].title, "Lexovo5.0");
    EXPECT_EQ(log.boxes[0].text, report_error_text(5, kInvalidCall, "Form1_timer1"));
    EXPECT_EQ(game.counters().walk_step, 0);  // the rest of the tick did not run
    const int shown = platform.presents();
    tick();
    EXPECT_TRUE(platform.take_log().boxes.empty());
    EXPECT_EQ(platform.presents(), shown + 1);
    EXPECT_EQ(game.counters().walk_step, 1);
}

TEST_F(Escape, TheReportNamesTheInnermostProcedureRunning) {
    // Caught by the spider: ragno (inside libri, inside the tick) shows the
    // lost game straight on the window.
    GameState& s = game.mutable_state();
    s.prof_x = 700;
    s.prof_y = -250;
    s.scroll_x = 500;
    s.scroll_y = -300;
    s.spider_state = 1;
    platform.fail_at = platform.calls + 1;
    tick();
    auto log = platform.take_log();
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_EQ(log.boxes[0].text, report_error_text(5, kInvalidCall, "Form1_ragno"));
    EXPECT_TRUE(s.game_over);                     // what ran before the error stays done
    EXPECT_EQ(game.counters().spider_step, 0);    // what follows it in ragno did not run
    // A later error inside a step is reported under its own procedure again.
    s.game_over = false;
    s.prof_y = 168;
    s.go_right = true;
    s.scroll_x = 32765;
    s.prof_x = 32970;
    tick();
    log = platform.take_log();
    ASSERT_FALSE(log.boxes.empty());
    EXPECT_EQ(log.boxes[0].text, report_error_text(6, "Overflow", "Form1_calcolamov"));
}

TEST_F(Escape, AnnullaOnTheReportStillEndsTheProgram) {
    platform.fail_at = platform.calls + 1;
    platform.queue_answer(Answer::Cancel);
    platform.advance_clock(60);
    EXPECT_THROW(game.run_handler([&] { game.Timer1_Timer(); }), ProgramEnded);
    EXPECT_TRUE(platform.ended());
}
