#include "platform.h"

namespace moxel::app {

// A desktop has the fonts and its own frames, its window manager places the
// windows, and its event loop returns at the end: nothing to add.
void adaptToPlatform(ui::Runtime&) {}
void placeMainWindow(ui::Form10&) {}

}  // namespace moxel::app
