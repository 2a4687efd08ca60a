// Moving and sizing a sticky with the keys, and the magnet on the way.
#include <gtest/gtest.h>

#include <vector>

#include "app/TrayMenuGate.h"
#include "note/KeyboardMove.h"
#include "note/Magnet.h"

using namespace Brisvane;

namespace {

using Outcome = KeyboardMove::Outcome;
const Rect start{100, 100, 300, 300};

KeyboardMove moving() {
    return KeyboardMove(KeyboardMove::Kind::move, start, 8, 64, 30, 18, 16384);
}
KeyboardMove sizing() {
    return KeyboardMove(KeyboardMove::Kind::size, start, 8, 64, 30, 18, 400);
}

struct Press {
    MoveKey key;
    bool shift;
};

} // namespace

TEST(KeyboardMove, ArrowsShiftEnterAndEsc) {
    const struct {
        const char* what;
        bool size;
        std::vector<Press> keys;
        Outcome last;
        Rect placed;
        bool finished;
    } cases[] = {
        {"right", false, {{MoveKey::right, false}}, Outcome::changed, {108, 100, 308, 300}, false},
        {"up, Shift", false, {{MoveKey::up, true}}, Outcome::changed, {100, 36, 300, 236}, false},
        {"left and down add up",
         false,
         {{MoveKey::left, false}, {MoveKey::left, false}, {MoveKey::down, true}},
         Outcome::changed,
         {84, 164, 284, 364},
         false},
        {"Enter keeps",
         false,
         {{MoveKey::right, false}, {MoveKey::enter, false}},
         Outcome::kept,
         {108, 100, 308, 300},
         true},
        {"Esc goes back",
         false,
         {{MoveKey::right, true}, {MoveKey::escape, false}},
         Outcome::cancelled,
         start,
         true},
        {"other keys do nothing", false, {{MoveKey::other, false}}, Outcome::ignored, start, false},
        {"keys after the end do nothing",
         false,
         {{MoveKey::enter, false}, {MoveKey::left, false}},
         Outcome::ignored,
         start,
         true},
        {"size grows right and down",
         true,
         {{MoveKey::right, false}, {MoveKey::down, true}},
         Outcome::changed,
         {100, 100, 308, 364},
         false},
        {"size shrinks to its minimum",
         true,
         {{MoveKey::left, true}, {MoveKey::left, true}, {MoveKey::left, true}},
         Outcome::changed,
         {100, 100, 130, 300},
         false},
        {"size at its minimum ignores more",
         true,
         {{MoveKey::up, true}, {MoveKey::up, true}, {MoveKey::up, true}, {MoveKey::up, true}},
         Outcome::ignored,
         {100, 100, 300, 118},
         false},
        {"size stops at its maximum",
         true,
         {{MoveKey::right, true},
          {MoveKey::right, true},
          {MoveKey::right, true},
          {MoveKey::right, true},
          {MoveKey::right, true}},
         Outcome::ignored,
         {100, 100, 500, 300},
         false},
        {"size Esc goes back",
         true,
         {{MoveKey::down, true}, {MoveKey::escape, false}},
         Outcome::cancelled,
         start,
         true},
    };
    for (const auto& c : cases) {
        KeyboardMove move = c.size ? sizing() : moving();
        Outcome last = Outcome::ignored;
        for (const Press& p : c.keys) {
            last = move.key(p.key, p.shift);
        }
        EXPECT_EQ(last, c.last) << c.what;
        EXPECT_EQ(move.proposed(), c.placed) << c.what;
        EXPECT_EQ(move.finished(), c.finished) << c.what;
    }
}

TEST(KeyboardMove, SnapsAsAMouseDragOfTheSameTravel) {
    // A sticky 40 px right of the work area's left edge and one 4 px left of
    // another sticky: with 30 px to the work area and 10 px to stickies.
    const Rect workArea{0, 0, 1920, 1040};
    const MagnetDistances distances{30, 30, 10, 10};
    const Rect self{40, 500, 240, 700};
    const Rect other{500, 500, 700, 700};
    const struct {
        const char* what;
        std::vector<MoveKey> keys;
        int left;
        std::wstring link;
    } cases[] = {
        {"one step: 32 px from the edge, not yet", {MoveKey::left}, 32, L""},
        {"two steps: within 30 px, at the edge", {MoveKey::left, MoveKey::left}, 0, L""},
        {"leaves the edge once the travel is beyond reach",
         {MoveKey::left, MoveKey::left, MoveKey::right, MoveKey::right, MoveKey::right, MoveKey::right,
          MoveKey::right},
         64,
         L""},
    };
    for (const auto& c : cases) {
        KeyboardMove move(KeyboardMove::Kind::move, self, 8, 64, 30, 18, 16384);
        for (MoveKey key : c.keys) {
            move.key(key, false);
        }
        const std::vector<MagnetNote> notes{{L"a", true, L"", self, self}, {L"b", true, L"", other, other}};
        const MagnetOutcome out =
            snapMove(notes, 0, move.proposed(), move.dx(), move.dy(), workArea, distances);
        EXPECT_EQ(out.replaced ? out.rect.left : move.proposed().left, c.left) << c.what;
        EXPECT_EQ(out.stickGuid, c.link) << c.what;
    }
    // Shift steps towards the other sticky: 64 + 64 + 64 + 8 + 8 = 208 leaves
    // the right edge 4 px short of it, and it snaps and links.
    KeyboardMove move(KeyboardMove::Kind::move, {88, 500, 288, 700}, 8, 64, 30, 18, 16384);
    for (const Press& p : std::vector<Press>{{MoveKey::right, true},
                                             {MoveKey::right, true},
                                             {MoveKey::right, true},
                                             {MoveKey::right, false},
                                             {MoveKey::right, false}}) {
        move.key(p.key, p.shift);
    }
    const Rect from{88, 500, 288, 700};
    const std::vector<MagnetNote> notes{{L"a", true, L"", from, from}, {L"b", true, L"", other, other}};
    const MagnetOutcome out = snapMove(notes, 0, move.proposed(), move.dx(), move.dy(), workArea, distances);
    EXPECT_EQ(out.rect.right, 500);
    EXPECT_EQ(out.stickGuid, L"b");
}

TEST(TrayMenuGate, EnterOnTheIconOpensTheMenuOnce) {
    TrayMenuGate gate(500);
    EXPECT_TRUE(gate.keySelectOpens(1000)) << "the first press";
    gate.opened();
    EXPECT_FALSE(gate.keySelectOpens(1010)) << "its copy while the menu is up";
    gate.closed(3000);
    EXPECT_FALSE(gate.keySelectOpens(3100)) << "its copy as the key comes up after a choice";
    EXPECT_TRUE(gate.keySelectOpens(3500)) << "a new press";
    gate.closed(0xFFFFFF00u);
    EXPECT_FALSE(gate.keySelectOpens(0x10u)) << "across the wrap of the clock";
}
