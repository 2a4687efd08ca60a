// A sticky left on a monitor that went away comes back onto one that is there.
#include <gtest/gtest.h>

#include "note/Geometry.h"

using namespace Brisvane;

TEST(DisplayChange, StickiesOnAVanishedMonitorComeBack) {
    const Rect primary{0, 0, 1920, 1080};
    const std::vector<Rect> remaining{{0, 0, 1920, 1040}};
    struct Case {
        Rect before; // where the sticky was while the second monitor was there
        Rect after;  // where it goes with the primary monitor alone
        bool corrected;
    };
    const Case cases[] = {
        {rectFromSize(2200, 300, 240, 200), rectFromSize(1680, 300, 240, 200), true},  // right of the primary
        {rectFromSize(-1500, 100, 240, 200), rectFromSize(0, 100, 240, 200), true},    // left of it
        {rectFromSize(500, -900, 240, 200), rectFromSize(500, 0, 240, 200), true},     // above it
        {rectFromSize(1700, 300, 240, 200), rectFromSize(1700, 300, 240, 200), false}, // centre still shown
    };
    for (const Case& c : cases) {
        bool corrected = !c.corrected;
        // The nearest monitor of a rectangle on a vanished one is the primary.
        EXPECT_EQ(keepOnScreen(c.before, remaining, primary, corrected), c.after) << c.before.left;
        EXPECT_EQ(corrected, c.corrected) << c.before.left;
    }
}
