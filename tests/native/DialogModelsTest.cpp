#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

#include "CoreFakes.h"
#include "dialogs/DialogText.h"
#include "dialogs/GeneralSettingsModel.h"
#include "dialogs/GroupManagerModel.h"
#include "dialogs/SearchModel.h"
#include "storage/Settings.h"

using namespace Brisvane;
using namespace CoreFakes;

namespace {

struct DialogCore : ::testing::Test {
    Log log;
    FakeTimerService service{&log};
    TestCore core{&service, &log};

    void SetUp() override { use(R"({"language": "English"})"); }

    void use(const char* settings) {
        core.settings = completedSettings(settings);
        core.languages = languageTable();
        core.loadGroups();
        core.prepareAutoSaveTimer();
        log.clear();
    }

    // How often the settings were marked changed: each mark restarts the auto-save timer.
    int marks() const {
        return static_cast<int>(std::count_if(
            log.begin(), log.end(), [](const std::string& line) { return line.rfind("set 500", 0) == 0; }));
    }

    FakeSticky& addSticky(std::size_t group, const std::wstring& guid) {
        auto sticky = std::make_unique<FakeSticky>(guid, &log);
        FakeSticky& ref = *sticky;
        ref.group = core.groups[group].guid;
        core.groups[group].notes.push_back(std::move(sticky));
        return ref;
    }

    std::vector<std::string> storedNames() const {
        std::vector<std::string> names;
        for (const Json& entry : core.settings["group"]) {
            names.push_back(entry["name"].get<std::string>());
        }
        return names;
    }

    std::vector<std::wstring> groupGuids() const {
        std::vector<std::wstring> guids;
        for (const Group& group : core.groups) {
            guids.push_back(group.guid);
        }
        return guids;
    }
};

std::vector<std::wstring> texts(const RuleRow& row) {
    std::vector<std::wstring> result;
    for (const RuleCell& cell : row) {
        result.push_back(cell.text);
    }
    return result;
}

} // namespace

TEST(DialogText, DelaysReadAsHoursMinutesAndSeconds) {
    struct Case {
        std::uint32_t ms;
        const wchar_t* text;
    };
    const Case cases[] = {
        {0, L"0 s"},
        {400, L"0.4 s"},
        {30000, L"30 s"},
        {180000, L"3 m"},
        {3723500, L"1 h2 m3.5 s"},
        {1200000, L"20 m"},
        {4500, L"4.5 s"},
        {1999, L"1.9 s"},
        {36000000, L"10 h"},
        {3600050, L"1 h0.0 s"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(delayText(c.ms, DelayUnits{}), c.text) << c.ms;
    }
    EXPECT_EQ(delayText(3723500, {L"時間", L"分", L"秒"}), L"1 時間2 分3.5 秒");
}

TEST(DialogText, DecimalsAreCutNotRounded) {
    EXPECT_EQ(decimalText(0.15f, 2), L"0.15");
    EXPECT_EQ(decimalText(1, 2), L"1.00");
    EXPECT_EQ(decimalText(0.359, 2), L"0.35");
    EXPECT_EQ(decimalText(3.99, 1), L"3.9");
    EXPECT_EQ(decimalText(7.5, 0), L"7");
}

TEST(DialogText, AccessKeysPreferWordStartsAndFallBackToAnAppendedKey) {
    EXPECT_EQ(withMnemonic(L"Register for Startup", L'S'), L"Register for &Startup");
    EXPECT_EQ(withMnemonic(L"Left", L'E'), L"L&eft");
    EXPECT_EQ(withMnemonic(L"検索", L's'), L"検索(&S)");
    EXPECT_EQ(withMnemonic(L"Salt & pepper", L'P'), L"Salt && &pepper");
}

TEST_F(DialogCore, ManagerListsStoredGroupsWithShownNamesButNotUncategorized) {
    use(R"({"language": "English", "group": [
        {"guid": "g1", "name": "${name0}", "rule": [
            {"action": "mouse-hover", "delay": 1000, "reset": false, "opacity": 0.15, "zOrder": 2,
             "fold": false, "transparent": true, "except": ["Mouse-Hover"]}]},
        {"guid": "g2", "name": "Mine", "rule": []}]})");
    GroupManagerModel model(core);
    ASSERT_EQ(model.rows.size(), 2u);
    EXPECT_EQ(model.rows[0].name, core.displayName(0));
    EXPECT_NE(model.rows[0].name, L"${name0}");
    EXPECT_EQ(model.rows[1].name, L"Mine");
    EXPECT_EQ(model.selected, 0);
    ASSERT_EQ(model.rows[0].rules.size(), 1u);
    EXPECT_EQ(texts(model.rows[0].rules[0]),
              (std::vector<std::wstring>{L"Mouse hover", L"1 s", L"False", L"0.15", L"Always top", L"False",
                                         L"True", L"True"}));
}

