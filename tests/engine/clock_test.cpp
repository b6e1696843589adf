#include <gtest/gtest.h>

#include <limits>

#include "fake_view.h"
#include "game.h"
#include "runtime_error.h"

namespace moxel {
namespace {

using testing::FakeView;

class Clock : public ::testing::Test {
protected:
    FakeView view;
    Game game{view};

    void ticks(int count) {
        for (int i = 0; i < count; ++i)
            game.clockTick();
    }
};

TEST_F(Clock, CountsAsTheWorkedExampleFromAReset) {
    struct Row {
        int tick;
        const char* text2;
        const char* text1;
        Long s1, t1;
    };
    const Row rows[] = {
        {1, "0", "0", 0, 1},   {2, "0", "1", 0, 2},   {101, "0", "100", 1, 0},
        {102, "1", "0", 1, 1}, {203, "2", "0", 2, 1},
    };
    game.resetClock();
    int done = 0;
    for (const Row& row : rows) {
        ticks(row.tick - done);
        done = row.tick;
        SCOPED_TRACE(::testing::Message() << "tick " << row.tick);
        EXPECT_EQ(view.text2, row.text2);
        EXPECT_EQ(view.text1, row.text1);
        EXPECT_EQ(game.state().s1, row.s1);
        EXPECT_EQ(game.state().t1, row.t1);
    }
}

TEST_F(Clock, ShowsEveryTickValueFromZeroToOneHundredOncePerUnit) {
    for (int expected = 0; expected <= 100; ++expected) {
        game.clockTick();
        ASSERT_EQ(view.text1, std::to_string(expected));
    }
    game.clockTick();
    EXPECT_EQ(view.text1, "0") << "101 is never shown";
    EXPECT_EQ(view.text2, "1");
}

TEST_F(Clock, AResetLeavesTheBoxesUntilTheFirstTickOfTheNewGame) {
    ticks(257);
    game.resetClock();
    EXPECT_EQ(view.text2, "2");
    EXPECT_EQ(view.text1, "54");
    game.clockTick();
    EXPECT_EQ(view.text2, "0");
    EXPECT_EQ(view.text1, "0");
}

TEST_F(Clock, TheUnitCounterOverflowsOnlyAfterItsLargestValue) {
    game.state().s1 = std::numeric_limits<Long>::max();
    game.state().t1 = 99;
    game.clockTick();
    EXPECT_EQ(game.state().t1, 100);
    EXPECT_THROW(game.clockTick(), RuntimeError);
    EXPECT_EQ(view.text2, "2147483647");
    EXPECT_EQ(view.text1, "100");
    EXPECT_EQ(game.state().s1, std::numeric_limits<Long>::max());
}

}  // namespace
}  // namespace moxel
