#include "timer.h"

#include <algorithm>

#include "runtime.h"

namespace moxel::ui {

Timer::Timer(Runtime& runtime, QObject* parent, const char* name, int interval, bool enabled)
    : QObject(parent),
      runtime_(runtime),
      source_(TickSource::make(runtime.options().timerBackend, [this] { fire(); })),
      interval_(interval),
      enabled_(enabled) {
    setObjectName(QString::fromLatin1(name));
    arm();
}

Timer::~Timer() = default;

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
    if (!enabled_ || interval_ <= 0) {
        source_->stop();
        return;
    }
    const int resolution = std::max(1, runtime_.options().timerResolutionMs);
    const long long steps = (static_cast<long long>(interval_) + resolution - 1) / resolution;
    source_->start(std::chrono::milliseconds(steps * resolution));
}

void Timer::fire() {
    // A tick that was already due when the timer was stopped is dropped.
    if (!enabled_ || interval_ <= 0)
        return;
    const FramePacer::TickScope duringTick(runtime_.framePacer());
    emit tick();
}

}  // namespace moxel::ui
