// Activity detection without the window system: the raw-input throttle, input
// classification, game pads, the sticky under the cursor, the events each
// group receives and the full-screen hand-over.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CoreFakes.h"
#include "app/Activity.h"

using namespace Brisvane;
using namespace CoreFakes;

namespace {

PadState pad(std::int16_t lx, std::int16_t ly, std::int16_t rx, std::int16_t ry) {
    PadState state;
    state.thumbLX = lx;
    state.thumbLY = ly;
    state.thumbRX = rx;
    state.thumbRY = ry;
    return state;
}

// Pads as the platform would report them: connected ones with their state.
struct ScriptedPads : PadReader {
    std::vector<std::pair<bool, PadState>> pads;
    std::vector<unsigned> read;
    bool readPad(unsigned index, PadState& state) override {
        read.push_back(index);
        if (index >= pads.size() || !pads[index].first) {
            return false;
        }
        state = pads[index].second;
        return true;
    }
};

struct Activity : ::testing::Test {
    Log log;
    FakeTimerService timers{&log};
    TestCore core{&timers, &log};

    void useGroups(const std::string& groupArray) {
        core.settings = completedSettings(("{\"group\": " + groupArray + "}").c_str());
        core.loadGroups();
    }
    FakeSticky& add(std::size_t groupIndex, const std::wstring& guid, Rect r) {
        auto sticky = std::make_unique<FakeSticky>(guid);
        sticky->rect = r;
        FakeSticky& added = *sticky;
        core.groups[groupIndex].notes.push_back(std::move(sticky));
        return added;
    }
};

} // namespace

TEST(RawInputThrottle, TwentyMillisecondsApartCountTwice) {
    std::uint32_t last = 1000;
    EXPECT_FALSE(acceptRawInput(1019, last));
    EXPECT_EQ(last, 1000u) << "a refused message leaves the time alone";
    EXPECT_TRUE(acceptRawInput(1020, last));
    EXPECT_EQ(last, 1020u);
    EXPECT_FALSE(acceptRawInput(1020, last)) << "the same millisecond again";
}

TEST(RawInputThrottle, WorksAcrossTheClockWrap) {
    std::uint32_t last = 0xFFFFFFF0u;
    EXPECT_FALSE(acceptRawInput(2, last)) << "18 ms across the wrap";
    EXPECT_FALSE(acceptRawInput(3, last)) << "19 ms across the wrap";
    EXPECT_TRUE(acceptRawInput(4, last)) << "20 ms across the wrap";
    EXPECT_EQ(last, 4u);
}

TEST(KeyState, OnlyTheHighBitMeansDownNow) {
    // 1: pressed since the last call (a capital typed earlier) and up now.
    for (auto [state, down] :
         {std::pair{0, false}, {1, false}, {0x7FFF, false}, {-0x8000, true}, {-1, true}}) {
        EXPECT_EQ(keyDownNow(static_cast<std::int16_t>(state)), down) << state;
    }
}

TEST(RawInputKinds, HeaderTypeDecides) {
    EXPECT_EQ(classifyRawInput(0), RawInputKind::mouse);
    EXPECT_EQ(classifyRawInput(1), RawInputKind::keyboard);
    EXPECT_EQ(classifyRawInput(2), RawInputKind::gamePadPoll);
    EXPECT_EQ(classifyRawInput(3), RawInputKind::none);
    EXPECT_EQ(classifyRawInput(0xFFFFFFFFu), RawInputKind::none);
    EXPECT_EQ(deviceEventName(EVENT_MOUSE), L"mouse-input");
    EXPECT_EQ(deviceEventName(EVENT_KEYBOARD), L"keyboard-input");
    EXPECT_EQ(deviceEventName(EVENT_GAMEPAD), L"gamepad-input");
    EXPECT_EQ(deviceEventName(EVENT_TOUCH), L"touch-input");
    EXPECT_TRUE(deviceEventName(0x1234).empty());
}

TEST(GamePad, ActivityTable) {
    EXPECT_FALSE(padActive(PadState{})) << "at rest";
    PadState trigger;
    trigger.leftTrigger = 1;
    EXPECT_TRUE(padActive(trigger)) << "any trigger value counts";
    PadState rightTrigger;
    rightTrigger.rightTrigger = 1;
    EXPECT_TRUE(padActive(rightTrigger));
    PadState button;
    button.buttons = 0x1000;
    EXPECT_TRUE(padActive(button));
    EXPECT_FALSE(padActive(pad(7848, -7848, 0, 0))) << "inside the left dead zone";
    EXPECT_TRUE(padActive(pad(7849, 0, 0, 0)));
    EXPECT_TRUE(padActive(pad(0, -7849, 0, 0)));
    EXPECT_FALSE(padActive(pad(0, 0, 8688, -8688))) << "inside the right dead zone";
    EXPECT_TRUE(padActive(pad(0, 0, 0, -8689)));
    EXPECT_TRUE(padActive(pad(-32768, 0, 0, 0))) << "fully left has magnitude 32768";
    EXPECT_TRUE(padActive(pad(0, 0, 0, -32768)));
    EXPECT_TRUE(padActive(pad(8000, 0, 0, 0)));
    EXPECT_FALSE(padActive(pad(0, 0, 8000, 0))) << "the same tilt on the right stick is inside its zone";
}

