// A game controller through SDL's virtual joystick, played into the real
// front end's call site over the game on the headless platform: the game's
// handlers must receive what the keyboard and the mouse would make them
// receive, and the game must end up in the same state.
#include <FL/Enumerations.H>
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/game_calls.h"
#include "app/gamepad.h"
#include "app/input_map.h"
#include "game/game_window.h"
#include "platform/headless_platform.h"
#include "tools/replay/trace_writer.h"

namespace {

// Writes down every call as the replay script would carry it, with the
// fields the script leaves out (the button, the whole Shift mask).
struct CallLog : GameCalls::Listener {
    std::vector<std::string> calls;
    void before(const GameCall& c) override {
        if (c.kind == GameCall::Kind::Tick) return;
        calls.push_back(c.script_line() + " (button " + std::to_string(c.button) + ", shift " +
                        std::to_string(c.shift) + ")");
    }
};

// One game on the headless platform, loaded, with the front end's call site.
struct Game {
    HeadlessPlatform platform{LEXOVO_BIN};
    GameWindow game{platform};
    GameCalls calls{game};
    CallLog log;
    Game() {
        time_limit = 0;
        calls.run({GameCall::Kind::Load});
        calls.set_listener(&log);
        calls.set_clock([this] { return now; });
    }
    void ticks(int n) {
        for (int i = 0; i < n; ++i) {
            platform.advance_clock(60);
            calls.tick();
        }
    }
    std::string state() { return trace_line(0, "-", nullptr, false, game, platform.take_log()); }
    int64_t now = 100000;
};

// What the game window would hand in for a key of the keyboard.
void key(GameInput& in, int fltk_key, int fltk_state, bool down, const char* text = "") {
    if (down)
        in.key_down(input::virtual_key(fltk_key), input::shift_mask(fltk_state, fltk_key, true), input::char_code(text));
    else
        in.key_up(input::virtual_key(fltk_key), input::shift_mask(fltk_state, fltk_key, false));
}

// The pad's side: a pointer that stays where it is put, as the window's does.
struct PadSide : Gamepad::Target {
    GameInput* in = nullptr;
    int x = 240, y = 300;
    GameInput* input() override { return in; }
    void pointer(int& px, int& py) override { px = x, py = y; }
    void move_pointer(int px, int py, int buttons, int shift) override {
        x = px, y = py;
        if (in) in->move(buttons, shift, px, py);
    }
};

class GamepadTest : public ::testing::Test {
protected:
    void SetUp() override {
        pad_game = std::make_unique<Game>();
        side.in = &pad_game->calls;
        pad = std::make_unique<Gamepad>(side);
        ASSERT_TRUE(pad->available()) << SDL_GetError();
    }
    void TearDown() override {
        detach();
        pad.reset();
    }
    void attach() {
        index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        stick = SDL_JoystickOpen(index);
        ASSERT_NE(stick, nullptr);
        poll();
        ASSERT_EQ(pad->controllers(), 1);
    }
    void detach() {
        if (!stick) return;
        SDL_JoystickClose(stick);
        SDL_JoystickDetachVirtual(index);
        stick = nullptr;
        poll();
    }
    void button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(stick, b, down ? 1 : 0);
        poll();
    }
    void axis(SDL_GameControllerAxis a, int v) {
        SDL_JoystickSetVirtualAxis(stick, a, Sint16(v));
        poll();
    }
    // One poll, 16 ms after the last.
    void poll() {
        now += 16;
        pad_game->now = now;
        pad->poll(now);
    }

    std::unique_ptr<Game> pad_game;
    PadSide side;
    std::unique_ptr<Gamepad> pad;
    int index = -1;
    SDL_Joystick* stick = nullptr;
    int64_t now = 100000;
};

TEST_F(GamepadTest, WithNoControllerNothingReachesTheGame) {
    for (int i = 0; i < 20; ++i) poll();
    EXPECT_EQ(pad->controllers(), 0);
    EXPECT_TRUE(pad_game->log.calls.empty());
}

TEST_F(GamepadTest, DpadStickAndButtonsAreTheKeyboardsKeys) {
    attach();
    Game keys;  // the same moves made on the keyboard

    // Walk right with the d-pad, then left with the stick.
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    key(keys.calls, FL_Right, 0, true);
    pad_game->ticks(5), keys.ticks(5);
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    key(keys.calls, FL_Right, 0, false);
    pad_game->ticks(2), keys.ticks(2);
    EXPECT_EQ(pad_game->state(), keys.state());
    axis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    key(keys.calls, FL_Left, 0, true);
    pad_game->ticks(3), keys.ticks(3);
    axis(SDL_CONTROLLER_AXIS_LEFTX, -12000);  // still held: the stick lets go only nearer the middle
    pad_game->ticks(1), keys.ticks(1);
    axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    key(keys.calls, FL_Left, 0, false);
    pad_game->ticks(2), keys.ticks(2);

    // A held and right: Shift goes down first, the jump, then both let go.
    button(SDL_CONTROLLER_BUTTON_A, true);
    key(keys.calls, FL_Shift_L, 0, true);
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    key(keys.calls, FL_Right, FL_SHIFT, true);
    pad_game->ticks(4), keys.ticks(4);
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
    key(keys.calls, FL_Right, FL_SHIFT, false);
    button(SDL_CONTROLLER_BUTTON_A, false);
    key(keys.calls, FL_Shift_L, FL_SHIFT, false);
    pad_game->ticks(10), keys.ticks(10);

    // Back is 'm', Start is Esc (the box it opens takes its default, No).
    button(SDL_CONTROLLER_BUTTON_BACK, true);
    key(keys.calls, 'm', 0, true, "m");
    button(SDL_CONTROLLER_BUTTON_BACK, false);
    key(keys.calls, 'm', 0, false);
    button(SDL_CONTROLLER_BUTTON_START, true);
    key(keys.calls, FL_Escape, 0, true, "\x1b");
    button(SDL_CONTROLLER_BUTTON_START, false);
    key(keys.calls, FL_Escape, 0, false);
    pad_game->ticks(1), keys.ticks(1);

    EXPECT_EQ(pad_game->log.calls, keys.log.calls);
    EXPECT_EQ(pad_game->state(), keys.state());
    EXPECT_NE(keys.log.calls.size(), 0u);
    EXPECT_FALSE(pad_game->game.state().music_on) << "Back switched the music off";
}

