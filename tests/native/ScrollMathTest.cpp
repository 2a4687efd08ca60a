#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "note/ScrollMath.h"

namespace Brisvane {
void PrintTo(const Rect& r, std::ostream* os);
} // namespace Brisvane

using namespace Brisvane;

TEST(ScrollThumb, ProportionalWhenLongEnough) {
    // A bar of 200 showing half of a range of 1000 from position 250.
    ThumbSpan t = thumbSpan(200, 250, 500, 0, 1000);
    EXPECT_EQ(t.start, 50);
    EXPECT_EQ(t.end, 150);
}

TEST(ScrollThumb, NeverShorterThanThirtyPixels) {
    ThumbSpan top = thumbSpan(200, 0, 10, 0, 1000);
    EXPECT_EQ(top.start, 0);
    EXPECT_EQ(top.end - top.start, 30) << "2 pixels by proportion, widened to 30";
    // At the last position (range - page) the short thumb still ends inside the bar.
    ThumbSpan bottom = thumbSpan(200, 990, 10, 0, 1000);
    EXPECT_EQ(bottom.end - bottom.start, 30);
    EXPECT_LE(bottom.end, 202);
    EXPECT_GT(bottom.start, 165);
    // The short thumb moves monotonically with the position.
    int last = -1;
    for (int p = 0; p <= 990; p += 90) {
        ThumbSpan t = thumbSpan(200, p, 10, 0, 1000);
        EXPECT_GE(t.start, last);
        last = t.start;
    }
}

TEST(ScrollThumb, EmptyRangeAndHugeContent) {
    EXPECT_TRUE(thumbSpan(200, 0, 0, 0, 0).empty());
    EXPECT_TRUE(thumbSpan(200, 40, 10, 7, 7).empty());
    // A body millions of pixels long must not overflow into a negative thumb.
    ThumbSpan t = thumbSpan(1000, 20'000'000, 500, 0, 40'000'000);
    EXPECT_EQ(t.start, 485) << "halfway along the 971 pixels a 30-pixel thumb can travel";
    EXPECT_EQ(t.end, 515);
}

namespace {

// A body that shows its vertical bar below a content height and its horizontal
// bar below a content width, and records every trial size.
struct FakeBody {
    int contentWidth, contentHeight;
    std::vector<std::pair<int, int>> trials;
    BodyBars operator()(int width, int height) {
        trials.emplace_back(width, height);
        return {height < contentHeight, width < contentWidth};
    }
};

ScrollCase choose(FakeBody& body) {
    return chooseScrollCase(200, 100, 17, 17, std::ref(body));
}

} // namespace

TEST(ScrollLayoutCase, ChosenFromTheTrials) {
    FakeBody fits{150, 80};
    EXPECT_EQ(choose(fits), ScrollCase::none);
    ASSERT_EQ(fits.trials.size(), 3u);
    EXPECT_EQ(fits.trials[0], std::make_pair(208, 108)) << "room for both own bars beyond the text area";
    EXPECT_EQ(fits.trials[1], std::make_pair(208, 100));
    EXPECT_EQ(fits.trials[2], std::make_pair(200, 108));

    FakeBody tall{150, 500};
    EXPECT_EQ(choose(tall), ScrollCase::vertical);
    EXPECT_EQ(tall.trials.size(), 2u);

    FakeBody wide{900, 80};
    EXPECT_EQ(choose(wide), ScrollCase::horizontal);

    FakeBody large{900, 500};
    EXPECT_EQ(choose(large), ScrollCase::both);
    EXPECT_EQ(large.trials.size(), 1u) << "the first trial already shows both";
}

TEST(ScrollLayoutCase, BarsThatOnlyAppearTogether) {
    // A body that needs its horizontal bar only when the vertical one takes room.
    auto squeezed = [](int width, int height) {
        bool vertical = height < 105;
        return BodyBars{vertical, vertical && width < 210};
    };
    EXPECT_EQ(chooseScrollCase(200, 100, 17, 17, squeezed), ScrollCase::both);
    // A horizontal trial that makes the vertical bar appear as well ends in both.
    auto mixed = [](int width, int height) { return BodyBars{width == 200 && height == 108, width == 200}; };
    EXPECT_EQ(chooseScrollCase(200, 100, 17, 17, mixed), ScrollCase::both);
}

