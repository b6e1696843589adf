#pragma once

#include <array>
#include <string>
#include <vector>

#include "game_view.h"

namespace moxel::testing {

// Records what the engine asks of the window; the targets start at their
// design-time rectangles.
class FakeView : public GameView {
public:
    std::array<TargetRect, 2> targets{{{240, 2160, 525, 555}, {9840, 1560, 285, 195}}};
    std::array<int, 3> intervals{};
    std::array<bool, 3> enabled{};
    std::string text1 = "Text1";
    std::string text2 = "Text2";
    std::vector<std::string> calls;

    void setTimerInterval(TimerId timer, int ms) override {
        intervals[index(timer)] = ms;
        calls.push_back(name(timer) + ".Interval=" + std::to_string(ms));
    }
    void setTimerEnabled(TimerId timer, bool on) override {
        enabled[index(timer)] = on;
        calls.push_back(name(timer) + ".Enabled=" + (on ? "true" : "false"));
    }
    TargetRect target(int i) const override { return targets[static_cast<std::size_t>(i)]; }
    void setTargetLeft(int i, float left) override {
        targets[static_cast<std::size_t>(i)].left = left;
        calls.push_back("Image1(" + std::to_string(i) + ").Left");
    }
    void setTargetTop(int i, float top) override {
        targets[static_cast<std::size_t>(i)].top = top;
        calls.push_back("Image1(" + std::to_string(i) + ").Top");
    }
    void setClockText(ClockBox box, std::string_view text) override {
        (box == ClockBox::Text1 ? text1 : text2) = std::string(text);
    }

    bool isEnabled(TimerId timer) const { return enabled[index(timer)]; }
    int interval(TimerId timer) const { return intervals[index(timer)]; }

private:
    static std::size_t index(TimerId timer) { return static_cast<std::size_t>(timer); }
    static std::string name(TimerId timer) {
        return "Timer" + std::to_string(static_cast<int>(timer) + 1);
    }
};

}  // namespace moxel::testing
