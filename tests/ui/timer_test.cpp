#include <QAbstractEventDispatcher>
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

// What the event loop did while it ran for `ms`: its passes, and the wake-ups
// among them, the passes that slept first (one that finds a posted event waiting
// does not).
struct LoopActivity {
    int passes = 0;
    int wakeUps = 0;
};
LoopActivity loopActivityDuring(int ms) {
    auto* dispatcher = QAbstractEventDispatcher::instance();
    LoopActivity activity;
    QElapsedTimer blocked;
    const auto sleeping = QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock,
                                           [&] { blocked.start(); });
    const auto waking = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, [&] {
        ++activity.passes;
        if (blocked.isValid() && blocked.nsecsElapsed() > 500'000)
            ++activity.wakeUps;
        blocked.invalidate();
    });
    runEventLoopFor(ms);
    QObject::disconnect(sleeping);
    QObject::disconnect(waking);
    return activity;
}

// Fails unless `spy` saw about one tick per `periodMs` in `ms`: wide bounds, as a
// loaded machine runs late but never early.
void verifyTickRate(const QSignalSpy& spy, int ms, int periodMs) {
    const int expected = ms / periodMs;
    QVERIFY2(
        spy.count() >= expected / 2 && spy.count() <= expected + expected / 5 + 1,
        qPrintable(QStringLiteral("%1 ticks, expected about %2").arg(spy.count()).arg(expected)));
}

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Counts how often the frame pacer shows it.
class PresentCounter final : public Presentable {
public:
    using Presentable::Presentable;
    void present() override { ++presents; }
    int presents = 0;
};

// Calls `onEvent` whenever `widget` receives an event of `type`.
class EventSpy : public QObject {
public:
    EventSpy(QWidget* widget, QEvent::Type type, std::function<void()> onEvent)
        : type_(type), onEvent_(std::move(onEvent)) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_)
            onEvent_();
        return false;
    }

private:
    QEvent::Type type_;
    std::function<void()> onEvent_;
};

}  // namespace

class TimerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Runtime> runtime;

    // A timer of a runtime that honours every millisecond unless told otherwise.
    std::unique_ptr<Timer> makeTimer(int interval, bool enabled,
                                     int resolutionMs = Runtime::kPreciseResolutionMs) {
        runtime = std::make_unique<Runtime>(Runtime::Options{resolutionMs});
        return std::make_unique<Timer>(*runtime, nullptr, "Timer", interval, enabled);
    }

