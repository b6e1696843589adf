#pragma once

// Integer and single-precision arithmetic that raises a RuntimeError instead of
// wrapping, as the game's 16-bit and 32-bit arithmetic must.

#include <cmath>
#include <concepts>
#include <utility>

#include "runtime_error.h"

namespace moxel {

template <std::signed_integral T>
T checkedAdd(T a, T b) {
    T result;
    if (__builtin_add_overflow(a, b, &result))
        raiseError(ErrorKind::Overflow);
    return result;
}

template <std::signed_integral T>
T checkedSub(T a, T b) {
    T result;
    if (__builtin_sub_overflow(a, b, &result))
        raiseError(ErrorKind::Overflow);
    return result;
}

template <std::signed_integral T>
T checkedMul(T a, T b) {
    T result;
    if (__builtin_mul_overflow(a, b, &result))
        raiseError(ErrorKind::Overflow);
    return result;
}

template <std::signed_integral T>
T checkedNegate(T a) {
    return checkedSub(T{0}, a);
}

// Integer division truncating toward zero; never divides by zero.
template <std::signed_integral T>
T checkedDiv(T dividend, T divisor) {
    if (divisor == 0)
        raiseError(ErrorKind::DivisionByZero);
    if (divisor == -1)
        return checkedNegate(dividend);
    return static_cast<T>(dividend / divisor);
}

template <std::signed_integral To, std::signed_integral From>
To checkedNarrow(From value) {
    if (!std::in_range<To>(value))
        raiseError(ErrorKind::Overflow);
    return static_cast<To>(value);
}

// A single-precision sum that leaves the range (or is not a number) raises `error`.
inline float checkedSum(float a, float b, ErrorKind error) {
    const float sum = a + b;
    if (!std::isfinite(sum))
        raiseError(error);
    return sum;
}

}  // namespace moxel
