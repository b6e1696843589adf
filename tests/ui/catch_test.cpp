#include <QMessageBox>
#include <limits>

#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;

class CatchTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form10> form;

    Form10& started() { return testing::started(*form); }
    // Starts a game at the level whose interval is `speed` from the Stopped phase.
    void newGameAt(short speed) {
        form->Command2_Click();
        MenuItem* command = speed == 1   ? form->mnuLevel3
                            : speed == 5 ? form->mnulevel2
                                         : form->mnuLevel1;
        command->trigger();
        freezeTimers(*form);
    }
    void catchByMouse(int index) { click(*form, pointIn(*form->Image1[index])); }
    static QStringList texts(const Form11& score) {
        return {score.Label5->Caption(), score.Label6->Caption(), score.Label11->Caption(),
                score.Label8->Caption()};
    }
    static QMessageBox* errorWindow() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("RuntimeError") && widget->isVisible()) {
                return qobject_cast<QMessageBox*>(widget);
            }
        }
        return nullptr;
    }

private slots:
    void init() { form = std::make_unique<Form10>(); }
    void cleanup() {
        form.reset();
        QTest::qWait(1);  // lets windows closed by their frame finish unloading
        QVERIFY(scoreWindows().isEmpty());
    }

    void catchWhileRunningShowsTheScoreWindow() {
        Form10& f = started();
        clockTicks(f, 2 * 101 + 57);
        catchByMouse(0);
        QCOMPARE(f.Image1[0]->BorderStyle(), 1);
        QCOMPARE(f.Image1[1]->BorderStyle(), 0);
        QVERIFY(!f.Timer1->Enabled() && !f.Timer2->Enabled() && !f.Timer3->Enabled());
        QVERIFY(!f.Command2->Visible() && !f.Command3->Visible());
        QVERIFY(!f.mnuGame->Enabled() && !f.mnuOption->Enabled());

        Form11* score = f.scoreWindow();
        QVERIFY(score && score->isVisible());
        QCOMPARE(texts(*score), (QStringList{"2", "56", "6", "You are a dummy!"}));
        QCOMPARE(f.score1(), short(257));
        QCOMPARE(f.score2(), short(6));
        QCOMPARE(score->objectName(), QStringLiteral("Form11"));
        QCOMPARE(score->property("Caption").toString(), QStringLiteral("Score Bar"));
        QCOMPARE(score->geometry(), QRect(340, 350, 466, 185));
        QCOMPARE(score->focusWidget(), score->Command1);
        QVERIFY(!score->windowIcon().isNull());
    }

    void catchWhileStoppedKeepsTheMenusAndStartButton() {
        Form10& f = started();
        clockTicks(f, 60);
        f.Command2_Click();
        f.Image1_Click(1);
        QVERIFY(f.scoreWindow()->isVisible());
        QVERIFY(f.mnuGame->Enabled() && f.mnuOption->Enabled());
        QVERIFY(f.Command3->Visible() && !f.Command2->Visible());
        QCOMPARE(f.Image1[1]->BorderStyle(), 1);

        // A new game can begin with the score window still open; closing it then
        // shows Command3 beside Command2 while the game runs.
        f.Command3_Click();
        QVERIFY(f.Timer1->Enabled() && f.scoreWindow()->isVisible());
        f.scoreWindow()->Command1_Click();
        QVERIFY(f.Command2->Visible() && f.Command3->Visible() && f.Timer1->Enabled());
        QVERIFY(f.mnuGame->Enabled());
    }

    void aSecondCatchRefillsTheSameWindowAndBordersBothTargets() {
        Form10& f = started();
        clockTicks(f, 130);
        f.Image1_Click(0);
        Form11* first = f.scoreWindow();
        const QStringList before = texts(*first);
        f.Image1_Click(1);
        QCOMPARE(f.scoreWindow(), first);
        QCOMPARE(scoreWindows().size(), 1);
        QVERIFY(first->isVisible());
        QCOMPARE(texts(*first), before);
        QCOMPARE(f.Image1[0]->BorderStyle(), 1);
        QCOMPARE(f.Image1[1]->BorderStyle(), 1);
    }

    void closeUnloadsTheWindowAndLeavesTheReadyState() {
        Form10& f = started();
        clockTicks(f, 99);
        f.Image1_Click(0);
        f.Image1_Click(1);
        Form11* score = f.scoreWindow();
        QTest::mouseClick(score->windowHandle(), Qt::LeftButton, {}, pointIn(*score->Command1));
        QCOMPARE(f.scoreWindow(), nullptr);
        QVERIFY(scoreWindows().isEmpty());
        QVERIFY(f.mnuGame->Enabled() && f.mnuOption->Enabled());
        QVERIFY(f.Command3->Visible() && !f.Command2->Visible());
        QCOMPARE(f.Image1[0]->BorderStyle(), 0);
        QCOMPARE(f.Image1[1]->BorderStyle(), 0);
        QVERIFY(!f.Timer1->Enabled() && !f.Timer3->Enabled());

        f.Image1_Click(0);  // loads a fresh window from its design values
        QCOMPARE(f.scoreWindow()->Label7->Caption(), QStringLiteral(" "));
    }

    void scoresOfTheWorkedExamplesThroughClockTicksAndAClick() {
        struct Row {
            int s1, t1;
            short speed;
            QStringList texts;
        };
        const Row rows[] = {
            {2, 57, 30, {"2", "56", "6", "You are a dummy!"}},
            {1, 20, 1, {"1", "19", "153", "You are a genius! Choose CS major"}},
            {0, 80, 5, {"0", "79", "60", "Normal"}},
            {0, 50, 5, {"0", "49", "90", "You are excellent!"}},
            {3, 0, 1, {"3", "-1", "73", "You are excellent!"}},
            {0, 23, 30, {"0", "22", "69", "Normal"}},
        };
        Form10& f = started();
        for (const Row& row : rows) {
            newGameAt(row.speed);
            clockTicks(f, row.s1 * 101 + row.t1);
            QCOMPARE(f.Text1->Text(), QString::number(row.t1 - 1 >= 0 ? row.t1 - 1 : 100));
            catchByMouse(1);
            QVERIFY(f.scoreWindow());
            QCOMPARE(texts(*f.scoreWindow()), row.texts);
            f.scoreWindow()->Command1_Click();
        }
    }

    void theLongestTimeIsScoredAndOneTickMoreOverflows() {
        Form10& f = started();
        clockTicks(f, 327 * 101 + 67);
        f.Image1_Click(0);
        QCOMPARE(texts(*f.scoreWindow()), (QStringList{"327", "66", "0", "You are a dummy!"}));
        QCOMPARE(f.score1(), short(32767));
        f.scoreWindow()->Command1_Click();

        f.Command3_Click();
        freezeTimers(f);
        clockTicks(f, 327 * 101 + 68);
        f.Image1_Click(1);

        QMessageBox* error = errorWindow();
        QVERIFY(error);
        QCOMPARE(error->text(), QStringLiteral("Overflow"));
        QVERIFY(!error->isModal());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        Form11* score = f.scoreWindow();
        QVERIFY(score && !score->isVisible());
        QCOMPARE(texts(*score), (QStringList{"327", "67", " ", " "}));
        QCOMPARE(f.score1(), short(32767));  // the last catch's values stay
        QCOMPARE(f.score2(), short(0));
        QVERIFY(!f.Timer1->Enabled() && !f.Timer3->Enabled());
        QVERIFY(!f.Command2->Visible());
        QCOMPARE(f.Image1[1]->BorderStyle(), 1);

        // The program goes on: the targets still take clicks, the error repeats in
        // the same message window.
        f.Image1_Click(0);
        QCOMPARE(errorWindow(), error);
        QCOMPARE(scoreWindows().size(), 1);
        error->close();
    }

    void aCatchBeforeTheFirstClockTickStopsAtTheDivision() {
        Form10& f = started();
        f.Image1_Click(0);
        QMessageBox* error = errorWindow();
        QVERIFY(error);
        QCOMPARE(error->text(), QStringLiteral("Division by zero"));
        Form11* score = f.scoreWindow();
        QVERIFY(score && !score->isVisible());
        QCOMPARE(texts(*score), (QStringList{"0", "-1", " ", " "}));
        QCOMPARE(f.score2(), short(0));
        QVERIFY(!f.Timer1->Enabled() && !f.Timer3->Enabled());
        error->close();
    }

    // A failed catch in a running game leaves no button and no menu; once the
    // player has closed the error window, the stopped game's way on is there.
    void closingTheErrorWindowLeavesAWayOn_data() {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<bool>("byFrame");
        QTest::addColumn<bool>("stoppedFirst");
        QTest::newRow("overflow, OK") << 327 * 101 + 68 << false << false;
        QTest::newRow("division by zero, frame") << 0 << true << false;
        QTest::newRow("division by zero after Stop, OK") << 0 << false << true;
    }
    void closingTheErrorWindowLeavesAWayOn() {
        QFETCH(int, ticks);
        QFETCH(bool, byFrame);
        QFETCH(bool, stoppedFirst);
        Form10& f = started();
        clockTicks(f, ticks);
        if (stoppedFirst)
            click(f, pointIn(*f.Command2));
        catchByMouse(0);
        QMessageBox* error = errorWindow();
        QVERIFY(error);
        QCOMPARE(f.Command3->Visible(), stoppedFirst);
        const moxel::GameState state = f.state();

        if (byFrame) {
            error->close();
        } else {
            QVERIFY(QTest::qWaitForWindowExposed(error));
            click(*error, error->button(QMessageBox::Ok)->mapTo(error, QPoint(5, 5)));
        }
        QTRY_COMPARE(errorWindow(), nullptr);
        QVERIFY(f.Command3->Visible() && !f.Command2->Visible());
        QVERIFY(f.mnuGame->Enabled() && f.mnuOption->Enabled());
        QCOMPARE(f.state(), state);
        QCOMPARE(f.Image1[0]->BorderStyle(), 1);
        QVERIFY(f.scoreWindow() && !f.scoreWindow()->isVisible());

        click(f, pointIn(*f.Command3));
        QVERIFY(f.Timer1->Enabled() && f.Command2->Visible());
    }

    // An error that leaves Stop showing needs no way on: closing it adds nothing.
    void anErrorWithStopShowingLeavesStopAlone() {
        Form10& f = started();
        f.Image1[0]->setLeft(std::numeric_limits<float>::infinity());
        f.Timer1_Timer();
        QMessageBox* error = errorWindow();
        QVERIFY(error);
        error->close();
        QTRY_COMPARE(errorWindow(), nullptr);
        QVERIFY(f.Command2->Visible() && !f.Command3->Visible());
        QVERIFY(!f.mnuGame->Enabled() && !f.mnuOption->Enabled());
    }

    void scoreWindowButtonsTakeTheirHoverColours() {
        Form10& f = started();
        clockTicks(f, 10);
        f.Image1_Click(0);
        Form11& score = *f.scoreWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&score));
        const auto moveTo = [&](QPoint point) { QTest::mouseMove(score.windowHandle(), point); };
        moveTo(pointIn(*score.Command1));
        QCOMPARE(score.Command1->BackColor(), 0x00C0FFFFu);
        moveTo(pointIn(*score.Command3));
        QCOMPARE(score.Command1->BackColor(), 0x00C0FFFFu);  // straight across: both stay
        QCOMPARE(score.Command3->BackColor(), 0x00C0FFFFu);
        moveTo(pointIn(*score.Label4));
        QCOMPARE(score.Command3->BackColor(), 0x00C0FFFFu);  // a label takes the move
        moveTo(QPoint(460, 100));                            // bare surface
        QCOMPARE(score.Command1->BackColor(), 0x8000000Fu);
        QCOMPARE(score.Command3->BackColor(), 0x8000000Fu);
    }

    void closingTheScoreWindowByItsFrameRunsNoHandler() {
        Form10& f = started();
        clockTicks(f, 10);
        f.Image1_Click(0);
        QPointer<Form11> score = f.scoreWindow();
        score->close();
        QCOMPARE(f.scoreWindow(), nullptr);
        QVERIFY(!f.mnuGame->Enabled() && !f.mnuOption->Enabled());
        QVERIFY(!f.Command2->Visible() && !f.Command3->Visible());
        QCOMPARE(f.Image1[0]->BorderStyle(), 1);
        QTRY_VERIFY(score.isNull());

        f.Image1_Click(1);  // the only way on: catch again, then Close
        QVERIFY(f.scoreWindow() && f.scoreWindow()->isVisible());
        f.scoreWindow()->Command1_Click();
        QVERIFY(f.Command3->Visible() && f.mnuGame->Enabled());
    }

    void scoreWindowHasItsLayout() {
        Form10& f = started();
        clockTicks(f, 10);
        f.Image1_Click(0);
        Form11& score = *f.scoreWindow();
        QCOMPARE(score.property("BackColor").toUInt(), 0x00800000u);
        QCOMPARE(score.Label1->Caption(), QStringLiteral("Your Total Time:"));
        QCOMPARE(score.Label10->Caption(), QStringLiteral("millsec"));
        QCOMPARE(score.Label3->Caption(), QStringLiteral("<100 total points, bonus possible>"));
        QCOMPARE(score.Label3->font().family(), QStringLiteral("Arial"));
        QCOMPARE(score.Label3->font().pointSizeF(), 9.75);
        QCOMPARE(score.Label3->property("ForeColor").toUInt(), 0x0080FFFFu);
        QCOMPARE(score.Label5->property("BackStyle").toInt(), 1);
        QCOMPARE(score.Label5->property("ForeColor").toUInt(), 0x8000000Du);
        QVERIFY(score.Label5->autoFillBackground() && !score.Label1->autoFillBackground());
        QVERIFY(score.Label1->font().bold() && !score.Label5->font().bold());
        QCOMPARE(score.Label8->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(score.Label8->geometry(), QRect(160, 104, 249, 25));
        QCOMPARE(score.Command1->Caption(), QStringLiteral("&Close the score Bar"));
        QCOMPARE(score.Command3->Caption(), QStringLiteral("&Exit Game"));
        QCOMPARE(score.Command3->BackColor(), 0x8000000Fu);
        QCOMPARE(score.Line1->BorderWidth(), 2);
        QCOMPARE(score.Line2->property("Y1").toFloat(), 1320.0f);
        QCOMPARE(score.Label3->parentWidget()->childAt(QPoint(180, 60)), score.Label11);
    }
};

QTEST_MAIN(CatchTest)
#include "catch_test.moc"
