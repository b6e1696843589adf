#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QStyleHints>
#include <functional>
#include <memory>

#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;

class Form10Test : public QObject {
    Q_OBJECT

    std::unique_ptr<Form10> form;

    Form10& loaded() { return testing::loaded(*form); }
    Form10& started() { return testing::started(*form); }
    static bool shown(const QObject* control) { return control->property("Visible").toBool(); }
    static void expectAt(const Image* image, float left, float top) {
        QCOMPARE(image->Left(), left);
        QCOMPARE(image->Top(), top);
    }

private slots:
    void init() { form = std::make_unique<Form10>(); }
    void cleanup() { form.reset(); }

    void createdWithTheDesignValues() {
        Form10& f = *form;
        QCOMPARE(f.objectName(), QStringLiteral("Form10"));
        QCOMPARE(f.property("Caption").toString(), QStringLiteral("There's something about Moxel"));
        QCOMPARE(f.property("BackColor").toUInt(), 0x80000008u);
        QCOMPARE(f.centralWidget()->size(), QSize(733, 532));
        for (const char* name : {"Command2", "Command3"})
            QVERIFY(!shown(f.findChild<QObject*>(name)));
        for (const char* name :
             {"Text1", "Text2", "Command1", "Image5", "Image4", "Label7", "Line1", "Image3",
              "Image2", "Label6", "Shape1", "Label5", "Label4", "Label3", "Label2", "Label1",
              "Image1(0)", "Image1(1)"}) {
            QVERIFY2(shown(f.findChild<QObject*>(name)), name);
        }
        const auto timer = [&](const char* name) { return f.findChild<Timer*>(name); };
        QCOMPARE(timer("Timer1")->Interval(), 5);
        QCOMPARE(timer("Timer2")->Interval(), 5);
        QCOMPARE(timer("Timer3")->Interval(), 1);
        QVERIFY(timer("Timer1")->Enabled() && timer("Timer2")->Enabled() &&
                timer("Timer3")->Enabled());
        QCOMPARE(f.state(), moxel::GameState{});
    }

    void controlsHaveTheirLayoutValues() {
        Form10& f = *form;
        QCOMPARE(f.Command1->property("Caption").toString(), QStringLiteral("&Start the Game"));
        QCOMPARE(f.Command1->property("BackColor").toUInt(), 0x0080C0FFu);
        QCOMPARE(f.Command1->geometry(), QRect(472, 312, 201, 57));
        QCOMPARE(f.Command3->property("Left").toFloat(), 9600.0f);
        QCOMPARE(f.Text2->property("Text").toString(), QStringLiteral("Text2"));
        QCOMPARE(f.Label2->property("Caption").toString(),
                 QStringLiteral("Catch the Moxel by left clicing the mouse    "));
        QCOMPARE(f.Label6->Caption(), QStringLiteral(" Three Levels of difficuty available"));
        QCOMPARE(f.Label7->property("ForeColor").toUInt(), 0x0000FFFFu);
        QCOMPARE(f.Label5->geometry(), QRect(56, 45, 17, 25));  // 840, 680, 255, 375 twips
        QCOMPARE(f.Label1->font().family(), QStringLiteral("Comic Sans MS"));
        QCOMPARE(f.Label1->font().pointSizeF(), 21.75);
        QVERIFY(f.Label1->font().bold());
        QVERIFY(!f.Label1->autoFillBackground());
        QCOMPARE(f.Text1->font().family(), QStringLiteral("MS Sans Serif"));
        QCOMPARE(f.Text1->font().pointSizeF(), 12.0);
        QCOMPARE(f.Image1[1]->geometry(), QRect(656, 104, 19, 13));
        QCOMPARE(f.Image1[0]->geometry().size(), QSize(35, 37));
        QVERIFY(f.Line1->geometry().contains(QPoint(50, 32)));
        QCOMPARE(f.Shape1->property("BorderColor").toUInt(), 0x0000FF00u);

        const QStringList titles{f.mnuGame->title(), f.mnuOption->title()};
        QCOMPARE(titles, (QStringList{"&Start new game", "&Difficulty Options"}));
        QStringList items;
        for (QMenu* menu : {static_cast<QMenu*>(f.mnuGame), static_cast<QMenu*>(f.mnuOption)}) {
            for (QAction* action : menu->actions())
                items << action->objectName() + "=" + action->text();
        }
        QCOMPARE(items, (QStringList{"mnuNew=&New Game", "mnuExit=&Exit", "mnuLevel1=&Level 1",
                                     "mnulevel2=Level 2", "mnuLevel3=Level 3"}));
    }

