#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "CoreFakes.h"
#include "app/AppCore.h"
#include "groups/Group.h"
#include "groups/Rule.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

using namespace Brisvane;
using namespace CoreFakes;

namespace {

// The rule read from one stored element; the test fails when it is not a rule->
std::unique_ptr<Rule> read(const char* text) {
    auto rule = std::make_unique<Rule>();
    EXPECT_TRUE(readRule(parseJson(text), *rule)) << text;
    return rule;
}

std::string japaneseName() {
    return "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E";
}

std::vector<std::uint32_t> ruleIds(const Group& group) {
    std::vector<std::uint32_t> ids;
    for (const auto& rule : group.rules) {
        ids.push_back(rule->id);
    }
    return ids;
}

struct Groups : ::testing::Test {
    Log log;
    FakeTimerService service{&log};
    TestCore core{&service, &log};

    void SetUp() override {
        core.settings = completedSettings(R"({"language": "English"})");
        core.languages = languageTable();
    }

    void load(const char* groupArray) {
        core.settings["group"] = parseJson(groupArray);
        core.loadGroups();
    }

    FakeSticky& addSticky(std::size_t group, const std::wstring& guid) {
        auto sticky = std::make_unique<FakeSticky>(guid, &log);
        FakeSticky& ref = *sticky;
        core.groups[group].notes.push_back(std::move(sticky));
        return ref;
    }
};

} // namespace

