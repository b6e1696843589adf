#include <QSignalSpy>
#include <QTimer>

#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;
using namespace std::chrono_literals;
using std::chrono::milliseconds;

namespace {

// Counts how often the frame pacer shows it.
class PresentCounter final : public Presentable {
public:
    using Presentable::Presentable;
    void present() override { ++presents; }
    int presents = 0;
};

int clockCount(const Form10& form) {
    return form.s1() * 101 + form.t1();
}

}  // namespace

// Every test but the last drives the one clock by hand: the time, and each
// frame the pacer waits for. The last plays on the real clock.
class TimerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Runtime> runtime;
    std::unique_ptr<HandClock> clock;

    // A timer of a runtime that honours every millisecond unless told otherwise.
    std::unique_ptr<Timer> makeTimer(int interval, bool enabled,
                                     int resolutionMs = Runtime::kPreciseResolutionMs) {
        runtime = std::make_unique<Runtime>(Runtime::Options{resolutionMs});
        clock = std::make_unique<HandClock>(runtime->framePacer());
        return std::make_unique<Timer>(*runtime, nullptr, "Timer", interval, enabled);
    }

private slots:
    void cleanup() {
        clock.reset();
        runtime.reset();
    }

    // A stopped timer asks for no frame, so nothing wakes the process.
    void stopsAndRestarts() {
        auto timer = makeTimer(2, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        clock->runFor(6ms);
        QCOMPARE(spy.count(), 3);
        timer->setEnabled(false);
        clock->runFor(30ms);
        QCOMPARE(spy.count(), 3);
        QVERIFY(!clock->wake());
        timer->setEnabled(true);
        clock->runFor(2ms);
        QCOMPARE(spy.count(), 4);
    }

    void aTickDueWhenTheTimerStopsIsDropped() {
        auto timer = makeTimer(1, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        clock->advance(5ms);  // five ticks due, none handled yet
        timer->setEnabled(false);
        clock->nextFrame();
        QCOMPARE(spy.count(), 0);
    }

    // Every tick of a stall is made up, but those overdue by more than the
    // bound make one, so the game slows down rather than races.
    void aStallKeepsItsTicksUpToTheBound_data() {
        QTest::addColumn<int>("stallMs");
        QTest::addColumn<int>("ticks");
        QTest::newRow("shorter than the bound") << 20 << 20;
        QTest::newRow("as long as the bound") << 100 << 100;
        // The ticks of the last tenth of a second, both its ends, and one for the rest.
        QTest::newRow("longer than the bound") << 300 << 101 + 1;
    }
    void aStallKeepsItsTicksUpToTheBound() {
        QFETCH(int, stallMs);
        QFETCH(int, ticks);
        QCOMPARE(FramePacer::kMaxCatchUp, 100ms);
        auto timer = makeTimer(1, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        clock->advance(milliseconds(stallMs));
        clock->nextFrame();
        QCOMPARE(spy.count(), ticks);
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
        HandClock clock(form);
        click(loaded(form), pointIn(*form.Command1));
        clock.runFor(100ms);
        click(form, pointIn(*form.Command2));
        clock.runFor(1s);
        click(form, pointIn(*form.Command3));
        clock.runFor(50ms);
        QCOMPARE(clockCount(form), 50 / resolutionMs);
    }

    // Ticks of several timers that a frame runs together run in the order
    // they fell due, each timer's grid counted from its start.
    void ticksRunInTheOrderTheyFellDue() {
        auto first = makeTimer(2, true);
        Timer second(*runtime, nullptr, "Timer", 3, true);
        std::vector<int> dueMs;  // each tick's due time, from its timer's interval
        for (auto [timer, interval] : {std::pair{first.get(), 2}, std::pair{&second, 3}}) {
            connect(timer, &Timer::tick, [&dueMs, step = interval, ticks = 0]() mutable {
                dueMs.push_back(step * ++ticks);
            });
        }
        clock->advance(30ms);
        clock->nextFrame();
        QCOMPARE(dueMs.size(), 15u + 10u);
        QVERIFY(std::is_sorted(dueMs.begin(), dueMs.end()));
    }

    void enablingARunningTimerKeepsItsCountdown() {
        auto timer = makeTimer(200, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        clock->runFor(120ms);
        timer->setEnabled(true);
        clock->runFor(80ms);
        QCOMPARE(spy.count(), 1);  // a restarted countdown would tick at 320 ms
    }

    void aNewIntervalTakesEffectAtOnce() {
        auto timer = makeTimer(60000, true);
        QSignalSpy spy(timer.get(), &Timer::tick);
        timer->setInterval(3);
        clock->runFor(6ms);
        QCOMPARE(spy.count(), 2);
        timer->setInterval(0);  // no ticks, though still enabled
        clock->runFor(20ms);
        QCOMPARE(spy.count(), 2);
        QVERIFY(timer->Enabled());
    }

    // A timer ticks every interval rounded up to its runtime's resolution. No
    // interval means no ticks, and no frame asked for either.
    void aTimerTicksEveryIntervalRoundedUp_data() {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("resolutionMs");
        QTest::addColumn<int>("ticksIn300Ms");
        QTest::newRow("15 ms, classic") << 15 << Runtime::kClassicResolutionMs << 15;
        QTest::newRow("1 ms, classic") << 1 << Runtime::kClassicResolutionMs << 30;
        QTest::newRow("30 ms, classic") << 30 << Runtime::kClassicResolutionMs << 10;
        QTest::newRow("1 ms, precise") << 1 << Runtime::kPreciseResolutionMs << 300;
        QTest::newRow("0") << 0 << Runtime::kPreciseResolutionMs << 0;
        QTest::newRow("negative") << -10 << Runtime::kPreciseResolutionMs << 0;
    }
    void aTimerTicksEveryIntervalRoundedUp() {
        QFETCH(int, interval);
        QFETCH(int, resolutionMs);
        QFETCH(int, ticksIn300Ms);
        auto timer = makeTimer(interval, true, resolutionMs);
        QSignalSpy spy(timer.get(), &Timer::tick);
        clock->runFor(300ms);
        QCOMPARE(spy.count(), ticksIn300Ms);
        if (ticksIn300Ms == 0)
            QCOMPARE(clock->wakeUps(), 0);
    }

    // The score table was made for timers that tick every 10 ms at the most; a
    // window made without a runtime plays at that pace, the precise one on request.
    void windowsPlayAtTheirRuntimesPace_data() {
        QTest::addColumn<bool>("precise");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("motionTicks");
        QTest::addColumn<int>("clockTicks");
        QTest::newRow("classic level 1") << false << 1 << 10 << 30;
        QTest::newRow("classic level 3") << false << 3 << 30 << 30;
        QTest::newRow("precise level 3") << true << 3 << 300 << 300;
    }
    void windowsPlayAtTheirRuntimesPace() {
        QFETCH(bool, precise);
        QFETCH(int, level);
        QFETCH(int, motionTicks);
        QFETCH(int, clockTicks);
        Runtime preciseRuntime({Runtime::kPreciseResolutionMs});
        auto form = precise ? std::make_unique<Form10>(preciseRuntime) : std::make_unique<Form10>();
        HandClock clock(*form);
        loaded(*form).Command1_Click();
        form->Command2_Click();
        (level == 3 ? form->mnuLevel3 : form->mnuLevel1)->trigger();
        QCOMPARE(form->Timer1->Interval(), level == 3 ? 1 : 30);  // read back as set

        QSignalSpy motion(form->Timer1, &Timer::tick);
        QSignalSpy counted(form->Timer3, &Timer::tick);
        clock.runFor(300ms);
        QCOMPARE(motion.count(), motionTicks);
        QCOMPARE(counted.count(), clockTicks);
    }

    // Frames follow the screen's refresh rate and keep to the first frame's
    // grid, also when the process wakes late; a tick runs at the first frame
    // after it fell due, and its change is on the screen at that frame.
    void framesKeepTheScreensPeriodAndPhase_data() {
        QTest::addColumn<double>("framesPerTick");
        QTest::newRow("ticks faster than frames") << 0.6;
        QTest::newRow("ticks slower than frames") << 2.5;
    }
    void framesKeepTheScreensPeriodAndPhase() {
        QFETCH(double, framesPerTick);
        Runtime precise({Runtime::kPreciseResolutionMs});
        Form10 form(precise);
        HandClock clock(form);
        started(form);
        const auto period =
            std::chrono::nanoseconds(std::llround(1e9 / form.screen()->refreshRate()));
        Image& target = *form.Image1[0];
        const int intervalMs = int(std::lround(framesPerTick * period.count() / 1e6));
        Timer ticker(form.runtime(), nullptr, "Ticker", intervalMs, true);
        const auto armed = clock.now();
        auto lastFrame = armed;
        int ticks = 0;
        connect(&ticker, &Timer::tick, &form, [&] {
            const auto due = armed + ++ticks * milliseconds(intervalMs);
            QVERIFY(due > lastFrame && due <= clock.now());  // at the first frame after it
            target.setLeft(target.Left() + 15);
        });
        QVERIFY(clock.wake());
        const auto firstFrame = *clock.wake();
        int frames = 0;
        for (int late = 0; clock.now() - firstFrame < 2s; ++frames) {
            // Woken up to a third of a frame late, never the same twice running.
            late = (late + 7) % 11;
            QCOMPARE((*clock.wake() - firstFrame) % period, std::chrono::nanoseconds(0));
            clock.nextFrame(late * period / 30);
            lastFrame = clock.now();
            QCOMPARE(target.x(), int(std::lround(target.Left() / kTwipsPerPixel)));
        }
        QVERIFY(ticks >= int(2s / milliseconds(intervalMs)));
        QCOMPARE(clock.wakeUps(), frames + 1);
    }

    // While a game runs the process wakes once a frame, however often its
    // timers ask to tick, and once play stops the clock lets it sleep.
    void theProcessWakesOnceAFrame_data() {
        QTest::addColumn<int>("resolutionMs");
        QTest::addColumn<bool>("levelThree");
        QTest::addColumn<bool>("stopped");
        QTest::newRow("classic level 1") << Runtime::kClassicResolutionMs << false << false;
        QTest::newRow("classic level 3") << Runtime::kClassicResolutionMs << true << false;
        QTest::newRow("precise level 3") << Runtime::kPreciseResolutionMs << true << false;
        QTest::newRow("stopped") << Runtime::kPreciseResolutionMs << true << true;
    }
    void theProcessWakesOnceAFrame() {
        QFETCH(int, resolutionMs);
        QFETCH(bool, levelThree);
        QFETCH(bool, stopped);
        Runtime runtime({resolutionMs});
        Form10 form(runtime);
        HandClock clock(form);
        click(loaded(form), pointIn(*form.Command1));
        if (levelThree) {
            click(form, pointIn(*form.Command2));
            form.mnuLevel3->trigger();
        }
        if (stopped)
            click(form, pointIn(*form.Command2));
        clock.runFor(100ms);
        const int before = clock.wakeUps();
        const double frameMs = 1000 / form.screen()->refreshRate();
        clock.runFor(milliseconds(std::lround(30 * frameMs)));
        QCOMPARE(clock.wakeUps() - before, stopped ? 0 : 30);
    }

    // A click between two frames comes after every tick that fell due before
    // it: the clock at the catch has counted each millisecond from start to
    // click, and the click hits the target where the last frame drew it.
    void aClickBetweenFramesComesAfterEveryTickBeforeIt() {
        Runtime precise({Runtime::kPreciseResolutionMs});
        Form10 form(precise);
        HandClock clock(form);
        loaded(form);
        const auto started = clock.now();
        click(form, pointIn(*form.Command1));
        clock.runFor(120ms);
        clock.nextFrame();
        clock.advance(7ms);  // well before the next frame
        const Image& target = *form.Image1[0];
        QCOMPARE(form.centralWidget()->childAt(target.geometry().center()), &target);
        click(form, pointIn(target));
        QVERIFY(form.scoreWindow());
        QCOMPARE(clockCount(form), int((clock.now() - started) / 1ms));
    }

    // Where the display paces the frames (a browser), the clock asks for one
    // frame at a time and wakes for nothing else; the frame runs the ticks,
    // and asks for the next once it has shown their changes (a browser's
    // compositor, asked by the showing, then draws ahead of the next frame).
    void displayFramesAreAskedForOneAtATime() {
        auto timer = makeTimer(1, true);
        FramePacer& pacer = runtime->framePacer();
        PresentCounter item(pacer);
        std::vector<int> presentsWhenAsked;
        pacer.followDisplayFrames([&] { presentsWhenAsked.push_back(item.presents); });
        const int wakeUps = clock->wakeUps();
        QSignalSpy ticks(timer.get(), &Timer::tick);
        connect(timer.get(), &Timer::tick, [&] { pacer.show(item); });
        clock->advance(50ms);
        QCoreApplication::processEvents();
        QCOMPARE(presentsWhenAsked, std::vector<int>{0});
        QCOMPARE(ticks.count(), 0);
        pacer.frame();
        QCOMPARE(ticks.count(), 50);
        QCOMPARE(presentsWhenAsked, (std::vector<int>{0, 1}));
        QCOMPARE(clock->wakeUps(), wakeUps);  // the display's frames, no wake-up of its own
    }

    // Changes of several ticks before a frame reach the screen once, at the frame.
    void eachChangeIsPresentedOnce() {
        runtime = std::make_unique<Runtime>();
        clock = std::make_unique<HandClock>(runtime->framePacer());
        FramePacer& pacer = runtime->framePacer();
        PresentCounter item(pacer);
        for (int tick = 0; tick < 3; ++tick) {
            const FramePacer::TickScope duringTick(pacer);
            pacer.show(item);
        }
        QCOMPARE(item.presents, 0);
        clock->nextFrame();
        QCOMPARE(item.presents, 1);
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
        HandClock clock(form);
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
        clock.nextFrame();
        QVERIFY(!ticker.Enabled());
        QCOMPARE(drawnDuringTick, drawnBefore);
        QVERIFY(caught);
        QCOMPARE(target.pos(), QPoint(19, 147));  // 290, 2210 twips at the frame
        QCOMPARE(form.Text1->text(), QStringLiteral("0"));
    }

    // The one test on the real clock: a game plays, its frames woken by the
    // platform's timer. Its only limit is one no busy machine reaches.
    void aGamePlaysOnTheRealClock() {
        Form10 form;
        click(loaded(form), pointIn(*form.Command1));
        const QPoint drawn = form.Image1[0]->pos();
        QTRY_VERIFY_WITH_TIMEOUT(clockCount(form) >= 10 && form.Image1[0]->pos() != drawn, 60000);
        QCOMPARE(form.Text1->text(), form.Text1->Text());
    }
};

QTEST_MAIN(TimerTest)
#include "timer_test.moc"