    void stackingFollowsTheCreationOrderWithButtonsOnTop() {
        Form10& f = loaded();
        f.Command1_Click();
        f.Command3->setVisibleFlag(true);
        QWidget* client = f.centralWidget();
        const auto at = [&](float x, float y) {
            QWidget* hit = client->childAt((QPointF(x, y) / kTwipsPerPixel).toPoint());
            return hit ? hit->objectName() : QStringLiteral("surface");
        };
        QCOMPARE(at(9700, 7443), QStringLiteral("Command3"));  // overlaps Command2 by 15 twips
        f.Image5->setVisibleFlag(true);
        QCOMPARE(at(3000, 5000), QStringLiteral("Image5"));  // in front of Image4
        QCOMPARE(at(500, 150), QStringLiteral("surface"));   // Shape1 takes no mouse
        QCOMPARE(at(1650, 480), QStringLiteral("surface"));  // nor does Line1
        QCOMPARE(at(4600, 4300), QStringLiteral("Image2"));  // the empty picture takes it
        f.Image1[0]->setLeft(8500);
        f.Image1[0]->setTop(5000);
        f.Image1[1]->setLeft(8600);
        f.Image1[1]->setTop(5100);
        QCOMPARE(at(8700, 5200), QStringLiteral("Image1(1)"));  // in front of Image1(0)
        QCOMPARE(at(8550, 5400), QStringLiteral("Image1(0)"));
    }

    void loadLeavesTheStartScreen() {
        Form10& f = loaded();
        QVERIFY(f.isVisible());
        QVERIFY(shown(f.Command1) && shown(f.Label1) && shown(f.Image3) && shown(f.Image5));
        QVERIFY(shown(f.Label2) && shown(f.Label6) && shown(f.Image2));
        for (QObject* hidden : std::initializer_list<QObject*>{
                 f.Command2, f.Command3, f.Image4, f.Image1[0], f.Image1[1], f.Text1, f.Text2,
                 f.Label5, f.Label7, f.Shape1, f.Line1, f.Label3, f.Label4}) {
            QVERIFY2(!shown(hidden), qPrintable(hidden->objectName()));
        }
        QVERIFY(!f.mnuGame->property("Enabled").toBool());
        QVERIFY(!f.mnuOption->property("Enabled").toBool());
        QVERIFY(!f.Timer1->Enabled() && !f.Timer2->Enabled() && !f.Timer3->Enabled());
        QCOMPARE(f.Timer1->Interval(), 30);
        QCOMPARE(f.Timer2->Interval(), 30);
        QCOMPARE(f.Timer3->Interval(), 1);
        QCOMPARE(f.state(), (moxel::GameState{1, 1, 1, 1, 0, 0, 30, 0, 0, 0, 0, 0}));
        QCOMPARE(f.scoreWindow(), nullptr);

        // No tick is handled on the start screen, however long it stands.
        QTest::qWait(40);
        QCOMPARE(f.Text1->Text(), QStringLiteral("Text1"));
        QCOMPARE(f.Image1[0]->Left(), 240.0f);
    }

    void firstStartShowsThePlayScreenAtLevelOne() {
        Form10& f = loaded();
        f.Command1_Click();
        QCOMPARE(f.isStart(), short(1));
        QVERIFY(shown(f.Command2) && !shown(f.Command3) && !shown(f.Command1));
        QVERIFY(shown(f.Image4) && shown(f.Image1[0]) && shown(f.Image1[1]));
        QVERIFY(shown(f.Text1) && shown(f.Text2) && shown(f.Label5) && shown(f.Label7));
        QVERIFY(shown(f.Shape1) && shown(f.Line1));
        QVERIFY(!shown(f.Label1) && !shown(f.Image3) && !shown(f.Image5));
        QVERIFY(!shown(f.Label3) && !shown(f.Label4));
        QVERIFY(f.Timer1->Enabled() && f.Timer3->Enabled() && !f.Timer2->Enabled());
        QCOMPARE(f.Timer1->Interval(), 30);
        QCOMPARE(f.MousePointer(), 2);
        QVERIFY(!f.mnuGame->Enabled() && !f.mnuOption->Enabled());

        QTRY_VERIFY(f.t1() > 0 || f.s1() > 0);  // the clock runs on its own
        QTRY_VERIFY(f.Image1[0]->Left() > 240);
    }

