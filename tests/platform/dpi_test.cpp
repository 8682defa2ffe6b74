// Scale: pixels of the 96 DPI layout at other scales, rounded as MulDiv rounds.
#include "platform/dpi.h"

#include <gtest/gtest.h>

namespace {

TEST(Dpi, ScaleRoundsHalvesAwayFromZeroAndKeepsUnknownScales) {
    struct { int px, dpi, want; } rows[] = {
        {363, 96, 363}, {363, 120, 454}, {363, 144, 545}, {363, 192, 726}, {278, 144, 417},
        {1, 120, 1},    {1, 144, 2},     {3, 144, 5},     {-3, 144, -5},   {-1, 120, -1},
        {0, 192, 0},    {10, 72, 8},     {25, 0, 25},     {25, -96, 25},   {100000, 480, 500000},
    };
    for (const auto& r : rows) EXPECT_EQ(Scale(r.px, r.dpi), r.want) << r.px << " at " << r.dpi;
    // Over every pixel of the layout, scaling up and down again is exact at whole scales.
    for (int px = -400; px <= 400; ++px) EXPECT_EQ(Scale(Scale(px, 192), 48), px) << px;
}

}  // namespace
