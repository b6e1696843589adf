#pragma once

#include <QSize>
#include <QWidget>

#include "frame_pacer.h"

namespace moxel::ui {

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

}  // namespace moxel::ui
