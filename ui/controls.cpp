#include "controls.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextLayout>
#include <QTextOption>
#include <cmath>

#include "vb_color.h"

namespace moxel::ui {

namespace {

int nearestPixel(float twips) {
    return int(std::lround(twips / kTwipsPerPixel));
}

void setColor(QWidget& widget, QPalette::ColorRole role, quint32 value) {
    QPalette palette = widget.palette();
    palette.setColor(role, vbColor(value));
    widget.setPalette(palette);
}

// The application's style, except that a text box's panel (frame and face) is
// drawn once per look and then copied. The clock box repaints at every frame of
// a game, and the style's antialiased rounded frame cost more than all else that
// frame drew. Each text box has its own, so one look is enough to keep.
class PanelCacheStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
        if (element != PE_PanelLineEdit || !frame) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const Look look{frame->rect.size(), painter->device()->devicePixelRatio(), frame->state,
                        frame->palette.cacheKey(), frame->lineWidth};
        if (panel_.isNull() || look != look_) {
            look_ = look;
            panel_ = QPixmap((QSizeF(look.size) * look.ratio).toSize());
            panel_.setDevicePixelRatio(look.ratio);
            panel_.fill(Qt::transparent);
            QStyleOptionFrame atOrigin(*frame);
            atOrigin.rect.moveTo(0, 0);
            QPainter onPanel(&panel_);
            QProxyStyle::drawPrimitive(element, &atOrigin, &onPanel, widget);
        }
        painter->drawPixmap(frame->rect.topLeft(), panel_);
    }

private:
    struct Look {
        QSize size;
        qreal ratio;
        State state;
        qint64 palette;
        int lineWidth;
        bool operator==(const Look&) const = default;
    };
    mutable Look look_{};
    mutable QPixmap panel_;
};

}  // namespace

QRect toPixels(const TwipsRect& rect) {
    return {nearestPixel(rect.left), nearestPixel(rect.top), nearestPixel(rect.width),
            nearestPixel(rect.height)};
}

