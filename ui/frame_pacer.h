#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "tick_source.h"

namespace moxel::ui {

class FramePacer;

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

// Ticks change positions and texts up to a thousand times a second, but a screen
// shows only 60 to 144 frames. So what a tick changes is held back and shown at
// the next display frame, all at once; any other change is shown at once. A
// control's widget is thus always where it was last drawn, so a click hits what
// the player sees, while the control's properties give the current values.
//
// Frames come from a steady clock at the screen's refresh rate, so they are
// evenly spaced whatever the tick rate; the clock runs only while ticks bring
// changes, and stops soon after they stop.
class FramePacer {
public:
    // A disabled pacer shows every change at once, one repaint per tick.
    explicit FramePacer(bool enabled);
    ~FramePacer();
    FramePacer(const FramePacer&) = delete;
    FramePacer& operator=(const FramePacer&) = delete;

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

    // One frame of the primary screen, 60 Hz where its rate is unknown.
    static std::chrono::nanoseconds framePeriod();

private:
    void showFrame();
    // Not inlined, so a profile tells a frame's painting from its presenting.
    [[gnu::noinline]] void paintNow();

    const bool enabled_;
    std::unique_ptr<TickSource> clock_;
    std::vector<Presentable*> pending_;
    int tickDepth_ = 0;
    int idleFrames_ = 0;
    bool running_ = false;
};

}  // namespace moxel::ui