TEST(RuleReading, OpacityIsClampedAndSetsItsEffect) {
    struct Case {
        const char* text;
        float opacity;
    };
    const Case cases[] = {
        {R"({"action": "input", "opacity": 7})", 1.0f},     {R"({"action": "input", "opacity": "x"})", 1.0f},
        {R"({"action": "input", "opacity": -3})", 0.0f},    {R"({"action": "input", "opacity": 0})", 0.0f},
        {R"({"action": "input", "opacity": 0.25})", 0.25f}, {R"({"action": "input", "opacity": null})", 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto rule = read(c.text);
        EXPECT_EQ(rule->effects, std::uint32_t{EffectOpacity});
        EXPECT_FLOAT_EQ(rule->opacity, c.opacity);
    }
}

TEST(RuleReading, ZOrderKeepsAlwaysOnTopAndFoldsTheRest) {
    struct Case {
        const char* text;
        std::int32_t zOrder;
    };
    const Case cases[] = {
        {R"({"action": "input", "zOrder": 0.5})", 0},  {R"({"action": "input", "zOrder": -5})", -1},
        {R"({"action": "input", "zOrder": -1})", -1},  {R"({"action": "input", "zOrder": -0.5})", 0},
        {R"({"action": "input", "zOrder": 1})", 1},    {R"({"action": "input", "zOrder": 1.5})", 1},
        {R"({"action": "input", "zOrder": 2})", 2},    {R"({"action": "input", "zOrder": 7})", 2},
        {R"({"action": "input", "zOrder": true})", 0}, {R"({"action": "input", "zOrder": "2"})", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto rule = read(c.text);
        EXPECT_EQ(rule->effects, std::uint32_t{EffectZOrder});
        EXPECT_EQ(rule->zOrder, c.zOrder);
    }
}

TEST(RuleReading, DelayIsWholeNonNegativeMilliseconds) {
    struct Case {
        const char* text;
        std::uint32_t elapse;
    };
    const Case cases[] = {
        {R"({"action": "input", "delay": -10})", 0},
        {R"({"action": "input", "delay": 1500.9})", 1500},
        {R"({"action": "input", "delay": 30000})", 30000},
        {R"({"action": "input", "delay": "1000"})", 0},
        {R"({"action": "input"})", 0},
        {R"({"action": "input", "delay": 1e20})", std::numeric_limits<std::uint32_t>::max()},
        {R"({"action": "input", "delay": 18446744073709551615})", std::numeric_limits<std::uint32_t>::max()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto rule = read(c.text);
        EXPECT_EQ(rule->elapse, c.elapse);
        EXPECT_EQ(rule->effects, 0u) << "the delay is no effect";
    }
}

TEST(RuleReading, BooleansFallBackToFalse) {
    auto on = read(R"({"action": "input", "fold": true, "transparent": true, "reset": true})");
    EXPECT_EQ(on->effects, std::uint32_t{EffectFold | EffectTransparent});
    EXPECT_TRUE(on->fold);
    EXPECT_TRUE(on->transparent);
    EXPECT_TRUE(on->reset);

    auto wrong = read(R"({"action": "input", "fold": 1, "transparent": "yes", "reset": 1})");
    EXPECT_EQ(wrong->effects, std::uint32_t{EffectFold | EffectTransparent})
        << "presence alone sets the effect";
    EXPECT_FALSE(wrong->fold);
    EXPECT_FALSE(wrong->transparent);
    EXPECT_FALSE(wrong->reset);
}

TEST(RuleReading, ActionAndEveryEffectTogether) {
    auto rule = read(R"({"action": "mouse-hover", "delay": 400, "opacity": 0.2, "zOrder": -1,
                         "fold": false, "transparent": true, "except": ["mouse-hover"], "reset": false})");
    EXPECT_EQ(rule->action, L"mouse-hover");
    EXPECT_EQ(rule->effects, 15u);
    EXPECT_FLOAT_EQ(rule->opacity, 0.2f);
    EXPECT_EQ(rule->zOrder, -1);
    EXPECT_EQ(rule->except, std::vector<std::wstring>{L"mouse-hover"});
    EXPECT_EQ(rule->elapse, 400u);

    auto plain = read(R"({"action": "gamepad-input"})");
    EXPECT_EQ(plain->effects, 0u) << "absent keys are not applied at all";
    EXPECT_FLOAT_EQ(plain->opacity, 1.0f);
    EXPECT_EQ(plain->zOrder, 0);
}

TEST(RuleReading, ExceptKeepsStringEntriesInOrder) {
    auto mixed =
        read(R"({"action": "input", "except": ["mouse-hover", 3, null, "\u65e5\u672c", ["x"], "b"]})");
    EXPECT_EQ(mixed->except, (std::vector<std::wstring>{L"mouse-hover", L"\u65e5\u672c", L"b"}));

    EXPECT_TRUE(read(R"({"action": "input", "except": "mouse-hover"})")->except.empty());
    EXPECT_TRUE(read(R"({"action": "input", "except": {"a": "mouse-hover"}})")->except.empty());
}

TEST(RuleReading, ElementsWithoutAStringActionAreNoRules) {
    const char* const notRules[] = {
        R"({"opacity": 0.5})", R"({"action": 1, "opacity": 0.5})",
        R"({"action": null})", R"(["action", "input"])",
        R"("input")",          "null",
    };
    for (const char* text : notRules) {
        SCOPED_TRACE(text);
        Rule rule;
        rule.action = L"kept";
        rule.opacity = 0.5f;
        rule.except = {L"kept"};
        EXPECT_FALSE(readRule(parseJson(text), rule));
        EXPECT_EQ(rule.action, L"kept");
        EXPECT_FLOAT_EQ(rule.opacity, 0.5f);
        EXPECT_EQ(rule.except.size(), 1u);
    }
}

TEST(RuleReading, ReadingAgainReplacesThePreviousValues) {
    Rule rule;
    ASSERT_TRUE(
        readRule(parseJson(R"({"action": "input", "opacity": 0.3, "fold": true, "except": ["a"]})"), rule));
    ASSERT_TRUE(readRule(parseJson(R"({"action": "touch-input", "zOrder": 1})"), rule));
    EXPECT_EQ(rule.action, L"touch-input");
    EXPECT_EQ(rule.effects, std::uint32_t{EffectZOrder});
    EXPECT_FLOAT_EQ(rule.opacity, 1.0f);
    EXPECT_FALSE(rule.fold);
    EXPECT_TRUE(rule.except.empty());
}

TEST(GroupMembers, FindRemoveAndDetachCompareGuidsExactly) {
    Log log;
    Group group(L"g", L"name");
    group.notes.push_back(std::make_unique<FakeSticky>(L"abc", &log));
    group.notes.push_back(std::make_unique<FakeSticky>(L"def", &log));

    EXPECT_EQ(group.findSticky(L"ABC"), nullptr);
    EXPECT_EQ(group.findSticky(L"ab"), nullptr);
    ASSERT_NE(group.findSticky(L"def"), nullptr);
    EXPECT_EQ(group.findSticky(L"def")->stickyGuid(), L"def");

    EXPECT_FALSE(group.removeSticky(L"ABC"));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(group.removeSticky(L"abc"));
    EXPECT_EQ(log, (Log{"destroy abc"}));
    EXPECT_EQ(group.notes.size(), 1u);

    std::unique_ptr<Sticky> moved = group.detachSticky(L"def");
    ASSERT_NE(moved, nullptr);
    EXPECT_TRUE(group.notes.empty());
    EXPECT_EQ(log.size(), 1u) << "a detached sticky lives on";
    EXPECT_EQ(group.detachSticky(L"def"), nullptr);
}

TEST(GroupMembers, DestructionStopsRulesBeforeClosingStickies) {
    Log log;
    FakeTimerService service(&log);
    int window;
    {
        Group group(L"g", L"name");
        group.notes.push_back(std::make_unique<FakeSticky>(L"s1", &log));
        auto rule = std::make_unique<Rule>();
        rule->prepare(&service, &window, 1000, 10, false);
        rule->start();
        group.rules.push_back(std::move(rule));
        EXPECT_TRUE(group.hasRuleWithId(1000));
        EXPECT_FALSE(group.hasRuleWithId(1001));
        log.clear();
    }
    EXPECT_EQ(log, (Log{"kill 1000", "destroy s1"}));
}

TEST_F(Groups, AtMostOneHundredStoredGroupsThenUncategorized) {
    std::ostringstream text;
    text << "[";
    for (int i = 0; i < 120; ++i) {
        text << (i ? "," : "") << R"({"guid": "guid-)" << i << R"(", "name": "group )" << i
             << R"(", "rule": []})";
    }
    text << "]";
    load(text.str().c_str());

    ASSERT_EQ(core.groupCount(), 101u);
    EXPECT_EQ(core.groupGuidAt(0), L"guid-0");
    EXPECT_EQ(core.groupGuidAt(99), L"guid-99");
    EXPECT_EQ(core.groups[99].name, L"group 99");
    EXPECT_EQ(core.groupGuidAt(100), L"");
    EXPECT_EQ(core.groups[100].name, L"");
    EXPECT_TRUE(core.groups[100].rules.empty());
    EXPECT_EQ(core.settings["group"].size(), 120u) << "the rest stays stored";
}