private slots:
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

    void aTickDueWhenTheTimerStopsIsDropped() {
        auto timer = makeTimer(1, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        std::this_thread::sleep_for(5ms);  // the tick is due, not yet handled
        timer->setEnabled(false);
        QTest::qWait(20);
        QCOMPARE(spy.count(), 0);
    }

    // Every tick of a stall is made up, but those overdue past the bound make one,
    // so the game slows down rather than races.
    void aStallKeepsItsTicksUpToTheBound_data() {
        QTest::addColumn<int>("stallMs");
        QTest::newRow("shorter than the bound") << 20;
        QTest::newRow("longer than the bound") << 300;
    }
    void aStallKeepsItsTicksUpToTheBound() {
        QFETCH(int, stallMs);
        QElapsedTimer clock;
        clock.start();
        auto timer = makeTimer(1, true);
        const qint64 armedBy = clock.nsecsElapsed();
        QSignalSpy spy(timer.get(), &Timer::tick);
        std::this_thread::sleep_for(std::chrono::milliseconds(stallMs));
        const qint64 handledAfter = clock.nsecsElapsed();
        QCoreApplication::processEvents();
        const qint64 handledBy = clock.nsecsElapsed();
        // Whole milliseconds from arming to handling, or the bound's and one merged.
        const auto ticks = [](qint64 ns) {
            const qint64 bound = std::chrono::nanoseconds(FramePacer::kMaxCatchUp).count();
            return ns <= bound ? ns / 1'000'000 : bound / 1'000'000 + 1;
        };
        QVERIFY2(
            spy.count() >= ticks(handledAfter - armedBy) && spy.count() <= ticks(handledBy) + 1,
            qPrintable(QStringLiteral("%1 ticks in a stall of %2 to %3 ms")
                           .arg(spy.count())
                           .arg((handledAfter - armedBy) / 1e6)
                           .arg(handledBy / 1e6)));
    }

    // A new game's clock starts from zero, however long the game before it was
    // stopped: the countdown of the stopped game is gone.
    void aGameStartedAfterAPauseBeginsAtZero_data() {
        QTest::addColumn<int>("resolutionMs");
        QTest::newRow("classic") << Runtime::kClassicResolutionMs;
        QTest::newRow("precise") << Runtime::kPreciseResolutionMs;
    }
    void aGameStartedAfterAPauseBeginsAtZero() {
        QFETCH(int, resolutionMs);
        Runtime runtime({resolutionMs});
        Form10 form(runtime);
        click(loaded(form), pointIn(*form.Command1));
        runEventLoopFor(100);
        click(form, pointIn(*form.Command2));
        runEventLoopFor(1000);
        QElapsedTimer clock;
        clock.start();
        click(form, pointIn(*form.Command3));
        runEventLoopFor(50);
        const qint64 counted = form.s1() * 101 + form.t1();
        QVERIFY2(counted <= clock.elapsed() / resolutionMs,
                 qPrintable(QStringLiteral("%1 ticks counted %2 ms after the start")
                                .arg(counted)
                                .arg(clock.elapsed())));
    }

    // Ticks of several timers that a frame runs together run in the order
    // they fell due, each timer's grid counted from its start.
    void ticksRunInTheOrderTheyFellDue() {
        runtime = std::make_unique<Runtime>(Runtime::Options{Runtime::kPreciseResolutionMs});
        std::vector<int> dueMs;  // each tick's due time, from its timer's interval
        std::vector<std::unique_ptr<Timer>> timers;
        for (int interval : {2, 3}) {
            timers.push_back(std::make_unique<Timer>(*runtime, nullptr, "Timer", interval, true));
            connect(timers.back().get(), &Timer::tick, [&dueMs, interval, ticks = 0]() mutable {
                dueMs.push_back(interval * ++ticks);
            });
        }
        std::this_thread::sleep_for(30ms);  // the ticks of a stall wait for the next frame
        QTRY_VERIFY(dueMs.size() >= 20);
        QVERIFY(std::is_sorted(dueMs.begin(), dueMs.end()));
    }

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
        verifyTickRate(motion, kMs, motionPeriodMs);
        verifyTickRate(clock, kMs, precise ? 1 : 10);
    }

    // An interval between two steps of the resolution waits for the later one.
    void intervalsRoundUpToTheResolution() {
        auto timer = makeTimer(15, true, Runtime::kClassicResolutionMs);
        QSignalSpy spy(timer.get(), &Timer::tick);
        runEventLoopFor(300);
        verifyTickRate(spy, 300, 20);
    }

    // No interval means no ticks, and no busy loop waiting for them either.
    void aTimerWithoutAnIntervalLetsTheLoopSleep_data() {
        QTest::addColumn<int>("interval");
        QTest::newRow("0") << 0;
        QTest::newRow("negative") << -10;
    }
    void aTimerWithoutAnIntervalLetsTheLoopSleep() {
        QFETCH(int, interval);
        auto timer = makeTimer(interval, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        const int passes = loopActivityDuring(100).passes;
        QCOMPARE(spy.count(), 0);
        QVERIFY2(passes < 20, qPrintable(QStringLiteral("%1 passes in 100 ms").arg(passes)));
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
        EventSpy spy(form.Text1, QEvent::Paint, [&] {
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

    // The process wakes once a frame while a game runs, however often its timers
    // ask to tick, and once play stops the clock lets it sleep.
    void theProcessWakesAtMostOnceAFrame_data() {
        QTest::addColumn<int>("resolutionMs");
        QTest::addColumn<bool>("levelThree");
        QTest::addColumn<bool>("stopped");
        QTest::newRow("classic level 1") << Runtime::kClassicResolutionMs << false << false;
        QTest::newRow("classic level 3") << Runtime::kClassicResolutionMs << true << false;
        QTest::newRow("precise level 3") << Runtime::kPreciseResolutionMs << true << false;
        QTest::newRow("stopped") << Runtime::kPreciseResolutionMs << true << true;
    }
    void theProcessWakesAtMostOnceAFrame() {
        QFETCH(int, resolutionMs);
        QFETCH(bool, levelThree);
        QFETCH(bool, stopped);
        Runtime runtime({resolutionMs});
        Form10 form(runtime);
        click(loaded(form), pointIn(*form.Command1));
        if (levelThree) {
            click(form, pointIn(*form.Command2));
            form.mnuLevel3->trigger();
        }
        if (stopped)
            click(form, pointIn(*form.Command2));
        runEventLoopFor(100);
        constexpr int kMs = 500;
        const int wakeUps = loopActivityDuring(kMs).wakeUps;
        const double frames = kMs * form.screen()->refreshRate() / 1000;
        // While stopped only the caret of a focused clock box blinks, twice a second.
        const double limit = stopped ? 5 : frames * 1.1 + 2;
        QVERIFY2(wakeUps <= limit, qPrintable(QStringLiteral("%1 wake-ups in %2 ms, %3 frames")
                                                  .arg(wakeUps)
                                                  .arg(kMs)
                                                  .arg(frames)));
    }

    // A click between two frames comes after every tick that fell due before it:
    // the clock at the catch has counted each millisecond from start to click.
    void aClickBetweenFramesComesAfterEveryTickBeforeIt() {
        Runtime precise({Runtime::kPreciseResolutionMs});
        Form10 form(precise);
        loaded(form);
        QElapsedTimer clock;
        clock.start();
        qint64 lastTick = 0, longestGap = 0;  // a stall past the bound merges ticks
        connect(form.Timer3, &Timer::tick, &form, [&] {
            longestGap = std::max(longestGap, clock.nsecsElapsed() - lastTick);
            lastTick = clock.nsecsElapsed();
        });
        const qint64 startBefore = clock.nsecsElapsed();
        click(form, pointIn(*form.Command1));
        const qint64 startAfter = lastTick = clock.nsecsElapsed();
        runEventLoopFor(120);
        QVERIFY(QSignalSpy(form.Timer3, &Timer::tick).wait(1000));  // a frame has just run
        std::this_thread::sleep_for(12ms);                          // well before the next

        const Image& target = *form.Image1[0];
        QCOMPARE(form.centralWidget()->childAt(target.geometry().center()), &target);
        const qint64 clickBefore = clock.nsecsElapsed();
        click(form, pointIn(target));
        const qint64 clickAfter = clock.nsecsElapsed();
        QVERIFY(form.scoreWindow());
        if (longestGap > std::chrono::nanoseconds(FramePacer::kMaxCatchUp).count())
            QSKIP("the machine stalled the test past the bound");
        const qint64 counted = form.s1() * 101 + form.t1();
        QVERIFY2(counted >= (clickBefore - startAfter) / 1'000'000 &&
                     counted <= (clickAfter - startBefore) / 1'000'000,
                 qPrintable(QStringLiteral("%1 ticks counted, %2 to %3 ms from start to click")
                                .arg(counted)
                                .arg((clickBefore - startAfter) / 1e6)
                                .arg((clickAfter - startBefore) / 1e6)));
    }

    // Where the display paces the frames (a browser), the clock asks for one
    // frame at a time and wakes for nothing else; the frame runs the ticks,
    // and asks for the next once it has shown their changes (a browser's
    // compositor, asked by the showing, then draws ahead of the next frame).
    void displayFramesAreAskedForOneAtATime() {
        Runtime runtime({Runtime::kPreciseResolutionMs});
        FramePacer& pacer = runtime.framePacer();
        PresentCounter item(pacer);
        std::vector<int> presentsWhenAsked;
        pacer.followDisplayFrames([&] { presentsWhenAsked.push_back(item.presents); });
        Timer timer(runtime, nullptr, "Timer", 1, true);
        QSignalSpy ticks(&timer, &Timer::tick);
        connect(&timer, &Timer::tick, [&] { pacer.show(item); });
        runEventLoopFor(50);
        QCOMPARE(presentsWhenAsked, std::vector<int>{0});
        QCOMPARE(ticks.count(), 0);
        pacer.frame();
        QVERIFY(ticks.count() >= 40);
        QCOMPARE(presentsWhenAsked, (std::vector<int>{0, 1}));
    }

    // Changes of several ticks before a frame reach the screen once, at the frame.
    void eachChangeIsPresentedOnce() {
        Runtime runtime;
        FramePacer& pacer = runtime.framePacer();
        PresentCounter item(pacer);
        for (int tick = 0; tick < 3; ++tick) {
            const FramePacer::TickScope duringTick(pacer);
            pacer.show(item);
        }
        QCOMPARE(item.presents, 0);
        runEventLoopFor(150);
        QCOMPARE(item.presents, 1);
    }

    // Frames follow the screen's refresh rate and keep to its grid. Ticks 2.5
    // frames apart leave the frame clock idle in between; were it stopped and
    // restarted by the next tick, every present would land half a frame off the
    // grid of the one before. Over two seconds, frames that each wait a period
    // from the one before, late by a wake-up, drift off the first one's grid.
    // Medians, as a loaded machine delays some frames.
    void framesKeepTheScreensPeriodAndPhase_data() {
        QTest::addColumn<double>("framesPerTick");
        QTest::newRow("ticks faster than frames") << 0.6;
        QTest::newRow("ticks slower than frames") << 2.5;
    }
    void framesKeepTheScreensPeriodAndPhase() {
        QFETCH(double, framesPerTick);
        Runtime precise({Runtime::kPreciseResolutionMs});
        Form10 form(precise);
        started(form);
        const double frameMs = 1000 / form.screen()->refreshRate();
        Image& target = *form.Image1[0];
        Timer ticker(form.runtime(), nullptr, "Ticker", int(std::lround(framesPerTick * frameMs)),
                     true);
        connect(&ticker, &Timer::tick, &form, [&] { target.setLeft(target.Left() + 15); });
        QElapsedTimer clock;
        std::vector<double> presents;  // when the target moved on the screen, in ms
        EventSpy spy(&target, QEvent::Move,
                     [&] { presents.push_back(double(clock.nsecsElapsed()) / 1e6); });
        clock.start();
        runEventLoopFor(2000);
        QVERIFY(presents.size() >= 30);

        std::vector<double> gaps, offGrid, offFirstGrid;  // in frames
        for (std::size_t i = 1; i < presents.size(); ++i) {
            gaps.push_back((presents[i] - presents[i - 1]) / frameMs);
            offGrid.push_back(std::abs(gaps.back() - std::max(1.0, std::round(gaps.back()))));
            const double sinceFirst = (presents[i] - presents[0]) / frameMs;
            offFirstGrid.push_back(std::abs(sinceFirst - std::round(sinceFirst)));
        }
        const double gap = median(gaps), error = median(offGrid), drift = median(offFirstGrid);
        const QString summary =
            QStringLiteral("frames of %1 ms: median gap %2, %3 off the grid, %4 off the first's")
                .arg(frameMs)
                .arg(gap)
                .arg(error)
                .arg(drift);
        QVERIFY2(error < 0.25 && drift < 0.1, qPrintable(summary));
        if (framesPerTick < 1)
            QVERIFY2(gap > 0.75 && gap < 1.25, qPrintable(summary));
    }

    // A frame of the screen's own period, on a fast screen too.
    void framesFollowTheScreensRate_data() {
        QTest::addColumn<double>("screenHz");
        QTest::addColumn<double>("frameHz");
        QTest::newRow("60 Hz") << 60.0 << 60.0;
        QTest::newRow("144 Hz") << 144.0 << 144.0;
        QTest::newRow("240 Hz") << 240.0 << 240.0;
        QTest::newRow("360 Hz") << 360.0 << 360.0;
        QTest::newRow("unknown") << 0.0 << 60.0;
        QTest::newRow("implausible") << 1e6 << 60.0;
    }
    void framesFollowTheScreensRate() {
        QFETCH(double, screenHz);
        QFETCH(double, frameHz);
        const double periodNs = double(FramePacer::framePeriod(screenHz).count());
        QVERIFY2(std::abs(periodNs * frameHz / 1e9 - 1) < 1e-6,
                 qPrintable(QString::number(periodNs)));
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
