#include "frame_pacer.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "timer.h"

namespace moxel::ui {

Presentable::~Presentable() {
    if (pending_)
        FramePacer::instance().forget(*this);
}

FramePacer& FramePacer::instance() {
    // Owned by the application, so its frame timer never outlives the event loop.
    static QPointer<FramePacer> pacer;
    if (!pacer)
        pacer = new FramePacer(QCoreApplication::instance());
    return *pacer;
}

FramePacer::FramePacer(QObject* parent) : QObject(parent) {
    frame_.setSingleShot(true);
    frame_.setTimerType(Qt::PreciseTimer);
    connect(&frame_, &QTimer::timeout, this, &FramePacer::showPending);
}

void FramePacer::show(Presentable& item) {
    if (!enabled_ || !Timer::isDispatching()) {
        item.present();
        return;
    }
    if (item.pending_)
        return;
    item.pending_ = true;
    pending_.push_back(&item);
    if (!frame_.isActive())
        frame_.start(framePeriodMs());
}

void FramePacer::forget(Presentable& item) {
    std::erase(pending_, &item);
    item.pending_ = false;
}

void FramePacer::showPending() {
    std::vector<Presentable*> items;
    items.swap(pending_);
    for (Presentable* item : items) {
        item->pending_ = false;
        item->present();
    }
}

int FramePacer::framePeriodMs() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal rate = screen ? screen->refreshRate() : 0;
    // Unknown or implausible rates fall back to 60 Hz.
    const qreal hertz = (rate >= 24 && rate <= 360) ? rate : 60;
    return std::max(1, int(std::floor(1000 / hertz)));
}

}  // namespace moxel::ui
