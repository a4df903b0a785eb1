// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/replay/replay_runner.h"

#include <memory>

#include "core/png_write.h"
#include "game/game_window.h"
#include "platform/headless_platform.h"
#include "tools/replay/script_input.h"
#include "tools/replay/trace_writer.h"

int run_replay(const std::vector<ScriptCommand>& script, const ReplayOptions& options, std::ostream& trace,
               std::ostream& errors) {
    HeadlessPlatform platform(options.data_dir);
    time_limit = 0;
    GameWindow game(platform);
    bool ended = false;
    auto write = [&](const ScriptCommand& c, const bool* ran) {
        trace << trace_line(c.line, c.cmd, ran, ended, game, platform.take_log()) << '\n';
    };
    for (const ScriptCommand& c : script) {
        if (c.cmd == "answer") { platform.queue_answer(answer_named(c.text)); continue; }
        if (c.cmd == "random") { platform.queue_random(c.value); continue; }
        if (c.cmd == "wait") { platform.advance_clock(int64_t(c.value)); continue; }
        if (c.cmd == "shot") {
            if (!write_png(game.window_picture(), c.text)) {
                errors << "lexovo-replay: line " << c.line << ": cannot write " << c.text << '\n';
                return 1;
            }
            continue;
        }
        if (c.cmd == "tick") {
            for (long i = 0; i < c.ints[0] && !ended; ++i) {
                platform.advance_clock(60);
                bool ran = game.timer_enabled();
                try {
                    if (ran) game.run_handler([&] { game.Timer1_Timer(); });
                } catch (const ProgramEnded&) {
                    ended = true;
                }
                write(c, &ran);
            }
            if (ended) break;
            continue;
        }
        try {
            if (c.cmd == "gioca") time_limit = c.ints.empty() ? 0 : int(c.ints[0]);
            if (c.cmd == "esci") ended = true;
            game.run_handler([&] {
                if (c.cmd == "gioca") game.Form_Load();
                else call_input_handler(game, c);
            });
        } catch (const ProgramEnded&) {
            ended = true;
        }
        write(c, nullptr);
        if (ended) break;
    }
    trace.flush();
    return 0;
}