    void stopThenStartBeginsANewGameWhereTheTargetsStopped() {
        Form10& f = started();
        for (int i = 0; i < 120; ++i)
            f.Timer1_Timer();  // Image1(0) has turned at the bottom
        clockTicks(f, 150);
        f.Command2_Click();
        QVERIFY(!f.Timer1->Enabled() && !f.Timer2->Enabled() && !f.Timer3->Enabled());
        QVERIFY(f.mnuGame->Enabled() && f.mnuOption->Enabled());
        QVERIFY(!shown(f.Command2) && shown(f.Command3));
        QVERIFY(shown(f.Image1[0]) && shown(f.Image1[1]));
        QCOMPARE(f.x2(), short(-1));
        const float left = f.Image1[0]->Left(), top = f.Image1[0]->Top();

        f.Command3_Click();
        QVERIFY(shown(f.Command2) && !shown(f.Command3));
        QVERIFY(!f.mnuGame->Enabled() && !f.mnuOption->Enabled());
        QVERIFY(f.Timer1->Enabled() && f.Timer3->Enabled() && !f.Timer2->Enabled());
        QCOMPARE(f.x2(), short(1));
        QCOMPARE(f.t1(), 0);
        QCOMPARE(f.s1(), 0);
        QCOMPARE(f.Text1->Text(), QStringLiteral("48"));  // until the first tick of the new game
        freezeTimers(f);
        f.Timer3_Timer();
        QCOMPARE(f.Text2->Text(), QStringLiteral("0"));
        QCOMPARE(f.Text1->Text(), QStringLiteral("0"));
        f.Timer1_Timer();
        QCOMPARE(f.Image1[0]->Left(), left + 50);
        QCOMPARE(f.Image1[0]->Top(), top + 50);
    }

    void levelCommandsStartAGameAtOnceAndLaterGamesKeepTheLevel() {
        Form10& f = started();
        f.Command2_Click();
        f.mnuLevel3->trigger();
        QCOMPARE(f.speed(), short(1));
        QCOMPARE(f.Timer1->Interval(), 1);
        QCOMPARE(f.Timer2->Interval(), 1);
        QVERIFY(f.Timer1->Enabled() && f.Timer3->Enabled() && !f.Timer2->Enabled());
        QVERIFY(shown(f.Command2) && !shown(f.Command3));
        QVERIFY(!f.mnuGame->Enabled());

        f.Command2_Click();
        f.mnuNew->trigger();
        QCOMPARE(f.speed(), short(1));
        QCOMPARE(f.Timer1->Interval(), 1);
        f.Command2_Click();
        f.Command3_Click();
        QCOMPARE(f.Timer1->Interval(), 1);

        const std::pair<MenuItem*, int> levels[] = {{f.mnulevel2, 5}, {f.mnuLevel1, 30}};
        for (auto [command, interval] : levels) {
            f.Command2_Click();
            command->trigger();
            QCOMPARE(int(f.speed()), interval);
            QCOMPARE(f.Timer1->Interval(), interval);
            QCOMPARE(f.Timer2->Interval(), interval);
        }
    }

    void unavailableMenusCannotBeOpenedOrUsed() {
        Form10& f = started();
        const QSignalSpy levelSpy(f.mnuLevel3, &MenuItem::Click);
        f.mnuLevel3->trigger();
        f.mnuExit->trigger();
        QCOMPARE(levelSpy.count(), 0);
        QCOMPARE(f.speed(), short(30));
        QVERIFY(!f.mnuOption->menuAction()->isEnabled());
        QTest::keyClick(&f, Qt::Key_D, Qt::AltModifier);
        QVERIFY(!f.mnuOption->isVisible());
        QMenuBar* bar = f.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(f.mnuGame->menuAction()).center());
        QTest::qWait(20);
        QVERIFY(!f.mnuGame->isVisible());

