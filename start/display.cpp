#include "display.h"

#include <QByteArray>
#include <QtGlobal>

namespace moxel::start {

void prepareDisplay() {
    // A running game repaints, 60 times a second, small spots it showed the frame
    // before. Through shared memory, Qt's X11 backend first waits for the X server
    // to be done reading such a spot: a round trip per frame, which cost more than
    // drawing the frame. Sending the few changed pixels is cheaper. A setting of
    // the player's own is kept.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

}  // namespace moxel::start
