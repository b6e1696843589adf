#pragma once

#include <QWidget>
#include <utility>

#include "runtime_error.h"

namespace moxel::ui {

// The end of the program and the reporting of run-time errors: what the old
// desktop runtime did for every window's handlers.
namespace program {

// Ends the program at once: no handler runs after this, and the event loop
// returns 0 (also if it has not started yet).
void end();
bool hasEnded();

// Shows the player the error that stopped a handler, in the window named
// "RuntimeError"; the game goes on.
void reportError(QWidget* window, const RuntimeError& error);

}  // namespace program

// Runs one event handler: a run-time error abandons the rest of it, is reported,
// and never reaches Qt's event loop. After the program has ended nothing runs.
template <typename Body>
void runHandler(QWidget* window, Body&& body) {
    if (program::hasEnded())
        return;
    try {
        std::forward<Body>(body)();
    } catch (const RuntimeError& error) {
        program::reportError(window, error);
    }
}

}  // namespace moxel::ui