TEST_F(DialogCore, NewRuleRowReadsColumnByColumn) {
    GroupManagerModel model(core);
    EXPECT_FALSE(model.addRule()) << "no group selected";
    ASSERT_TRUE(model.newGroup(L"n1"));
    EXPECT_EQ(model.rows.back().name, L"(Untitled)");
    ASSERT_TRUE(model.addRule());
    EXPECT_EQ(texts(model.rows.back().rules.back()),
              (std::vector<std::wstring>{L"Any input", L"0 s", L"True", L"Not specified", L"Not specified",
                                         L"Not specified", L"Not specified", L"False"}));
}

TEST_F(DialogCore, CellMenusAndTheirChoices) {
    GroupManagerModel model(core);
    model.newGroup(L"n1");
    model.addRule();
    std::vector<CellMenuItem> delays = model.cellMenu(ColumnDelay);
    ASSERT_EQ(delays.size(), 40u);
    EXPECT_EQ(delays[33].text, L"20 m");
    EXPECT_EQ(std::count_if(delays.begin(), delays.end(), [](const CellMenuItem& i) { return i.newColumn; }),
              4);
    std::vector<CellMenuItem> opacity = model.cellMenu(ColumnOpacity);
    ASSERT_EQ(opacity.size(), 21u);
    EXPECT_EQ(opacity[1].text, L"0.15");
    EXPECT_EQ(opacity.back().id, CellNoValue);
    EXPECT_EQ(model.cellMenu(ColumnReset).size(), 2u) << "no Not specified for a plain switch";

    EXPECT_FALSE(model.choose(CellTrue)) << "no cell clicked";
    const RuleRow& row = model.rows.back().rules.back();
    struct Case {
        int column;
        int id;
        const wchar_t* text;
        bool hasValue;
    };
    const Case cases[] = {
        {ColumnAction, 15003, L"Keyboard input", true},
        {ColumnDelay, 25022, L"4.5 s", true},
        {ColumnOpacity, 30005, L"0.35", true},
        {ColumnZOrder, 20000, L"Bottom", true},
        {ColumnZOrder, CellNoValue, L"Not specified", false},
        {ColumnFold, CellFalse, L"False", true},
        {ColumnDisabledOnHover, CellTrue, L"True", true},
    };
    for (const Case& c : cases) {
        model.clickedRule = 0;
        model.clickedColumn = c.column;
        EXPECT_TRUE(model.choose(c.id)) << c.id;
        EXPECT_EQ(row[c.column].text, c.text);
        EXPECT_EQ(row[c.column].hasValue, c.hasValue);
    }
    model.clickedColumn = ColumnReset;
    EXPECT_FALSE(model.choose(CellNoValue)) << "the reset switch always holds a value";
    EXPECT_EQ(row[ColumnZOrder].value, 0);

    EXPECT_TRUE(model.toggle(0, ColumnReset));
    EXPECT_EQ(row[ColumnReset].text, L"False");
    EXPECT_TRUE(model.toggle(0, ColumnTransparent)) << "no value becomes true";
    EXPECT_EQ(row[ColumnTransparent].text, L"True");
    EXPECT_FALSE(model.toggle(0, ColumnOpacity));
}