namespace {

// Maps the design's font names to faces this desktop has. It must come before
// the first font is made: a control that resolved its font without it keeps
// the fallback face. Qt's table of substitutes says whether it has been done.
void installFontSubstitutes() {
    if (!QFont::substitutes(QStringLiteral("MS Sans Serif")).isEmpty())
        return;
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"),
                               {QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

}  // namespace

QFont makeFont(const FontSpec& design) {
    installFontSubstitutes();
    QFont font(QString::fromLatin1(design.family));
    font.setPointSizeF(design.points);
    font.setBold(design.bold);
    return font;
}

FramePacer& framePacerOf(QWidget* clientArea) {
    return qobject_cast<ClientArea*>(clientArea)->framePacer();
}

// --- ClientArea

ClientArea::ClientArea(QWidget* parent, FramePacer& pacer, QSize pixels, quint32 backColor)
    : QWidget(parent), pacer_(pacer) {
    setObjectName(QStringLiteral("ClientArea"));
    setFixedSize(pixels);
    setMouseTracking(true);
    setAutoFillBackground(true);
    setColor(*this, QPalette::Window, backColor);
}

void ClientArea::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit MouseMove();
}

// --- CommandButton

CommandButton::CommandButton(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
                             const QString& caption, quint32 backColor, const QPixmap& picture)
    : Control(parent, name, rect, visible), backColor_(backColor), picture_(picture) {
    setText(caption);
    setAutoDefault(false);
}

void CommandButton::setBackColor(quint32 color) {
    if (color == backColor_)
        return;
    backColor_ = color;
    update();
}

void CommandButton::mouseMoveEvent(QMouseEvent* event) {
    QPushButton::mouseMoveEvent(event);
    event->accept();
    emit MouseMove();
}

CommandButton::Face CommandButton::currentFace() const {
    return {size(),   devicePixelRatioF(), text(),     font(), palette().cacheKey(), backColor_,
            isDown(), hasFocus(),          isEnabled()};
}

void CommandButton::paintEvent(QPaintEvent*) {
    // A target passing under the button repaints it at every frame, and its
    // caption was wrapped and laid out anew each time. The face is opaque, so
    // a copy drawn once has the very same pixels.
    if (const Face face = currentFace(); drawnFace_.isNull() || !(face == face_)) {
        face_ = face;
        drawnFace_ = QPixmap((QSizeF(face.size) * face.ratio).toSize());
        drawnFace_.setDevicePixelRatio(face.ratio);
        QPainter onFace(&drawnFace_);
        onFace.setFont(face.font);
        drawFace(onFace);
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, drawnFace_);
}

void CommandButton::drawFace(QPainter& painter) {
    const QRect box = rect();
    painter.fillRect(box, vbColor(backColor_));

    // A raised bevel, sunken while pressed, as graphical buttons draw it.
    const QColor light = vbColor(0x80000014), shadow = vbColor(0x80000010);
    const QColor dark = vbColor(0x80000015);
    const bool down = isDown();
    painter.setPen(down ? dark : light);
    painter.drawLine(box.topLeft(), box.topRight() - QPoint(1, 0));
    painter.drawLine(box.topLeft(), box.bottomLeft() - QPoint(0, 1));
    painter.setPen(down ? light : dark);
    painter.drawLine(box.bottomLeft(), box.bottomRight());
    painter.drawLine(box.topRight(), box.bottomRight());
    if (!down) {
        painter.setPen(shadow);
        painter.drawLine(box.bottomLeft() + QPoint(1, -1), box.bottomRight() - QPoint(1, 1));
        painter.drawLine(box.topRight() + QPoint(-1, 1), box.bottomRight() - QPoint(1, 1));
    }

    QRect content = box.adjusted(3, 3, -3, -3).translated(down ? QPoint(1, 1) : QPoint());
    const int flags = Qt::AlignHCenter | Qt::TextShowMnemonic | Qt::TextWordWrap;
    if (!picture_.isNull()) {
        // The picture centred in the upper part, the caption beneath it.
        const QSize pictureSize = picture_.deviceIndependentSize().toSize();
        const int textHeight = fontMetrics().boundingRect(content, flags, text()).height();
        const int top = content.top() +
                        std::max(0, (content.height() - pictureSize.height() - textHeight - 2) / 2);
        painter.drawPixmap(
            QRect(QPoint(content.center().x() - pictureSize.width() / 2 + 1, top), pictureSize),
            picture_);
        content.setTop(top + pictureSize.height() + 2);
        style()->drawItemText(&painter, content, flags | Qt::AlignTop, palette(), isEnabled(),
                              text(), QPalette::ButtonText);
    } else {
        style()->drawItemText(&painter, content, flags | Qt::AlignVCenter, palette(), isEnabled(),
                              text(), QPalette::ButtonText);
    }

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = box.adjusted(4, 4, -4, -4);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

// --- TextBox

TextBox::TextBox(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
                 const QString& text, const QFont& font)
    : Control(parent, name, rect, visible), text_(text) {
    setFont(font);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    setPalette(palette);
    // Opaque in its container's colour, as a windowed control is: repainting the
    // box then repaints nothing beneath it. It paints that colour itself, so a
    // box drawn from a copy is not filled first for nothing.
    setBackgroundRole(QPalette::Window);
    setAttribute(Qt::WA_OpaquePaintEvent);
    auto* style = new PanelCacheStyle(QApplication::style()->name());
    style->setParent(this);
    setStyle(style);
    setText(text_);
    connect(this, &QLineEdit::textEdited, this, [this](const QString& edited) { text_ = edited; });
}

void TextBox::setTextValue(const QString& text) {
    text_ = text;
    pacer().show(*this);
}

void TextBox::present() {
    Control::present();
    if (text() != text_)
        setText(text_);
    keepDrawnBox();
}

TextBox::Look TextBox::currentLook() const {
    return {size(), devicePixelRatioF(), palette().cacheKey(), font(), isEnabled()};
}

void TextBox::keepDrawnBox() {
    constexpr qsizetype kMaxDrawnBoxes = 256;
    if (!isVisible())
        return;
    if (const Look look = currentLook(); !(look == drawnLook_)) {
        drawnLook_ = look;
        drawnBoxes_.clear();
    }
    if (drawnBoxes_.contains(text()))
        return;
    if (drawnBoxes_.size() >= kMaxDrawnBoxes)
        drawnBoxes_.clear();
    QPixmap drawn((QSizeF(drawnLook_.size) * drawnLook_.ratio).toSize());
    drawn.setDevicePixelRatio(drawnLook_.ratio);
    drawingBox_ = true;
    render(&drawn, {}, {}, DrawWindowBackground);
    drawingBox_ = false;
    drawnBoxes_.insert(text(), drawn);
}

void TextBox::paintEvent(QPaintEvent* event) {
    // The clock box changes at every frame; its text, laid out and drawn anew
    // each time, cost more than the rest of the frame. The box is opaque, so a
    // copy of it drawn earlier has the very same pixels. Being edited, it shows
    // a cursor or a selection and is drawn as it is.
    const QPixmap drawn =
        drawingBox_ || hasFocus() || hasSelectedText() || !(currentLook() == drawnLook_)
            ? QPixmap()
            : drawnBoxes_.value(text());
    if (drawn.isNull()) {
        QPainter(this).fillRect(rect(), palette().brush(backgroundRole()));
        QLineEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, drawn);
}

// --- Label

Label::Label(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
             const QString& caption, const Look& look)
    : Control(parent, name, rect, visible),
      foreColor_(look.foreColor),
      backColor_(look.backColor),
      backStyle_(look.backStyle) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    static constexpr Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    setAlignment(horizontal[look.alignment] | Qt::AlignTop);
    if (look.font.family)
        setFont(makeFont(look.font));
    setText(caption);
    applyColors();
}

void Label::setForeColor(quint32 color) {
    foreColor_ = color;
    applyColors();
}

void Label::setBackColor(quint32 color) {
    backColor_ = color;
    applyColors();
}

void Label::setBackStyle(int style) {
    backStyle_ = style;
    applyColors();
}

void Label::applyColors() {
    setColor(*this, QPalette::WindowText, foreColor_);
    setColor(*this, QPalette::Window, backColor_);
    setAutoFillBackground(backStyle_ == Opaque);
}

Label::TextLook Label::currentLook() const {
    return {text(), font(), contentsRect().width(), alignment()};
}

void Label::layOutText(const TextLook& look) {
    laidOutLook_ = look;
    QTextOption option(look.alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WordWrap);
    option.setTextDirection(Qt::LeftToRight);
    QTextLayout layout(look.text, look.font);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(look.width);
        line.setPosition({0, height});
        height += line.height();
    }
    layout.endLayout();
    laidOutGlyphs_.clear();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        Glyphs glyphs{run, {}};
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            // A pixel more each way for the antialiased edge.
            glyphs.inkRects.push_back(run.rawFont()
                                          .boundingRect(indexes[i])
                                          .translated(positions[i])
                                          .adjusted(-1, -1, 1, 1));
        }
        laidOutGlyphs_.push_back(glyphs);
    }
}

