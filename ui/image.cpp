#include "image.h"

#include <QMouseEvent>
#include <QPainter>

#include "vb_color.h"

namespace moxel::ui {

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

}  // namespace moxel::ui