TEST_F(DialogCore, GroupRowsAreAddedUpToOneHundredAndRemovedKeepingASelection) {
    use(R"({"language": "English", "group": [{"guid": "g1", "name": "A", "rule": []}]})");
    GroupManagerModel model(core);
    for (int i = 1; i < 100; ++i) {
        ASSERT_TRUE(model.newGroup(L"n" + std::to_wstring(i)));
    }
    EXPECT_FALSE(model.newGroup(L"n100"));
    model.select(99);
    EXPECT_TRUE(model.removeGroup());
    EXPECT_EQ(model.selected, 98) << "the last row removed: the previous one";
    model.select(0);
    EXPECT_TRUE(model.removeGroup());
    EXPECT_EQ(model.selected, 0);
    EXPECT_EQ(model.removed, std::vector<std::wstring>{L"g1"});
    EXPECT_EQ(model.created.size(), 98u) << "a removed new group is simply forgotten";
}

TEST_F(DialogCore, ApplyKeepsPlaceholdersForDefaultNamesInAnyCase) {
    use(R"({"language": "English", "group": [{"guid": "g1", "name": "${name1}", "rule": []},
                                             {"guid": "g2", "name": "Mine", "rule": []}]})");
    GroupManagerModel model(core);
    std::wstring shown = model.rows[0].name;
    std::transform(shown.begin(), shown.end(), shown.begin(), [](wchar_t c) { return std::towupper(c); });
    model.rename(shown);
    model.select(1);
    model.rename(core.displayName(0)); // the other default group's name
    applyGroupManager(core, model);
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"${name1}", "${name1}"}));
    EXPECT_EQ(core.groups[0].name, L"${name1}");
    EXPECT_EQ(marks(), 1);
}

TEST_F(DialogCore, ApplyMovesTheStickiesOfARemovedGroupToUncategorized) {
    use(R"({"language": "English", "group": [{"guid": "g1", "name": "A", "rule": [{"action": "input"}]},
                                             {"guid": "g2", "name": "B", "rule": []}]})");
    addSticky(0, L"s1");
    addSticky(0, L"s2");
    GroupManagerModel model(core);
    model.removeGroup();
    applyGroupManager(core, model);
    EXPECT_EQ(groupGuids(), (std::vector<std::wstring>{L"g2", L""}));
    EXPECT_EQ(core.groups.back().notes.size(), 2u);
    EXPECT_EQ(core.groups.back().notes[0]->groupGuid(), L"");
    EXPECT_EQ(storedNames(), std::vector<std::string>{"B"});
    EXPECT_GE(marks(), 1);
}

TEST_F(DialogCore, NewGroupsComeInCreationOrderBeforeUncategorizedWithTheirRules) {
    use(R"({"language": "English", "group": [{"guid": "g1", "name": "A", "rule": [{"action": "input"}]}]})");
    GroupManagerModel model(core);
    model.newGroup(L"n1");
    model.rename(L"First");
    model.addRule();
    model.clickedRule = 0;
    model.clickedColumn = ColumnOpacity;
    model.choose(30001);
    model.clickedColumn = ColumnDisabledOnHover;
    model.choose(CellTrue);
    model.newGroup(L"n2");
    applyGroupManager(core, model);
    EXPECT_EQ(groupGuids(), (std::vector<std::wstring>{L"g1", L"n1", L"n2", L""}));
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"A", "First", "(Untitled)"}));
    // Compared as written: the opacity is the 32-bit float 0.15, stored as "0.15".
    EXPECT_EQ(serializeJson(core.settings["group"][1]["rule"]),
              serializeJson(parseJson(R"([{"action": "input", "delay": 0, "reset": true, "opacity": 0.15,
                                           "except": ["mouse-hover"]}])")));
    ASSERT_EQ(core.groups[1].rules.size(), 1u);
    EXPECT_NE(core.groups[1].rules[0]->id, core.groups[0].rules[0]->id);
    EXPECT_EQ(marks(), 1);
}

