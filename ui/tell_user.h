#pragma once

#include <QString>
#include <cstdio>

namespace moxel::ui {

// Shows the player text the program has to say before it opens a window: the
// help, the version, a mistake on the command line, a platform that cannot
// start. `stream` is stdout or stderr. A Windows program of the GUI kind has
// no console of its own: there the text goes where the caller redirected it,
// else to the console the game was started from, else into a message box.
void tellUser(std::FILE* stream, const QString& text);

}  // namespace moxel::ui
