#include <gtest/gtest.h>

#include "runtime_error.h"
#include "score.h"

namespace moxel {
namespace {

GameState clockAt(Long s1, Long t1, Integer speed) {
    GameState state;
    state.s1 = s1;
    state.t1 = t1;
    state.speed = speed;
    return state;
}

TEST(Score, WorkedExamplesGiveTheirTextsAndFields) {
    struct Row {
        Long s1, t1;
        Integer speed;
        const char* unit;
        const char* tick;
        Integer score1, temp1, temp2, score2;
        const char* rank;
    };
    const Row rows[] = {
        {2, 57, 30, "2", "56", 257, 20, 0, 6, "You are a dummy!"},
        {1, 20, 1, "1", "19", 120, 200, 20, 153, "You are a genius! Choose CS major"},
        {0, 80, 5, "0", "79", 80, 50, 10, 60, "Normal"},
        {0, 50, 5, "0", "49", 50, 50, 10, 90, "You are excellent!"},
        {3, 0, 1, "3", "-1", 300, 200, 20, 73, "You are excellent!"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "s1 " << row.s1 << ", t1 " << row.t1);
        GameState state = clockAt(row.s1, row.t1, row.speed);
        EXPECT_EQ(unitText(state), row.unit);
        EXPECT_EQ(tickText(state), row.tick);
        const Score score = computeScore(state);
        EXPECT_EQ(state.score1, row.score1);
        EXPECT_EQ(state.temp1, row.temp1);
        EXPECT_EQ(state.temp2, row.temp2);
        EXPECT_EQ(state.score2, row.score2);
        EXPECT_EQ(score.text, std::to_string(row.score2));
        EXPECT_EQ(score.rank, row.rank);
    }
}

TEST(Score, TimeCountsOneHundredPerUnit) {
    GameState endOfUnit = clockAt(0, 100, 30);
    GameState nextUnit = clockAt(1, 0, 30);
    computeScore(endOfUnit);
    computeScore(nextUnit);
    EXPECT_EQ(endOfUnit.score1, 100);
    EXPECT_EQ(nextUnit.score1, 100);
    EXPECT_EQ(tickText(nextUnit), "-1");
}

TEST(Score, DivisionTruncatesTowardZero) {
    GameState state = clockAt(0, 23, 30);
    const Score score = computeScore(state);
    EXPECT_EQ(state.score2, 69);  // 1600 / 23 = 69.56
    EXPECT_EQ(score.rank, "Normal");
}

TEST(Score, RankBoundaries) {
    EXPECT_EQ(rankMessage(32767), "You are a genius! Choose CS major");
    EXPECT_EQ(rankMessage(100), "You are a genius! Choose CS major");
    EXPECT_EQ(rankMessage(99), "You are excellent!");
    EXPECT_EQ(rankMessage(70), "You are excellent!");
    EXPECT_EQ(rankMessage(69), "Normal");
    EXPECT_EQ(rankMessage(40), "Normal");
    EXPECT_EQ(rankMessage(39), "You are a dummy!");
    EXPECT_EQ(rankMessage(-5), "You are a dummy!");
}

TEST(Score, TheShortestTimeGivesEachLevelsHighestScore) {
    const std::pair<Integer, Integer> levels[] = {{30, 1600}, {5, 4010}, {1, 16020}};
    for (auto [speed, best] : levels) {
        GameState state = clockAt(0, 1, speed);
        computeScore(state);
        EXPECT_EQ(state.score2, best) << "speed " << speed;
    }
}

TEST(Score, TheLongestAcceptedTimeIsThreeHundredTwentySevenUnitsAndSixtySevenTicks) {
    GameState state = clockAt(327, 67, 30);
    const Score score = computeScore(state);
    EXPECT_EQ(state.score1, 32767);
    EXPECT_EQ(state.score2, 0);
    EXPECT_EQ(score.rank, "You are a dummy!");
}

TEST(Score, AnOverflowingTimeStopsAtTheNarrowingAndStoresNothing) {
    GameState state = clockAt(2, 57, 30);
    computeScore(state);
    const GameState before = [&] {
        GameState s = state;
        s.s1 = 327;
        s.t1 = 68;
        s.speed = 1;
        return s;
    }();
    state = before;
    try {
        computeScore(state);
        FAIL() << "no overflow";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Overflow);
    }
    EXPECT_EQ(state, before) << "score1, temp1, temp2 and score2 keep the last catch's values";
    EXPECT_EQ(unitText(state), "327") << "the time texts do not depend on the score";
    EXPECT_EQ(tickText(state), "67");
}

TEST(Score, ACatchBeforeTheFirstClockTickStopsAtTheDivision) {
    GameState state = clockAt(0, 0, 5);
    state.score2 = 90;
    try {
        computeScore(state);
        FAIL() << "no division by zero";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::DivisionByZero);
    }
    EXPECT_EQ(state.score1, 0);
    EXPECT_EQ(state.temp1, 50) << "the steps before the division keep their results";
    EXPECT_EQ(state.score2, 90);
    EXPECT_EQ(tickText(state), "-1");
}

TEST(Score, AnUnknownSpeedKeepsTheLastLevelValues) {
    GameState state = clockAt(0, 50, 5);
    computeScore(state);
    state.speed = 7;
    computeScore(state);
    EXPECT_EQ(state.temp1, 50);
    EXPECT_EQ(state.temp2, 10);
    EXPECT_EQ(state.score2, 90);
}

}  // namespace
}  // namespace moxel
