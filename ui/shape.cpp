#include "shape.h"

#include <QPainter>

#include "vb_color.h"

namespace moxel::ui {

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

}  // namespace moxel::ui
