#pragma once

#include "command_line.h"

namespace moxel::ui {
class Form10;
class Runtime;
}  // namespace moxel::ui

namespace moxel::app {

// What a platform adds to the game, in one place.
// Whether a display may be missing when the program starts.
extern const start::DisplayAtStart kDisplayAtStart;
// Called first of all, before the command line is read.
void prepareToStart();
// Called once the application exists, before the first window is made.
void adaptToPlatform(ui::Runtime& runtime);
// Called once the main window is shown.
void placeMainWindow(ui::Form10& form);

}  // namespace moxel::app