QGlyphRun Label::glyphsWithin(const Glyphs& glyphs, const QRectF& area) {
    QList<quint32> indexes;
    QList<QPointF> positions;
    const QList<quint32> allIndexes = glyphs.run.glyphIndexes();
    const QList<QPointF> allPositions = glyphs.run.positions();
    for (qsizetype i = 0; i < allIndexes.size(); ++i) {
        if (glyphs.inkRects[i].intersects(area)) {
            indexes.push_back(allIndexes[i]);
            positions.push_back(allPositions[i]);
        }
    }
    QGlyphRun within = glyphs.run;
    within.setGlyphIndexes(indexes);
    within.setPositions(positions);
    return within;
}

void Label::paintEvent(QPaintEvent* event) {
    // A target crossing the label repaints a small part of it at every frame:
    // the text is laid out once, and only the glyphs in that part are drawn.
    if (const TextLook look = currentLook(); !(look == laidOutLook_))
        layOutText(look);
    const QPointF origin = contentsRect().topLeft();
    const QRectF repaint = QRectF(event->rect()).translated(-origin);
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, foregroundRole()));
    for (const Glyphs& glyphs : laidOutGlyphs_)
        painter.drawGlyphRun(origin, glyphsWithin(glyphs, repaint));
}

// --- Image

