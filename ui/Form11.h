#pragma once

#include <QWidget>

#include "controls.h"

namespace moxel::ui {

class Form10;

// The score window: the time, score and rank of a catch. It exists only while
// loaded: a catch loads it, Close or its frame's close button unloads it.
class Form11 : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ windowTitle)
    Q_PROPERTY(quint32 BackColor READ BackColor)

public:
    explicit Form11(Form10& main);

    quint32 BackColor() const;

private:
    ClientArea* const client_;

public:
    // The controls, by their design-time names, in creation order.
    CommandButton* const Command3;
    CommandButton* const Command1;
    Label* const Label11;
    Label* const Label10;
    Label* const Label9;
    Line* const Line2;
    Line* const Line1;
    Label* const Label8;
    Label* const Label7;
    Label* const Label6;
    Label* const Label5;
    Label* const Label4;
    Label* const Label3;
    Label* const Label2;
    Label* const Label1;

public slots:
    void Command1_Click();
    void Command1_MouseMove();
    void Command3_Click();
    void Command3_MouseMove();
    void Form_MouseMove();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Form10& main_;
};

}  // namespace moxel::ui
