#pragma once

#include <string_view>

namespace moxel {

enum class TimerId { Timer1, Timer2, Timer3 };
enum class ClockBox { Text1, Text2 };

// A target's rectangle in twips, as single-precision values.
struct TargetRect {
    float left;
    float top;
    float width;
    float height;
};

// What the engine needs from the window that shows the game: the timers, the two
// targets Image1(0) and Image1(1), and the clock's two text boxes. Any call may
// raise a RuntimeError, which ends the engine operation where it happens.
class GameView {
public:
    virtual void setTimerInterval(TimerId timer, int milliseconds) = 0;
    virtual void setTimerEnabled(TimerId timer, bool enabled) = 0;
    virtual TargetRect target(int index) const = 0;
    virtual void setTargetLeft(int index, float left) = 0;
    virtual void setTargetTop(int index, float top) = 0;
    virtual void setClockText(ClockBox box, std::string_view text) = 0;

protected:
    ~GameView() = default;
};

}  // namespace moxel
