// SPDX-License-Identifier: GPL-3.0-or-later
// Every data file of the program's folder, one at a time, missing, cut to
// half its length and overwritten with garbage: the game must report the
// failure where the file is used, under the right label and number, keep
// running, and otherwise play on exactly as with the intact folder.
//
// Each case runs twice: the walkthrough replay (whatever of the route the
// world allows) and a tour that puts the game straight into the places where
// every file is used (every book page, the jungle pictures, every effect).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <regex>
#include <set>
#include <sstream>

#include "platform/sound_ids.h"
#include "game/game_window.h"
#include "platform/headless_platform.h"
#include "tools/replay/replay_runner.h"
#include "tools/replay/trace_writer.h"

namespace fs = std::filesystem;

namespace {

enum class Fault { None, Missing, Truncated, Corrupt };
const char* fault_name(Fault f) {
    switch (f) {
    case Fault::None: return "intact";
    case Fault::Missing: return "missing";
    case Fault::Truncated: return "truncated";
    case Fault::Corrupt: return "corrupt";
    }
    return "";
}

enum class Kind { World, Page, Forest, Effect, Tune };

struct DataFile {
    std::string name;
    Kind kind;
    int effect = -1;  // Sfx id for effects
};

std::vector<DataFile> data_files() {
    std::vector<DataFile> v = {{"gameb2.bmp", Kind::World}, {"gamemap1.bmp", Kind::World}};
    for (int n = 1; n <= 13; ++n) v.push_back({"lib" + std::to_string(n) + ".bmp", Kind::Page});
    for (int n = 1; n <= 3; ++n) v.push_back({"j" + std::to_string(n) + ".bmp", Kind::Forest});
    for (int id = 0; id < kSfxCount; ++id) v.push_back({kSfxFiles[id], Kind::Effect, id});
    v.push_back({"intro3.mid", Kind::Tune});
    v.push_back({"symphony.mid", Kind::Tune});
    return v;
}

// The procedures that use each effect (their report labels).
const std::set<std::string>& users_of(int id) {
    static const std::map<int, std::set<std::string>> users = {
        {snd_step, {"Form1_tasti", "Form1_keyup", "Form1_mouseup", "Form1_calcolamov", "Form1_ragno"}},
        {snd_stairs, {"Form1_tasti", "Form1_keyup", "Form1_mouseup", "Form1_calcolamov"}},
        {snd_flub, {"Form1_click"}},
        {snd_fly, {"Form1_mouseup"}},
        {snd_noway, {"Form1_mouseup"}},
        {snd_thunder, {"Form1_pianta"}},
        {snd_rain, {"Form1_pianta"}},
        {snd_grow, {"Form1_pianta2"}},
        {snd_end, {"Form1_finetempo", "Form1_ragno", "Form1_timer1"}},
        {snd_activate, {"Form1_mousemove"}},
        {snd_fall, {"Form1_calcolamov"}},
        {snd_crash, {"Form1_calcolamov"}},
        {snd_success, {"Form1_mouseup"}},
        {snd_jungle, {"Form1_calcolamov", "Form1_animfinale"}},
        {snd_tarzan, {"Form1_animfinale"}},
        {snd_flute, {"Form1_corda"}},
    };
    return users.at(id);
}

std::string upper(std::string s) {
    for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

struct Report {
    int number;
    std::string label;  // as the box shows it, upper case
    bool operator<(const Report& o) const { return std::tie(label, number) < std::tie(o.label, o.number); }
};

Report parse_report(const std::string& text) {
    static const std::regex re("errore n\\. (-?[0-9]+) nella funzione '([A-Za-z0-9_]+)'");
    std::smatch m;
    if (!std::regex_search(text, m, re)) return {-1, "UNPARSED: " + text};
    return {std::stoi(m[1]), m[2]};
}

// A data folder: links to the program's files, the faulted one replaced.
class FaultyFolder {
public:
    FaultyFolder(const std::string& file, Fault fault) {
        dir_ = ::testing::TempDir() + "/lexovo-faults-" + std::to_string(getpid()) + "-" + file + "-" + fault_name(fault);
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        for (const DataFile& f : data_files()) {
            const fs::path src = fs::path(LEXOVO_DATA_DIR) / f.name;
            if (f.name != file || fault == Fault::None) {
                fs::create_symlink(src, dir_ + "/" + f.name);
                continue;
            }
            if (fault == Fault::Missing) continue;
            std::ifstream in(src, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (fault == Fault::Truncated) bytes.resize(bytes.size() / 2);
            if (fault == Fault::Corrupt) {
                std::mt19937 rng(uint32_t(std::hash<std::string>{}(file)));
                for (char& c : bytes) c = char(rng() & 0xFF);
            }
            std::ofstream(dir_ + "/" + f.name, std::ios::binary) << bytes;
        }
    }
    ~FaultyFolder() { fs::remove_all(dir_); }
    const std::string& dir() const { return dir_; }

private:
    std::string dir_;
};

// The state part of a trace line: what the game is, without what it said.
nlohmann::json state_of(nlohmann::json line) {
    for (const char* k : {"sounds", "boxes", "music"}) line.erase(k);
    return line;
}

struct Played {
    std::vector<nlohmann::json> states;
    std::vector<std::pair<std::string, Report>> reports;  // (where, report)
    std::set<std::string> sounds_used;                   // effect field names
    bool ended = false;
};

void note(Played& run, const std::string& where, const HeadlessPlatform::Log& log) {
    for (const BoxRecord& b : log.boxes) run.reports.push_back({where, parse_report(b.text)});
    for (const std::string& s : log.sounds) run.sounds_used.insert(s.substr(0, s.find(':')));
}

// The walkthrough replay on the folder.
Played walkthrough(const std::string& dir) {
    std::ifstream in(LEXOVO_WALKTHROUGH, std::ios::binary);
    std::stringstream src;
    src << in.rdbuf();
    std::vector<ScriptCommand> script;
    ScriptError err;
    EXPECT_TRUE(parse_script(src.str(), script, err)) << err.text;
    std::ostringstream trace, errors;
    EXPECT_EQ(run_replay(script, ReplayOptions{dir}, trace, errors), 0) << errors.str();
    Played run;
    std::istringstream lines(trace.str());
    for (std::string l; std::getline(lines, l);) {
        nlohmann::json j = nlohmann::json::parse(l);
        std::string where = "line " + std::to_string(j["line"].get<int>());
        for (const auto& b : j["boxes"]) run.reports.push_back({where, parse_report(b["text"])});
        for (const auto& s : j["sounds"]) {
            std::string name = s;
            run.sounds_used.insert(name.substr(0, name.find(':')));
        }
        if (j.contains("ended")) run.ended = true;
        run.states.push_back(state_of(j));
    }
    return run;
}

// The tour: the game put straight into every place that reads a file.
struct Tour {
    HeadlessPlatform platform;
    GameWindow game;
    Played run;
    int line = 0;

    std::string dir;
    explicit Tour(const std::string& d) : platform(d), game(platform), dir(d) {}
    GameState& s() { return game.mutable_state(); }
    void mark(const std::string& where) {
        HeadlessPlatform::Log log = platform.take_log();
        note(run, where, log);
        run.states.push_back(state_of(nlohmann::json::parse(trace_line(++line, where, nullptr, false, game, log))));
    }
    void tick(int n) {
        for (int i = 0; i < n; ++i) {
            platform.advance_clock(60);
            if (game.timer_enabled()) game.Timer1_Timer();
        }
    }
    void drag(int slot_x, int x, int y) {
        game.Form_MouseDown(1, 0, float(slot_x), 470);
        game.Form_MouseMove(1, 0, float(x), float(y));
        game.Form_MouseUp(1, 0, float(x), float(y));
    }
    void carry(const char* item) {
        s().inventory = {item, "", "", "", ""};
        s().inventory_last = 0;
    }
    void at(float x, float y, int scroll_x, int scroll_y) {
        s().prof_x = x, s().prof_y = y, s().scroll_x = scroll_x, s().scroll_y = scroll_y;
    }

    Played go() {
        time_limit = 0;
        game.Form_Load();
        mark("load");
        game.Form_KeyDown(39, 0); tick(6); game.Form_KeyUp(39, 0);
        game.Form_KeyDown(38, 0); tick(3); game.Form_KeyUp(38, 0);
        mark("walk and climb");

        // The shelf search: a shelf mark under book 1's spine, then off it.
        Surface& map = game.mutable_picture(8);
        at(-10, 168, 0, 0);
        map.set(120, 300 + 360 + map.height() - 800, rgb(255, 0, 255));
        game.Form_MouseMove(0, 0, 160, 300);
        game.Form_MouseMove(0, 0, 160, 301);
        mark("shelf search");

        // Every book opened and closed, its object taken.
        for (int n = 1; n <= 13; ++n) {
            s().book_state[size_t(n)] = n == 1 || n == 7 ? -1 : n == 2 ? 2 : 1;
            s().inventory = {"", "", "", "", ""};
            s().inventory_last = -1;
            game.Form_Click();
            game.Form_Click();
            s().book_state[size_t(n)] = n == 1 || n == 7 ? 0 : 3;
            mark("book " + std::to_string(n));
        }

        // Drops: the fly before the spider, a pot in the wrong place, the
        // umbrella, the jungle book at the chasm.
        at(500, -292, 300, -400);
        carry("mosca"); drag(50, 390, 100);
        carry("vaso"); drag(50, 100, 100);
        at(900, -292, 700, -400);
        carry("ombrello"); drag(50, 240, 200);
        at(1890, 55, 1700, 0);
        carry("libro"); drag(50, 240, 200);
        mark("drops");

        // The storm and the plant.
        at(995, 182, 795, 0);
        s().fall_state = 5;
        s().vase_placed = s().seed_placed = s().cloud_placed = s().fork_placed = true;
        s().plant_stage = 1;
        s().jungle_stage = 0;
        tick(70);
        mark("storm and plant");

        // The rope charmed in the deep well.
        at(1480, 275, 1280, 0);
        s().rope_stage = 2;
        tick(25);
        mark("rope");

        // The jungle at the chasm and the final animation.
        at(1900, 55, 1700, 0);
        s().jungle_stage = 1;
        tick(2);
        s().final_anim = true;
        tick(70);
        mark("jungle and finale");

        // Time over, in a second game on the same folder.
        HeadlessPlatform p2(dir);
        GameWindow g2(p2);
        time_limit = 1;
        g2.Form_Load();
        p2.take_log();
        for (int i = 0; i < 20; ++i) {
            p2.advance_clock(60);
            if (g2.timer_enabled()) g2.Timer1_Timer();
        }
        note(run, "time over", p2.take_log());
        time_limit = 0;
        return std::move(run);
    }
};

Played tour(const std::string& dir) { return Tour(dir).go(); }

struct Baseline {
    Played walk, tour;
};
const Baseline& baseline() {
    static const Baseline b = [] {
        FaultyFolder folder("", Fault::None);
        return Baseline{walkthrough(folder.dir()), tour(folder.dir())};
    }();
    return b;
}

// The number a failed load is reported with.
int load_error(Kind kind, Fault fault) {
    if (fault == Fault::Missing) return 53;
    return kind == Kind::Effect ? 5 : 481;
}

std::string summary(const Played& run) {
    std::map<Report, int> n;
    for (const auto& [where, r] : run.reports) n[r]++;
    std::string out;
    for (const auto& [r, count] : n)
        out += (out.empty() ? "" : ", ") + r.label + " " + std::to_string(r.number) + " x" + std::to_string(count);
    return out.empty() ? "none" : out;
}

void table_row(const DataFile& f, Fault fault, const Played& walk, const Played& tr, const std::string& outcome) {
    std::string row = "| " + f.name + " | " + fault_name(fault) + " | " + summary(walk) + " | " + summary(tr) +
                      " | " + outcome + " |";
    std::printf("%s\n", row.c_str());
    if (const char* path = std::getenv("LEXOVO_FAULT_TABLE")) {
        std::ofstream out(path, std::ios::app);
        out << row << '\n';
    }
}

class FaultInjection : public ::testing::TestWithParam<DataFile> {};

TEST(FaultBaseline, IntactFolderGivesNoReportAndUsesEveryFile) {
    const Baseline& b = baseline();
    EXPECT_TRUE(b.walk.reports.empty()) << summary(b.walk);
    EXPECT_TRUE(b.tour.reports.empty()) << summary(b.tour);
    EXPECT_FALSE(b.walk.ended);
    // The tour reaches every effect, so each missing one must be reported.
    std::set<std::string> used = b.walk.sounds_used;
    used.insert(b.tour.sounds_used.begin(), b.tour.sounds_used.end());
    for (int id = 0; id < kSfxCount; ++id) EXPECT_TRUE(used.count(kSfxNames[id])) << kSfxNames[id] << " never used";
}

TEST_P(FaultInjection, ReportedWhereUsedAndPlaysOn) {
    const DataFile& f = GetParam();
    const Baseline& b = baseline();
    for (Fault fault : {Fault::Missing, Fault::Truncated, Fault::Corrupt}) {
        SCOPED_TRACE(f.name + " " + fault_name(fault));
        FaultyFolder folder(f.name, fault);
        const Played walk = walkthrough(folder.dir());
        const Played tr = tour(folder.dir());
        std::string outcome = "plays on as with the intact folder";

        // Never ends the program by itself: the replay reads the script to its
        // end, unless the game was lost first and the next key or click closed
        // it, as after any lost game.
        if (walk.ended) {
            bool lost_before = false;
            for (size_t i = 0; i + 1 < walk.states.size(); ++i) lost_before |= walk.states[i]["game_over"].get<bool>();
            EXPECT_TRUE(lost_before) << "the program ended without a lost game";
            EXPECT_EQ(f.kind, Kind::World);
        } else {
            EXPECT_EQ(walk.states.size(), b.walk.states.size());
        }

        const bool accepted_effect = f.kind == Kind::Effect && fault == Fault::Truncated;
        for (const Played* run : {&walk, &tr}) {
            for (const auto& [where, r] : run->reports) {
                SCOPED_TRACE(where);
                switch (f.kind) {
                case Kind::World:
                    // The load reports it; what follows depends on the empty picture.
                    break;
                case Kind::Page:
                    EXPECT_EQ(r.label, "FORM1_CLICK");
                    EXPECT_EQ(r.number, load_error(f.kind, fault));
                    break;
                case Kind::Forest:
                    EXPECT_EQ(r.label, "FORM1_MOUSEUP");
                    EXPECT_EQ(r.number, load_error(f.kind, fault));
                    break;
                case Kind::Effect:
                    if (r.label == "FORM1_PREPARASUONI") {
                        EXPECT_EQ(where, run == &walk ? "line 6" : "load");
                        EXPECT_EQ(r.number, load_error(f.kind, fault));
                    } else {
                        bool user = false;
                        for (const std::string& l : users_of(f.effect)) user |= upper(l) == r.label;
                        EXPECT_TRUE(user) << r.label << " does not use " << f.name;
                        EXPECT_EQ(r.number, 91);
                    }
                    break;
                case Kind::Tune:
                    ADD_FAILURE() << "a tune's failure is silent, got " << r.label;
                    break;
                }
            }
        }

        if (f.kind == Kind::World) {
            ASSERT_FALSE(walk.reports.empty());
            EXPECT_EQ(walk.reports.front().second.label, "FORM1_LOAD");
            EXPECT_EQ(walk.reports.front().second.number, load_error(f.kind, fault));
            EXPECT_EQ(walk.reports.front().first, "line 6");
            outcome = walk.ended ? "plays on; the route goes astray, the game is lost and the next click closes it"
                      : walk.states.back() == b.walk.states.back() ? "plays on, same end" : "plays on, the route differs";
        } else {
            // Only a sound, a page or a picture is lost: the story is the same.
            EXPECT_EQ(walk.states, b.walk.states);
            EXPECT_EQ(tr.states, b.tour.states);
        }
        if (f.kind == Kind::Page) {
            const int n = std::stoi(f.name.substr(3));
            int in_tour = 0;
            for (const auto& [where, r] : tr.reports) in_tour += where == "book " + std::to_string(n);
            EXPECT_EQ(in_tour, 1) << "opening book " << n;
            EXPECT_EQ(tr.reports.size(), 1u);
        }
        if (f.kind == Kind::Forest) {
            ASSERT_EQ(tr.reports.size(), 1u);
            EXPECT_EQ(tr.reports[0].first, "drops");
        }
        if (f.kind == Kind::Effect && !accepted_effect) {
            ASSERT_FALSE(tr.reports.empty());
            EXPECT_EQ(tr.reports.front().second.label, "FORM1_PREPARASUONI");
            // Every later use is reported: where the intact game used the effect,
            // the faulty one has at least one report of error 91.
            for (const Played* pair : {&walk, &tr}) {
                const Played& intact = pair == &walk ? b.walk : b.tour;
                int uses = 0;
                for (const auto& [where, r] : pair->reports) uses += r.number == 91;
                if (intact.sounds_used.count(kSfxNames[f.effect])) EXPECT_GT(uses, 0);
                else EXPECT_EQ(uses, 0);
            }
            outcome = "plays on silently without it, every use reported";
        }
        if (accepted_effect) {
            // Cut short behind an intact header, the sound is still a sound.
            EXPECT_TRUE(walk.reports.empty()) << summary(walk);
            EXPECT_TRUE(tr.reports.empty()) << summary(tr);
            outcome = "accepted as a shorter sound";
        }
        if (f.kind == Kind::Tune) outcome = "silent: no report";
        table_row(f, fault, walk, tr, outcome);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDataFile, FaultInjection, ::testing::ValuesIn(data_files()),
                         [](const ::testing::TestParamInfo<DataFile>& i) {
                             std::string n = i.param.name;
                             for (char& c : n) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return n;
                         });

}  // namespace