TEST(ScrollLayoutPlaces, EachCase) {
    ScrollLayout both = scrollLayout(ScrollCase::both, 2, 22, 200, 100, 17, 17);
    EXPECT_EQ(both.body, rectFromSize(2, 22, 208, 108));
    EXPECT_EQ(both.scribble, rectFromSize(2, 22, 191, 91));
    EXPECT_EQ(both.hBar, rectFromSize(2, 113, 191, 9));
    EXPECT_EQ(both.vBar, rectFromSize(193, 22, 9, 91));
    EXPECT_EQ(both.corner, rectFromSize(193, 113, 9, 9));
    EXPECT_TRUE(both.hShown && both.vShown && both.cornerShown);
    EXPECT_EQ(both.visibleWidth, 191);
    EXPECT_EQ(both.visibleHeight, 91);

    ScrollLayout vertical = scrollLayout(ScrollCase::vertical, 2, 22, 200, 100, 17, 17);
    EXPECT_EQ(vertical.body, rectFromSize(2, 22, 208, 100));
    EXPECT_EQ(vertical.vBar, rectFromSize(193, 22, 9, 100));
    EXPECT_FALSE(vertical.hShown || vertical.cornerShown);
    EXPECT_EQ(vertical.visibleWidth, 191);

    ScrollLayout horizontal = scrollLayout(ScrollCase::horizontal, 2, 22, 200, 100, 17, 17);
    EXPECT_EQ(horizontal.body, rectFromSize(2, 22, 200, 108));
    EXPECT_EQ(horizontal.hBar, rectFromSize(2, 113, 200, 9));
    EXPECT_FALSE(horizontal.vShown);
    EXPECT_EQ(horizontal.visibleHeight, 91);

    ScrollLayout none = scrollLayout(ScrollCase::none, 2, 22, 200, 100, 17, 17);
    EXPECT_EQ(none.scribble, rectFromSize(2, 22, 200, 100)) << "the drawing covers the whole text area";
    EXPECT_EQ(none.body, none.scribble);
    EXPECT_FALSE(none.hShown || none.vShown || none.cornerShown);
}

TEST(ScrollLayoutPlaces, BarsOfATinyStickyStayHidden) {
    ScrollLayout flat = scrollLayout(ScrollCase::both, 0, 0, 8, 8, 17, 17);
    EXPECT_FALSE(flat.hShown);
    EXPECT_FALSE(flat.vShown);
    ScrollLayout nine = scrollLayout(ScrollCase::both, 0, 0, 9, 9, 17, 17);
    EXPECT_TRUE(nine.hShown);
    EXPECT_TRUE(nine.vShown);
}

TEST(ScrollDrag, FollowsThePointerNearTheBar) {
    // Thumb taken 10 pixels from its leading edge on a 200-pixel bar of range 0..1000.
    EXPECT_EQ(dragPosition(110, 4, 10, 4, 0, 1000, 200), 500);
    EXPECT_EQ(dragPosition(110, 104, 10, 4, 0, 1000, 200), 500) << "100 pixels across still follows";
    EXPECT_EQ(dragPosition(110, -96, 10, 4, 0, 1000, 200), 500);
}

TEST(ScrollDrag, FarAcrossTheBarTheGrabOffsetAlonePlacesTheThumb) {
    EXPECT_EQ(dragPosition(110, 105, 10, 4, 0, 1000, 200), 50);
    EXPECT_EQ(dragPosition(180, -200, 40, 4, 0, 1000, 200), 200);
    // Back within reach the pointer rules again.
    EXPECT_EQ(dragPosition(180, 50, 40, 4, 0, 1000, 200), 700);
    // At 200 % the reach doubles.
    EXPECT_EQ(dragPosition(110, 204, 10, 4, 0, 1000, 200, 200), 500);
    EXPECT_EQ(dragPosition(110, 205, 10, 4, 0, 1000, 200, 200), 50);
}

TEST(ScrollDrag, ClampedToTheRange) {
    EXPECT_EQ(dragPosition(-50, 0, 10, 0, 0, 1000, 200), 0);
    EXPECT_EQ(dragPosition(900, 0, 10, 0, 0, 1000, 200), 1000);
    EXPECT_EQ(dragPosition(60, 0, 10, 0, 100, 300, 200), 150) << "offset by the range start";
    EXPECT_EQ(dragPosition(60, 0, 10, 0, 0, 1000, 0), 0) << "a bar without length";
}

TEST(ScrollRepeat, OnlyOnThePressedSideAndOverTheBar) {
    ThumbSpan thumb{80, 110};
    EXPECT_TRUE(repeatsAt(DragBefore, 40, 4, 0, 9, thumb));
    EXPECT_FALSE(repeatsAt(DragBefore, 80, 4, 0, 9, thumb)) << "the thumb has reached the pointer";
    EXPECT_TRUE(repeatsAt(DragAfter, 150, 9, 0, 9, thumb)) << "the bottom edge counts as inside";
    EXPECT_FALSE(repeatsAt(DragAfter, 150, 10, 0, 9, thumb)) << "left the bar across its thickness";
    EXPECT_FALSE(repeatsAt(DragAfter, 110, 4, 0, 9, thumb));
    EXPECT_FALSE(repeatsAt(DragThumb, 10, 4, 0, 9, thumb));
}

TEST(ScrollTimers, DelaysSurviveTheClockWrap) {
    EXPECT_FALSE(repeatDue(1299, 1000));
    EXPECT_TRUE(repeatDue(1300, 1000));
    EXPECT_TRUE(repeatDue(250, 0xFFFFFF00u)) << "0x100 + 250 ms after a press before the wrap";
    EXPECT_FALSE(followExpired(5999, 1000));
    EXPECT_TRUE(followExpired(6000, 1000));
    EXPECT_TRUE(followExpired(5000, 0xFFFFFF00u));
}