TEST_F(Groups, UnusableEntriesAreSkippedWithoutThrowing) {
    load(R"([1, {"guid": 5, "name": "n"}, {"guid": "a", "name": null}, {"guid": "", "name": "empty"},
             {"guid": "ok", "name": "\u00e9t\u00e9", "rule": {"action": "input"}},
             {"guid": "no-rules", "name": "x"}])");
    ASSERT_EQ(core.groupCount(), 3u);
    EXPECT_EQ(core.groups[0].guid, L"ok");
    EXPECT_EQ(core.groups[0].name, L"\u00e9t\u00e9");
    EXPECT_TRUE(core.groups[0].rules.empty()) << "\"rule\" must be an array";
    EXPECT_EQ(core.groups[1].guid, L"no-rules");

    for (const char* settings : {R"({"group": {"guid": "a"}})", "[]", "null", R"({"group": "x"})"}) {
        SCOPED_TRACE(settings);
        core.settings = parseJson(settings);
        core.loadGroups();
        EXPECT_EQ(core.groupCount(), 1u) << "only the uncategorized group";
        EXPECT_EQ(core.displayName(0), L"(Uncategorized)");
    }
}

TEST_F(Groups, RulesGetTheirTimerPartAndStayIdle) {
    load(R"([{"guid": "g", "name": "n", "rule": [
                {"action": "input", "delay": 30000, "reset": true, "opacity": 1},
                {"opacity": 0.5},
                "input",
                {"action": "mouse-hover", "delay": 400}]}])");
    const Group& group = core.groups[0];
    ASSERT_EQ(group.rules.size(), 2u) << "elements without a string action are skipped";
    const Rule& first = *group.rules[0];
    EXPECT_EQ(first.window, core.timerWindow);
    EXPECT_EQ(first.id, 1000u);
    EXPECT_EQ(first.elapse, 30000u);
    EXPECT_TRUE(first.reset);
    EXPECT_EQ(first.action, L"input");
    const Rule& second = *group.rules[1];
    EXPECT_EQ(second.id, 1001u);
    EXPECT_EQ(second.elapse, 400u);
    EXPECT_FALSE(second.reset);
    EXPECT_EQ(second.action, L"mouse-hover");
    EXPECT_FALSE(first.running || second.running);
    EXPECT_TRUE(log.empty()) << "loading starts no timer";
}

