#include "frame_pacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace moxel::ui {

namespace {
// Long enough to keep the frames' phase across the gaps between slow ticks
// (30 ms at level 1), short enough that a stopped game costs nothing.
constexpr int kIdleFramesBeforeStop = 6;
}  // namespace

Presentable::~Presentable() {
    if (pending_)
        pacer_->forget(*this);
}

FramePacer::FramePacer(bool enabled)
    : enabled_(enabled),
      clock_(TickSource::make(TickSource::Backend::Native, [this] { showFrame(); })) {}

FramePacer::~FramePacer() {
    // The items may outlive the pacer; they must not call back into it.
    for (Presentable* item : pending_)
        item->pending_ = false;
}

void FramePacer::show(Presentable& item) {
    if (!enabled_ || tickDepth_ == 0) {
        item.present();
        return;
    }
    if (item.pending_)
        return;
    item.pending_ = true;
    pending_.push_back(&item);
    idleFrames_ = 0;
    if (!running_) {
        running_ = true;
        clock_->start(framePeriod());
    }
}

void FramePacer::forget(Presentable& item) {
    std::erase(pending_, &item);
    item.pending_ = false;
}

void FramePacer::showFrame() {
    if (pending_.empty()) {
        if (++idleFrames_ >= kIdleFramesBeforeStop) {
            clock_->stop();
            running_ = false;
        }
        return;
    }
    std::vector<Presentable*> items;
    items.swap(pending_);
    for (Presentable* item : items) {
        item->pending_ = false;
        item->present();
    }
    paintNow();
}

// The windows repaint in this same wake-up, not in another pass of the event
// loop: a pass costs as much as a tick's whole handler.
void FramePacer::paintNow() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

std::chrono::nanoseconds FramePacer::framePeriod() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal rate = screen ? screen->refreshRate() : 0;
    // Unknown or implausible rates fall back to 60 Hz.
    const qreal hertz = (rate >= 24 && rate <= 360) ? rate : 60;
    return std::chrono::nanoseconds(qint64(1e9 / hertz));
}

}  // namespace moxel::ui
