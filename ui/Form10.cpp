#include "Form10.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>

#include "Form11.h"
#include "score.h"
#include "vb_color.h"

namespace moxel::ui {

namespace {

constexpr quint32 kLightOrange = 0x0080C0FF;
constexpr quint32 kLightYellow = 0x00C0FFFF;
constexpr quint32 kCyan = 0x00FFFF00;
constexpr quint32 kYellow = 0x0000FFFF;
constexpr quint32 kGreen = 0x0000FF00;
constexpr quint32 kOrange = 0x000080FF;
constexpr quint32 kPaleYellow = 0x00C0FFFF;

constexpr int kArrow = 1;
constexpr int kCross = 2;

constexpr FontSpec kDefaultFont{"MS Sans Serif", 8.25, false};
constexpr FontSpec kClockFont{"MS Sans Serif", 12, true};

// Every picture also comes at twice its size, named NAME@2x.EXT as Qt's own
// loaders expect; on screens of ratio 1.5 or more it keeps pictures as sharp
// as the text, at the same logical size.
QPixmap picture(const char* name) {
    QString path = QStringLiteral(":/pictures/") + QString::fromLatin1(name);
    if (qApp->devicePixelRatio() < 1.5)
        return QPixmap(path);
    path.insert(path.lastIndexOf(u'.'), QStringLiteral("@2x"));
    QPixmap large(path);
    large.setDevicePixelRatio(2);
    return large;
}

Label::Look comic(qreal points, bool bold, quint32 color, Label::Alignment alignment) {
    return {color, alignment, {"Comic Sans MS", points, bold}};
}

}  // namespace

Form10::Form10(QWidget* parent) : Form10(nullptr, parent) {}

Form10::Form10(Runtime& runtime, QWidget* parent) : Form10(&runtime, parent) {}

Form10::Form10(Runtime* shared, QWidget* parent)
    : QMainWindow(parent),
      ownRuntime_(shared ? nullptr : std::make_unique<Runtime>()),
      runtime_(shared ? *shared : *ownRuntime_),
      client_(new ClientArea(this, runtime_.framePacer(), {733, 532}, vb::kWindowText)),
      Command3(new CommandButton(client_, "Command3", {9600, 7080, 1335, 375}, false,
                                 "&Start the game", kLightOrange)),
      Command2(new CommandButton(client_, "Command2", {9600, 7440, 1335, 375}, false,
                                 "&Stop the game", kLightOrange)),
      Text2(
          new TextBox(client_, "Text2", {240, 600, 615, 405}, true, "Text2", makeFont(kClockFont))),
      Text1(new TextBox(client_, "Text1", {1080, 600, 615, 405}, true, "Text1",
                        makeFont(kClockFont))),
      Timer3(new Timer(runtime_, this, "Timer3", 1, true)),
      Command1(new CommandButton(client_, "Command1", {7080, 4680, 3015, 855}, true,
                                 "&Start the Game", kLightOrange, picture("arrow.ico"))),
      Timer2(new Timer(runtime_, this, "Timer2", 5, true)),
      Timer1(new Timer(runtime_, this, "Timer1", 5, true)),
      Image5(new Image(client_, "Image5", {1320, 2880, 3240, 4110}, true, picture("portrait.jpg"),
                       false)),
      Image4(new Image(client_, "Image4", {2160, 4440, 5655, 1935}, true, picture("banner.gif"),
                       false)),
      Label7(new Label(client_, "Label7", {240, 240, 1335, 255}, true, "Time Display",
                       comic(8.25, false, kYellow, Label::Center))),
      Line1(new Line(client_, "Line1", {240, 480}, {1680, 480}, kPaleYellow, 1, true)),
      Image3(
          new Image(client_, "Image3", {6720, 5400, 525, 555}, true, picture("target.gif"), false)),
      Image2(new Image(client_, "Image2", {4440, 4200, 1095, 495}, true, QPixmap(), false)),
      Label6(new Label(client_, "Label6", {5160, 3240, 4815, 735}, true,
                       " Three Levels of difficuty available",
                       comic(14.25, false, kGreen, Label::Center))),
      Shape1(new Shape(client_, "Shape1", {120, 120, 1695, 975}, true, kGreen)),
      Label5(new Label(client_, "Label5", {840, 680, 255, 375}, true, ":",
                       {vb::kHighlightText, Label::Center, {"MS Sans Serif", 13.5, true}})),
      Label4(new Label(client_, "Label4", {480, 360, 375, 375}, true, " ",
                       {vb::kHighlightText, Label::LeftJustify, {}})),
      Label3(new Label(client_, "Label3", {960, 360, 375, 375}, true, " ",
                       {vb::kHighlightText, Label::LeftJustify, {}})),
      Label2(new Label(client_, "Label2", {3480, 1920, 5655, 735}, true,
                       "Catch the Moxel by left clicing the mouse    ",
                       comic(14.25, false, kOrange, Label::Center))),
      Label1(new Label(client_, "Label1", {1200, 840, 5175, 855}, true, "Catch the Moxel",
                       comic(21.75, true, kYellow, Label::LeftJustify))),
      Image1{
          new Image(client_, "Image1(0)", {240, 2160, 525, 555}, true, picture("target.gif"), true),
          new Image(client_, "Image1(1)", {9840, 1560, 285, 195}, true, picture("target.gif"),
                    true)},
      mnuGame(new MenuTitle(menuBar(), "mnuGame", "&Start new game")),
      mnuNew(new MenuItem(mnuGame, "mnuNew", "&New Game")),
      mnuExit(new MenuItem(mnuGame, "mnuExit", "&Exit")),
      mnuOption(new MenuTitle(menuBar(), "mnuOption", "&Difficulty Options")),
      mnuLevel1(new MenuItem(mnuOption, "mnuLevel1", "&Level 1")),
      mnulevel2(new MenuItem(mnuOption, "mnulevel2", "Level 2")),
      mnuLevel3(new MenuItem(mnuOption, "mnuLevel3", "Level 3")) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("There's something about Moxel"));
    setCentralWidget(client_);
    client_->setAccessibleName(QStringLiteral("Playing field"));
    client_->setFont(makeFont(kDefaultFont));
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    stackControls({Command3, Command2, Text2, Text1, Command1},
                  {Image5, Image4, Label7, Line1, Image3, Image2, Label6, Shape1, Label5, Label4,
                   Label3, Label2, Label1, Image1[1], Image1[0]});
    setTabOrder(Command1, Text1);
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Command2);
    setTabOrder(Command2, Command3);
    Command1->setFocus();
    for (QWidget* watched : std::initializer_list<QWidget*>{this, client_, Command1, Command2,
                                                            Command3, Text1, Text2}) {
        watched->installEventFilter(this);
    }

    describeForScreenReaders();

    connectHandlers();
}

