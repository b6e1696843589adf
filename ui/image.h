#pragma once

#include <QPixmap>

#include "control.h"

namespace moxel::ui {

// A picture at its natural size or stretched to the control, with an optional
// single-line border. A left click anywhere on its rectangle is its Click.
class Image : public Control<QWidget> {
    Q_OBJECT
    MOXEL_CONTROL_PROPERTIES
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(bool Stretch READ Stretch)

public:
    Image(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
          const QPixmap& picture, bool stretch);

    int BorderStyle() const { return borderStyle_; }
    void setBorderStyle(int style);
    bool Stretch() const { return stretch_; }

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const QPixmap& scaledPicture();

    QPixmap picture_;
    QPixmap scaled_;
    bool stretch_;
    int borderStyle_ = 0;
    bool pressed_ = false;
};

}  // namespace moxel::ui