        f.Command2_Click();  // available again: the same click opens it
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(f.mnuGame->menuAction()).center());
        QTRY_VERIFY(f.mnuGame->isVisible());
        f.mnuGame->close();
    }

    // Labels, clock boxes and buttons draw from what they drew before. A change
    // made after the first paint shows all the same: the control then looks as
    // one made with the change from the start. Each row goes on from the window
    // the row before left.
    void aChangeAfterTheFirstPaintIsDrawn() {
        Form10& f = started();
        f.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f));
        QGuiApplication::styleHints()->setCursorFlashTime(0);  // a caret in every grab
        clockTicks(f, 1);  // the clock boxes now show "0", drawn from memory
        QWindow* window = f.windowHandle();
        QWidget* client = f.centralWidget();
        const auto twips = [](auto* c) {
            return TwipsRect{c->Left(), c->Top(), c->Width(), c->Height()};
        };
        // A picture of a control made with the drawn control's current values, and
        // never drawn before.
        const auto freshLabel = [&] {
            const auto label =
                std::make_unique<Label>(client, "Fresh", twips(f.Label6), true, f.Label6->Caption(),
                                        Label::Look{f.Label6->ForeColor(), Label::Center, {}});
            label->setFont(f.Label6->font());
            return label->grab().toImage();
        };
        const auto freshBox = [&](TextBox* like, bool focused = false) {
            return [=] {
                const auto box = std::make_unique<TextBox>(client, "Fresh", twips(like), true,
                                                           like->Text(), like->font());
                if (like->hasSelectedText())
                    box->selectAll();
                if (focused)
                    box->setFocus();
                return box->grab().toImage();
            };
        };
        const auto freshButton = [&](bool focused = false, bool down = false) {
            return [=, &f] {
                const auto button =
                    std::make_unique<CommandButton>(client, "Fresh", twips(f.Command2), true,
                                                    f.Command2->Caption(), f.Command2->BackColor());
                button->setDown(down);
                if (focused)
                    button->setFocusProxy(f.Command2);  // shares its focus without taking it
                const QImage drawn = button->grab().toImage();
                button->setFocusProxy(nullptr);  // deleted, it would clear that focus
                return drawn;
            };
        };
        const auto tabTo = [&](QWidget* control) {
            for (int i = 0; i < 5 && !control->hasFocus(); ++i)
                QTest::keyClick(window, Qt::Key_Tab);
        };
        QWidget elsewhere;  // another window the player turns to
        struct Row {
            const char* name;
            QWidget* drawn;
            std::function<void()> change;
            std::function<QImage()> fresh;
        };
        const Row rows[] = {
            {"label width", f.Label6, [&] { f.Label6->setProperty("Width", 3000.0f); }, freshLabel},
            {"label caption", f.Label6, [&] { f.Label6->setCaption("Level 3 only"); }, freshLabel},
            {"label font", f.Label6,
             [&] {
                 f.Label6->setFont(makeFont({"Comic Sans MS", 20, true}));
             },
             freshLabel},
            {"label colour", f.Label6, [&] { f.Label6->setForeColor(0x000000FF); }, freshLabel},
            {"clock text", f.Text1, [&] { f.Text1->setTextValue("42"); }, freshBox(f.Text1)},
            {"clock font", f.Text1,
             [&] {
                 f.Text1->setFont(makeFont({"Arial", 9, false}));
             },
             freshBox(f.Text1)},
            {"clock font, then a tick that keeps the text", f.Text2,
             [&] {
                 f.Text2->setFont(makeFont({"Arial", 9, true}));
                 clockTicks(f, 1);
             },
             freshBox(f.Text2)},
            {"clock box clicked into", f.Text1, [&] { click(f, pointIn(*f.Text1, 0.9)); },
             freshBox(f.Text1, true)},
            {"button caption", f.Command2, [&] { f.Command2->setCaption("&Halt"); }, freshButton()},
            {"button colour", f.Command2, [&] { f.Command2->setBackColor(0x00FFFF00); },
             freshButton()},  // the colour under the pointer, which the next rows keep
            {"button focused", f.Command2, [&] { tabTo(f.Command2); }, freshButton(true)},
            {"button pressed", f.Command2,
             [&] { QTest::mousePress(window, Qt::LeftButton, {}, pointIn(*f.Command2)); },
             freshButton(true, true)},
            {"button released off it", f.Command2,
             [&] {
                 QTest::mouseRelease(window, Qt::LeftButton, {}, windowPoint(f, {5000, 500}));
             },
             freshButton(true)},
            {"button unfocused", f.Command2, [&] { tabTo(f.Text1); }, freshButton()},
            {"clock text selected, then another window active", f.Text1,
             [&] {
                 QTest::keyClick(window, Qt::Key_A, Qt::ControlModifier);
                 elsewhere.show();
                 elsewhere.activateWindow();
                 QVERIFY(QTest::qWaitForWindowActive(&elsewhere));
             },
             freshBox(f.Text1)},
        };
        for (const Row& row : rows) {
            const QImage before = row.drawn->grab().toImage();
            row.change();
            const QImage after = row.drawn->grab().toImage();
            QVERIFY2(after != before, row.name);
            QVERIFY2(after == row.fresh(), row.name);
        }
    }

    // A target crossing a label repaints a strip of it at a time. Strips one pixel
    // wide put an edge at every column; at a fractional scale (the suite runs at
    // 1.5 too) an edge cuts a screen pixel that the glyphs on both sides share.
    void aLabelRepaintedInStripsLooksAsWhenDrawnWhole() {
        Form10& f = loaded();
        const QList<Label*> labels = f.findChildren<Label*>();
        for (Label* label : labels)
            label->setVisibleFlag(true);
        QCoreApplication::processEvents();  // the labels just shown join the window
        f.repaint();
        const auto screen = [&] { return f.screen()->grabWindow(f.winId()).toImage(); };
        const QImage whole = screen();
        for (Label* label : labels) {
            for (int left = 0; left < label->width(); ++left)
                label->repaint(left, 0, 1, label->height());
            QVERIFY2(screen() == whole, qPrintable(label->objectName()));
        }
    }

    void timer2NeverTicks() {
        Form10& f = loaded();
        const QSignalSpy spy(f.Timer2, &Timer::tick);
        f.Command1_Click();
        QTest::qWait(20);
        f.Command2_Click();
        f.mnuLevel3->trigger();
        QTest::qWait(20);
        f.Image1_Click(0);
        QCOMPARE(spy.count(), 0);
        QVERIFY(!f.Timer2->Enabled());
    }

    void buttonsKeepTheirHoverColourUntilThePointerCrossesTheSurface() {
        Form10& f = started();
        move(f, pointIn(*f.Command2));
        QCOMPARE(f.Command2->BackColor(), 0x00FFFF00u);
        QCOMPARE(f.MousePointer(), 1);
        click(f, pointIn(*f.Command2));  // stops the game; Command2 hides in its hover colour
        QVERIFY(!shown(f.Command2) && shown(f.Command3));
        move(f, pointIn(*f.Command3, 0.5, 0.2));
        QCOMPARE(f.Command3->BackColor(), 0x00C0FFFFu);
        click(f, pointIn(*f.Command3, 0.5, 0.2));
        QCOMPARE(f.Command2->BackColor(), 0x00FFFF00u);  // shown again, still cyan
        move(f, windowPoint(f, {5000, 500}));
        QCOMPARE(f.MousePointer(), 2);
        for (CommandButton* button : {f.Command1, f.Command2, f.Command3}) {
            QCOMPARE(button->BackColor(), 0x0080C0FFu);
        }
    }

    void thePointerKeepsItsShapeOnTheStartScreen() {
        Form10& f = loaded();
        move(f, windowPoint(f, {5000, 500}));
        QCOMPARE(f.MousePointer(), 0);
        move(f, pointIn(*f.Command1));
        QCOMPARE(f.Command1->BackColor(), 0x00C0FFFFu);
        QCOMPARE(f.MousePointer(), 0);
        move(f, pointIn(*f.Label2));  // a label takes the move: no handler runs
        QCOMPARE(f.Command1->BackColor(), 0x00C0FFFFu);
        move(f, windowPoint(f, {5000, 500}));
        QCOMPARE(f.Command1->BackColor(), 0x0080C0FFu);
    }

    void aClickOnACoveredPartOfATargetReachesTheCoveringControl() {
        Form10& f = started();
        f.Image1[0]->setLeft(4800);  // its lower part under Image2 (4440..5535, 4200..4695)
        f.Image1[0]->setTop(4000);
        click(f, windowPoint(f, {5000, 4300}));
        QCOMPARE(f.scoreWindow(), nullptr);
        QCOMPARE(f.Image1[0]->BorderStyle(), 0);
        click(f, windowPoint(f, {5000, 4100}));
        QVERIFY(f.scoreWindow() != nullptr);
        QCOMPARE(f.Image1[0]->BorderStyle(), 1);
    }

    void targetsFollowTheWorkedExampleOnTheWindow() {
        Form10& f = started();
        struct Row {
            int tick;
            float left0, top0, left1, top1;
        };
        const Row rows[] = {{1, 290, 2210, 9790, 1610},
                            {2, 340, 2260, 9740, 1660},
                            {113, 5890, 7710, 4190, 7210},
                            {198, 10140, 3460, 40, 4760},
                            {208, 10540, 2960, 540, 4260}};
        int done = 0;
        for (const Row& row : rows) {
            for (; done < row.tick; ++done)
                f.Timer1_Timer();
            expectAt(f.Image1[0], row.left0, row.top0);
            expectAt(f.Image1[1], row.left1, row.top1);
            QCOMPARE(f.Image1[0]->property("Left").toFloat(), row.left0);  // 290 stays 290
            QCOMPARE(f.Image1[0]->pos(), QPoint(qRound(row.left0 / 15), qRound(row.top0 / 15)));
        }
        QCOMPARE(f.x0(), short(-1));
        QCOMPARE(f.x1(), short(-1));
        QCOMPARE(f.x2(), short(-1));
        QCOMPARE(f.x3(), short(-1));
    }
};

QTEST_MAIN(Form10Test)
#include "form10_test.moc"
