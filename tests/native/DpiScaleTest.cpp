#include <gtest/gtest.h>

#include <limits>

#include "note/DpiScale.h"

using namespace Brisvane;

namespace {

struct ScaleCase {
    int measure, dpi, minimum, expected;
};

// The sticky's 96-DPI measures at the usual screen densities (100 %, 125 %,
// 150 %, 200 %), with the rounding of halves and the minimums.
const ScaleCase scaleCases[] = {
    // Title bar 20, folded 18, scroll bar 9, thumb 30, resize edge 5, top edge 2.
    {20, 96, 0, 20},
    {20, 120, 0, 25},
    {20, 144, 0, 30},
    {20, 192, 0, 40},
    {18, 120, 0, 23},
    {18, 144, 0, 27},
    {9, 120, 0, 11},
    {9, 144, 0, 14},
    {9, 192, 0, 18},
    {30, 120, 0, 38},
    {5, 120, 0, 6},
    {5, 144, 0, 8},
    {2, 120, 0, 3},
    {2, 144, 0, 3},
    {1, 120, 0, 1},
    {1, 144, 0, 2},
    // Halves round away from zero, also for negative measures.
    {-5, 144, -100, -8},
    {-1, 144, -100, -2},
    {-1, 120, -100, -1},
    // Minimums: a one-pixel line never vanishes, a margin of 0 stays 0.
    {0, 192, 0, 0},
    {1, 40, 1, 1},
    {0, 144, 1, 1},
    {-3, 96, 0, 0},
    // A window that reports no DPI counts as 96.
    {20, 0, 0, 20},
    {20, -144, 0, 20},
    // Stored measures of any size saturate instead of wrapping.
    {std::numeric_limits<int>::max(), 192, 0, std::numeric_limits<int>::max()},
    {std::numeric_limits<int>::min(), 192, std::numeric_limits<int>::min(), std::numeric_limits<int>::min()},
};

TEST(DpiScale, MeasuresAtEachDensity) {
    for (const ScaleCase& c : scaleCases) {
        EXPECT_EQ(scaleToDpi(c.measure, c.dpi, c.minimum), c.expected)
            << c.measure << " at " << c.dpi << " DPI, minimum " << c.minimum;
    }
}

struct ZoomCase {
    int windowDpi, textDpi, numerator, denominator;
};

const ZoomCase zoomCases[] = {
    {96, 96, 0, 0},        {144, 144, 0, 0},     {0, 96, 0, 0},   // same density: no zoom
    {144, 96, 3, 2},       {192, 96, 2, 1},      {120, 96, 5, 4}, // a denser monitor than the system's
    {96, 144, 2, 3},       {96, 192, 1, 2},                       // a lighter one
    {96 * 100, 96, 64, 1}, {1, 96 * 100, 1, 64},                  // beyond the control's range
};

TEST(DpiScale, TextZoomBetweenDensities) {
    for (const ZoomCase& c : zoomCases) {
        TextZoom zoom = textZoom(c.windowDpi, c.textDpi);
        EXPECT_EQ(zoom.numerator, c.numerator) << c.windowDpi << " on " << c.textDpi;
        EXPECT_EQ(zoom.denominator, c.denominator) << c.windowDpi << " on " << c.textDpi;
    }
}

} // namespace