TEST_F(Groups, RuleIdsFollowLoadOrderAcrossGroups) {
    load(R"([{"guid": "a", "name": "a", "rule": [{"action": "input"}, {"action": "input"}]},
             {"guid": "b", "name": "b", "rule": [{"action": "input"}, {"action": "input"}]},
             {"guid": "c", "name": "c", "rule": [{"action": "input"}, {"action": "input"}]}])");
    EXPECT_EQ(ruleIds(core.groups[0]), (std::vector<std::uint32_t>{1000, 1001}));
    EXPECT_EQ(ruleIds(core.groups[1]), (std::vector<std::uint32_t>{1002, 1003}));
    EXPECT_EQ(ruleIds(core.groups[2]), (std::vector<std::uint32_t>{1004, 1005}));
    EXPECT_EQ(core.nextRuleTimerId(), 1006u);
}

TEST_F(Groups, NewRulesTakeTheSmallestFreeId) {
    load(R"([{"guid": "a", "name": "a", "rule": [{"action": "input"}, {"action": "input"}]},
             {"guid": "b", "name": "b", "rule": [{"action": "input"}]}])");
    // Leave 1000 and 1002 in use.
    core.groups[0].rules.erase(core.groups[0].rules.begin() + 1);
    ASSERT_EQ(ruleIds(core.groups[0]), (std::vector<std::uint32_t>{1000}));
    ASSERT_EQ(ruleIds(core.groups[1]), (std::vector<std::uint32_t>{1002}));
    EXPECT_EQ(core.nextRuleTimerId(), 1001u);

    core.loadRules(core.groups.back(), parseJson(R"([{"action": "input"}, {"action": "input"}])"));
    EXPECT_EQ(ruleIds(core.groups.back()), (std::vector<std::uint32_t>{1001, 1003}));
}

TEST_F(Groups, RebuildingRulesKillsOldTimersAndReusesTheirIds) {
    load(
        R"([{"guid": "a", "name": "a", "rule": [{"action": "input"}, {"action": "input"}, {"action": "input"}]},
             {"guid": "b", "name": "b", "rule": [{"action": "input"}]}])");
    core.groups[0].rules[0]->start();
    core.groups[0].rules[2]->start();
    log.clear();

    core.loadRules(core.groups[0], parseJson(R"([{"action": "mouse-hover"}, {"action": "input"}])"));
    EXPECT_EQ(log, (Log{"kill 1000", "kill 1002"}));
    EXPECT_EQ(ruleIds(core.groups[0]), (std::vector<std::uint32_t>{1000, 1001}));
    EXPECT_EQ(core.groups[0].rules[0]->action, L"mouse-hover");
    EXPECT_EQ(ruleIds(core.groups[1]), (std::vector<std::uint32_t>{1003}));

    // Anything but an array leaves the group without rules.
    core.loadRules(core.groups[0], parseJson(R"({"action": "input"})"));
    EXPECT_TRUE(core.groups[0].rules.empty());
    EXPECT_EQ(core.nextRuleTimerId(), 1000u);
}

