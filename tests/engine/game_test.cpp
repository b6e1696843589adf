#include <gtest/gtest.h>

#include "fake_view.h"
#include "game.h"

namespace moxel {
namespace {

using testing::FakeView;

TEST(Game, ANewGameResetsDirectionsAndClockAndStartsMotionThenClock) {
    FakeView view;
    Game game{view};
    GameState& s = game.state();
    s = {-1, -1, 1, -1, 57, 2, 5, 257, 6, 20, 0, 1};
    view.targets[0] = {1000, 2000, 525, 555};

    game.newGameStart();

    const std::vector<std::string> expected{"Timer1.Interval=5", "Timer2.Interval=5",
                                            "Timer1.Enabled=true", "Timer3.Enabled=true"};
    EXPECT_EQ(view.calls, expected);
    EXPECT_EQ((GameState{1, 1, 1, 1, 0, 0, 5, 257, 6, 20, 0, 1}), s)
        << "level, scores and isStart are kept";
    EXPECT_EQ(view.targets[0].left, 1000) << "targets stay where they are";
    EXPECT_FALSE(view.isEnabled(TimerId::Timer2));
}

TEST(Game, HaltTurnsEveryTimerOffInOrderAndKeepsTheRecord) {
    FakeView view;
    Game game{view};
    game.state().speed = 1;
    game.newGameStart();
    game.clockTick();
    const GameState running = game.state();
    view.calls.clear();

    game.halt();

    const std::vector<std::string> expected{"Timer1.Enabled=false", "Timer2.Enabled=false",
                                            "Timer3.Enabled=false"};
    EXPECT_EQ(view.calls, expected);
    EXPECT_EQ(game.state(), running);
}

TEST(Game, LevelsMapToTheirSpeedsAndScoringRows) {
    ASSERT_EQ(levelForSpeed(30)->number, 1);
    ASSERT_EQ(levelForSpeed(5)->number, 2);
    ASSERT_EQ(levelForSpeed(1)->number, 3);
    EXPECT_EQ(levelForSpeed(0), nullptr);
    EXPECT_EQ(kFirstLevelSpeed, 30);
}

}  // namespace
}  // namespace moxel
