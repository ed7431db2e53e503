#include "platform/muldiv.h"

#include <gtest/gtest.h>
#include <limits>

using platform::mulDiv;

TEST(MulDiv, RoundsHalvesAwayFromZeroAndHasNoValueForZeroOrOverflow)
{
    constexpr int max = std::numeric_limits<int>::max();
    const struct {
        int a, b, c;
        std::optional<int> expected;
    } cases[] = {
        {68, 681, 672, 69},
        {604, 681, 672, 612},
        {1, 1, 2, 1},
        {-1, 1, 2, -1},
        {1, -3, 2, -2},
        {3, 1, -2, -2},
        {-3, 1, -2, 2},
        {-2, 100, 200, -1},
        {5, 0, 7, 0},
        {7, 1, 0, std::nullopt},
        {max, 2, 1, std::nullopt},
        {max, max, max, max},
    };
    for (const auto &c : cases)
        EXPECT_EQ(mulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}
