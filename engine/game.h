#pragma once

#include "game_state.h"
#include "game_view.h"

namespace moxel {

// Limits of the motion, in twips of the main window's client area. They are fixed
// and do not follow the window's size.
namespace limits {
inline constexpr float kStep = 50;
inline constexpr float kTop = 40;
inline constexpr float kLeft = 21;
inline constexpr float kBottom = 8300;
inline constexpr float kRight = 11070;
}  // namespace limits

// The game's state and the operations the main window's handlers perform on it.
// The handlers interleave these with their own steps on the window, so each
// operation is one step (or one fixed sequence) of the game's behaviour.
class Game {
public:
    explicit Game(GameView& view) : view_(view) {}

    GameState& state() { return state_; }
    const GameState& state() const { return state_; }

    // Timer1 and Timer2 take `speed` as their interval.
    void applySpeedToTimers();
    // All four directions back to 1.
    void resetDirections();
    // The clock counters back to 0.
    void resetClock();
    // Every timer off; the record is left alone.
    void halt();
    // Begins a new game at the current level: intervals, directions, clock, then
    // Timer1 and Timer3 on.
    void newGameStart();

    // One tick of Timer1: turn at the limits, then move both targets one step.
    void motionStep();
    // One tick of Timer3: show the counters, then advance them.
    void clockTick();

private:
    GameView& view_;
    GameState state_;
};

}  // namespace moxel
