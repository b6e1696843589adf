#include "tell_user.h"

namespace moxel::start {

namespace {
UserTeller platformTeller = nullptr;
}  // namespace

void tellUserBy(UserTeller teller) {
    platformTeller = teller;
}

void tellUser(std::FILE* stream, const QString& text) {
    if (platformTeller && platformTeller(stream, text))
        return;
    std::fputs(qPrintable(text), stream);
    std::fflush(stream);  // the caller may end the program at once
}

}  // namespace moxel::start
