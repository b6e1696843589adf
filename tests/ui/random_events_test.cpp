// Plays a long random sequence of player events against the real windows and
// checks after every one that the game is still in a state the game can be in.
// MOXEL_SEED=n replays a sequence; MOXEL_EVENTS=n sets its length.
#include <QMessageBox>
#include <deque>
#include <random>
#include <set>
#include <tuple>

#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;

namespace {

unsigned long long environmentNumber(const char* name, unsigned long long fallback) {
    bool ok = false;
    const auto value = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? value : fallback;
}

// Delivers a click (or a move) through the window system without running the
// event loop, so no real timer tick slips in and a seed replays exactly.
void deliver(QWidget& window, QPoint point, QEvent::Type type) {
    static int timestamp = 0;
    timestamp += 1000;  // far apart: two clicks never make a double click
    QWindow* handle = window.windowHandle();
    const QPointF global = window.mapToGlobal(point);
    if (type == QEvent::MouseMove) {
        qt_handleMouseEvent(handle, point, global, Qt::NoButton, Qt::NoButton, type, {}, timestamp);
        return;
    }
    qt_handleMouseEvent(handle, point, global, Qt::LeftButton, Qt::LeftButton,
                        QEvent::MouseButtonPress, {}, timestamp);
    qt_handleMouseEvent(handle, point, global, Qt::NoButton, Qt::LeftButton,
                        QEvent::MouseButtonRelease, {}, timestamp + 50);
}

void finishUnloads() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class RandomEventsTest : public QObject {
    Q_OBJECT

    std::mt19937_64 random;
    std::deque<QString> recent;
    Form10* form = nullptr;
    bool started = false;
    int errorsShown = 0;
    int scoresShown = 0;

    int below(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(random)); }
    bool chance(int percent) { return below(100) < percent; }

    void note(const QString& event) {
        recent.push_back(event);
        if (recent.size() > 25)
            recent.pop_front();
    }
    QString history() const {
        QStringList lines(recent.begin(), recent.end());
        return lines.join(QStringLiteral("\n  "));
    }

    void act(QWidget& window, QPoint at, QEvent::Type type, const char* what) {
        note(QStringLiteral("%1 at %2,%3").arg(QLatin1String(what)).arg(at.x()).arg(at.y()));
        deliver(window, at, type);
    }

