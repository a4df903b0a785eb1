// `lexovo --play FILE`: a recorded game (a replay script) played back in the
// real window at its own pace: a tick every 60 ms, waits as long as they
// are written, the calls between them at once. The game's clock, its random
// draws and its box answers come from the script, as in lexovo-replay; the
// player's keys and mouse reach nothing meanwhile.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "tools/replay/replay_script.h"

class GameCalls;
class HeadlessPlatform;

class Playback {
public:
    // `script` has been checked by parse_script; its first command (gioca
    // or esci) is the caller's to carry out.
    Playback(std::vector<ScriptCommand> script, GameCalls& calls, HeadlessPlatform& model,
             std::function<void(const std::string&)> shot);
    ~Playback();

    // The first command, and the time limit a gioca chose.
    const ScriptCommand& first() const { return script_.front(); }
    // Plays the rest, from the FLTK event loop.
    void start();
    bool finished() const { return next_ >= script_.size() && ticks_left_ == 0; }
    // The script line of the command running now.
    int line() const { return line_; }
    // How long a message box shown now stays on the screen: the wait that
    // follows its command (which then passes while the box is shown).
    double box_seconds();

private:
    static void step_cb(void* self);
    void step();

    std::vector<ScriptCommand> script_;
    GameCalls& calls_;
    HeadlessPlatform& model_;
    std::function<void(const std::string&)> shot_;
    size_t next_ = 1;
    long ticks_left_ = 0;
    int line_ = 0;
    bool waited_ahead_ = false;  // the next wait was spent on a box
};
