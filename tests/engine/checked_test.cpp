#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "checked.h"

namespace moxel {
namespace {

template <typename F>
ErrorKind errorOf(F&& operation) {
    try {
        operation();
    } catch (const RuntimeError& error) {
        return error.kind();
    }
    ADD_FAILURE() << "no run-time error raised";
    return ErrorKind::FloatingPoint;
}

using I16 = std::int16_t;
using I32 = std::int32_t;

TEST(CheckedArithmetic, SixteenBitOperationsOverflowAtTheirLimits) {
    EXPECT_EQ(checkedAdd<I16>(32766, 1), 32767);
    EXPECT_EQ(errorOf([] { checkedAdd<I16>(32767, 1); }), ErrorKind::Overflow);
    EXPECT_EQ(checkedMul<I16>(200, 80), 16000);
    EXPECT_EQ(errorOf([] { checkedMul<I16>(410, 80); }), ErrorKind::Overflow);
    EXPECT_EQ(checkedNegate<I16>(-32767), 32767);
    EXPECT_EQ(errorOf([] { checkedNegate<I16>(-32768); }), ErrorKind::Overflow);
    EXPECT_EQ(checkedSub<I16>(-32767, 1), -32768);
    EXPECT_EQ(errorOf([] { checkedSub<I16>(-32768, 1); }), ErrorKind::Overflow);
}

TEST(CheckedArithmetic, ThirtyTwoBitOperationsOverflowAtTheirLimits) {
    constexpr I32 max = std::numeric_limits<I32>::max();
    EXPECT_EQ(checkedAdd<I32>(max - 1, 1), max);
    EXPECT_EQ(errorOf([] { checkedAdd<I32>(max, 1); }), ErrorKind::Overflow);
    EXPECT_EQ(checkedMul<I32>(21474836, 100), 2147483600);
    EXPECT_EQ(errorOf([] { checkedMul<I32>(21474837, 100); }), ErrorKind::Overflow);
    EXPECT_EQ(errorOf([] { checkedSub<I32>(std::numeric_limits<I32>::min(), 1); }),
              ErrorKind::Overflow);
}

TEST(CheckedArithmetic, NarrowingToSixteenBitsKeepsOnlyValuesInRange) {
    EXPECT_EQ(checkedNarrow<I16>(I32{32767}), 32767);
    EXPECT_EQ(checkedNarrow<I16>(I32{-32768}), -32768);
    EXPECT_EQ(errorOf([] { checkedNarrow<I16>(I32{32768}); }), ErrorKind::Overflow);
    EXPECT_EQ(errorOf([] { checkedNarrow<I16>(I32{-32769}); }), ErrorKind::Overflow);
}

TEST(CheckedArithmetic, DivisionTruncatesTowardZeroAndRefusesZero) {
    EXPECT_EQ(checkedDiv<I16>(1600, 23), 69);
    EXPECT_EQ(checkedDiv<I16>(-1600, 23), -69);
    EXPECT_EQ(checkedDiv<I16>(1600, -23), -69);
    EXPECT_EQ(checkedDiv<I16>(16000, 32767), 0);
    EXPECT_EQ(errorOf([] { checkedDiv<I16>(1600, 0); }), ErrorKind::DivisionByZero);
    EXPECT_EQ(errorOf([] { checkedDiv<I16>(0, 0); }), ErrorKind::DivisionByZero);
    EXPECT_EQ(errorOf([] { checkedDiv<I16>(-32768, -1); }), ErrorKind::Overflow);
}

TEST(CheckedArithmetic, SingleSumsThatLeaveTheRangeRaiseTheGivenError) {
    constexpr float max = std::numeric_limits<float>::max();
    EXPECT_EQ(checkedSum(7760.0f, 555.0f, ErrorKind::Overflow), 8315.0f);
    EXPECT_EQ(checkedSum(max, 50.0f, ErrorKind::Overflow), max);  // rounds, stays finite
    EXPECT_EQ(errorOf([] { checkedSum(max, max, ErrorKind::Overflow); }), ErrorKind::Overflow);
    EXPECT_EQ(errorOf([] { checkedSum(-max, -max, ErrorKind::FloatingPoint); }),
              ErrorKind::FloatingPoint);
    EXPECT_EQ(errorOf([] { checkedSum(std::nanf(""), 1.0f, ErrorKind::FloatingPoint); }),
              ErrorKind::FloatingPoint);
}

TEST(CheckedArithmetic, ErrorsNameThemselvesForThePlayer) {
    EXPECT_STREQ(RuntimeError(ErrorKind::Overflow).what(), "Overflow");
    EXPECT_STREQ(RuntimeError(ErrorKind::DivisionByZero).what(), "Division by zero");
    EXPECT_EQ(RuntimeError(ErrorKind::FloatingPoint).name(), "Floating-point error");
}

}  // namespace
}  // namespace moxel
