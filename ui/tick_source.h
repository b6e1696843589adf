#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace moxel::ui {

// Periodic ticks for the timers and the frame clock. However many periods pass
// before the event loop gets round to it, they make one tick: nothing is made up.
class TickSource {
public:
    // Native keeps 1 ms periods on Linux (a timerfd keeps its phase in the kernel);
    // QtTimer is QTimer's precise timer, which rounds every wait up to a whole
    // millisecond and so falls short at 1 ms.
    enum class Backend { Native, QtTimer };

    static std::unique_ptr<TickSource> make(Backend backend, std::function<void()> onTick);
    virtual ~TickSource() = default;

    // Begins ticking every `period` from now; a tick already due is dropped.
    virtual void start(std::chrono::nanoseconds period) = 0;
    virtual void stop() = 0;
};

}  // namespace moxel::ui