Form10::~Form10() {
    delete scoreWindow_;
}

void Form10::describeForScreenReaders() {
    // Captions name themselves; pictures, blanks and the clock get a short description.
    const std::pair<QWidget*, const char*> descriptions[] = {
        {Text2, "Clock units"},    {Text1, "Clock ticks"},      {Image5, "Portrait of Moxel"},
        {Image4, "Moxel banner"},  {Line1, "Clock underline"},  {Image3, "Moxel"},
        {Image2, "Blank picture"}, {Shape1, "Clock frame"},     {Label4, "Blank"},
        {Label3, "Blank"},         {Image1[0], "Moxel target"}, {Image1[1], "Moxel target"},
    };
    for (auto [control, description] : descriptions) {
        control->setAccessibleName(QString::fromLatin1(description));
    }
}

void Form10::connectHandlers() {
    connect(client_, &ClientArea::MouseMove, this, &Form10::Form_MouseMove);
    connect(Command1, &QPushButton::clicked, this, &Form10::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form10::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form10::Command3_Click);
    connect(Command1, &CommandButton::MouseMove, this, &Form10::Command1_MouseMove);
    connect(Command2, &CommandButton::MouseMove, this, &Form10::Command2_MouseMove);
    connect(Command3, &CommandButton::MouseMove, this, &Form10::Command3_MouseMove);
    connect(mnuNew, &MenuItem::Click, this, &Form10::mnuNew_Click);
    connect(mnuExit, &MenuItem::Click, this, &Form10::mnuExit_Click);
    connect(mnuLevel1, &MenuItem::Click, this, &Form10::mnuLevel1_Click);
    connect(mnulevel2, &MenuItem::Click, this, &Form10::mnulevel2_Click);
    connect(mnuLevel3, &MenuItem::Click, this, &Form10::mnuLevel3_Click);
    connect(Timer1, &Timer::tick, this, &Form10::Timer1_Timer);
    connect(Timer3, &Timer::tick, this, &Form10::Timer3_Timer);
    for (int index : {0, 1}) {
        connect(Image1[index], &Image::Click, this, [this, index] { Image1_Click(index); });
    }
    connect(&runtime_, &Runtime::errorDismissed, this, &Form10::leaveNoDeadEnd);
}

quint32 Form10::BackColor() const {
    return vb::kWindowText;
}

void Form10::setMousePointer(int pointer) {
    mousePointer_ = pointer;
    switch (pointer) {
        case kArrow:
            client_->setCursor(Qt::ArrowCursor);
            break;
        case kCross:
            client_->setCursor(Qt::CrossCursor);
            break;
        default:
            client_->unsetCursor();
            break;
    }
}

// --- Handlers

