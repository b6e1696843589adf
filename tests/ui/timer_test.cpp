#include <QElapsedTimer>
#include <QSignalSpy>
#include <thread>

#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;
using namespace std::chrono_literals;

class TimerTest : public QObject {
    Q_OBJECT

    static void backends() {
        QTest::addColumn<Timer::Backend>("backend");
        QTest::newRow("native") << Timer::Backend::Native;
        QTest::newRow("qtimer") << Timer::Backend::QtTimer;
    }
    std::unique_ptr<Runtime> runtime;

    // A timer of a runtime that honours every millisecond, on the row's backend.
    std::unique_ptr<Timer> makeTimer(int interval, bool enabled) {
        QFETCH(Timer::Backend, backend);
        runtime = std::make_unique<Runtime>(
            Runtime::Options{Runtime::kPreciseResolutionMs, backend, true});
        return std::make_unique<Timer>(*runtime, nullptr, "Timer", interval, enabled);
    }

private slots:
    void stopsAndRestarts_data() { backends(); }
    void stopsAndRestarts() {
        auto timer = makeTimer(2, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        QTRY_VERIFY(spy.count() >= 3);
        timer->setEnabled(false);
        const auto stoppedAt = spy.count();
        QTest::qWait(30);
        QCOMPARE(spy.count(), stoppedAt);
        timer->setEnabled(true);
        QTRY_VERIFY(spy.count() > stoppedAt);
    }

    void aTickDueWhenTheTimerStopsIsDropped_data() { backends(); }
    void aTickDueWhenTheTimerStopsIsDropped() {
        auto timer = makeTimer(1, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        std::this_thread::sleep_for(5ms);  // the tick is due, not yet handled
        timer->setEnabled(false);
        QTest::qWait(20);
        QCOMPARE(spy.count(), 0);
    }

    void missedTicksAreNotMadeUp_data() { backends(); }
    void missedTicksAreNotMadeUp() {
        auto timer = makeTimer(1, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        std::this_thread::sleep_for(20ms);  // twenty intervals pass unhandled
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 1);
    }

    void enablingARunningTimerKeepsItsCountdown_data() { backends(); }
    void enablingARunningTimerKeepsItsCountdown() {
        auto timer = makeTimer(200, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        QElapsedTimer clock;
        clock.start();
        QTest::qWait(120);
        timer->setEnabled(true);
        QVERIFY(spy.wait(1000));
        QVERIFY2(clock.elapsed() < 290, "a restarted countdown would tick at 320 ms or later");
    }

    void aNewIntervalTakesEffectAtOnce_data() { backends(); }
    void aNewIntervalTakesEffectAtOnce() {
        auto timer = makeTimer(60000, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        timer->setInterval(3);
        QTRY_VERIFY_WITH_TIMEOUT(spy.count() >= 2, 1000);
        timer->setInterval(0);  // no ticks, though still enabled
        QCoreApplication::processEvents();
        const auto count = spy.count();
        QTest::qWait(20);
        QCOMPARE(spy.count(), count);
        QVERIFY(timer->Enabled());
    }

    void ticksChangeWhatIsDrawnAtTheNextFrame() {
        Form10 form;
        started(form);
        Image& target = *form.Image1[0];
        const QPoint drawnBefore = target.pos();

        // A tick of a real timer moves the target; the widget stays where it was
        // drawn until the frame, so a click there still catches it.
        Timer ticker(form.runtime(), nullptr, "Ticker", 1, true);
        QPoint drawnDuringTick;
        bool caught = false;
        connect(&ticker, &Timer::tick, &form, [&] {
            ticker.setEnabled(false);
            form.Timer1_Timer();
            form.Timer3_Timer();
            drawnDuringTick = target.pos();
            QCOMPARE(target.Left(), 290.0f);
            QCOMPARE(form.Text1->Text(), QStringLiteral("0"));
            QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {},
                              form.centralWidget()->mapTo(&form, drawnBefore + QPoint(3, 3)));
            caught = form.scoreWindow() != nullptr;
        });
        QTRY_VERIFY(!ticker.Enabled());
        QCOMPARE(drawnDuringTick, drawnBefore);
        QVERIFY(caught);
        QTRY_COMPARE(target.pos(), QPoint(19, 147));  // 290, 2210 twips at the frame
        QCOMPARE(form.Text1->text(), QStringLiteral("0"));
    }
};

QTEST_MAIN(TimerTest)
#include "timer_test.moc"
