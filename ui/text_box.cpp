#include "text_box.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

namespace moxel::ui {

namespace {

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

}  // namespace moxel::ui
