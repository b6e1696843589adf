#include "frame_pacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "timer.h"

namespace moxel::ui {

namespace {
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

// A wake-up this close before a frame is that frame's: waiting for the rest of
// it would cost a second wake-up, as Qt waits in whole milliseconds.
constexpr milliseconds kFrameTolerance{1};
}  // namespace

Presentable::~Presentable() {
    if (pending_)
        pacer_->forget(*this);
}

FramePacer::FramePacer(bool enabled) : enabled_(enabled) {
    frameTimer_.setSingleShot(true);
    frameTimer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&frameTimer_, &QTimer::timeout, [this] { frame(); });
    time_ = {[] { return Clock::now(); },
             [this](Clock::time_point when) {
                 frameTimer_.start(std::chrono::ceil<milliseconds>(when - now()));
             }};
}

FramePacer::~FramePacer() {
    // The items and timers may outlive the pacer; they must not call back into it.
    for (Presentable* item : pending_)
        item->pending_ = false;
    for (Schedule& schedule : timers_)
        schedule.timer->pacer_ = nullptr;
}

void FramePacer::setTimeSource(TimeSource source) {
    time_ = std::move(source);
    gridPeriod_ = {};  // the frames' grid is drawn anew on this clock
    if (frameTimer_.isActive()) {
        frameTimer_.stop();
        frameAwaited_ = false;
        wakeForFrames();
    }
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
    wakeForFrames();
}

void FramePacer::forget(Presentable& item) {
    std::erase(pending_, &item);
    item.pending_ = false;
}

void FramePacer::add(Timer& timer) {
    timers_.push_back({&timer, false, {}, {}});
}

void FramePacer::remove(Timer& timer) {
    std::erase_if(timers_, [&](const Schedule& schedule) { return schedule.timer == &timer; });
}

FramePacer::Schedule* FramePacer::find(const Timer& timer) {
    const auto found = std::find_if(timers_.begin(), timers_.end(), [&](const Schedule& schedule) {
        return schedule.timer == &timer;
    });
    return found == timers_.end() ? nullptr : &*found;
}

void FramePacer::schedule(Timer& timer, nanoseconds period) {
    Schedule* schedule = find(timer);
    if (!enabled_ || !schedule || period <= nanoseconds::zero())
        return;
    *schedule = {&timer, true, now() + period, period};
    wakeForFrames();
}

void FramePacer::unschedule(Timer& timer) {
    if (Schedule* schedule = find(timer))
        schedule->armed = false;
}

void FramePacer::catchUp() {
    if (enabled_)
        runDueTicks();
}

// The earliest tick due by `now`; of ticks due together, the first timer's.
FramePacer::Schedule* FramePacer::nextDue(Clock::time_point now) {
    Schedule* next = nullptr;
    for (Schedule& schedule : timers_) {
        if (schedule.armed && schedule.due <= now && (!next || schedule.due < next->due))
            next = &schedule;
    }
    return next;
}

void FramePacer::runDueTicks() {
    // A handler that sends input or runs an event loop of its own must not run
    // the ticks after its own before it has finished.
    if (runningTicks_)
        return;
    runningTicks_ = true;
    const Clock::time_point until = now();
    const Clock::time_point horizon = until - kMaxCatchUp;
    while (Schedule* next = nextDue(until)) {
        if (next->due < horizon) {
            // The ticks overdue past the bound make one: skip to the last of them.
            const auto skipped = (horizon - next->due - nanoseconds(1)) / next->period;
            next->due += skipped * next->period;
        }
        next->due += next->period;
        // The handler may arm, stop, make or destroy any timer, so `next` is not
        // used after it.
        next->timer->runTick();
    }
    runningTicks_ = false;
}

bool FramePacer::needsFrames() const {
    return !pending_.empty() ||
           std::any_of(timers_.begin(), timers_.end(),
                       [](const Schedule& schedule) { return schedule.armed; });
}

void FramePacer::followDisplayFrames(std::function<void()> requestFrame) {
    frameTimer_.stop();
    frameAwaited_ = false;
    requestDisplayFrame_ = std::move(requestFrame);
    if (needsFrames())
        wakeForFrames();
}

void FramePacer::wakeForFrames() {
    if (frameAwaited_)
        return;
    frameAwaited_ = true;
    if (requestDisplayFrame_)
        requestDisplayFrame_();
    else
        waitForNextFrame(now());
}

// Frames keep one grid, also across the pauses of a stopped game, so they keep
// the same phase to the screen's refresh for as long as the program runs.
void FramePacer::waitForNextFrame(Clock::time_point at) {
    const nanoseconds period = framePeriod();
    if (period != gridPeriod_) {
        gridPeriod_ = period;
        gridOrigin_ = at;
    }
    const auto framesSoFar = (at + kFrameTolerance - gridOrigin_) / period;
    time_.wakeAt(gridOrigin_ + (framesSoFar + 1) * period);
}

void FramePacer::frame() {
    // The next frame is asked for once this one is painted: a browser runs an
    // animation frame's callbacks in the order they were asked for, so its
    // compositor, asked by the painting, draws first.
    frameAwaited_ = true;
    runDueTicks();
    std::vector<Presentable*> items;
    items.swap(pending_);
    for (Presentable* item : items) {
        item->pending_ = false;
        item->present();
    }
    if (!items.empty())
        paintNow();
    // With no timer running and nothing to show, nothing wakes the process.
    frameAwaited_ = false;
    if (needsFrames())
        wakeForFrames();
}

// The windows repaint in this same wake-up, not in another pass of the event
// loop: a pass costs as much as a tick's whole handler.
void FramePacer::paintNow() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

nanoseconds FramePacer::framePeriod() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return framePeriod(screen ? screen->refreshRate() : 0);
}

nanoseconds FramePacer::framePeriod(double hertz) {
    // From film's 24 Hz to the fastest gaming screens, with room to spare.
    constexpr double kSlowest = 24, kFastest = 1000;
    const double rate = (hertz >= kSlowest && hertz <= kFastest) ? hertz : 60;
    return nanoseconds(std::llround(1e9 / rate));
}

}  // namespace moxel::ui
