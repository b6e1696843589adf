#pragma once

#include <string>
#include <string_view>

#include "game_state.h"

namespace moxel {

// The texts a catch shows beside the score window's time captions.
std::string unitText(const GameState& state);  // s1
std::string tickText(const GameState& state);  // t1 - 1: the tick value last shown

struct Score {
    std::string text;       // decimal text of score2
    std::string_view rank;  // one of the four rank messages
};

// Turns the stopped clock and the level into score1, temp1, temp2 and score2, in
// that order. A failing step raises a RuntimeError and stores nothing further.
Score computeScore(GameState& state);

std::string_view rankMessage(Integer score2);

}  // namespace moxel
