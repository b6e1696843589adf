#pragma once

// The window controls the game's layouts are made of. Each is a light Qt widget
// named after its design-time name, exposing the design's properties in the
// design's units: positions and sizes in twips, colours as &H00BBGGRR values.

#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

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

// A push button in the graphical style: its face is painted in BackColor, with an
// optional picture above the caption.
class CommandButton : public Control<QPushButton> {
    Q_OBJECT
    MOXEL_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)

public:
    CommandButton(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
                  const QString& caption, quint32 backColor, const QPixmap& picture = {});

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 color);

signals:
    void MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // All a drawn face depends on.
    struct Face {
        QSize size;
        qreal ratio = 0;
        QString text;
        QFont font;
        qint64 palette = 0;
        quint32 backColor = 0;
        bool down = false;
        bool focus = false;
        bool enabled = false;
        bool operator==(const Face&) const = default;
    };
    Face currentFace() const;
    void drawFace(QPainter& painter);

    quint32 backColor_;
    QPixmap picture_;
    Face face_;
    QPixmap drawnFace_;
};

// A single-line text box.
class TextBox : public Control<QLineEdit> {
    Q_OBJECT
    MOXEL_CONTROL_PROPERTIES
    Q_PROPERTY(QString Text READ Text WRITE setTextValue)

public:
    TextBox(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
            const QString& text, const QFont& font);

    QString Text() const { return text_; }
    void setTextValue(const QString& text);

protected:
    void present() override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What a drawn box looks like besides its text.
    struct Look {
        QSize size;
        qreal ratio = 0;
        qint64 palette = 0;
        QFont font;
        bool enabled = false;
        bool operator==(const Look&) const = default;
    };
    Look currentLook() const;
    // Draws the box with its current text, off screen, unless that is kept already.
    void keepDrawnBox();

    QString text_;
    // The clock box cycles through a hundred texts, each drawn once per look.
    Look drawnLook_;
    QHash<QString, QPixmap> drawnBoxes_;
    bool drawingBox_ = false;
};

// A label: text in ForeColor, on a transparent background (BackStyle 0) or
// filled with BackColor (BackStyle 1); wraps at blanks and clips.
class Label : public Control<QLabel> {
    Q_OBJECT
    MOXEL_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int BackStyle READ BackStyle WRITE setBackStyle)

public:
    enum Alignment { LeftJustify = 0, RightJustify = 1, Center = 2 };
    enum BackStyleValue { Transparent = 0, Opaque = 1 };

    struct Look {
        quint32 foreColor;
        Alignment alignment;
        FontSpec font;
        BackStyleValue backStyle = Transparent;
        quint32 backColor = 0x8000000F;
    };

    Label(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
          const QString& caption, const Look& look);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    quint32 ForeColor() const { return foreColor_; }
    void setForeColor(quint32 color);
    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 color);
    int BackStyle() const { return backStyle_; }
    void setBackStyle(int style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void applyColors();

    // What the text's layout depends on; it is laid out again only when that changes.
    struct TextLook {
        QString text;
        QFont font;
        int width = -1;
        Qt::Alignment alignment;
        bool operator==(const TextLook&) const = default;
    };
    TextLook currentLook() const;
    void layOutText(const TextLook& look);

    // The laid-out text as glyphs, each with the rectangle its ink may cover.
    struct Glyphs {
        QGlyphRun run;
        QList<QRectF> inkRects;
    };
    // The glyphs whose ink may fall within `area`.
    static QGlyphRun glyphsWithin(const Glyphs& glyphs, const QRectF& area);

    quint32 foreColor_;
    quint32 backColor_;
    int backStyle_;
    TextLook laidOutLook_;
    QList<Glyphs> laidOutGlyphs_;
};

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

// The bare surface of a window: its client area behind the controls, which
// share its frame pacer.
class ClientArea : public QWidget {
    Q_OBJECT

public:
    ClientArea(QWidget* parent, FramePacer& pacer, QSize pixels, quint32 backColor);

    FramePacer& framePacer() const { return pacer_; }

signals:
    // The pointer moved over the surface itself, not over a control.
    void MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    FramePacer& pacer_;
};

// Puts a window's controls in their stacking order: buttons and text boxes above
// all pictures, labels, shapes and lines; within each group, an earlier-created
// control in front of a later one. Both lists are in creation order.
void stackControls(std::initializer_list<QWidget*> windowed,
                   std::initializer_list<QWidget*> graphical);

}  // namespace moxel::ui
