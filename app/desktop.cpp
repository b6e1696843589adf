#include "platform.h"

namespace moxel::app {

// A Linux desktop has the fonts and its own frames, its window manager places
// the windows, and its event loop returns at the end: nothing to add. Only its
// display may be missing: nothing need name X11's or Wayland's.
const start::DisplayAtStart kDisplayAtStart = start::DisplayAtStart::MayBeMissing;
void prepareToStart() {}
void adaptToPlatform(ui::Runtime&) {}
void placeMainWindow(ui::Form10&) {}

}  // namespace moxel::app
