#include "game.h"

#include "checked.h"
#include "decimal_text.h"

namespace moxel {

namespace {

// The limit tests compare a single-precision sum; one outside the range overflows.
float edge(float position, float size) {
    return checkedSum(position, size, ErrorKind::Overflow);
}

void reverse(Integer& direction) {
    direction = checkedNegate(direction);
}

float stepOffset(Integer direction) {
    return static_cast<float>(checkedMul(static_cast<Integer>(limits::kStep), direction));
}

float advanced(float position, Integer direction) {
    return checkedSum(position, stepOffset(direction), ErrorKind::FloatingPoint);
}

// Image1(1)'s horizontal direction is subtracted: 1 heads left.
float retreated(float position, Integer direction) {
    return checkedSum(position, -stepOffset(direction), ErrorKind::FloatingPoint);
}

}  // namespace

void Game::applySpeedToTimers() {
    view_.setTimerInterval(TimerId::Timer1, state_.speed);
    view_.setTimerInterval(TimerId::Timer2, state_.speed);
}

void Game::resetDirections() {
    state_.x0 = 1;
    state_.x1 = 1;
    state_.x2 = 1;
    state_.x3 = 1;
}

void Game::resetClock() {
    state_.t1 = 0;
    state_.s1 = 0;
}

void Game::halt() {
    view_.setTimerEnabled(TimerId::Timer1, false);
    view_.setTimerEnabled(TimerId::Timer2, false);
    view_.setTimerEnabled(TimerId::Timer3, false);
}

void Game::newGameStart() {
    applySpeedToTimers();
    resetDirections();
    resetClock();
    view_.setTimerEnabled(TimerId::Timer1, true);
    view_.setTimerEnabled(TimerId::Timer3, true);
}

void Game::motionStep() {
    // Every test reads the rectangles as they were at the start of the tick, and
    // each acts on its own: a target past two opposite limits turns twice.
    const TargetRect first = view_.target(0);
    const TargetRect second = view_.target(1);
    GameState& s = state_;

    if (edge(first.top, first.height) > limits::kBottom)
        reverse(s.x2);
    if (edge(second.top, second.height) > limits::kBottom)
        reverse(s.x3);
    if (first.top < limits::kTop)
        reverse(s.x2);
    if (second.top < limits::kTop)
        reverse(s.x3);
    if (second.left < limits::kLeft)
        reverse(s.x1);
    if (first.left < limits::kLeft)
        reverse(s.x0);
    if (edge(first.left, first.width) > limits::kRight)
        reverse(s.x0);
    if (edge(second.left, second.width) > limits::kRight)
        reverse(s.x1);

    view_.setTargetTop(0, advanced(first.top, s.x2));
    view_.setTargetTop(1, advanced(second.top, s.x3));
    view_.setTargetLeft(0, advanced(first.left, s.x0));
    view_.setTargetLeft(1, retreated(second.left, s.x1));
    view_.setTimerEnabled(TimerId::Timer1, true);
}

void Game::clockTick() {
    // The boxes show the counters before this tick advances them.
    view_.setClockText(ClockBox::Text2, DecimalText(state_.s1).view());
    view_.setClockText(ClockBox::Text1, DecimalText(state_.t1).view());
    state_.t1 = checkedAdd(state_.t1, Long{1});
    if (state_.t1 > 100) {
        state_.t1 = 0;
        state_.s1 = checkedAdd(state_.s1, Long{1});
    }
}

}  // namespace moxel