TEST(GamePad, PollStopsAtTheFirstActivePadAndSkipsMissingOnes) {
    PadState active;
    active.buttons = 1;
    ScriptedPads pads;
    pads.pads = {{false, active}, {true, PadState{}}, {true, active}, {true, active}};
    EXPECT_TRUE(anyPadActive(pads));
    EXPECT_EQ(pads.read, (std::vector<unsigned>{0, 1, 2})) << "two active pads, one event";

    ScriptedPads idle;
    idle.pads = {{true, PadState{}}, {false, active}};
    EXPECT_FALSE(anyPadActive(idle)) << "a disconnected pad's leftovers do not count";
    EXPECT_EQ(idle.read.size(), 4u);
}

TEST_F(Activity, OverlappingStickiesResolvedByGroupOrder) {
    useGroups(R"([{"name": "first", "rule": []}, {"name": "second", "rule": []}])");
    FakeSticky& later = add(1, L"later", {0, 0, 200, 200});
    FakeSticky& earlier = add(0, L"earlier", {100, 100, 300, 300});
    FakeSticky& hidden = add(0, L"hidden", {150, 150, 250, 250});
    EXPECT_EQ(stickyUnderCursor(core.groups, 150, 150), &earlier) << "stacking is not considered";
    EXPECT_EQ(stickyUnderCursor(core.groups, 99, 99), &later);
    EXPECT_EQ(stickyUnderCursor(core.groups, 299, 299), &earlier);
    EXPECT_EQ(stickyUnderCursor(core.groups, 300, 150), nullptr) << "right edge lies outside";
    EXPECT_EQ(stickyUnderCursor(core.groups, 150, 300), nullptr) << "bottom edge lies outside";
    earlier.hasWindow = false;
    EXPECT_EQ(stickyUnderCursor(core.groups, 200, 200), &hidden)
        << "a sticky without a window is passed over";
}

TEST_F(Activity, EachGroupGetsInputThenHoverThenTheDeviceEvent) {
    // Delayed rules listed in reverse: the order of their timer starts shows the dispatch order.
    const std::string rules =
        R"([{"action": "touch-input", "delay": 10}, {"action": "mouse-hover", "delay": 10},
                                  {"action": "input", "delay": 10}])";
    useGroups("[{\"name\": \"a\", \"rule\": " + rules + "}, {\"name\": \"empty\", \"rule\": " + rules +
              "}, {\"name\": \"b\", \"rule\": " + rules + "}]");
    add(0, L"a1", {0, 0, 10, 10});
    add(2, L"b1", {20, 0, 30, 10});
    add(3, L"loose", {40, 0, 50, 10}); // uncategorized: no rules
    log.clear();
    onActivity(core, EVENT_TOUCH);
    EXPECT_EQ(
        log, (Log{"set 1002 10", "set 1001 10", "set 1000 10", "set 1008 10", "set 1007 10", "set 1006 10"}));
    EXPECT_EQ(core.focusLookups, 1) << "cursor and focus looked up once per event";

    log.clear();
    onActivity(core, EVENT_KEYBOARD);
    EXPECT_TRUE(log.empty()) << "no keyboard rule, and running timers without reset keep their time";
}

TEST_F(Activity, NoLookupWithoutAGroupToServe) {
    useGroups(R"([{"name": "rules only", "rule": [{"action": "input"}]}])");
    add(1, L"loose", {0, 0, 10, 10});
    onActivity(core, EVENT_MOUSE);
    EXPECT_EQ(core.focusLookups, 0);
}

TEST_F(Activity, FullScreenMovesOnlyAlwaysOnTopStickies) {
    useGroups(R"([{"name": "g", "rule": []}])");
    FakeSticky& onTop = add(0, L"top", {});
    onTop.alwaysOnTop = true;
    FakeSticky& plain = add(0, L"plain", {});
    core.groups[0].appliedZOrder = -1;

    updateFullScreen(core, true);
    EXPECT_TRUE(core.fullScreen);
    EXPECT_TRUE(onTop.fullScreenActive);
    EXPECT_EQ(onTop.zOrder, ZOrder::bottom) << "with the level its group applied last";
    EXPECT_FALSE(plain.fullScreenActive);
    EXPECT_EQ(plain.zOrder, ZOrder::usually);

    onTop.fullScreenActive = false;
    updateFullScreen(core, true);
    EXPECT_FALSE(onTop.fullScreenActive) << "an unchanged result applies nothing";
    updateFullScreen(core, false);
    EXPECT_FALSE(core.fullScreen);
    EXPECT_FALSE(onTop.fullScreenActive);
}

TEST_F(Activity, FullScreenEndingClearsAStickyNoLongerOnTop) {
    useGroups(R"([{"name": "g", "rule": []}])");
    FakeSticky& sticky = add(0, L"top", {});
    sticky.alwaysOnTop = true;
    updateFullScreen(core, true);
    ASSERT_TRUE(sticky.fullScreenActive);
    // "Always on top" switched off while the full-screen program runs.
    sticky.alwaysOnTop = false;
    updateFullScreen(core, false);
    EXPECT_FALSE(sticky.fullScreenActive) << "the mark would send it to the bottom until restart";
}
