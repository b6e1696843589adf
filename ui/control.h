#pragma once

// What the controls share: twips and their pixels, the design's fonts, and
// the position, size and visibility of a drawn control.

#include <QFont>
#include <QPalette>
#include <QWidget>
#include <initializer_list>

#include "frame_pacer.h"

namespace moxel::ui {

inline constexpr float kTwipsPerPixel = 15;

struct TwipsRect {
    float left;
    float top;
    float width;
    float height;
};

// The rectangle in logical pixels, each edge at the nearest pixel.
QRect toPixels(const TwipsRect& rect);

struct FontSpec {
    const char* family;
    qreal points;
    bool bold;
};

// The design's font, by the design's name: each name maps to a face this
// desktop has.
QFont makeFont(const FontSpec& design);

// Maps the design's font names to the faces this desktop has, once; makeFont
// does it first. A platform whose faces come under other names maps those
// after it.
void installFontSubstitutes();

// The frame pacer of the window whose client area is `clientArea`.
FramePacer& framePacerOf(QWidget* clientArea);

// Position, size and visibility of a drawn control. The position is kept exactly
// as written; the widget sits at the nearest pixel.
template <class Widget>
class Control : public Widget, protected Presentable {
public:
    Control(QWidget* parent, const char* name, const TwipsRect& rect, bool visible)
        : Widget(parent), Presentable(framePacerOf(parent)), rect_(rect) {
        this->setObjectName(QString::fromLatin1(name));
        this->setMouseTracking(true);
        // A control takes the mouse over its whole rectangle; nothing behind it sees it.
        this->setAttribute(Qt::WA_NoMousePropagation);
        this->setGeometry(toPixels(rect_));
        this->setVisible(visible);
    }

    float Left() const { return rect_.left; }
    float Top() const { return rect_.top; }
    float Width() const { return rect_.width; }
    float Height() const { return rect_.height; }
    void setLeft(float twips) { place(rect_.left, twips); }
    void setTop(float twips) { place(rect_.top, twips); }
    void setWidth(float twips) { place(rect_.width, twips); }
    void setHeight(float twips) { place(rect_.height, twips); }

    // The control's own flag, whether or not its window is showing.
    bool Visible() const { return !this->isHidden(); }
    void setVisibleFlag(bool visible) { this->setVisible(visible); }

protected:
    void present() override { this->setGeometry(toPixels(rect_)); }

private:
    void place(float& field, float twips) {
        field = twips;
        this->pacer().show(*this);
    }

    TwipsRect rect_;
};

#define MOXEL_CONTROL_PROPERTIES                         \
    Q_PROPERTY(float Left READ Left WRITE setLeft)       \
    Q_PROPERTY(float Top READ Top WRITE setTop)          \
    Q_PROPERTY(float Width READ Width WRITE setWidth)    \
    Q_PROPERTY(float Height READ Height WRITE setHeight) \
    Q_PROPERTY(bool Visible READ Visible WRITE setVisibleFlag)

// Sets one colour of the widget's palette to a design colour.
void setColor(QWidget& widget, QPalette::ColorRole role, quint32 value);

// Puts a window's controls in their stacking order: buttons and text boxes above
// all pictures, labels, shapes and lines; within each group, an earlier-created
// control in front of a later one. Both lists are in creation order.
void stackControls(std::initializer_list<QWidget*> windowed,
                   std::initializer_list<QWidget*> graphical);

}  // namespace moxel::ui
