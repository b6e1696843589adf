#include "score.h"

#include "checked.h"
#include "decimal_text.h"

namespace moxel {

std::string unitText(const GameState& state) {
    return DecimalText(state.s1).str();
}

std::string tickText(const GameState& state) {
    return DecimalText(checkedSub(state.t1, Long{1})).str();
}

Score computeScore(GameState& state) {
    // The time figure counts 100 per unit although a unit spans 101 ticks.
    const Long time = checkedAdd(checkedMul(state.s1, Long{100}), state.t1);
    state.score1 = checkedNarrow<Integer>(time);
    if (const Level* level = levelForSpeed(state.speed)) {
        state.temp1 = level->base;
        state.temp2 = level->bonus;
    }
    const Integer points = checkedMul(state.temp1, Integer{80});
    state.score2 = checkedAdd(checkedDiv(points, state.score1), state.temp2);
    return {DecimalText(state.score2).str(), rankMessage(state.score2)};
}

std::string_view rankMessage(Integer score2) {
    if (score2 >= 100)
        return "You are a genius! Choose CS major";
    if (score2 >= 70)
        return "You are excellent!";
    if (score2 >= 40)
        return "Normal";
    return "You are a dummy!";
}

}  // namespace moxel
