#pragma once

#include <QStringList>
#include <variant>

#include "runtime.h"

namespace moxel::start {

// Reads the command line before any window or display exists, so --help,
// --help-all, --version and a mistake need no display. Qt's own options are
// accepted and left in place for the application object to read.
// Returns the runtime's options, or the exit code when the program should end:
// 0 after help or the version, 2 for a mistake, 1 when no display is named
// where one may be missing.
enum class DisplayAtStart {
    MayBeMissing,  // Linux: neither DISPLAY nor WAYLAND_DISPLAY may be set
    AlwaysThere,   // Windows, a browser page
};
std::variant<ui::Runtime::Options, int> readCommandLine(const QStringList& arguments,
                                                        DisplayAtStart display);

}  // namespace moxel::start
