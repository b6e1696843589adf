#include "client_area.h"

#include <QMouseEvent>

#include "control.h"

namespace moxel::ui {

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

}  // namespace moxel::ui
