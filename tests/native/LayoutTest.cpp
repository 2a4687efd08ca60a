#include <gtest/gtest.h>

#include <limits>
#include <ostream>

#include "note/Layout.h"

namespace Brisvane {
void PrintTo(const Rect& r, std::ostream* os);
} // namespace Brisvane

using namespace Brisvane;

namespace {

// A client area of 240 x 300 with the default title bar heights 20 and 18.
NoteLayout standard(bool folded, bool titlebar, bool border) {
    return computeLayout(240, 300, folded, titlebar, border, 20, 18);
}

} // namespace

TEST(NoteLayout, TitlebarWithBorder) {
    NoteLayout l = standard(false, true, true);
    EXPECT_FALSE(l.folded);
    EXPECT_TRUE(l.titlebarShown);
    // Title between the buttons: x = 20 + 1, width 240 - 2 x 21 = 198.
    EXPECT_EQ(l.titleEdit, (Rect{21, 1, 219, 21}));
    EXPECT_EQ(l.newButton, (Rect{1, 1, 21, 21}));
    // Trash at 240 - 20 - 1 = 219.
    EXPECT_EQ(l.trashButton, (Rect{219, 1, 239, 21}));
    // Text from (2, 22), 236 x (300 - 20 - 4 = 276): one free pixel to every side.
    EXPECT_EQ(l.textArea, (Rect{2, 22, 238, 298}));
    EXPECT_FALSE(l.titleRegionUsed);
    EXPECT_EQ(l.titleRegion, Rect{});
}

TEST(NoteLayout, TitlebarWithoutBorder) {
    NoteLayout l = standard(false, true, false);
    EXPECT_TRUE(l.titlebarShown);
    EXPECT_EQ(l.titleEdit, (Rect{20, 0, 220, 20}));
    EXPECT_EQ(l.newButton, (Rect{0, 0, 20, 20}));
    EXPECT_EQ(l.trashButton, (Rect{220, 0, 240, 20}));
    // (1, 21), 238 x (300 - 20 + 2 - 4 = 278).
    EXPECT_EQ(l.textArea, (Rect{1, 21, 239, 299}));
}

TEST(NoteLayout, HiddenTitlebarStartsTextOnePixelInsideBorder) {
    NoteLayout bordered = standard(false, false, true);
    EXPECT_FALSE(bordered.titlebarShown);
    EXPECT_EQ(bordered.titleEdit, Rect{});
    EXPECT_EQ(bordered.newButton, Rect{});
    EXPECT_EQ(bordered.trashButton, Rect{});
    // The border is pixel 0; the text starts at b + 1 = 2 and the title bar
    // height is not taken off: 236 x 296.
    EXPECT_EQ(bordered.textArea, (Rect{2, 2, 238, 298}));

    NoteLayout bare = standard(false, false, false);
    EXPECT_EQ(bare.titleEdit, Rect{});
    EXPECT_EQ(bare.newButton, Rect{});
    EXPECT_EQ(bare.trashButton, Rect{});
    EXPECT_EQ(bare.textArea, (Rect{1, 1, 239, 299}));
}

TEST(NoteLayout, FoldedShowsOnlyTheTitle) {
    for (bool titlebar : {true, false}) {
        NoteLayout l = standard(true, titlebar, true);
        EXPECT_TRUE(l.folded);
        EXPECT_FALSE(l.titlebarShown);
        // The title edit covers the whole folded window, 18 high.
        EXPECT_EQ(l.titleEdit, (Rect{0, 0, 240, 18}));
        // Its region leaves the border free: (1, 1) size 238 x 16.
        EXPECT_TRUE(l.titleRegionUsed);
        EXPECT_EQ(l.titleRegion, (Rect{1, 1, 239, 17}));
        EXPECT_EQ(l.newButton, Rect{});
        EXPECT_EQ(l.trashButton, Rect{});
        EXPECT_EQ(l.textArea, Rect{});
    }
    NoteLayout bare = standard(true, true, false);
    EXPECT_TRUE(bare.titleRegionUsed);
    EXPECT_EQ(bare.titleRegion, (Rect{0, 0, 240, 18}));
}

TEST(NoteLayout, TitleHeightsComeFromTheArguments) {
    NoteLayout l = computeLayout(300, 200, false, true, true, 30, 18);
    // x = 31, width 300 - 62 = 238; trash at 300 - 31 = 269.
    EXPECT_EQ(l.titleEdit, (Rect{31, 1, 269, 31}));
    EXPECT_EQ(l.newButton, (Rect{1, 1, 31, 31}));
    EXPECT_EQ(l.trashButton, (Rect{269, 1, 299, 31}));
    // (2, 32), 296 x (200 - 30 - 4 = 166).
    EXPECT_EQ(l.textArea, (Rect{2, 32, 298, 198}));

    NoteLayout folded = computeLayout(300, 200, true, true, true, 30, 24);
    EXPECT_EQ(folded.titleEdit, (Rect{0, 0, 300, 24}));
    EXPECT_EQ(folded.titleRegion, (Rect{1, 1, 299, 23}));
}

TEST(NoteLayout, HugeTitleHeightDoesNotWrapRound) {
    const int max = std::numeric_limits<int>::max();
    NoteLayout l = computeLayout(240, 300, false, true, true, max, max);
    // A title bar taller than the window leaves no room for the text.
    EXPECT_LE(l.textArea.height(), 0);
    EXPECT_LE(l.titleEdit.width(), 0);
    EXPECT_EQ(l.newButton.left, 1);
}
