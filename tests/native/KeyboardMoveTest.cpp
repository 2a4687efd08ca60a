// Moving and sizing a sticky with the keys, the magnet on the way, and Enter
// on the notification icon.
#include <gtest/gtest.h>

#include <vector>

#include "app/TrayMenuGate.h"
#include "note/KeyboardMove.h"
#include "note/Magnet.h"

using namespace Brisvane;

TEST(KeyboardMove, ArrowsShiftEnterAndEsc) {
    using Outcome = KeyboardMove::Outcome;
    const Rect start{100, 100, 300, 300};
    const struct {
        const char* what;
        bool size;
        std::vector<MoveKey> keys;
        bool shift;
        Outcome last;
        Rect placed;
    } cases[] = {
        {"arrows add up",
         false,
         {MoveKey::left, MoveKey::left, MoveKey::down},
         false,
         Outcome::changed,
         {84, 108, 284, 308}},
        {"Shift: larger steps", false, {MoveKey::up}, true, Outcome::changed, {100, 36, 300, 236}},
        {"Enter keeps", false, {MoveKey::right, MoveKey::enter}, false, Outcome::kept, {108, 100, 308, 300}},
        {"Esc goes back", false, {MoveKey::right, MoveKey::escape}, false, Outcome::cancelled, start},
        {"other keys, or keys after the end, do nothing",
         false,
         {MoveKey::enter, MoveKey::other},
         false,
         Outcome::ignored,
         start},
        {"size grows right and down",
         true,
         {MoveKey::right, MoveKey::down},
         false,
         Outcome::changed,
         {100, 100, 308, 308}},
        {"size stops at its minimum",
         true,
         {MoveKey::left, MoveKey::left, MoveKey::left, MoveKey::left},
         true,
         Outcome::ignored,
         {100, 100, 130, 300}},
        {"size stops at its maximum",
         true,
         {MoveKey::down, MoveKey::down, MoveKey::down, MoveKey::down},
         true,
         Outcome::ignored,
         {100, 100, 300, 400}},
    };
    for (const auto& c : cases) {
        KeyboardMove move(c.size ? KeyboardMove::Kind::size : KeyboardMove::Kind::move, start, 8, 64, 30, 18,
                          300);
        Outcome last = Outcome::ignored;
        for (MoveKey key : c.keys) {
            last = move.key(key, c.shift);
        }
        EXPECT_EQ(last, c.last) << c.what;
        EXPECT_EQ(move.proposed(), c.placed) << c.what;
    }
}

TEST(KeyboardMove, SnapsAsAMouseDragOfTheSameTravel) {
    // 30 px to the work area's edges, 10 px to other stickies'.
    const Rect workArea{0, 0, 1920, 1040};
    const MagnetDistances distances{30, 30, 10, 10};
    const Rect other{500, 500, 700, 700};
    const struct {
        const char* what;
        Rect from;
        int steps; // 8 px each, to the left when negative
        int left;
        std::wstring link;
    } cases[] = {
        {"32 px from the edge: not yet", {40, 500, 240, 700}, -1, 32, L""},
        {"24 px: at the edge", {40, 500, 240, 700}, -2, 0, L""},
        {"4 px short of another sticky: beside it and stuck to it", {88, 500, 288, 700}, 26, 300, L"b"},
    };
    for (const auto& c : cases) {
        KeyboardMove move(KeyboardMove::Kind::move, c.from, 8, 64, 30, 18, 16384);
        for (int i = 0; i < (c.steps < 0 ? -c.steps : c.steps); ++i) {
            move.key(c.steps < 0 ? MoveKey::left : MoveKey::right, false);
        }
        const std::vector<MagnetNote> notes{{L"a", true, L"", c.from, c.from},
                                            {L"b", true, L"", other, other}};
        const MagnetOutcome out =
            snapMove(notes, 0, move.proposed(), move.dx(), move.dy(), workArea, distances);
        EXPECT_EQ(out.replaced ? out.rect.left : move.proposed().left, c.left) << c.what;
        EXPECT_EQ(out.stickGuid, c.link) << c.what;
    }
}

TEST(TrayMenuGate, EnterOnTheIconOpensTheMenuOnce) {
    TrayMenuGate gate(500);
    EXPECT_TRUE(gate.keySelectOpens(1000));
    gate.opened();
    EXPECT_FALSE(gate.keySelectOpens(1010)) << "its copy while the menu is up";
    gate.closed(0xFFFFFF00u);
    EXPECT_FALSE(gate.keySelectOpens(0x10u))
        << "its copy as the key comes up after a choice, past the clock's wrap";
    EXPECT_TRUE(gate.keySelectOpens(0x200u)) << "a new press";
}