TEST_F(Groups, GroupBuiltOutsideTheListKeepsItsIdsApart) {
    load(R"([{"guid": "a", "name": "a", "rule": [{"action": "input"}]}])");
    Group fresh(L"new", L"new");
    core.loadRules(fresh, parseJson(R"([{"action": "input"}, {"action": "input"}])"));
    EXPECT_EQ(ruleIds(fresh), (std::vector<std::uint32_t>{1001, 1002}));
}

TEST_F(Groups, DefaultGroupsLoadWithTheirRulesAndNames) {
    std::wstring text;
    ASSERT_EQ(decodeTextFile(readResource("defaultGroups.json"), text), errorSuccess);
    Json settings = Json::object();
    completeSettings(settings, false, parseJson(wideToUtf8(text)), 0x0409);
    core.settings = settings;
    core.loadGroups();

    ASSERT_EQ(core.groupCount(), 14u);
    const std::size_t ruleCounts[] = {3, 3, 3, 3, 2, 2, 3, 3, 3, 3, 2, 2, 0};
    std::uint32_t nextId = 1000;
    for (std::size_t i = 0; i < 13; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(core.groups[i].rules.size(), ruleCounts[i]);
        for (const auto& rule : core.groups[i].rules) {
            EXPECT_EQ(rule->id, nextId++);
        }
        EXPECT_EQ(core.groups[i].name, L"${name" + std::to_wstring(i) + L"}");
        EXPECT_FALSE(core.displayName(i).empty());
        EXPECT_NE(core.displayName(i), core.groups[i].name);
    }
    const Rule& reset = *core.groups[1].rules[2];
    EXPECT_EQ(reset.elapse, 180000u);
    EXPECT_TRUE(reset.reset);
    EXPECT_EQ(reset.except, std::vector<std::wstring>{L"mouse-hover"});
    EXPECT_EQ(core.groups[4].rules[0]->zOrder, -1);
    EXPECT_EQ(core.groups[4].rules[1]->zOrder, 1);
}

TEST_F(Groups, PlaceholderNamesFollowTheLanguage) {
    load(R"([{"guid": "a", "name": "${NAME3}"}, {"guid": "b", "name": "${name12}"},
             {"guid": "c", "name": "${name13}"}, {"guid": "d", "name": "My notes"},
             {"guid": "e", "name": "${name 3}"}])");
    const std::vector<std::wstring> english =
        defaultGroupNames(languageTable(), Json{{"language", "English"}});
    const std::vector<std::wstring> japanese =
        defaultGroupNames(languageTable(), Json{{"language", japaneseName()}});
    ASSERT_EQ(english.size(), 13u);
    ASSERT_EQ(japanese.size(), 13u);
    ASSERT_NE(english[3], japanese[3]);

    EXPECT_EQ(core.displayName(0), english[3]);
    EXPECT_EQ(core.displayName(1), english[12]);
    EXPECT_EQ(core.displayName(2), L"${name13}") << "beyond the list the stored name shows";
    EXPECT_EQ(core.displayName(3), L"My notes");
    EXPECT_EQ(core.displayName(4), L"${name 3}");
    EXPECT_EQ(core.displayName(5), L"(Uncategorized)");
    EXPECT_EQ(core.displayName(6), L"");

    ASSERT_TRUE(setLanguage(core.languages, core.settings, utf8ToWide(japaneseName())));
    EXPECT_EQ(core.displayName(0), japanese[3]);
    EXPECT_EQ(core.displayName(1), japanese[12]);
    EXPECT_EQ(core.displayName(3), L"My notes");
    EXPECT_EQ(core.displayName(5), core.lookupText("group.uncategorized", L"(Uncategorized)"));
    EXPECT_NE(core.displayName(5), L"(Uncategorized)");
    EXPECT_EQ(core.settings["group"][0]["name"], "${NAME3}") << "the stored placeholder stays";

    core.settings["language"] = "Klingon";
    EXPECT_EQ(core.displayName(0), english[3]);
    EXPECT_EQ(core.displayName(5), L"(Uncategorized)");
}

