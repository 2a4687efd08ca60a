// The rule engine against test stickies on a test clock: which stickies a rule
// changes, when delayed rules fire, and the state a group remembers.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CoreFakes.h"
#include "app/Activity.h"
#include "groups/RuleEngine.h"
#include "storage/TextCodec.h"

using namespace Brisvane;
using namespace CoreFakes;

namespace {

Json defaultGroups() {
    std::wstring text;
    EXPECT_EQ(decodeTextFile(readResource("defaultGroups.json"), text), errorSuccess);
    return parseJson(wideToUtf8(text));
}

struct Rules : ::testing::Test {
    Log log;
    ClockTimers clock;
    TestCore core{&clock, &log};

    void useDefaultGroups() {
        core.settings = parseJson("{}");
        completeSettings(core.settings, false, defaultGroups(), 0x0409);
        core.loadGroups();
    }
    void useGroups(const std::string& groupArray) {
        core.settings = completedSettings(("{\"group\": " + groupArray + "}").c_str());
        core.loadGroups();
    }
    // Stickies side by side, 100 pixels apart, so the cursor can rest on each.
    FakeSticky& add(std::size_t groupIndex, const std::wstring& guid) {
        auto sticky = std::make_unique<FakeSticky>(guid);
        int left = static_cast<int>(core.stickyCount()) * 100;
        sticky->rect = {left, 0, left + 90, 90};
        sticky->group = core.groups[groupIndex].guid;
        FakeSticky& added = *sticky;
        core.groups[groupIndex].notes.push_back(std::move(sticky));
        return added;
    }
    void hover(const FakeSticky* sticky) {
        core.cursorX = sticky ? sticky->rect.left + 5 : -10000;
        core.cursorY = sticky ? sticky->rect.top + 5 : -10000;
    }
    void advance(std::uint64_t ms) {
        clock.advance(ms, [this](std::uint32_t id) { onRuleTimer(core, id); });
    }
    Rule& rule(std::size_t groupIndex, std::size_t ruleIndex) {
        return *core.groups[groupIndex].rules[ruleIndex];
    }
};

void expectShown(const FakeSticky& sticky, float opacity, bool fold) {
    EXPECT_FLOAT_EQ(sticky.opacityFactor, opacity) << narrow(sticky.stickyGuid());
    EXPECT_EQ(sticky.fold, fold) << narrow(sticky.stickyGuid());
}

} // namespace

TEST_F(Rules, FirstDefaultGroupFadesFoldsAndComesBack) {
    useDefaultGroups();
    FakeSticky& focused = add(0, L"focused");
    FakeSticky& hovered = add(0, L"hovered");
    FakeSticky& c = add(0, L"c");
    FakeSticky& d = add(0, L"d");
    core.focused = &focused;
    hover(&hovered);

    onActivity(core, EVENT_KEYBOARD);
    expectShown(focused, 1.0f, false);
    expectShown(hovered, 1.0f, false);
    expectShown(c, 0.2f, true);
    expectShown(d, 0.2f, true);
    EXPECT_FLOAT_EQ(core.groups[0].appliedOpacity, 0.2f);
    EXPECT_TRUE(core.groups[0].appliedFold);

    // The hover rule used up its first start; the cursor now rests on c.
    advance(2000);
    hover(&c);
    onActivity(core, EVENT_MOUSE);
    expectShown(d, 0.2f, true);
    {
        SCOPED_TRACE("no longer under the cursor");
        expectShown(hovered, 0.2f, true);
    }
    advance(999);
    expectShown(c, 0.2f, true);
    advance(1);
    expectShown(c, 1.0f, false);

    // Thirty seconds after the last input (at 2000 ms) everything returns.
    advance(30000 - 1000 - 1);
    expectShown(d, 0.2f, true);
    advance(1);
    for (const FakeSticky* sticky : {&focused, &hovered, &c, &d}) {
        expectShown(*sticky, 1.0f, false);
    }
    EXPECT_FALSE(rule(0, 2).running) << "fired once per start";
}

