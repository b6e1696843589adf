#include "command_button.h"

#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>
#include <QStyle>
#include <QStyleOptionButton>

#include "vb_color.h"

namespace moxel::ui {

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

void CommandButton::clickByAccessKey() {
    setFocus(Qt::ShortcutFocusReason);
    click();
}

bool CommandButton::event(QEvent* event) {
    // An ambiguous key goes to Qt, which moves the focus between the buttons.
    if (event->type() == QEvent::Shortcut && !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
        clickByAccessKey();
        return true;
    }
    return QPushButton::event(event);
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

}  // namespace moxel::ui