Image::Image(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
             const QPixmap& picture, bool stretch)
    : Control(parent, name, rect, visible), picture_(picture), stretch_(stretch) {}

void Image::setBorderStyle(int style) {
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    update();
}

const QPixmap& Image::scaledPicture() {
    // Stretching is done once per size, not on every frame.
    const qreal ratio = devicePixelRatioF();
    const QSize target = (QSizeF(size()) * ratio).toSize();
    if (scaled_.size() != target || scaled_.devicePixelRatio() != ratio) {
        scaled_ = picture_.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled_.setDevicePixelRatio(ratio);
    }
    return scaled_;
}

void Image::paintEvent(QPaintEvent*) {
    // An empty frame draws nothing: no painter is set up for it.
    if (picture_.isNull() && borderStyle_ != 1)
        return;
    QPainter painter(this);
    // At a device pixel ratio above 1 a natural-size picture is scaled smoothly.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!picture_.isNull()) {
        if (stretch_) {
            painter.drawPixmap(0, 0, scaledPicture());
        } else {
            painter.drawPixmap(0, 0, picture_);
        }
    }
    if (borderStyle_ == 1) {
        const QRect box = rect();
        painter.setPen(vbColor(0x80000010));
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(vbColor(0x80000014));
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
    }
}

void Image::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
}

void Image::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    // The press made this control the mouse's receiver; the release clicks it
    // wherever the target has moved to meanwhile.
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    emit Click();
}

void Image::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is not a click of its own.
    event->accept();
    pressed_ = false;
}

// --- Shape

Shape::Shape(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
             quint32 borderColor)
    : Control(parent, name, rect, visible), borderColor_(borderColor) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(vbColor(borderColor_));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// --- Line

Line::Line(QWidget* parent, const char* name, QPointF from, QPointF to, quint32 color,
           int widthPixels, bool visible)
    : QWidget(parent), from_(from), to_(to), color_(color), width_(widthPixels) {
    setObjectName(QString::fromLatin1(name));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    const QPointF a = from / kTwipsPerPixel, b = to / kTwipsPerPixel;
    const int pad = (widthPixels + 1) / 2;
    setGeometry(QRectF(a, b).normalized().toAlignedRect().adjusted(-pad, -pad, pad, pad));
    setVisible(visible);
}

void Line::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(vbColor(color_), width_, Qt::SolidLine, Qt::FlatCap));
    const QPointF origin = pos();
    painter.drawLine(from_ / kTwipsPerPixel - origin, to_ / kTwipsPerPixel - origin);
}

void stackControls(std::initializer_list<QWidget*> windowed,
                   std::initializer_list<QWidget*> graphical) {
    // Raising in reverse creation order leaves the first-created control on top.
    for (auto it = std::rbegin(graphical); it != std::rend(graphical); ++it)
        (*it)->raise();
    for (auto it = std::rbegin(windowed); it != std::rend(windowed); ++it)
        (*it)->raise();
}

}  // namespace moxel::ui