TEST_F(Rules, ResetDecidesWhetherAStreamOfEventsPostponesTheRule) {
    useGroups(R"([{"name": "kept", "rule": [{"action": "input", "delay": 1000, "opacity": 0.5}]},
                  {"name": "restarted", "rule": [{"action": "input", "delay": 1000, "opacity": 0.5,
                                                  "reset": true}]}])");
    add(0, L"a");
    add(1, L"b");
    for (int t = 0; t < 3000; t += 100) {
        onActivity(core, EVENT_MOUSE);
        advance(100);
    }
    advance(5000);
    std::vector<std::uint64_t> kept, restarted;
    for (const auto& firing : clock.fired) {
        (firing.id == rule(0, 0).id ? kept : restarted).push_back(firing.at);
    }
    EXPECT_EQ(kept, (std::vector<std::uint64_t>{1000, 2000, 3000})) << "every period, not postponed";
    EXPECT_EQ(restarted, (std::vector<std::uint64_t>{3900})) << "once, a period after the last event";
}

TEST_F(Rules, HeldButtonSkipsTheChangesButUsesUpTheFiring) {
    useGroups(R"([{"name": "g", "rule": [{"action": "input", "delay": 1000, "opacity": 0.3, "fold": true},
                                        {"action": "keyboard-input", "opacity": 0.6}]}])");
    FakeSticky& a = add(0, L"a");
    onActivity(core, EVENT_MOUSE);
    core.buttonsHeld = true;
    advance(1000);
    expectShown(a, 1.0f, false);
    EXPECT_FLOAT_EQ(core.groups[0].appliedOpacity, 1.0f) << "applied state untouched as well";
    EXPECT_FALSE(rule(0, 0).running);
    EXPECT_FALSE(clock.isSet(rule(0, 0).id));

    onActivity(core, EVENT_KEYBOARD);
    {
        SCOPED_TRACE("an immediate rule is held back too");
        expectShown(a, 1.0f, false);
    }
    EXPECT_TRUE(clock.isSet(rule(0, 0).id)) << "the next activity starts the timer again";

    core.buttonsHeld = false;
    advance(1000);
    expectShown(a, 0.3f, true);
}

TEST_F(Rules, HoverRuleOverAnotherGroupsStickyOnlyRecordsTheState) {
    useGroups(R"([{"name": "mine", "rule": [{"action": "mouse-hover", "opacity": 0.4, "fold": true,
                                            "transparent": true}]},
                  {"name": "other", "rule": []}])");
    FakeSticky& mine = add(0, L"mine");
    FakeSticky& other = add(1, L"other");
    hover(&other);
    onActivity(core, EVENT_MOUSE);
    expectShown(mine, 1.0f, false);
    expectShown(other, 1.0f, false);
    EXPECT_FALSE(other.clickThrough);
    const Group& group = core.groups[0];
    EXPECT_FLOAT_EQ(group.appliedOpacity, 0.4f);
    EXPECT_TRUE(group.appliedFold);
    EXPECT_TRUE(group.appliedTransparent);

    hover(nullptr);
    core.groups[0].appliedOpacity = 1.0f;
    onActivity(core, EVENT_MOUSE);
    EXPECT_FLOAT_EQ(group.appliedOpacity, 0.4f) << "recorded with no sticky under the cursor";

    hover(&mine);
    onActivity(core, EVENT_MOUSE);
    expectShown(mine, 0.4f, true);
    EXPECT_TRUE(mine.clickThrough);
}

TEST_F(Rules, EffectsRunInListOrderAndReachEveryKindOfState) {
    useGroups(R"([{"name": "g", "rule": [{"action": "input", "opacity": 0.2, "zOrder": -1},
                                        {"action": "INPUT", "opacity": 0.6, "zOrder": 2, "transparent": true},
                                        {"action": "input", "delay": 5000, "zOrder": 1}]}])");
    FakeSticky& a = add(0, L"a");
    FakeSticky& exempt = add(0, L"exempt");
    exempt.active = true;
    onActivity(core, EVENT_TOUCH);
    EXPECT_FLOAT_EQ(a.opacityFactor, 0.6f) << "the later rule wins";
    EXPECT_EQ(a.zOrder, ZOrder::alwaysOnTop) << "a stored 2 keeps the sticky always on top";
    EXPECT_TRUE(a.clickThrough);
    EXPECT_FALSE(a.fold) << "no fold effect, fold untouched";
    expectShown(exempt, 1.0f, false);
    EXPECT_EQ(exempt.zOrder, ZOrder::usually);
    EXPECT_EQ(core.groups[0].appliedZOrder, 2);

    resetRuleEffects(core.groups[0]);
    expectShown(a, 1.0f, false);
    EXPECT_EQ(a.zOrder, ZOrder::usually);
    EXPECT_FALSE(a.clickThrough);
    EXPECT_FALSE(rule(0, 2).running);
    EXPECT_FALSE(clock.isSet(rule(0, 2).id));
    EXPECT_FLOAT_EQ(core.groups[0].appliedOpacity, 0.6f) << "the applied state stays";
}