void Form10::Form_Load() {
    runtime_.run(this, [&] {
        GameState& s = game_.state();
        s.isStart = 0;
        unloadScoreWindow();
        setMenusAvailable(false);
        // Shown as designed, where show() would let a platform choose (the
        // web's shows every window full-screen).
        setVisible(true);
        s.speed = kFirstLevelSpeed;
        game_.applySpeedToTimers();
        Image1[0]->setVisibleFlag(false);
        Image1[1]->setVisibleFlag(false);
        game_.resetDirections();
        game_.resetClock();
        game_.halt();
        for (QWidget* control : std::initializer_list<QWidget*>{
                 Text1, Text2, Shape1, Label3, Label4, Label5, Label7, Line1, Image4}) {
            control->setVisible(false);
        }
    });
}

void Form10::Command1_Click() {
    runtime_.run(this, [&] {
        game_.state().isStart = 1;
        Command2->setVisibleFlag(true);
        Image4->setVisibleFlag(true);
        Image1[0]->setVisibleFlag(true);
        Image1[1]->setVisibleFlag(true);
        Command1->setVisibleFlag(false);
        Label1->setVisibleFlag(false);
        Timer3->setEnabled(true);
        for (QWidget* control : std::initializer_list<QWidget*>{Text1, Text2, Label5, Label7}) {
            control->setVisible(true);
        }
        Shape1->setVisibleFlag(true);
        Image3->setVisibleFlag(false);
        Image5->setVisibleFlag(false);
        Line1->setVisibleFlag(true);
        Timer1->setEnabled(true);
        setMousePointer(kCross);
    });
}

void Form10::Command2_Click() {
    runtime_.run(this, [&] {
        game_.halt();
        setMenusAvailable(true);
        Command2->setVisibleFlag(false);
        Command3->setVisibleFlag(true);
    });
}

void Form10::Command3_Click() {
    runtime_.run(this, [&] {
        Command3->setVisibleFlag(false);
        Command2->setVisibleFlag(true);
        setMenusAvailable(false);
        game_.newGameStart();
    });
}

void Form10::mnuNew_Click() {
    runtime_.run(this, [&] {
        Command2->setVisibleFlag(true);
        Command3->setVisibleFlag(false);
        setMenusAvailable(false);
        game_.newGameStart();
    });
}

void Form10::mnuLevel1_Click() {
    runtime_.run(this, [&] {
        setMenusAvailable(false);
        Command2->setVisibleFlag(true);
        Command3->setVisibleFlag(false);
        startAtLevel(kLevels[0].speed);
    });
}

void Form10::mnulevel2_Click() {
    runtime_.run(this, [&] {
        Command2->setVisibleFlag(true);
        Command3->setVisibleFlag(false);
        setMenusAvailable(false);
        startAtLevel(kLevels[1].speed);
    });
}

void Form10::mnuLevel3_Click() {
    runtime_.run(this, [&] {
        Command2->setVisibleFlag(true);
        Command3->setVisibleFlag(false);
        setMenusAvailable(false);
        startAtLevel(kLevels[2].speed);
    });
}

void Form10::mnuExit_Click() {
    runtime_.run(this, [&] { runtime_.end(); });
}

void Form10::Command1_MouseMove() {
    runtime_.run(this, [&] { Command1->setBackColor(kLightYellow); });
}

void Form10::Command2_MouseMove() {
    runtime_.run(this, [&] {
        setMousePointer(kArrow);
        Command2->setBackColor(kCyan);
    });
}

void Form10::Command3_MouseMove() {
    runtime_.run(this, [&] {
        setMousePointer(kArrow);
        Command3->setBackColor(kLightYellow);
    });
}

void Form10::Form_MouseMove() {
    runtime_.run(this, [&] {
        if (game_.state().isStart == 1)
            setMousePointer(kCross);
        for (CommandButton* button : {Command1, Command2, Command3}) {
            button->setBackColor(kLightOrange);
        }
    });
}

void Form10::Timer1_Timer() {
    runtime_.run(this, [&] { game_.motionStep(); });
}

void Form10::Timer3_Timer() {
    runtime_.run(this, [&] { game_.clockTick(); });
}

void Form10::Image1_Click(int Index) {
    runtime_.run(this, [&] {
        if (Index != 0 && Index != 1)
            raiseError(ErrorKind::NoSuchControl);
        Image1[Index]->setBorderStyle(1);
        Form11& score = loadScoreWindow();
        score.hide();
        game_.halt();
        Command2->setVisibleFlag(false);
        score.Label5->setCaption(QString::fromStdString(unitText(game_.state())));
        score.Label6->setCaption(QString::fromStdString(tickText(game_.state())));
        const Score result = computeScore(game_.state());
        score.Label11->setCaption(QString::fromStdString(result.text));
        score.Label8->setCaption(
            QString::fromLatin1(result.rank.data(), qsizetype(result.rank.size())));
        score.setVisible(true);
        score.raise();
        score.activateWindow();
    });
}

