#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>

#include "controls.h"
#include "game.h"
#include "menus.h"
#include "runtime.h"
#include "timer.h"

namespace moxel::ui {

class Form11;

// The main window: the start screen, the moving targets, the clock and the menus.
// Its handlers are public slots named <control>_<event>; the game state is the
// record of the engine's Game, shown here as read-only properties. Made without
// a runtime, it gets one of its own at the classic pace.
class Form10 : public QMainWindow, private GameView {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ windowTitle)
    Q_PROPERTY(quint32 BackColor READ BackColor)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(short x0 READ x0)
    Q_PROPERTY(short x1 READ x1)
    Q_PROPERTY(short x2 READ x2)
    Q_PROPERTY(short x3 READ x3)
    Q_PROPERTY(int t1 READ t1)
    Q_PROPERTY(int s1 READ s1)
    Q_PROPERTY(short speed READ speed)
    Q_PROPERTY(short score1 READ score1)
    Q_PROPERTY(short score2 READ score2)
    Q_PROPERTY(short temp1 READ temp1)
    Q_PROPERTY(short temp2 READ temp2)
    Q_PROPERTY(short isStart READ isStart)

public:
    explicit Form10(QWidget* parent = nullptr);
    explicit Form10(Runtime& runtime, QWidget* parent = nullptr);
    ~Form10() override;

    Runtime& runtime() const { return runtime_; }

    quint32 BackColor() const;
    int MousePointer() const { return mousePointer_; }
    void setMousePointer(int pointer);

    const GameState& state() const { return game_.state(); }
    short x0() const { return state().x0; }
    short x1() const { return state().x1; }
    short x2() const { return state().x2; }
    short x3() const { return state().x3; }
    int t1() const { return state().t1; }
    int s1() const { return state().s1; }
    short speed() const { return state().speed; }
    short score1() const { return state().score1; }
    short score2() const { return state().score2; }
    short temp1() const { return state().temp1; }
    short temp2() const { return state().temp2; }
    short isStart() const { return state().isStart; }

    // The score window while it is loaded, else nullptr.
    Form11* scoreWindow() const;
    // Loads the score window hidden if it is not loaded; returns it.
    Form11& loadScoreWindow();
    void unloadScoreWindow();
    // The score window was closed through its frame and is on its way out.
    void scoreWindowClosed();
    // Hides the window and stops its timers: nothing of it runs any more.
    void unload();

private:
    Form10(Runtime* shared, QWidget* parent);

    const std::unique_ptr<Runtime> ownRuntime_;
    Runtime& runtime_;
    ClientArea* const client_;

public:
    // The controls, by their design-time names, in creation order.
    CommandButton* const Command3;
    CommandButton* const Command2;
    TextBox* const Text2;
    TextBox* const Text1;
    Timer* const Timer3;
    CommandButton* const Command1;
    Timer* const Timer2;
    Timer* const Timer1;
    Image* const Image5;
    Image* const Image4;
    Label* const Label7;
    Line* const Line1;
    Image* const Image3;
    Image* const Image2;
    Label* const Label6;
    Shape* const Shape1;
    Label* const Label5;
    Label* const Label4;
    Label* const Label3;
    Label* const Label2;
    Label* const Label1;
    const std::array<Image*, 2> Image1;

    MenuTitle* const mnuGame;
    MenuItem* const mnuNew;
    MenuItem* const mnuExit;
    MenuTitle* const mnuOption;
    MenuItem* const mnuLevel1;
    MenuItem* const mnulevel2;
    MenuItem* const mnuLevel3;

public slots:
    void Form_Load();
    void Form_MouseMove();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command1_MouseMove();
    void Command2_MouseMove();
    void Command3_MouseMove();
    void mnuNew_Click();
    void mnuExit_Click();
    void mnuLevel1_Click();
    void mnulevel2_Click();
    void mnuLevel3_Click();
    void Timer1_Timer();
    void Timer3_Timer();
    void Image1_Click(int Index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // GameView: the engine's way to the timers, targets and clock boxes.
    void setTimerInterval(TimerId timer, int milliseconds) override;
    void setTimerEnabled(TimerId timer, bool enabled) override;
    TargetRect target(int index) const override;
    void setTargetLeft(int index, float left) override;
    void setTargetTop(int index, float top) override;
    void setClockText(ClockBox box, std::string_view text) override;

    Timer* timer(TimerId id) const;
    QWidget* accessKeyTarget(const QKeyEvent& event) const;
    void pressAccessKey(QWidget* target);
    void leaveNoDeadEnd();
    void connectHandlers();
    void describeForScreenReaders();
    void setMenusAvailable(bool available);
    void startAtLevel(Integer speed);

    int mousePointer_ = 0;
    Game game_{*this};
    QPointer<Form11> scoreWindow_;
};

}  // namespace moxel::ui