TEST_F(Groups, LanguageWithoutNamesShowsTheEnglishOnes) {
    load(R"([{"guid": "a", "name": "${name0}"}])");
    core.languages = languageTable();
    core.languages["Other"] = Json{{"group", {{"defaultNames", {"eins"}}}}};
    core.settings["language"] = "Other";
    const std::vector<std::wstring> english =
        defaultGroupNames(languageTable(), Json{{"language", "English"}});
    EXPECT_EQ(core.displayName(0), L"eins");
    core.languages["Other"] = Json{{"group", 5}};
    EXPECT_EQ(core.displayName(0), english[0]);
    core.languages = Json::object();
    EXPECT_EQ(core.displayName(0), L"${name0}") << "no table at all: the stored name";
}

TEST_F(Groups, LookupsCompareGuidsExactly) {
    load(R"([{"guid": "g1", "name": "one"}, {"guid": "g2", "name": "two"}])");
    addSticky(0, L"s1");
    addSticky(1, L"s2");
    addSticky(1, L"s3");
    addSticky(2, L"s4");

    EXPECT_EQ(core.groupByGuid(L"g2"), &core.groups[1]);
    EXPECT_EQ(core.groupByGuid(L"G2"), nullptr);
    EXPECT_EQ(core.groupByGuid(L"g"), nullptr);
    EXPECT_EQ(core.groupByGuid(L""), &core.groups[2]) << "the uncategorized group has the empty guid";

    ASSERT_NE(core.stickyByGuid(L"s3"), nullptr);
    EXPECT_EQ(core.stickyByGuid(L"s3")->stickyGuid(), L"s3");
    EXPECT_EQ(core.stickyByGuid(L"S3"), nullptr);
    EXPECT_EQ(core.groupGuidOfSticky(L"s3"), L"g2");
    EXPECT_EQ(core.groupGuidOfSticky(L"s4"), L"");
    EXPECT_EQ(core.groupGuidOfSticky(L"nope"), L"");

    EXPECT_EQ(core.groupGuidAt(1), L"g2");
    EXPECT_EQ(core.groupGuidAt(3), L"");
    EXPECT_EQ(core.stickyCountAt(1), 2u);
    EXPECT_EQ(core.stickyCountAt(2), 1u);
    EXPECT_EQ(core.stickyCountAt(3), 0u);
    EXPECT_EQ(core.stickyCount(), 4u);

    std::vector<std::wstring> order;
    for (Sticky* sticky : core.allStickies()) {
        order.push_back(sticky->stickyGuid());
    }
    EXPECT_EQ(order, (std::vector<std::wstring>{L"s1", L"s2", L"s3", L"s4"}));
}

TEST_F(Groups, DestroyingTheGroupsStopsEveryRuleBeforeClosingStickies) {
    load(R"([{"guid": "g1", "name": "one", "rule": [{"action": "input"}]},
             {"guid": "g2", "name": "two", "rule": [{"action": "input"}]}])");
    addSticky(0, L"s1");
    addSticky(1, L"s2");
    core.groups[0].rules[0]->start();
    core.groups[1].rules[0]->start();
    log.clear();

    core.destroyGroups();
    EXPECT_EQ(log, (Log{"kill 1000", "kill 1001", "destroy s1", "destroy s2"}));
    EXPECT_EQ(core.groupCount(), 0u);
    EXPECT_EQ(core.displayName(0), L"");
}

TEST(AppCoreLifetime, DestructorStopsTimersAndDestroysGroups) {
    Log log;
    FakeTimerService service(&log);
    {
        TestCore core(&service, &log);
        core.settings =
            completedSettings(R"({"group": [{"guid": "g", "name": "n", "rule": [{"action": "input"}]}]})");
        core.loadGroups();
        core.prepareAutoSaveTimer();
        core.groups[0].notes.push_back(std::make_unique<FakeSticky>(L"s", &log));
        core.groups[0].rules[0]->start();
        core.markSettingsChanged();
        log.clear();
    }
    EXPECT_EQ(log, (Log{"kill 500", "kill 1000", "destroy s"}));
}
