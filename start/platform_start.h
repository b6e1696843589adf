#pragma once

namespace moxel::start {

// Where Qt cannot start its platform (a display it cannot reach, a plugin that
// is missing or fails, an unknown -platform), it aborts with advice to reinstall.
// Between these two calls such a failure instead prints one line that names
// what failed, and the program ends with status 1. Qt's warnings meanwhile are
// held, and shown once the platform is up.
void guardPlatformStart();
void platformStarted();

}  // namespace moxel::start
