// The game on a Linux whose timerfd_create fails (an old kernel, a sandbox that
// forbids it): the timers and the frame clock fall back to QTimer, and the game
// must still tick.
#include <cerrno>

#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;

namespace {
int timerfdCreateCalls = 0;
}  // namespace

// Stands in for the C library's function: the program's own definition is the
// one the window layer links against.
extern "C" int timerfd_create(int, int) noexcept {
    ++timerfdCreateCalls;
    errno = ENOSYS;
    return -1;
}

class NoTimerfdTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { quietOffscreenNotes(); }

    void theGameStillTicks() {
        Form10 form;
        loaded(form);
        const QPoint drawnAt = form.Image1[0]->pos();
        click(form, pointIn(*form.Command1));
        // A unit of the clock is 101 ticks, about a second at the classic pace.
        QTRY_VERIFY_WITH_TIMEOUT(form.Text2->text().toInt() >= 1, 20000);
        QVERIFY(form.Image1[0]->pos() != drawnAt);
        QVERIFY2(timerfdCreateCalls > 0, "the stand-in was never called: nothing fell back");
    }
};

QTEST_MAIN(NoTimerfdTest)
#include "no_timerfd_test.moc"
