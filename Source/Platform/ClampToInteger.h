// Floating-point values from data (sync tracks, curves, scene files, the command line) made into
// integers, indices and counts. C++ leaves converting NaN, an infinity or a value beyond the
// integer's range undefined, so every such conversion goes through here: a value beyond the range
// takes its nearest end, and NaN takes the low end (no items, the first index). Within the range
// the value is truncated toward zero, as a cast does.
#pragma once

#include <type_traits>

template <typename Integer, typename Float>
constexpr Integer ClampToInteger(Float value, Integer low, Integer high)
{
    static_assert(std::is_integral_v<Integer> && std::is_floating_point_v<Float>);
    // The comparisons are false for NaN. Where high has no exact Float, Float(high) is its nearest
    // one, and every Float below that lies within the range.
    if (!(value > static_cast<Float>(low)))
        return low;
    if (!(value < static_cast<Float>(high)))
        return high;
    return static_cast<Integer>(value);
}
