#include <gtest/gtest.h>

#include <limits>

#include "fake_view.h"
#include "game.h"
#include "runtime_error.h"

namespace moxel {
namespace {

using testing::FakeView;

class Motion : public ::testing::Test {
protected:
    FakeView view;
    Game game{view};

    void SetUp() override { game.resetDirections(); }

    void ticks(int count) {
        for (int i = 0; i < count; ++i)
            game.motionStep();
    }
    void expectAt(int index, float left, float top) {
        EXPECT_EQ(view.targets[index].left, left) << "Image1(" << index << ").Left";
        EXPECT_EQ(view.targets[index].top, top) << "Image1(" << index << ").Top";
    }
    void expectDirections(int x0, int x1, int x2, int x3) {
        const GameState& s = game.state();
        EXPECT_EQ(s.x0, x0);
        EXPECT_EQ(s.x1, x1);
        EXPECT_EQ(s.x2, x2);
        EXPECT_EQ(s.x3, x3);
    }
};

TEST_F(Motion, FirstGameFollowsTheWorkedExample) {
    struct Row {
        int tick;
        float left0, top0, left1, top1;
        int x0, x1, x2, x3;
    };
    const Row rows[] = {
        {1, 290, 2210, 9790, 1610, 1, 1, 1, 1},      {2, 340, 2260, 9740, 1660, 1, 1, 1, 1},
        {112, 5840, 7760, 4240, 7160, 1, 1, 1, 1},   {113, 5890, 7710, 4190, 7210, 1, 1, -1, 1},
        {131, 6790, 6810, 3290, 8110, 1, 1, -1, 1},  {132, 6840, 6760, 3240, 8060, 1, 1, -1, -1},
        {198, 10140, 3460, 40, 4760, 1, -1, -1, -1}, {208, 10540, 2960, 540, 4260, -1, -1, -1, -1},
    };
    int done = 0;
    for (const Row& row : rows) {
        ticks(row.tick - done);
        done = row.tick;
        SCOPED_TRACE(::testing::Message() << "tick " << row.tick);
        expectAt(0, row.left0, row.top0);
        expectAt(1, row.left1, row.top1);
        expectDirections(row.x0, row.x1, row.x2, row.x3);
    }
}

TEST_F(Motion, WritesBothTopsThenBothLeftsThenReEnablesTimer1) {
    game.motionStep();
    const std::vector<std::string> expected{"Image1(0).Top", "Image1(1).Top", "Image1(0).Left",
                                            "Image1(1).Left", "Timer1.Enabled=true"};
    EXPECT_EQ(view.calls, expected);
}

TEST_F(Motion, SecondTargetMovesLeftWhenItsDirectionIsOne) {
    view.targets[1] = {5000, 3000, 285, 195};
    game.motionStep();
    EXPECT_EQ(view.targets[1].left, 4950);
    game.state().x1 = -1;
    game.motionStep();
    EXPECT_EQ(view.targets[1].left, 5000);
}

TEST_F(Motion, ATargetExactlyOnALimitDoesNotTurn) {
    view.targets[0] = {3000, 40, 525, 555};
    game.state().x2 = -1;
    game.motionStep();
    EXPECT_EQ(view.targets[0].top, -10);
    game.motionStep();
    EXPECT_EQ(view.targets[0].top, 40);
    EXPECT_EQ(game.state().x2, 1);

    view.targets[0] = {11070 - 525, 3000, 525, 555};
    game.state().x0 = 1;
    game.motionStep();
    EXPECT_EQ(view.targets[0].left, 11070 - 525 + 50);
    game.motionStep();
    EXPECT_EQ(game.state().x0, -1);
}

TEST_F(Motion, ANewGameTrapsTheFirstTargetJustAboveTheTopLimit) {
    view.targets[0] = {3000, 10, 525, 555};
    for (float top : {-40.0f, 10.0f, -40.0f, 10.0f, -40.0f}) {
        game.motionStep();
        EXPECT_EQ(view.targets[0].top, top);
    }
    EXPECT_EQ(view.targets[0].left, 3250) << "the other axis moves on";
}

TEST_F(Motion, ANewGameTrapsTheSecondTargetBeyondTheRightLimit) {
    view.targets[1] = {11100 - 285, 3000, 285, 195};  // right edge 11100
    for (float left : {10865.0f, 10815.0f, 10865.0f, 10815.0f}) {
        game.motionStep();
        EXPECT_EQ(view.targets[1].left, left);
    }
}

TEST_F(Motion, TheSecondTargetJustBeyondTheLeftLimitEscapes) {
    view.targets[1] = {10, 3000, 285, 195};
    game.motionStep();
    EXPECT_EQ(view.targets[1].left, 60);
    game.motionStep();
    EXPECT_EQ(view.targets[1].left, 110);
}

TEST_F(Motion, ATargetPastTopAndBottomAtOnceKeepsItsDirection) {
    view.targets[0] = {3000, 30, 525, 8300};  // taller than the gap between the limits
    game.motionStep();
    EXPECT_EQ(game.state().x2, 1);
    EXPECT_EQ(view.targets[0].top, 80);
}

TEST_F(Motion, AnOverflowingLimitTestStopsTheStepAndKeepsEarlierTurns) {
    view.targets[0] = {11000, 3000, 525, 555};  // passes the right limit (test 7)
    view.targets[1].left = std::numeric_limits<float>::infinity();
    EXPECT_THROW(game.motionStep(), RuntimeError);
    EXPECT_EQ(game.state().x0, -1) << "the turn before the failing test stays";
    EXPECT_TRUE(view.calls.empty()) << "no target moved";
}

}  // namespace
}  // namespace moxel
