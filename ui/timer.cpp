#include "timer.h"

#include <QSocketNotifier>
#include <QTimer>
#include <functional>

#ifdef __linux__
#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>
#endif

namespace moxel::ui {

// What makes a timer tick: start(ms) begins periodic ticks, stop() ends them.
class TickSource {
public:
    virtual ~TickSource() = default;
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
};

namespace {

Timer::Backend defaultBackend = Timer::Backend::Native;

class QtTickSource final : public TickSource {
public:
    explicit QtTickSource(std::function<void()> onTick) {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, std::move(onTick));
    }
    void start(int milliseconds) override { timer_.start(milliseconds); }
    void stop() override { timer_.stop(); }

private:
    QTimer timer_;
};

#ifdef __linux__
// A periodic timerfd keeps its phase in the kernel, so 1 ms ticks arrive about a
// thousand times a second; QTimer rounds each wait up and delivers about 900.
class TimerfdTickSource final : public TickSource {
public:
    static std::unique_ptr<TickSource> create(const std::function<void()>& onTick) {
        const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        if (fd < 0)
            return nullptr;
        return std::unique_ptr<TickSource>(new TimerfdTickSource(fd, onTick));
    }
    ~TimerfdTickSource() override { ::close(fd_); }

    void start(int milliseconds) override {
        const timespec period{milliseconds / 1000, (milliseconds % 1000) * 1'000'000L};
        const itimerspec schedule{period, period};
        timerfd_settime(fd_, 0, &schedule, nullptr);
        drain();
        notifier_.setEnabled(true);
    }
    void stop() override {
        notifier_.setEnabled(false);
        const itimerspec off{};
        timerfd_settime(fd_, 0, &off, nullptr);
        drain();
    }

private:
    TimerfdTickSource(int fd, std::function<void()> onTick)
        : fd_(fd), notifier_(fd, QSocketNotifier::Read) {
        notifier_.setEnabled(false);
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this, onTick] {
            // However many expirations piled up, they make one tick.
            if (drain())
                onTick();
        });
    }
    bool drain() {
        std::uint64_t expirations = 0;
        return ::read(fd_, &expirations, sizeof expirations) == sizeof expirations;
    }

    int fd_;
    QSocketNotifier notifier_;
};
#endif

std::unique_ptr<TickSource> makeSource(Timer::Backend backend,
                                       const std::function<void()>& onTick) {
#ifdef __linux__
    if (backend == Timer::Backend::Native) {
        if (auto source = TimerfdTickSource::create(onTick))
            return source;
    }
#endif
    return std::make_unique<QtTickSource>(onTick);
}

}  // namespace

Timer::Timer(QObject* parent, const char* name, int interval, bool enabled)
    : QObject(parent),
      source_(makeSource(defaultBackend, [this] { fire(); })),
      interval_(interval),
      enabled_(enabled) {
    setObjectName(QString::fromLatin1(name));
    arm();
}

Timer::~Timer() = default;

void Timer::setBackend(Backend backend) {
    defaultBackend = backend;
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
    if (enabled_ && interval_ > 0) {
        source_->start(interval_);
    } else {
        source_->stop();
    }
}

void Timer::fire() {
    // A tick that was already due when the timer was stopped is dropped.
    if (!enabled_ || interval_ <= 0)
        return;
    struct Dispatch {
        Dispatch() { ++dispatchDepth_; }
        ~Dispatch() { --dispatchDepth_; }
    } dispatch;
    emit tick();
}

}  // namespace moxel::ui
