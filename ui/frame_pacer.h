#pragma once

#include <QTimer>
#include <chrono>
#include <functional>
#include <vector>

namespace moxel::ui {

class FramePacer;
class Timer;

// Something whose widget shows a value that ticks may change.
class Presentable {
public:
    explicit Presentable(FramePacer& pacer) : pacer_(&pacer) {}
    Presentable(const Presentable&) = delete;
    Presentable& operator=(const Presentable&) = delete;

    // Makes the widget show the current values.
    virtual void present() = 0;

protected:
    ~Presentable();
    FramePacer& pacer() const { return *pacer_; }

private:
    friend class FramePacer;
    FramePacer* pacer_;
    bool pending_ = false;
};

// The one clock of a program's timers and frames, as a game engine steps a fixed
// timestep. Each timer's ticks fall due on a grid of its own on a steady clock,
// but nothing wakes the process for a tick: the due ticks run, in the order they
// fell due, just before each display frame and just before any input is handled.
// So the game keeps its exact pace wherever the platform's timers are coarse, a
// click comes after every tick that fell before it, and the process wakes once
// a frame while a timer runs and not at all while none does.
//
// What a tick changes is held back and shown at that frame, all at once; any
// other change is shown at once. A control's widget is thus always where it was
// last drawn, so a click hits what the player sees, while the control's
// properties give the current values.
class FramePacer {
public:
    using Clock = std::chrono::steady_clock;

    // Ticks overdue by more than this merge into one, so a stall (a busy machine,
    // a debugger, a suspend) slows the game down instead of making it race. Six
    // frames: a hitch the player hardly sees keeps every tick, and no catch-up
    // moves a target more than it moves in a tenth of a second.
    static constexpr std::chrono::milliseconds kMaxCatchUp{100};

    // Where the pacer reads the time and how it waits for its next frame: the
    // steady clock and a timer, unless a test drives both by hand.
    struct TimeSource {
        std::function<Clock::time_point()> now;
        // Calls frame() at `when`, or as soon after it as the platform can.
        std::function<void(Clock::time_point when)> wakeAt;
    };

    // A disabled pacer shows every change at once and schedules no ticks: each
    // timer then keeps time on its own, as in a plain Qt program.
    explicit FramePacer(bool enabled);
    ~FramePacer();
    FramePacer(const FramePacer&) = delete;
    FramePacer& operator=(const FramePacer&) = delete;

    bool enabled() const { return enabled_; }

    // Before any timer is scheduled: the time and wake-ups come from `source`.
    void setTimeSource(TimeSource source);
    Clock::time_point now() const { return time_.now(); }

    // Marks the handling of one timer tick: changes made meanwhile wait for a frame.
    class TickScope {
    public:
        explicit TickScope(FramePacer& pacer) : pacer_(pacer) { ++pacer_.tickDepth_; }
        ~TickScope() { --pacer_.tickDepth_; }
        TickScope(const TickScope&) = delete;
        TickScope& operator=(const TickScope&) = delete;

    private:
        FramePacer& pacer_;
    };

    void show(Presentable& item);
    void forget(Presentable& item);

    // Timers tick in the order their ticks fell due; ticks due at the same moment
    // in the order the timers were made.
    void add(Timer& timer);
    void remove(Timer& timer);
    // The first tick falls one period from now, and then every period.
    void schedule(Timer& timer, std::chrono::nanoseconds period);
    void unschedule(Timer& timer);

    // Runs every tick that has fallen due by now.
    void catchUp();

    // Where the display paces drawing itself (a browser's animation frames):
    // instead of waking itself, the pacer calls `requestFrame` when it needs a
    // frame, and the display then calls frame() once.
    void followDisplayFrames(std::function<void()> requestFrame);
    // Runs the due ticks and shows what they changed.
    void frame();

    // One frame of the primary screen, 60 Hz where its rate is unknown.
    static std::chrono::nanoseconds framePeriod();
    // One frame of a screen refreshing `hertz` times a second; 60 Hz where that
    // is unknown (0) or implausible.
    static std::chrono::nanoseconds framePeriod(double hertz);

private:
    struct Schedule {
        Timer* timer;
        bool armed = false;
        Clock::time_point due;
        std::chrono::nanoseconds period{};
    };

    Schedule* find(const Timer& timer);
    Schedule* nextDue(Clock::time_point now);
    // Not inlined, so a profile tells a frame's ticks from its presenting.
    [[gnu::noinline]] void runDueTicks();
    bool needsFrames() const;
    void wakeForFrames();
    void waitForNextFrame(Clock::time_point at);
    // Not inlined, so a profile tells a frame's painting from its presenting.
    [[gnu::noinline]] void paintNow();

    const bool enabled_;
    QTimer frameTimer_;
    TimeSource time_;
    // The frames' grid: every frame falls a whole number of periods from this.
    Clock::time_point gridOrigin_;
    std::chrono::nanoseconds gridPeriod_{};
    std::vector<Schedule> timers_;  // in the order the timers were made
    std::vector<Presentable*> pending_;
    std::function<void()> requestDisplayFrame_;
    // From asking for a frame (a wake-up or the display's) until it runs.
    bool frameAwaited_ = false;
    int tickDepth_ = 0;
    bool runningTicks_ = false;
};

}  // namespace moxel::ui
