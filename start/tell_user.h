#pragma once

#include <QString>
#include <cstdio>

namespace moxel::start {

// Shows the player text the program has to say before it opens a window: the
// help, the version, a mistake on the command line, a platform that cannot
// start. `stream` is stdout or stderr, where the text goes unless the
// platform has a way of its own.
void tellUser(std::FILE* stream, const QString& text);

// A platform's own way to tell the player, where its standard streams may
// reach no one; false where it could not, and the text goes to the stream.
using UserTeller = bool (*)(std::FILE* stream, const QString& text);
void tellUserBy(UserTeller teller);

}  // namespace moxel::start
