#include <QAccessible>
#include <QMenuBar>

#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;

namespace {
// A menu opens in a later pass of the event loop. A key that went astray fails
// its row after this, not after QTRY's default 5 s plus 10 s of diagnosis,
// which over all rows outlasted ctest's timeout.
constexpr int kKeyMs = 1000;
}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form10> form;

    Form10& active() {
        loaded(*form).activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qFatal("main window not active");
        return *form;
    }
    static void altKey(QWidget* window, Qt::Key key) {
        QTest::keyClick(window, key, Qt::AltModifier);
    }
    static QMenu* openMenu() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }
    static QStringList unnamedControls(QWidget& window) {
        QStringList unnamed;
        for (QWidget* control : window.findChildren<QWidget*>()) {
            if (!control->isVisible() || control->objectName().isEmpty())
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            if (!accessible || accessible->text(QAccessible::Name).trimmed().isEmpty()) {
                unnamed << control->objectName();
            }
        }
        return unnamed;
    }

private slots:
    void initTestCase() { quietOffscreenNotes(); }
    void init() {
        form = std::make_unique<Form10>();
        // A key that presses a button the player cannot see fails at once.
        for (CommandButton* button : {form->Command1, form->Command2, form->Command3}) {
            connect(button, &QAbstractButton::pressed, button, [button] {
                if (!button->isVisible()) {
                    QTest::qFail(qPrintable(button->objectName() + " pressed while hidden"),
                                 __FILE__, __LINE__);
                }
            });
        }
    }
    void cleanup() {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        form.reset();
    }

    // An access key clicks its button at once, as the mouse does: the clock
    // stops at the key.
    void altAndTheMarkedLetterPressTheVisibleButton() {
        Form10& f = active();
        QTest::keyClick(f.windowHandle(), Qt::Key_S, Qt::AltModifier);
        QCOMPARE(f.isStart(), short(1));  // "&Start the Game", though the menu title shares the S
        QTest::keyClick(f.windowHandle(), Qt::Key_S, Qt::AltModifier);
        QVERIFY(f.Command3->Visible());  // "&Stop the game"
        QVERIFY(!f.Timer3->Enabled());
        QTest::keyClick(f.windowHandle(), Qt::Key_S, Qt::AltModifier);
        QVERIFY(f.Timer1->Enabled());  // "&Start the game"
        QCOMPARE(openMenu(), nullptr);
    }

    // Keys go to the focus widget, as a keyboard sends them: an access key acts
    // from any focus and never types its letter into a clock box.
    void accessKeysActWhereverTheFocusIs_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("running");
        for (const char* focus : {"Text1", "Text2", "button", "window"}) {
            QTest::addRow("%s, running", focus) << focus << true;
            QTest::addRow("%s, stopped", focus) << focus << false;
        }
    }
    void accessKeysActWhereverTheFocusIs() {
        QFETCH(QString, focus);
        QFETCH(bool, running);
        Form10& f = active();
        f.Command1_Click();
        if (!running)
            f.Command2_Click();
        freezeTimers(f);
        CommandButton* shownButton = running ? f.Command2 : f.Command3;
        QWidget* focused = focus == "window"   ? static_cast<QWidget*>(&f)
                           : focus == "button" ? shownButton
                                               : f.findChild<QWidget*>(focus);
        focused->setFocus();
        QTRY_COMPARE(f.focusWidget(), focused);
        const QStringList clock{f.Text1->text(), f.Text2->text()};

        QTest::keyClick(f.windowHandle(), Qt::Key_Q, Qt::AltModifier);  // no access key
        QCOMPARE((QStringList{f.Text1->text(), f.Text2->text()}), clock);
        QCOMPARE(openMenu(), nullptr);
        QCOMPARE(f.menuBar()->activeAction(), nullptr);

        QTest::keyClick(f.windowHandle(), Qt::Key_D, Qt::AltModifier);
        // The menu is available only when stopped.
        QTRY_COMPARE_WITH_TIMEOUT(openMenu() != nullptr, !running, kKeyMs);
        if (QMenu* menu = openMenu()) {
            QCOMPARE(menu, static_cast<QMenu*>(f.mnuOption));
            menu->close();
        } else {  // the unavailable title is not even highlighted
            QCOMPARE(f.menuBar()->activeAction(), nullptr);
            QCOMPARE(f.focusWidget(), focused);
        }
        QCOMPARE((QStringList{f.Text1->text(), f.Text2->text()}), clock);
        QTest::keyClick(f.windowHandle(), Qt::Key_S, Qt::AltModifier);
        QVERIFY(!shownButton->Visible());  // Stop, or Start the game, was pressed
        for (TextBox* box : {f.Text1, f.Text2})
            QVERIFY(!box->text().contains(QLatin1Char('s'), Qt::CaseInsensitive));
    }

    // An access key leaves the focus where a click on its button leaves it
    // (from the last clock box, where the focus would otherwise stay).
    void anAccessKeyMovesTheFocusAsAClickDoes_data() {
        QTest::addColumn<bool>("running");
        QTest::newRow("running") << true;
        QTest::newRow("stopped") << false;
    }
    void anAccessKeyMovesTheFocusAsAClickDoes() {
        QFETCH(bool, running);
        const auto focusAfter = [&](bool byKey) {
            form = std::make_unique<Form10>();
            Form10& f = active();
            f.Command1_Click();
            if (!running)
                f.Command2_Click();
            freezeTimers(f);
            f.Text2->setFocus();
            CommandButton* shownButton = running ? f.Command2 : f.Command3;
            if (byKey)
                QTest::keyClick(f.windowHandle(), Qt::Key_S, Qt::AltModifier);
            else
                click(f, pointIn(*shownButton));
            return f.focusWidget() ? f.focusWidget()->objectName() : QString();
        };
        QCOMPARE(focusAfter(true), focusAfter(false));
    }

    void menuTitlesOpenWithAltAndTheirCommandsWithTheLetter() {
        Form10& f = active();
        f.Command1_Click();
        f.Command2_Click();
        altKey(&f, Qt::Key_D);
        QTRY_VERIFY_WITH_TIMEOUT(openMenu(), kKeyMs);
        QCOMPARE(openMenu(), static_cast<QMenu*>(f.mnuOption));
        QTest::keyClick(openMenu(), Qt::Key_L);  // "&Level 1"
        QTRY_VERIFY_WITH_TIMEOUT(f.Timer1->Enabled(), kKeyMs);
        QCOMPARE(f.speed(), short(30));
        QVERIFY(!openMenu());

        f.Command2_Click();
        f.menuBar()->setActiveAction(f.mnuGame->menuAction());
        QTRY_VERIFY_WITH_TIMEOUT(openMenu(), kKeyMs);
        QTest::keyClick(openMenu(), Qt::Key_N);  // "&New Game"
        QTRY_VERIFY_WITH_TIMEOUT(f.Timer1->Enabled(), kKeyMs);
    }

    void unavailableTitlesIgnoreTheirAccessKeys() {
        Form10& f = active();
        altKey(&f, Qt::Key_D);
        QTest::qWait(20);
        QCOMPARE(openMenu(), nullptr);
        QCOMPARE(f.isStart(), short(0));
    }

    void scoreWindowButtonsHaveAccessKeys() {
        Form10& f = active();
        f.Command1_Click();
        freezeTimers(f);
        clockTicks(f, 5);
        const auto catchAndFocus = [&](int index, bool onExit) {
            f.Image1_Click(index);
            Form11* score = f.scoreWindow();
            score->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(score));
            QCOMPARE(QApplication::focusWidget(), score->Command1);
            // Each key acts whichever button has the focus.
            if (onExit)
                score->Command1->setFocus();
            else
                score->Command3->setFocus();
        };
        catchAndFocus(0, false);
        QTest::keyClick(f.scoreWindow()->windowHandle(), Qt::Key_C, Qt::AltModifier);
        QCOMPARE(f.scoreWindow(), nullptr);
        QVERIFY(f.Command3->Visible());

        catchAndFocus(1, true);
        QTest::keyClick(f.scoreWindow()->windowHandle(), Qt::Key_E, Qt::AltModifier);
        QVERIFY(f.runtime().hasEnded());
    }

    void tabFollowsTheDesignedOrder() {
        Form10& f = active();
        f.Command1_Click();
        f.Command2->setFocus();
        f.Command3->setVisibleFlag(true);
        QStringList order;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"Command3", "Text1", "Text2", "Command2"}));
    }

    void everyShownControlHasAnAccessibleName() {
        Form10& f = active();
        QCOMPARE(unnamedControls(f), QStringList{});
        f.Command1_Click();
        freezeTimers(f);
        f.Label3->setVisibleFlag(true);
        f.Label4->setVisibleFlag(true);
        QCOMPARE(unnamedControls(f), QStringList{});
        clockTicks(f, 5);
        f.Image1_Click(1);
        QCOMPARE(unnamedControls(*f.scoreWindow()), QStringList{});
        QAccessibleInterface* close =
            QAccessible::queryAccessibleInterface(f.scoreWindow()->Command1);
        QCOMPARE(close->text(QAccessible::Name), QStringLiteral("Close the score Bar"));

        // A screen reader announces the score window as a window of its own, by
        // its title, and reads each value with the caption before it.
        Form11& score = *f.scoreWindow();
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&score);
        QCOMPARE(window->role(), QAccessible::Dialog);
        QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Score Bar"));
        const std::pair<QWidget*, QString> captions[] = {{score.Label5, "Your Total Time:"},
                                                         {score.Label6, "millsec"},
                                                         {score.Label11, "Your Total Score:"},
                                                         {score.Label8, "Your Rank:"}};
        for (const auto& [value, caption] : captions) {
            const auto labels =
                QAccessible::queryAccessibleInterface(value)->relations(QAccessible::Label);
            QCOMPARE(labels.size(), 1);
            QCOMPARE(labels.first().first->text(QAccessible::Name), caption);
        }
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