TEST_F(DialogCore, ApplySkipsGroupsGoneMeanwhileAndMarksNothingWithoutRows) {
    use(R"({"language": "English", "group": [{"guid": "g1", "name": "A", "rule": []}]})");
    GroupManagerModel model(core);
    core.groups.erase(core.groups.begin());
    applyGroupManager(core, model);
    EXPECT_EQ(groupGuids(), std::vector<std::wstring>{L""});

    use(R"({"language": "English", "group": []})");
    GroupManagerModel empty(core);
    applyGroupManager(core, empty);
    EXPECT_EQ(marks(), 0);
}

TEST_F(DialogCore, SearchHistoryMovesToFrontComparesCaseAndKeepsItsLimit) {
    addSearchTerm(core, L"apple");
    addSearchTerm(core, L"pear");
    addSearchTerm(core, L"apple");
    addSearchTerm(core, L"Apple");
    EXPECT_EQ(searchTerms(core), (std::vector<std::wstring>{L"Apple", L"apple", L"pear"}));
    EXPECT_EQ(marks(), 4);

    use(R"({"search": {"recentlyMax": 3, "recently": ["c", "b", "a"]}})");
    addSearchTerm(core, L"d");
    EXPECT_EQ(searchTerms(core), (std::vector<std::wstring>{L"d", L"c", L"b"}));
}

TEST(SearchExcerpt, HitsWidenToWholeWords) {
    struct Case {
        const wchar_t* text;
        std::size_t start, end;
        const wchar_t* excerpt;
    };
    const Case cases[] = {
        {L"hello world", 0, 5, L"hello world"},
        {L"the quick brown fox jumps", 10, 15, L"quick brown fox"},
        {L"one two\rthree four", 8, 13, L"two three four"},
        {L"ab", 0, 1, L"ab"},
        {L"今日は会議があります", 3, 5, L"今日は会議があります"},
        {L"カタカナとひらがな漢字", 0, 2, L"カタカナとひらがな"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(excerptText(c.text, c.start, c.end), c.excerpt) << c.start;
    }
    std::wstring longWord(1000, L'x');
    EXPECT_LT(excerptText(longWord, 500, 501).size(), 100u) << "a giant word is cut";
    TextSpan start = excerptSpan(L"abcdef ghi", 2, 3);
    EXPECT_EQ(start.start, 0u);
}

TEST_F(DialogCore, SettingsOkWithoutChangesMarksNothing) {
    applyGeneralSettings(core, readGeneralSettings(core));
    EXPECT_EQ(marks(), 0);
}

TEST_F(DialogCore, SettingsOkMarksEachChangeAndClampsToRanges) {
    GeneralSettingsValues values = readGeneralSettings(core);
    values.marginRight = 12;
    EXPECT_TRUE(applyGeneralSettings(core, values));
    EXPECT_EQ(marginRight(core.settings), 12);
    EXPECT_EQ(marks(), 1);

    values.fontSize = 90;
    values.trashDays = 0;
    values.language = L"日本語";
    EXPECT_TRUE(applyGeneralSettings(core, values));
    EXPECT_EQ(fontSize(core.settings), 50);
    EXPECT_EQ(trashDeadline(core.settings), 1);
    EXPECT_EQ(core.settings["language"], "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
    EXPECT_EQ(marks(), 4);
}

TEST_F(DialogCore, SettingsKeepAnUnknownLanguageWhenNoneIsChosen) {
    use(R"({"language": "Klingon"})");
    GeneralSettingsValues values = readGeneralSettings(core);
    values.language.clear(); // the list had no entry for it
    EXPECT_FALSE(applyGeneralSettings(core, values));
    EXPECT_EQ(core.settings["language"], "Klingon");
}
