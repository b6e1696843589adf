#include "tick_source.h"

#include <QSocketNotifier>
#include <QTimer>

// A timerfd where Linux has one, unless the build asks for QTimer everywhere.
#if defined(__linux__) && !defined(MOXEL_TICK_SOURCE_QTIMER)
#define MOXEL_HAVE_TIMERFD 1
#endif

#ifdef MOXEL_HAVE_TIMERFD
#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>
#endif

namespace moxel::ui {

namespace {

using std::chrono::nanoseconds;

class QtTickSource final : public TickSource {
public:
    explicit QtTickSource(std::function<void()> onTick) {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, std::move(onTick));
    }
    void start(nanoseconds period) override {
        timer_.start(std::chrono::round<std::chrono::milliseconds>(period));
    }
    void stop() override { timer_.stop(); }

private:
    QTimer timer_;
};

#ifdef MOXEL_HAVE_TIMERFD
class TimerfdTickSource final : public TickSource {
public:
    static std::unique_ptr<TickSource> create(std::function<void()>& onTick) {
        const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        if (fd < 0)
            return nullptr;
        return std::unique_ptr<TickSource>(new TimerfdTickSource(fd, std::move(onTick)));
    }
    ~TimerfdTickSource() override { ::close(fd_); }

    void start(nanoseconds period) override {
        const auto count = period.count();
        const timespec interval{time_t(count / 1'000'000'000), long(count % 1'000'000'000)};
        const itimerspec schedule{interval, interval};
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
            if (drain())
                onTick();
        });
    }
    // Reads the expiration count: true if at least one period has passed.
    bool drain() {
        std::uint64_t expirations = 0;
        return ::read(fd_, &expirations, sizeof expirations) == sizeof expirations;
    }

    int fd_;
    QSocketNotifier notifier_;
};
#endif

}  // namespace

std::unique_ptr<TickSource> TickSource::make([[maybe_unused]] Backend backend,
                                             std::function<void()> onTick) {
#ifdef MOXEL_HAVE_TIMERFD
    if (backend == Backend::Native) {
        if (auto source = TimerfdTickSource::create(onTick))
            return source;
    }
#endif
    return std::make_unique<QtTickSource>(std::move(onTick));
}

}  // namespace moxel::ui