    // A random point of a random visible control of `window`, or of its surface.
    QPoint somewhere(QWidget& window, QWidget* exclude = nullptr) {
        QWidget* client = window.findChild<QWidget*>(QStringLiteral("ClientArea"));
        QList<QWidget*> controls;
        for (QWidget* child : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisible() && child != exclude)
                controls.append(child);
        }
        QRect box = client->rect();
        if (!controls.isEmpty() && chance(85))
            box = controls[below(int(controls.size()))]->geometry();
        return client->mapTo(&window, box.topLeft() + QPoint(below(std::max(1, box.width())),
                                                             below(std::max(1, box.height()))));
    }

    void playOne() {
        const QPointer<Form11> score = form->scoreWindow();  // an event may unload it
        const bool scoreWasShown = score && score->isVisible();
        switch (below(14)) {
            case 0:
            case 1:
                act(*form, somewhere(*form), QEvent::MouseButtonRelease, "click main window");
                break;
            case 2: {
                // Aim at a target: covered parts included.
                const int index = below(2);
                const QRect box = form->Image1[index]->geometry();
                act(*form,
                    form->centralWidget()->mapTo(
                        form, box.topLeft() + QPoint(below(box.width()), below(box.height()))),
                    QEvent::MouseButtonRelease,
                    index ? "click Image1(1) area" : "click Image1(0) area");
                break;
            }
            case 3:
                act(*form, somewhere(*form), QEvent::MouseMove, "move over main window");
                break;
            case 4: {
                MenuItem* commands[] = {form->mnuNew, form->mnuLevel1, form->mnulevel2,
                                        form->mnuLevel3};
                MenuItem* command = commands[below(4)];
                const bool available = static_cast<MenuTitle*>(command->parent())->Enabled();
                const moxel::GameState before = form->state();
                note(QStringLiteral("menu %1 (%2)")
                         .arg(command->objectName(), available ? "available" : "unavailable"));
                command->trigger();
                if (!available)
                    QCOMPARE(form->state(), before);
                break;
            }
            case 5:
            case 6:
            case 7:
                if (form->Timer1->Enabled()) {
                    note(QStringLiteral("Timer1 tick"));
                    form->Timer1_Timer();
                }
                if (form->Timer3->Enabled()) {
                    note(QStringLiteral("Timer3 tick"));
                    form->Timer3_Timer();
                }
                break;
            case 8:
                if (form->Timer3->Enabled() && chance(2)) {
                    const int ticks = 33000 + below(300);  // around the longest scored time
                    note(QStringLiteral("%1 clock ticks").arg(ticks));
                    clockTicks(*form, ticks);
                } else if (form->Timer1->Enabled()) {
                    const int ticks = below(400);
                    note(QStringLiteral("%1 motion ticks").arg(ticks));
                    for (int i = 0; i < ticks; ++i)
                        form->Timer1_Timer();
                }
                break;
            case 9:
                if (started && chance(3)) {
                    note(QStringLiteral("New Game, then a catch before the first clock tick"));
                    form->mnuNew->trigger();
                    const QPoint target = form->Image1[below(2)]->geometry().center();
                    deliver(*form, form->centralWidget()->mapTo(form, target),
                            QEvent::MouseButtonRelease);
                } else if (!started) {
                    note(QStringLiteral("click Start the Game"));
                    deliver(*form, pointIn(*form->Command1), QEvent::MouseButtonRelease);
                }
                break;
            case 10:
            case 11:
                if (score && score->isVisible()) {
                    const QPoint at = somewhere(*score, score->Command3);  // no exit until the end
                    if (score->Command3->geometry().contains(at))
                        break;
                    if (chance(50)) {
                        act(*score, at, QEvent::MouseMove, "move over score window");
                    } else {
                        act(*score, at, QEvent::MouseButtonRelease, "click score window");
                    }
                }
                break;
            case 12:
                if (score) {
                    note(QStringLiteral("close score window by its frame"));
                    score->close();
                    finishUnloads();
                }
                break;
            case 13:
                if (score && score->isVisible()) {
                    note(QStringLiteral("Close the score Bar"));
                    deliver(*score, score->Command1->mapTo(score, QPoint(5, 5)),
                            QEvent::MouseButtonRelease);
                }
                break;
        }
        finishUnloads();
        countOutcome(scoreWasShown);
    }

    // Tallies what the event led to; an error window is read and dismissed.
    void countOutcome(bool scoreWasShown) {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("RuntimeError") && window->isVisible()) {
                const QString text = static_cast<QMessageBox*>(window)->text();
                QVERIFY2(
                    text == QLatin1String("Overflow") || text == QLatin1String("Division by zero"),
                    qPrintable(text));
                ++errorsShown;
                chance(10) ? void(window->close()) : window->hide();  // read, then dismissed
            }
        }
        Form11* score = form->scoreWindow();
        if (!scoreWasShown && score && score->isVisible())
            ++scoresShown;
    }

    // After a run-time error in a running game the player can only close the
    // window (and start the program again).
    bool leftOnlyClosing() const {
        Form11* score = form->scoreWindow();
        return started && score && !score->isVisible() && !form->Command2->Visible() &&
               !form->Command3->Visible();
    }

    void checkInvariants() {
        const moxel::GameState& s = form->state();
        for (short direction : {s.x0, s.x1, s.x2, s.x3})
            QVERIFY(direction == 1 || direction == -1);
        QVERIFY(s.t1 >= 0 && s.t1 <= 100);
        QVERIFY(s.speed == 30 || s.speed == 5 || s.speed == 1);
        QCOMPARE(form->Timer1->Interval(), int(s.speed));
        QCOMPARE(form->Timer2->Interval(), int(s.speed));
        QVERIFY(!form->Timer2->Enabled());
        QCOMPARE(form->Timer1->Enabled(), form->Timer3->Enabled());
        if (started)
            QCOMPARE(s.isStart, short(1));
        started = s.isStart == 1;
        QVERIFY(scoreWindows().size() <= 1);
        QCOMPARE(form->mnuGame->Enabled(), form->mnuOption->Enabled());

        // The buttons, menus and timers show one of the game's situations.
        const auto situation = std::make_tuple(form->Command2->Visible(), form->Command3->Visible(),
                                               form->mnuGame->Enabled(), form->Timer1->Enabled());
        using S = std::tuple<bool, bool, bool, bool>;
        static const std::set<S> known{
            {true, false, false, true},    // running (perhaps beside the score window)
            {false, true, true, false},    // stopped, or caught after a stop
            {false, false, false, false},  // not started, or caught during a game
            {true, true, true, true},      // the score window closed during a new game
        };
        QVERIFY(known.count(situation));
        QCOMPARE(form->Command1->Visible(), !started);
        if (!started) {
            QVERIFY(!form->Image1[0]->Visible() && form->scoreWindow() == nullptr);
        }
    }

private slots:
    void initTestCase() { quietOffscreenNotes(); }

    void randomEventsKeepTheGameConsistent() {
        const auto seed = environmentNumber("MOXEL_SEED", std::random_device{}());
        const auto events = environmentNumber("MOXEL_EVENTS", 100000);
        random.seed(seed);
        qInfo("seed %llu, %llu events (replay with MOXEL_SEED=%llu)", seed, events, seed);

        // Runs of the program one after another: an error in a running game leaves
        // nothing to do but close the window, so each run plays a few thousand events.
        std::unique_ptr<Form10> main;
        int runs = 0;
        for (unsigned long long played = 0; played < events; ++played) {
            if (!main || below(4000) == 0 || (leftOnlyClosing() && chance(5))) {
                main = std::make_unique<Form10>();
                form = main.get();
                started = false;
                ++runs;
                note(QStringLiteral("a new run of the program"));
                main->Form_Load();
                // From here the event loop never runs: the test plays the ticks itself.
                QVERIFY(QTest::qWaitForWindowExposed(main.get()));
            }
            playOne();
            checkInvariants();
            if (QTest::currentTestFailed()) {
                qCritical("after event %llu of seed %llu; the last events:\n  %s", played, seed,
                          qPrintable(history()));
                return;
            }
        }
        qInfo("%llu events in %d runs: %d score windows shown, %d run-time errors shown", events,
              runs, scoresShown, errorsShown);

        // The last step: the way out, after which no handler runs.
        if (!main->mnuGame->Enabled() && !main->scoreWindow())
            main->Image1_Click(0);
        if (main->scoreWindow()) {
            main->scoreWindow()->show();
            main->scoreWindow()->Command3_Click();
        } else {
            main->mnuExit->trigger();
        }
        const moxel::GameState ended = main->state();
        main->Timer1_Timer();
        main->Command3_Click();
        QCOMPARE(main->state(), ended);
        form = nullptr;
    }
};

QTEST_MAIN(RandomEventsTest)
#include "random_events_test.moc"
