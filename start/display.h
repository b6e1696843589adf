#pragma once

namespace moxel::start {

// Call before the QApplication exists: how the program talks to the display.
// The game and its benchmark both call it, so the benchmark measures the game.
void prepareDisplay();

}  // namespace moxel::start
