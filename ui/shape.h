#pragma once

#include <QPointF>

#include "control.h"

namespace moxel::ui {

// A rectangle outline; it takes no mouse.
class Shape : public Control<QWidget> {
    Q_OBJECT
    MOXEL_CONTROL_PROPERTIES
    Q_PROPERTY(quint32 BorderColor READ BorderColor)

public:
    Shape(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
          quint32 borderColor);

    quint32 BorderColor() const { return borderColor_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    quint32 borderColor_;
};

// A straight line between two points in twips; it takes no mouse.
class Line : public QWidget {
    Q_OBJECT
    Q_PROPERTY(float X1 READ X1)
    Q_PROPERTY(float Y1 READ Y1)
    Q_PROPERTY(float X2 READ X2)
    Q_PROPERTY(float Y2 READ Y2)
    Q_PROPERTY(quint32 BorderColor READ BorderColor)
    Q_PROPERTY(int BorderWidth READ BorderWidth)
    Q_PROPERTY(bool Visible READ Visible WRITE setVisibleFlag)

public:
    Line(QWidget* parent, const char* name, QPointF from, QPointF to, quint32 color,
         int widthPixels, bool visible);

    float X1() const { return float(from_.x()); }
    float Y1() const { return float(from_.y()); }
    float X2() const { return float(to_.x()); }
    float Y2() const { return float(to_.y()); }
    quint32 BorderColor() const { return color_; }
    int BorderWidth() const { return width_; }
    bool Visible() const { return !isHidden(); }
    void setVisibleFlag(bool visible) { setVisible(visible); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointF from_;
    QPointF to_;
    quint32 color_;
    int width_;
};

}  // namespace moxel::ui
