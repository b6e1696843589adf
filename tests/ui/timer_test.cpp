#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <thread>

#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;
using namespace std::chrono_literals;

namespace {

// Runs the event loop for `ms`; QTest::qWait would sleep between passes and cap
// any timer at about a hundred ticks a second.
void runEventLoopFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Calls `onPaint` whenever `widget` is painted.
class PaintSpy : public QObject {
public:
    PaintSpy(QWidget* widget, std::function<void()> onPaint) : onPaint_(std::move(onPaint)) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            onPaint_();
        return false;
    }

private:
    std::function<void()> onPaint_;
};

}  // namespace

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

    // The score table was made for timers that tick every 10 ms at the most; a
    // window made without a runtime plays at that pace, the precise one on request.
    void windowsPlayAtTheirRuntimesPace_data() {
        QTest::addColumn<bool>("precise");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("motionPeriodMs");
        QTest::newRow("classic level 1") << false << 1 << 30;
        QTest::newRow("classic level 3") << false << 3 << 10;
        QTest::newRow("precise level 3") << true << 3 << 1;
    }
    void windowsPlayAtTheirRuntimesPace() {
        QFETCH(bool, precise);
        QFETCH(int, level);
        QFETCH(int, motionPeriodMs);
        Runtime preciseRuntime({Runtime::kPreciseResolutionMs});
        auto form = precise ? std::make_unique<Form10>(preciseRuntime) : std::make_unique<Form10>();
        loaded(*form).Command1_Click();
        form->Command2_Click();
        (level == 3 ? form->mnuLevel3 : form->mnuLevel1)->trigger();
        QCOMPARE(form->Timer1->Interval(), level == 3 ? 1 : 30);  // read back as set

        QSignalSpy motion(form->Timer1, &Timer::tick);
        QSignalSpy clock(form->Timer3, &Timer::tick);
        constexpr int kMs = 300;
        runEventLoopFor(kMs);
        const int clockPeriodMs = precise ? 1 : 10;
        const auto expect = [](const QSignalSpy& spy, int periodMs) {
            const int expected = kMs / periodMs;
            QVERIFY2(
                spy.count() >= expected / 2 && spy.count() <= expected + expected / 5 + 1,
                qPrintable(
                    QStringLiteral("%1 ticks, expected about %2").arg(spy.count()).arg(expected)));
        };
        expect(motion, motionPeriodMs);
        expect(clock, clockPeriodMs);
    }

    // Frames come from a steady clock at the screen's rate: a tick's change is on
    // the screen at the next frame, half a frame period later on average.
    void aTicksChangeIsOnScreenWithinOneFrame() {
        Form10 form;
        loaded(form).Command1_Click();
        QElapsedTimer clock;
        clock.start();
        std::vector<qint64> ticks;
        std::vector<qint64> latencies;
        connect(form.Timer3, &Timer::tick, &form, [&] { ticks.push_back(clock.nsecsElapsed()); });
        QString shown = form.Text1->text();
        PaintSpy spy(form.Text1, [&] {
            if (form.Text1->text() == shown)
                return;
            shown = form.Text1->text();
            for (qint64 tick : ticks)
                latencies.push_back(clock.nsecsElapsed() - tick);
            ticks.clear();
        });
        while (latencies.size() < 60 && clock.elapsed() < 5000)
            runEventLoopFor(50);
        QVERIFY(latencies.size() >= 30);
        std::nth_element(latencies.begin(), latencies.begin() + latencies.size() / 2,
                         latencies.end());
        const qint64 median = latencies[latencies.size() / 2];
        const qint64 period = FramePacer::framePeriod().count();
        // A frame a period late, or frames at half the rate, wait about a period.
        QVERIFY2(median < period * 3 / 4,
                 qPrintable(QStringLiteral("median %1 us, frame period %2 us")
                                .arg(median / 1000)
                                .arg(period / 1000)));
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
