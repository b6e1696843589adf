#pragma once

#include <array>
#include <cstdint>

namespace moxel {

using Integer = std::int16_t;  // 16-bit signed
using Long = std::int32_t;     // 32-bit signed

// The record every handler of the main window shares. All zero when the window
// object is created; the load step then gives it its start values.
struct GameState {
    Integer x0 = 0;       // horizontal direction of Image1(0): 1 is rightward
    Integer x1 = 0;       // horizontal direction of Image1(1): 1 is leftward (subtracted)
    Integer x2 = 0;       // vertical direction of Image1(0): 1 is downward
    Integer x3 = 0;       // vertical direction of Image1(1): 1 is downward
    Long t1 = 0;          // clock ticks in the current unit, 0 to 100 between ticks
    Long s1 = 0;          // completed clock units of 101 ticks
    Integer speed = 0;    // the level: motion timer interval in ms (30, 5 or 1)
    Integer score1 = 0;   // time of the last caught game, s1 * 100 + t1
    Integer score2 = 0;   // score of the last caught game
    Integer temp1 = 0;    // the level's base value used for the last score
    Integer temp2 = 0;    // the level's bonus used for the last score
    Integer isStart = 0;  // 1 once the player has started the first game

    friend bool operator==(const GameState&, const GameState&) = default;
};

// The difficulty levels: the motion interval and the scoring row for each.
struct Level {
    int number;
    Integer speed;
    Integer base;   // temp1
    Integer bonus;  // temp2
};

inline constexpr std::array<Level, 3> kLevels{{
    {1, 30, 20, 0},
    {2, 5, 50, 10},
    {3, 1, 200, 20},
}};

inline constexpr Integer kFirstLevelSpeed = kLevels[0].speed;

// The level whose motion interval is `speed`, or nullptr for any other value.
constexpr const Level* levelForSpeed(Integer speed) {
    for (const Level& level : kLevels) {
        if (level.speed == speed)
            return &level;
    }
    return nullptr;
}

}  // namespace moxel
