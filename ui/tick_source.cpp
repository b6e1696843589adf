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

#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>
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
// One periodic timerfd and the sources it ticks. Sources started with the same
// period in the same event-loop pass (the game starts its motion and clock
// timers together) share one, so they wake the process once, not once each.
class TimerfdGroup : public std::enable_shared_from_this<TimerfdGroup> {
public:
    using Member = std::function<void()>*;

    static std::shared_ptr<TimerfdGroup> join(nanoseconds period, Member member) {
        auto& open = openGroups();
        std::shared_ptr<TimerfdGroup> group;
        if (auto found = open.find(period.count()); found != open.end())
            group = found->second.lock();
        if (!group) {
            const int fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
            if (fd < 0)
                return nullptr;
            group = std::shared_ptr<TimerfdGroup>(new TimerfdGroup(fd, period));
            open[period.count()] = group;
            // Later starts begin a countdown of their own.
            QMetaObject::invokeMethod(
                &group->notifier_, [period] { openGroups().erase(period.count()); },
                Qt::QueuedConnection);
        }
        group->members_.push_back(member);
        return group;
    }

    void leave(Member member) { std::erase(members_, member); }

    ~TimerfdGroup() {
        auto& open = openGroups();
        if (auto found = open.find(period_.count()); found != open.end() && found->second.expired())
            open.erase(found);
        ::close(fd_);
    }

private:
    TimerfdGroup(int fd, nanoseconds period)
        : fd_(fd), period_(period), notifier_(fd, QSocketNotifier::Read) {
        const auto count = period.count();
        const timespec interval{time_t(count / 1'000'000'000), long(count % 1'000'000'000)};
        const itimerspec schedule{interval, interval};
        timerfd_settime(fd_, 0, &schedule, nullptr);
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { tick(); });
    }

    // By period in nanoseconds; never destroyed, as timers may outlive statics.
    static std::map<std::int64_t, std::weak_ptr<TimerfdGroup>>& openGroups() {
        static auto* groups = new std::map<std::int64_t, std::weak_ptr<TimerfdGroup>>;
        return *groups;
    }

    void tick() {
        // However many periods passed, they make one tick.
        std::uint64_t expirations = 0;
        if (::read(fd_, &expirations, sizeof expirations) != sizeof expirations)
            return;
        // A handler may stop or start any member, this one included.
        const auto keepAlive = shared_from_this();
        const std::vector<Member> members = members_;
        for (Member member : members) {
            if (std::find(members_.begin(), members_.end(), member) != members_.end())
                (*member)();
        }
    }

    int fd_;
    nanoseconds period_;
    QSocketNotifier notifier_;
    std::vector<Member> members_;
};

class TimerfdTickSource final : public TickSource {
public:
    explicit TimerfdTickSource(std::function<void()> onTick) : onTick_(std::move(onTick)) {}
    ~TimerfdTickSource() override { stop(); }

    void start(nanoseconds period) override {
        stop();
        group_ = TimerfdGroup::join(period, &onTick_);
        if (group_)
            return;
        // The system has no timer to spare: Qt's own keeps the game going.
        if (!fallback_)
            fallback_ = std::make_unique<QtTickSource>(onTick_);
        fallback_->start(period);
    }
    void stop() override {
        if (group_)
            group_->leave(&onTick_);
        group_.reset();
        if (fallback_)
            fallback_->stop();
    }

private:
    std::function<void()> onTick_;
    std::shared_ptr<TimerfdGroup> group_;
    std::unique_ptr<QtTickSource> fallback_;
};
#endif

}  // namespace

std::unique_ptr<TickSource> TickSource::make([[maybe_unused]] Backend backend,
                                             std::function<void()> onTick) {
#ifdef MOXEL_HAVE_TIMERFD
    if (backend == Backend::Native)
        return std::make_unique<TimerfdTickSource>(std::move(onTick));
#endif
    return std::make_unique<QtTickSource>(std::move(onTick));
}

}  // namespace moxel::ui
