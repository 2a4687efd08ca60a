// Snapping arithmetic: work-area edges, other stickies' edges, links and the
// stickies carried along.
#include <gtest/gtest.h>

#include "note/Magnet.h"

using namespace Brisvane;

namespace {

const Rect workArea{0, 0, 1920, 1040};
const MagnetDistances distances{10, 10, 10, 10};

MagnetNote sticky(const wchar_t* guid, const Rect& r, const wchar_t* stuckTo = L"", bool snaps = true) {
    return {guid, snaps, stuckTo, r, r};
}

// Drags sticky 0 by (dx, dy): the system proposes the start rectangle moved by the cursor.
MagnetOutcome drag(const std::vector<MagnetNote>& notes, int dx, int dy) {
    const Rect& s = notes[0].startRect;
    return snapMove(notes, 0, {s.left + dx, s.top + dy, s.right + dx, s.bottom + dy}, dx, dy, workArea,
                    distances);
}

} // namespace

TEST(Magnet, SnapsToWorkAreaEdges) {
    struct Case {
        int dx, dy;
        bool replaced;
        int left, top;
    };
    // Sticky A at (100, 100), 200 x 200; it snaps to other stickies too, so a
    // drag that does not snap to the work area is still placed by the cursor.
    const Case cases[] = {
        {-95, 0, true, 0, 100},     // left edge 5 px inside the left edge of the work area
        {-105, 0, true, -5, 100},   // 5 px outside: no snap
        {1615, 0, true, 1720, 100}, // right edge 5 px inside
        {0, 735, true, 100, 840},   // bottom edge 5 px inside
        {-90, -90, true, 0, 0},     // both
        {-89, 0, true, 11, 100},    // 11 px: too far
    };
    for (const Case& c : cases) {
        MagnetOutcome out = drag({sticky(L"a", {100, 100, 300, 300})}, c.dx, c.dy);
        EXPECT_EQ(out.replaced, c.replaced) << c.dx << "," << c.dy;
        EXPECT_EQ(out.rect.left, c.left) << c.dx << "," << c.dy;
        EXPECT_EQ(out.rect.top, c.top) << c.dx << "," << c.dy;
        EXPECT_EQ(out.rect.width(), 200);
    }
    // A sticky that does not snap to stickies keeps the proposed rectangle when
    // no work-area edge is near.
    EXPECT_FALSE(drag({sticky(L"a", {100, 100, 300, 300}, L"", false)}, -105, 0).replaced);
    EXPECT_TRUE(drag({sticky(L"a", {100, 100, 300, 300}, L"", false)}, -95, 0).replaced);
}

TEST(Magnet, SnapsToTheNearestEdgeOfAnotherSticky) {
    struct Case {
        Rect other;
        int dx;
        int left;
        const wchar_t* link;
    };
    // A at (100, 100) 200 x 200 is dragged right by dx.
    const Case cases[] = {
        {{500, 150, 700, 250}, 195, 300, L"b"}, // A's right edge 5 px short of B's left edge
        {{500, 150, 700, 250}, 185, 285, L""},  // 15 px short: no snap, no link
        {{500, 500, 700, 700}, 195, 295, L""},  // no vertical overlap: no snap
        {{500, 300, 700, 500}, 195, 295, L""},  // spans only touch: overlap of 0 px
        {{500, 150, 520, 250},
         410,
         520,
         L"b"}, // left edge 10 px from both edges of a narrow B: the right one
        {{500, 150, 520, 250}, 404, 500, L"b"}, // nearer to the left edge of B
    };
    for (const Case& c : cases) {
        MagnetOutcome out = drag({sticky(L"a", {100, 100, 300, 300}), sticky(L"b", c.other)}, c.dx, 0);
        EXPECT_TRUE(out.replaced);
        EXPECT_EQ(out.rect.left, c.left) << c.dx;
        EXPECT_EQ(out.stickGuid, c.link) << c.dx;
    }
}

TEST(Magnet, LinksAreNeverMutualAndChainsStop) {
    // B is stuck to A: A is carried nowhere by B, B travels with A and A does not snap to it.
    std::vector<MagnetNote> notes{sticky(L"a", {100, 100, 300, 300}),
                                  sticky(L"b", {305, 100, 505, 300}, L"a")};
    MagnetOutcome out = drag(notes, 0, 0);
    EXPECT_EQ(out.stickGuid, L"");
    EXPECT_TRUE(isCarriedBy(notes, 1, 0));
    EXPECT_FALSE(isCarriedBy(notes, 0, 1));

    // A loop and a dangling guid both end the chain.
    std::vector<MagnetNote> loop{sticky(L"a", {}, L"b"), sticky(L"b", {}, L"c"), sticky(L"c", {}, L"a")};
    EXPECT_EQ(stickChain(loop, 0), (std::vector<std::wstring>{L"b", L"c", L"a"}));
    std::vector<MagnetNote> dangling{sticky(L"a", {}, L"gone")};
    EXPECT_EQ(stickChain(dangling, 0), (std::vector<std::wstring>{L"gone"}));
}

TEST(Magnet, StuckStickiesTravelAlong) {
    // C is stuck to B, B to A, D to nobody; dragging A carries B, then C.
    std::vector<MagnetNote> notes{
        sticky(L"a", {400, 400, 600, 600}),
        sticky(L"c", {800, 400, 1000, 600}, L"b"),
        sticky(L"b", {600, 400, 800, 600}, L"a"),
        sticky(L"d", {100, 800, 300, 900}),
    };
    MagnetOutcome out = drag(notes, 50, -30);
    ASSERT_TRUE(out.replaced);
    ASSERT_EQ(out.carried.size(), 2u);
    EXPECT_EQ(out.carried[0].index, 2u);
    EXPECT_EQ(out.carried[0].left, 650);
    EXPECT_EQ(out.carried[0].top, 370);
    EXPECT_EQ(out.carried[1].index, 1u);
    EXPECT_EQ(out.carried[1].left, 850);

    // The carried stickies widen the span that snaps to the work area: C's
    // right edge comes 5 px inside the right edge and pulls the chain along.
    out = drag(notes, 915, 0);
    EXPECT_EQ(out.rect.left, 1320);
    EXPECT_EQ(out.carried[1].left, 1720);

    // A sticky whose stored link names itself never moves under its own drag.
    std::vector<MagnetNote> self{sticky(L"a", {400, 400, 600, 600}, L"a")};
    EXPECT_TRUE(drag(self, 10, 0).carried.empty());
}
