#pragma once

#include <cstdlib>
#include <limits>
#include <optional>

namespace platform {

// a * b / c rounded to the nearest integer, halves away from zero, computed
// exactly in 64 bits. No value when c is 0 or the result does not fit an int,
// so a failed division can never be mistaken for a real result.
constexpr std::optional<int> mulDiv(int a, int b, int c)
{
    if (c == 0)
        return std::nullopt;
    const long long product = static_cast<long long>(a) * b;
    const long long divisor = c < 0 ? -static_cast<long long>(c) : c;
    const long long magnitude = ((product < 0 ? -product : product) + divisor / 2) / divisor;
    const long long result = (product < 0) != (c < 0) ? -magnitude : magnitude;
    if (result < std::numeric_limits<int>::min() || result > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(result);
}

} // namespace platform