TEST_F(Rules, SuspendedRulesKeepTheirTimerAndFireLater) {
    useGroups(R"([{"name": "g", "rule": [{"action": "input", "delay": 1000, "opacity": 0.5}]}])");
    FakeSticky& a = add(0, L"a");
    onActivity(core, EVENT_KEYBOARD);
    core.rulesSuspended = true;
    advance(2500);
    EXPECT_FLOAT_EQ(a.opacityFactor, 1.0f);
    EXPECT_TRUE(rule(0, 0).running);
    EXPECT_EQ(clock.fired.size(), 2u) << "it kept firing, one period apart";
    core.rulesSuspended = false;
    advance(500);
    EXPECT_FLOAT_EQ(a.opacityFactor, 0.5f) << "the first firing after the suspension applies";
    EXPECT_FALSE(clock.isSet(rule(0, 0).id));
    onRuleTimer(core, 4242); // no rule has this id
    EXPECT_FLOAT_EQ(a.opacityFactor, 0.5f);
}

TEST_F(Rules, MovedStickyShowsItsNewGroupsAppliedState) {
    useGroups(R"([{"name": "faded", "rule": [{"action": "input", "opacity": 0.2, "fold": true}]}])");
    add(0, L"member");
    FakeSticky& mover = add(1, L"mover"); // uncategorized
    onActivity(core, EVENT_KEYBOARD);
    expectShown(mover, 1.0f, false);
    log.clear();

    ASSERT_TRUE(moveStickyToGroup(core, L"mover", core.groups[0].guid));
    expectShown(mover, 0.2f, true);
    EXPECT_EQ(mover.group, core.groups[0].guid);
    EXPECT_EQ(core.groups[0].notes.back().get(), &mover);
    EXPECT_TRUE(core.groups[1].notes.empty());
    EXPECT_TRUE(core.settingsDirty);
    ASSERT_EQ(core.pendingSaves.size(), 1u);
    EXPECT_EQ(core.pendingSaves[0].guid, L"mover");
    EXPECT_EQ(core.pendingSaves[0].flags, static_cast<std::uint32_t>(SaveJson));

    EXPECT_FALSE(moveStickyToGroup(core, L"mover", L"no such group"));
    EXPECT_FALSE(moveStickyToGroup(core, L"nobody", core.groups[1].guid));
    EXPECT_EQ(core.groups[0].notes.back().get(), &mover);
}

TEST_F(Rules, ActivationLiftsEffectsAndDeactivationRestoresTheGroups) {
    useGroups(R"([{"name": "g", "rule": [{"action": "input", "opacity": 0.2, "fold": true, "zOrder": -1,
                                        "transparent": true}]}])");
    FakeSticky& a = add(0, L"a");
    onActivity(core, EVENT_MOUSE);
    setRuleExempt(core, a, true, true);
    EXPECT_TRUE(a.active);
    expectShown(a, 1.0f, false);
    EXPECT_EQ(a.zOrder, ZOrder::usually);
    EXPECT_FALSE(a.clickThrough);

    onActivity(core, EVENT_MOUSE);
    {
        SCOPED_TRACE("the active sticky is left alone");
        expectShown(a, 1.0f, false);
    }

    setRuleExempt(core, a, false, true);
    expectShown(a, 0.2f, true);
    EXPECT_EQ(a.zOrder, ZOrder::bottom);
    EXPECT_TRUE(a.clickThrough);

    a.opacityFactor = 0.9f;
    setRuleExempt(core, a, false, true);
    EXPECT_FLOAT_EQ(a.opacityFactor, 0.9f) << "no change of exemption, nothing done";
    setRuleExempt(core, a, true, false);
    EXPECT_TRUE(a.active);
    EXPECT_FLOAT_EQ(a.opacityFactor, 0.9f) << "the flag alone when effects do not follow";
}