TEST_F(GamepadTest, AHeldDirectionRepeatsAsAHeldKey) {
    attach();
    button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    const int64_t pressed = now;
    while (now < pressed + Gamepad::kRepeatDelayMs + 10 * Gamepad::kRepeatIntervalMs) poll();
    button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    const auto& c = pad_game->log.calls;
    int downs = 0, ups = 0;
    for (const std::string& s : c) {
        downs += s.rfind("keydown 38 ", 0) == 0;
        ups += s.rfind("keyup 38 ", 0) == 0;
    }
    EXPECT_EQ(ups, 1);
    EXPECT_GE(downs, 1 + 9);
    EXPECT_LE(downs, 1 + 11);
    EXPECT_EQ(c.back().rfind("keyup 38 ", 0), 0u);
}

TEST_F(GamepadTest, BClicksAndTheRightStickDragsAsTheMouseDoes) {
    attach();
    // Two clicks close together: a double click, as the mouse gives it.
    button(SDL_CONTROLLER_BUTTON_B, true);
    button(SDL_CONTROLLER_BUTTON_B, false);
    button(SDL_CONTROLLER_BUTTON_B, true);
    button(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_EQ(pad_game->log.calls,
              (std::vector<std::string>{"mousedown 240 300 (button 1, shift 0)", "mouseup 240 300 (button 1, shift 0)",
                                        "click (button 1, shift 0)", "dblclick (button 1, shift 0)",
                                        "mouseup 240 300 (button 1, shift 0)"}));
    pad_game->log.calls.clear();

    // Put an object in the first slot of the bar, then drag it by the pad.
    GameState& s = pad_game->game.mutable_state();
    s.inventory[0] = "mosca";
    s.inventory_last = 0;
    side.x = 50, side.y = 470;
    now += 1000;  // not a double click
    button(SDL_CONTROLLER_BUTTON_B, true);
    ASSERT_EQ(pad_game->game.state().dragged_slot, 0) << "B on the slot takes the object";
    axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    axis(SDL_CONTROLLER_AXIS_RIGHTY, -32767);
    for (int i = 0; i < 30; ++i) poll();
    axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
    axis(SDL_CONTROLLER_AXIS_RIGHTY, 0);
    const int x = side.x, y = side.y;
    // Full tilt: kPointerSpeed game pixels a second, about half a second long.
    EXPECT_NEAR(x - 50, Gamepad::kPointerSpeed * 0.5, 40);
    EXPECT_NEAR(470 - y, Gamepad::kPointerSpeed * 0.5, 40);
    EXPECT_EQ(pad_game->game.state().drag_x, x);
    EXPECT_EQ(pad_game->game.state().drag_y, y);
    button(SDL_CONTROLLER_BUTTON_B, false);
    const auto& c = pad_game->log.calls;
    ASSERT_GE(c.size(), 4u);
    EXPECT_EQ(c.front(), "mousedown 50 470 (button 1, shift 0)");
    for (size_t i = 1; i + 2 < c.size(); ++i) EXPECT_EQ(c[i].rfind("mousemove ", 0), 0u) << c[i];
    EXPECT_NE(c[1].find("(button 1,"), std::string::npos) << "the button is held while it drags";
    EXPECT_EQ(c[c.size() - 2], "mouseup " + std::to_string(x) + " " + std::to_string(y) + " (button 1, shift 0)");
    EXPECT_EQ(c.back(), "click (button 1, shift 0)");
    EXPECT_EQ(pad_game->game.state().dragged_slot, -1) << "the release drops it";
}

TEST_F(GamepadTest, HotPlugAndUnplugWhileHolding) {
    attach();
    button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    button(SDL_CONTROLLER_BUTTON_A, true);
    detach();  // pulled out with both held: the game hears them let go
    EXPECT_EQ(pad->controllers(), 0);
    ASSERT_GE(pad_game->log.calls.size(), 4u);
    const auto& c = pad_game->log.calls;
    EXPECT_EQ(c[c.size() - 2], "keyup 16 (button 1, shift 0)");
    EXPECT_EQ(c.back(), "keyup 39 (button 1, shift 0)");
    pad_game->log.calls.clear();
    attach();  // another one plugged in works at once
    button(SDL_CONTROLLER_BUTTON_DPAD_DOWN, true);
    EXPECT_EQ(pad_game->log.calls, (std::vector<std::string>{"keydown 40 (button 1, shift 0)"}));
}

TEST_F(GamepadTest, WhatIsPressedWhileTheGameIsNotToBeSteered) {
    attach();
    side.in = nullptr;  // a message box is open
    button(SDL_CONTROLLER_BUTTON_START, true);
    button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_TRUE(pad_game->log.calls.empty());
    side.in = &pad_game->calls;
    poll();
    EXPECT_TRUE(pad_game->log.calls.empty());
    // A key's release reaches the game as the keyboard's does once the box
    // is gone; a button pressed on the box is the box's, release and all.
    button(SDL_CONTROLLER_BUTTON_START, false);
    button(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_EQ(pad_game->log.calls, (std::vector<std::string>{"keyup 27 (button 1, shift 0)"}));
}

}  // namespace
