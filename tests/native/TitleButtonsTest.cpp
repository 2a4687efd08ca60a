#include <gtest/gtest.h>

#include <algorithm>

#include "note/TitleButtons.h"

using namespace Brisvane;

namespace {

bool inside(const ButtonGlyph& glyph, int width, int height) {
    return std::all_of(glyph.begin(), glyph.end(), [&](const GlyphPoint& p) {
        return p.x >= 0 && p.y >= 0 && p.x <= width && p.y <= height;
    });
}

// Twice the signed area of the outline (shoelace formula).
long twiceArea(const ButtonGlyph& glyph) {
    long sum = 0;
    for (size_t i = 0; i < glyph.size(); ++i) {
        const GlyphPoint& a = glyph[i];
        const GlyphPoint& b = glyph[(i + 1) % glyph.size()];
        sum += long(a.x) * b.y - long(b.x) * a.y;
    }
    return sum;
}

} // namespace

TEST(TitleButtons, PlusOnEvenWidthIsSymmetricWithTwoPixelArms) {
    // 20 x 20: centre 10, inset 20 / 4 + 1 = 6.
    ButtonGlyph plus = plusGlyph(20, 20);
    EXPECT_EQ(plus[0].x, 6);
    EXPECT_EQ(plus[0].y, 9);
    EXPECT_EQ(plus[6].x, 14) << "right arm ends as far from the edge as the left starts";
    EXPECT_EQ(plus[3].y, 14);
    EXPECT_EQ(plus[9].y, 6);
    // The horizontal arm spans y 9..11 and the vertical x 9..11: two pixels.
    EXPECT_EQ(plus[1].y - plus[0].y, 2);
    EXPECT_EQ(plus[4].x - plus[3].x, 2);
    // Mirror symmetric across both centre lines.
    for (const GlyphPoint& p : plus) {
        bool mirrored = std::any_of(plus.begin(), plus.end(),
                                    [&](const GlyphPoint& q) { return q.x == 20 - p.x && q.y == p.y; });
        EXPECT_TRUE(mirrored) << p.x << "," << p.y;
    }
    // Two arms of 8 x 2 overlapping in a 2 x 2 square: 28 square pixels.
    EXPECT_EQ(std::abs(twiceArea(plus)), 2 * 28);
    EXPECT_TRUE(inside(plus, 20, 20));
}

TEST(TitleButtons, PlusOnOddWidthTruncatesTheHalfPixelCentre) {
    // 21 x 21: centre 10.5, inset 6.25; cx - 1 = 9.5 and cx + 1 = 11.5 truncate to 9 and 11.
    ButtonGlyph plus = plusGlyph(21, 21);
    EXPECT_EQ(plus[0].x, 6);
    EXPECT_EQ(plus[2].x, 9);
    EXPECT_EQ(plus[4].x, 11);
    EXPECT_EQ(plus[6].x, 14) << "21 - 6.25 = 14.75";
    EXPECT_EQ(plus[1].y - plus[0].y, 2) << "the arms stay two pixels thick";
    EXPECT_TRUE(inside(plus, 21, 21));
}

TEST(TitleButtons, CrossOnEvenWidth) {
    // 20 x 20: m = 21 / 4 + 1.6 = 6.85, so the insets are p = 6 and q = u = 14.
    ButtonGlyph cross = crossGlyph(20, 20);
    EXPECT_EQ(cross[0].x, 6);
    EXPECT_EQ(cross[0].y, 7);
    EXPECT_EQ(cross[1].x, 9);
    EXPECT_EQ(cross[1].y, 10);
    EXPECT_EQ(cross[6].x, 15);
    EXPECT_EQ(cross[6].y, 13);
    EXPECT_EQ(cross[7].x, 12) << "cx + 2 with no odd-width shift";
    // The cross is symmetric about its horizontal centre line.
    for (const GlyphPoint& p : cross) {
        bool mirrored = std::any_of(cross.begin(), cross.end(),
                                    [&](const GlyphPoint& q) { return q.x == p.x && q.y == 20 - p.y; });
        EXPECT_TRUE(mirrored) << p.x << "," << p.y;
    }
    EXPECT_TRUE(inside(cross, 20, 20));
    EXPECT_NE(twiceArea(cross), 0);
}

TEST(TitleButtons, CrossOnOddWidthShiftsTheLeftEdge) {
    // 21 x 21: m = 22 / 4 + 1.6 = 7.1, p = 7, q = u = 14, one pixel of shift.
    ButtonGlyph cross = crossGlyph(21, 21);
    EXPECT_EQ(cross[0].x, 6) << "p - 1";
    EXPECT_EQ(cross[2].x, 6);
    EXPECT_EQ(cross[3].x, 8) << "p + 1, unshifted";
    EXPECT_EQ(cross[7].x, 11) << "10.5 + 2 - 1 truncated";
    EXPECT_EQ(cross[1].x, 9);
    EXPECT_EQ(cross[1].y, 10);
    EXPECT_TRUE(inside(cross, 21, 21));
}

TEST(TitleButtons, TinyButtonsStayFinite) {
    for (int size : {0, 1, 2, 3}) {
        ButtonGlyph plus = plusGlyph(size, size);
        ButtonGlyph cross = crossGlyph(size, size);
        for (const GlyphPoint& p : plus) {
            EXPECT_LE(std::abs(p.x), 8);
        }
        for (const GlyphPoint& p : cross) {
            EXPECT_LE(std::abs(p.y), 8);
        }
    }
}