// --- Helpers of the handlers

void Form10::setMenusAvailable(bool available) {
    mnuGame->setAvailable(available);
    mnuOption->setAvailable(available);
}

void Form10::startAtLevel(Integer speed) {
    game_.state().speed = speed;
    game_.newGameStart();
}

Form11& Form10::loadScoreWindow() {
    if (!scoreWindow_)
        scoreWindow_ = new Form11(*this);
    return *scoreWindow_;
}

Form11* Form10::scoreWindow() const {
    return scoreWindow_;
}

void Form10::unloadScoreWindow() {
    delete scoreWindow_;
}

void Form10::scoreWindowClosed() {
    scoreWindow_ = nullptr;
}

// An error in a running game can leave no button and no menu. Once the player
// has read it, the window offers what a stopped game offers; all else stays as
// the error left it.
void Form10::leaveNoDeadEnd() {
    runtime_.run(this, [&] {
        for (CommandButton* button : {Command1, Command2, Command3}) {
            if (button->Visible())
                return;
        }
        if (mnuGame->Enabled() || mnuOption->Enabled())
            return;
        setMenusAvailable(true);
        Command3->setVisibleFlag(true);
    });
}

void Form10::unload() {
    hide();
    for (Timer* timer : {Timer1, Timer2, Timer3})
        timer->setEnabled(false);
}

// Alt plus a letter presses the visible button whose caption marks that letter,
// else goes to the menu title that does: an available one opens, an unavailable
// one takes its key and does nothing. Qt's own mnemonics would find the S of the
// start buttons and of the game menu ambiguous and press neither, and would
// highlight an unavailable title and take the focus to the menu bar.
QWidget* Form10::accessKeyTarget(const QKeyEvent& event) const {
    if (event.modifiers() != Qt::AltModifier)
        return nullptr;
    const QKeySequence key(event.key() | Qt::AltModifier);
    for (CommandButton* button : {Command1, Command2, Command3}) {
        if (button->isVisible() && QKeySequence::mnemonic(button->text()) == key)
            return button;
    }
    for (MenuTitle* title : {mnuGame, mnuOption}) {
        if (QKeySequence::mnemonic(title->title()) == key)
            return title;
    }
    return nullptr;
}

// Watches the window and each control that can take the focus, so an access key
// acts wherever the focus is and never types its letter into a clock box.
bool Form10::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const auto& key = *static_cast<QKeyEvent*>(event);
    QWidget* target = accessKeyTarget(key);
    // In a clock box an Alt key is an access key or nothing, never text.
    const bool inClockBox = watched == Text1 || watched == Text2;
    if (!target && !(inClockBox && key.modifiers().testFlag(Qt::AltModifier)))
        return QMainWindow::eventFilter(watched, event);
    // Claiming the override keeps Qt's shortcuts out; the press then acts.
    event->accept();
    if (target && event->type() == QEvent::KeyPress)
        pressAccessKey(target);
    return true;
}

void Form10::pressAccessKey(QWidget* target) {
    if (auto* button = qobject_cast<CommandButton*>(target)) {
        button->clickByAccessKey();
    } else if (auto* title = qobject_cast<MenuTitle*>(target); title && title->Enabled()) {
        menuBar()->setActiveAction(title->menuAction());
    }
}

void Form10::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the game, the score window with it.
    event->accept();
    unloadScoreWindow();
    runtime_.end();
}

// --- GameView

Timer* Form10::timer(TimerId id) const {
    switch (id) {
        case TimerId::Timer1:
            return Timer1;
        case TimerId::Timer2:
            return Timer2;
        case TimerId::Timer3:
            break;
    }
    return Timer3;
}

void Form10::setTimerInterval(TimerId id, int milliseconds) {
    timer(id)->setInterval(milliseconds);
}

void Form10::setTimerEnabled(TimerId id, bool enabled) {
    timer(id)->setEnabled(enabled);
}

TargetRect Form10::target(int index) const {
    const Image& image = *Image1[std::size_t(index)];
    return {image.Left(), image.Top(), image.Width(), image.Height()};
}

void Form10::setTargetLeft(int index, float left) {
    Image1[std::size_t(index)]->setLeft(left);
}

void Form10::setTargetTop(int index, float top) {
    Image1[std::size_t(index)]->setTop(top);
}

void Form10::setClockText(ClockBox box, std::string_view text) {
    TextBox* textBox = box == ClockBox::Text1 ? Text1 : Text2;
    textBox->setTextValue(QString::fromLatin1(text.data(), qsizetype(text.size())));
}

}  // namespace moxel::ui
