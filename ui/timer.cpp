#include "timer.h"

#include <algorithm>

#include "runtime.h"

namespace moxel::ui {

Timer::Timer(Runtime& runtime, QObject* parent, const char* name, int interval, bool enabled)
    : QObject(parent),
      pacer_(&runtime.framePacer()),
      resolutionMs_(std::max(1, runtime.options().timerResolutionMs)),
      interval_(interval),
      enabled_(enabled) {
    setObjectName(QString::fromLatin1(name));
    pacer_->add(*this);
    if (!pacer_->enabled()) {
        ownTimer_ = std::make_unique<QTimer>();
        ownTimer_->setTimerType(Qt::PreciseTimer);
        connect(ownTimer_.get(), &QTimer::timeout, this, &Timer::runTick);
    }
    arm();
}

Timer::~Timer() {
    if (pacer_)
        pacer_->remove(*this);
}

void Timer::setEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    arm();
}

void Timer::setInterval(int milliseconds) {
    if (milliseconds == interval_)
        return;
    interval_ = milliseconds;
    arm();
}

void Timer::arm() {
    const bool ticking = enabled_ && interval_ > 0;
    const long long steps =
        ticking ? (static_cast<long long>(interval_) + resolutionMs_ - 1) / resolutionMs_ : 0;
    const std::chrono::milliseconds period(steps * resolutionMs_);
    if (ownTimer_) {
        if (ticking)
            ownTimer_->start(period);
        else
            ownTimer_->stop();
    } else if (pacer_) {
        if (ticking)
            pacer_->schedule(*this, period);
        else
            pacer_->unschedule(*this);
    }
}

void Timer::runTick() {
    if (!enabled_ || interval_ <= 0)
        return;
    if (!pacer_) {
        emit tick();
        return;
    }
    const FramePacer::TickScope duringTick(*pacer_);
    emit tick();
}

}  // namespace moxel::ui
