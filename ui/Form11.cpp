#include "Form11.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QIcon>

#include "Form10.h"
#include "vb_color.h"

namespace moxel::ui {

namespace {

constexpr quint32 kDarkBlue = 0x00800000;
constexpr quint32 kLightYellow = 0x00C0FFFF;
constexpr quint32 kNoteColor = 0x0080FFFF;

// The score window's screen position and client size, in pixels.
constexpr QRect kClientArea{340, 350, 466, 185};

Label::Look caption(Label::Alignment alignment = Label::LeftJustify) {
    return {vb::kHighlightText, alignment, {"Comic Sans MS", 12, true}};
}

Label::Look value(quint32 color, Label::Alignment alignment) {
    return {color, alignment, {"Comic Sans MS", 12, false}, Label::Opaque, vb::kButtonFace};
}

// A plain top-level widget reads as a "filler" to assistive technology; the
// score window is announced as the dialog it is, by its title.
QAccessibleInterface* scoreWindowAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String(Form11::staticMetaObject.className()))
        return nullptr;
    return new QAccessibleWidget(static_cast<Form11*>(object), QAccessible::Dialog);
}

}  // namespace

Form11::Form11(Form10& main)
    : QWidget(nullptr),
      client_(new ClientArea(this, main.runtime().framePacer(), kClientArea.size(), kDarkBlue)),
      Command3(new CommandButton(client_, "Command3", {3840, 2160, 2295, 495}, true, "&Exit Game",
                                 vb::kButtonFace)),
      Command1(new CommandButton(client_, "Command1", {480, 2160, 2415, 495}, true,
                                 "&Close the score Bar", vb::kButtonFace)),
      Label11(new Label(client_, "Label11", {2400, 840, 615, 375}, true, " ",
                        value(vb::kHighlight, Label::RightJustify))),
      Label10(new Label(client_, "Label10", {4320, 120, 495, 375}, true, "millsec", caption())),
      Label9(new Label(client_, "Label9", {3120, 120, 495, 375}, true, "sec", caption())),
      Line2(new Line(client_, "Line2", {0, 1320}, {6720, 1320}, vb::kTitleBarText, 2, true)),
      Line1(new Line(client_, "Line1", {0, 600}, {6720, 600}, vb::kTitleBarText, 2, true)),
      Label8(new Label(client_, "Label8", {2400, 1560, 3735, 375}, true, " ",
                       value(vb::kWindowText, Label::Center))),
      Label7(new Label(client_, "Label7", {2520, 720, 855, 375}, true, " ",
                       {vb::kHighlightText, Label::RightJustify, {"Comic Sans MS", 12, false}})),
      Label6(new Label(client_, "Label6", {3720, 120, 495, 375}, true, " ",
                       value(vb::kHighlight, Label::RightJustify))),
      Label5(new Label(client_, "Label5", {2400, 120, 615, 375}, true, " ",
                       value(vb::kHighlight, Label::RightJustify))),
      Label4(new Label(client_, "Label4", {120, 1560, 2055, 375}, true, "Your Rank:", caption())),
      Label3(new Label(client_, "Label3", {3240, 840, 3135, 255}, true,
                       "<100 total points, bonus possible>",
                       {kNoteColor, Label::LeftJustify, {"Arial", 9.75, false}})),
      Label2(new Label(client_, "Label2", {120, 840, 2295, 375}, true,
                       "Your Total Score:", caption())),
      Label1(
          new Label(client_, "Label1", {120, 240, 2055, 375}, true, "Your Total Time:", caption())),
      main_(main) {
    // Qt keeps one of each factory, however often it is installed.
    QAccessible::installFactory(scoreWindowAccessible);
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("Score Bar"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/smiley.ico")));
    setAttribute(Qt::WA_DeleteOnClose);
    setGeometry(kClientArea);
    setFixedSize(kClientArea.size());
    client_->setAccessibleName(windowTitle());
    client_->setFont(makeFont({"MS Sans Serif", 8.25, false}));

    stackControls({Command3, Command1}, {Label11, Label10, Label9, Line2, Line1, Label8, Label7,
                                         Label6, Label5, Label4, Label3, Label2, Label1});
    setTabOrder(Command1, Command3);
    Line1->setAccessibleName(QStringLiteral("Divider"));
    Line2->setAccessibleName(QStringLiteral("Divider"));
    Label7->setAccessibleName(QStringLiteral("Blank"));
    Label5->setAccessibleDescription(QStringLiteral("Time in units"));
    Label6->setAccessibleDescription(QStringLiteral("Time in ticks"));
    Label11->setAccessibleDescription(QStringLiteral("Score"));
    Label8->setAccessibleDescription(QStringLiteral("Rank"));
    // Each value is read with its caption. With no "&" in a caption, a buddy
    // adds no access key.
    Label1->setBuddy(Label5);
    Label10->setBuddy(Label6);
    Label2->setBuddy(Label11);
    Label4->setBuddy(Label8);
    Command1->setFocus();

    connect(client_, &ClientArea::MouseMove, this, &Form11::Form_MouseMove);
    connect(Command1, &QPushButton::clicked, this, &Form11::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &Form11::Command3_Click);
    connect(Command1, &CommandButton::MouseMove, this, &Form11::Command1_MouseMove);
    connect(Command3, &CommandButton::MouseMove, this, &Form11::Command3_MouseMove);
}

quint32 Form11::BackColor() const {
    return kDarkBlue;
}

void Form11::Command1_Click() {
    Form10& main = main_;  // this window is gone after the unload
    main.runtime().run(&main, [&main, this] {
        hide();
        main.unloadScoreWindow();
        main.mnuGame->setAvailable(true);
        main.mnuOption->setAvailable(true);
        main.Command3->setVisibleFlag(true);
        main.Image1[0]->setBorderStyle(0);
        main.Image1[1]->setBorderStyle(0);
    });
}

void Form11::Command3_Click() {
    Form10& main = main_;
    main.runtime().run(&main, [&main] {
        main.unload();
        main.unloadScoreWindow();
        main.runtime().end();
    });
}

void Form11::Command1_MouseMove() {
    main_.runtime().run(&main_, [&] { Command1->setBackColor(kLightYellow); });
}

void Form11::Command3_MouseMove() {
    main_.runtime().run(&main_, [&] { Command3->setBackColor(kLightYellow); });
}

void Form11::Form_MouseMove() {
    main_.runtime().run(&main_, [&] {
        Command1->setBackColor(vb::kButtonFace);
        Command3->setBackColor(vb::kButtonFace);
    });
}

void Form11::closeEvent(QCloseEvent* event) {
    // Closed through the frame: no handler runs; the window unloads itself.
    event->accept();
    main_.scoreWindowClosed();
}

}  // namespace moxel::ui
