#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CoreFakes.h"
#include "app/AppCore.h"
#include "storage/Settings.h"

using namespace Brisvane;
using namespace CoreFakes;

namespace {

// Two stored groups plus the uncategorized one, stickies spread over them.
struct AutoSave : ::testing::Test {
    Log log;
    FakeTimerService service{&log};
    TestCore core{&service, &log};

    void SetUp() override { start(R"({"autoSave": {"available": true, "elapse": 5}})"); }

    void start(const char* settingsText) {
        core.settings = completedSettings(settingsText);
        core.languages = languageTable();
        core.settings["group"] = parseJson(R"([{"guid": "g1", "name": "one", "rule": []},
                                                {"guid": "g2", "name": "two", "rule": []}])");
        core.loadGroups();
        core.prepareAutoSaveTimer();
        addSticky(0, L"a");
        addSticky(1, L"b");
        addSticky(2, L"c");
        log.clear();
    }

    void addSticky(std::size_t group, const std::wstring& guid) {
        core.groups[group].notes.push_back(std::make_unique<FakeSticky>(guid));
    }

    // The writes of a flush, leaving the timer calls aside.
    Log flushWrites() {
        log.clear();
        core.flushAutoSave();
        Log writes;
        for (const std::string& entry : log) {
            if (entry.rfind("set ", 0) != 0 && entry.rfind("kill ", 0) != 0) {
                writes.push_back(entry);
            }
        }
        return writes;
    }
};

} // namespace

TEST_F(AutoSave, RepeatedChangesOfOneStickyGiveOneEntryAndOneWrite) {
    core.markStickyChanged(L"a", SaveText);
    core.markStickyChanged(L"a", SaveText);
    core.markStickyChanged(L"a", SaveText);
    ASSERT_EQ(core.pendingSaves.size(), 1u);
    EXPECT_EQ(core.pendingSaves[0].guid, L"a");
    EXPECT_EQ(core.pendingSaves[0].flags, std::uint32_t{SaveText});

    EXPECT_EQ(flushWrites(), (Log{"text a"}));
    EXPECT_TRUE(core.pendingSaves.empty());
    EXPECT_FALSE(core.autoSaveTimer.running);
}

TEST_F(AutoSave, EveryChangeRestartsTheTimerAndTheFlushStopsIt) {
    core.markStickyChanged(L"a", SaveJson);
    core.markSettingsChanged();
    core.markStickyChanged(L"b", SaveText);
    EXPECT_EQ(log, (Log{"set 500 5000", "kill 500", "set 500 5000", "kill 500", "set 500 5000"}));
    EXPECT_TRUE(core.autoSaveTimer.running);

    log.clear();
    core.flushAutoSave();
    EXPECT_EQ(log.back(), "kill 500");
    EXPECT_FALSE(core.autoSaveTimer.running);
}

TEST_F(AutoSave, FlagsCombinePerStickyAndSelectTheFiles) {
    core.markStickyChanged(L"a", SaveText);
    core.markStickyChanged(L"a", SaveFigures);
    core.markStickyChanged(L"b", SaveJson);
    core.markStickyChanged(L"c", SaveFigures);
    ASSERT_EQ(core.pendingSaves.size(), 3u);
    EXPECT_EQ(core.pendingSaves[0].flags, 6u);

    // Entries in the order of their first change; text before note.json.
    EXPECT_EQ(flushWrites(), (Log{"text a", "json+figures a", "json b", "json+figures c"}));
}

TEST_F(AutoSave, GuidsAreComparedExactly) {
    core.markStickyChanged(L"a", SaveText);
    core.markStickyChanged(L"A", SaveJson);
    core.markStickyChanged(L"a ", SaveJson);
    EXPECT_EQ(core.pendingSaves.size(), 3u);
    // Neither "A" nor "a " is a sticky; only "a" is written.
    EXPECT_EQ(flushWrites(), (Log{"text a"}));
}

TEST_F(AutoSave, StickyRemovedBeforeTheFlushIsSkipped) {
    core.markStickyChanged(L"a", SaveText);
    core.markStickyChanged(L"b", SaveText | SaveJson);
    core.markStickyChanged(L"c", SaveJson);
    ASSERT_TRUE(core.groups[1].removeSticky(L"b"));

    EXPECT_EQ(flushWrites(), (Log{"text a", "json c"}));
    EXPECT_TRUE(core.pendingSaves.empty());
}

TEST_F(AutoSave, SettingsAreWrittenFirstAndOnlyWhenChanged) {
    core.markStickyChanged(L"a", SaveJson);
    EXPECT_EQ(flushWrites(), (Log{"json a"}));

    core.markStickyChanged(L"a", SaveJson);
    core.markSettingsChanged();
    EXPECT_TRUE(core.settingsDirty);
    EXPECT_EQ(flushWrites(), (Log{"settings", "json a"}));
    EXPECT_FALSE(core.settingsDirty);

    EXPECT_TRUE(flushWrites().empty()) << "a second flush has nothing left to write";
}

TEST_F(AutoSave, ClearingDropsEverythingAndStopsTheTimer) {
    core.markSettingsChanged();
    core.markStickyChanged(L"a", SaveText);
    log.clear();
    core.clearPendingSaves();
    EXPECT_FALSE(core.settingsDirty);
    EXPECT_TRUE(core.pendingSaves.empty());
    EXPECT_EQ(log, (Log{"kill 500"}));
    EXPECT_TRUE(flushWrites().empty());
}

TEST_F(AutoSave, UnavailableAutoSaveRecordsNothing) {
    start(R"({"autoSave": {"available": false, "elapse": 5}})");
    core.markSettingsChanged();
    core.markStickyChanged(L"a", SaveText);
    EXPECT_FALSE(core.settingsDirty);
    EXPECT_TRUE(core.pendingSaves.empty());
    EXPECT_FALSE(core.autoSaveTimer.running);
    EXPECT_TRUE(log.empty()) << "no timer call at all";
}

TEST_F(AutoSave, PeriodIsBoundedWhileTheStoredValueStays) {
    struct Case {
        const char* settings;
        std::int64_t stored;
        std::uint32_t period;
    };
    const Case cases[] = {
        {R"({"autoSave": {"available": true, "elapse": 100000}})", 100000, 600000},
        {R"({"autoSave": {"available": true, "elapse": -5}})", -5, 0},
        {R"({"autoSave": {"available": true, "elapse": 600}})", 600, 600000},
        {R"({"autoSave": {"available": true, "elapse": 7}})", 7, 7000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        start(c.settings);
        EXPECT_EQ(core.autoSaveTimer.id, TIMER_AUTOSAVE);
        EXPECT_EQ(core.autoSaveTimer.elapse, c.period);
        EXPECT_TRUE(core.autoSaveTimer.reset);
        EXPECT_FALSE(core.autoSaveTimer.running) << "prepared, not started";
        EXPECT_EQ(core.settings["autoSave"]["elapse"], Json(c.stored));
        core.markSettingsChanged();
        EXPECT_EQ(log.back(), "set 500 " + std::to_string(c.period));
        core.clearPendingSaves();
    }
}

TEST_F(AutoSave, LaterChangesToTheSettingKeepTheStartUpPeriod) {
    core.settings["autoSave"]["elapse"] = 30;
    core.markSettingsChanged();
    EXPECT_EQ(log, (Log{"set 500 5000"}));
}

TEST_F(AutoSave, FailedWritesStayPendingUntilTheyWork) {
    core.markSettingsChanged();
    core.markStickyChanged(L"a", SaveText | SaveFigures);
    core.markStickyChanged(L"b", SaveJson);
    core.failing = {"settings", "text a"};
    EXPECT_EQ(flushWrites(), (Log{"settings", "text a", "json+figures a", "json b"}));
    // Only what failed is kept, and tried again on the retry timer, ever less
    // often; the user is told once, at the third failure in a row.
    EXPECT_TRUE(core.settingsDirty);
    ASSERT_EQ(core.pendingSaves.size(), 1u);
    EXPECT_EQ(core.pendingSaves[0].guid, L"a");
    EXPECT_EQ(core.pendingSaves[0].flags, std::uint32_t{SaveText});
    EXPECT_FALSE(core.autoSaveTimer.running);
    EXPECT_TRUE(core.retryTimer.running);
    EXPECT_EQ(core.retryTimer.elapse, 2000u);
    EXPECT_EQ(flushWrites(), (Log{"settings", "text a"}));
    EXPECT_EQ(core.retryTimer.elapse, 4000u);
    EXPECT_EQ(core.told, 0);
    flushWrites();
    EXPECT_EQ(core.retryTimer.elapse, 8000u);
    EXPECT_EQ(core.told, 1);
    for (int i = 0; i < 6; ++i) {
        flushWrites();
    }
    EXPECT_EQ(core.retryTimer.elapse, 60000u);
    EXPECT_EQ(core.told, 1);

    core.markStickyChanged(L"c", SaveJson);
    EXPECT_TRUE(core.autoSaveTimer.running);
    core.failing.clear();
    EXPECT_EQ(flushWrites(), (Log{"settings", "text a", "json c"}));
    EXPECT_FALSE(core.settingsDirty);
    EXPECT_TRUE(core.pendingSaves.empty());
    EXPECT_FALSE(core.retryTimer.running);
    EXPECT_EQ(core.saveFailures, 0);

    // A save of a change from elsewhere that failed is retried the same way.
    core.queueFailedSave(L"b", SaveText);
    EXPECT_TRUE(core.retryTimer.running);
    EXPECT_EQ(flushWrites(), (Log{"text b"}));
    EXPECT_FALSE(core.retryTimer.running);
}

// View state (selection, scroll, a position the program fixed) rides along
// with the next save; alone it starts no save.
TEST_F(AutoSave, ViewStateAloneStartsNoSave) {
    core.markStickyChanged(L"a", SaveView);
    EXPECT_TRUE(core.pendingSaves.empty());
    EXPECT_FALSE(core.autoSaveTimer.running);
    EXPECT_EQ(core.stickyByGuid(L"a")->unsavedFlags, std::uint32_t{SaveView});
    core.markStickyChanged(L"a", SaveText);
    EXPECT_TRUE(core.autoSaveTimer.running);
}

// What is not written yet is known also while auto-save is off: a change made
// elsewhere must not swallow it.
TEST_F(AutoSave, UnsavedChangesAreKnownWithOrWithoutAutoSave) {
    for (bool available : {true, false}) {
        start(available ? R"({"autoSave": {"available": true}})" : R"({"autoSave": {"available": false}})");
        EXPECT_FALSE(core.anythingUnsaved());
        core.markStickyChanged(L"b", SaveText);
        core.markStickyChanged(L"b", SaveFigures);
        EXPECT_EQ(core.stickyByGuid(L"b")->unsavedFlags, SaveText | SaveFigures);
        EXPECT_EQ(core.stickyByGuid(L"a")->unsavedFlags, 0u);
        EXPECT_TRUE(core.anythingUnsaved());
        core.stickyByGuid(L"b")->unsavedFlags = 0;
        core.clearPendingSaves();
        EXPECT_FALSE(core.anythingUnsaved());
        core.markSettingsChanged();
        EXPECT_TRUE(core.settingsUnsaved);
        EXPECT_TRUE(core.anythingUnsaved());
        core.settingsUnsaved = false;
        core.clearPendingSaves();
    }
}

// settings.json written on another machine: groups merge by guid against the
// version last seen here.
TEST_F(AutoSave, GroupsFromElsewhereMergeByGuid) {
    auto group = [](const char* guid, const char* name, int elapse = 0) {
        Json rules = Json::array();
        if (elapse) {
            rules.push_back(Json{{"action", "input"}, {"delay", elapse}});
        }
        return Json{{"guid", guid}, {"name", name}, {"rule", rules}};
    };
    auto settingsWith = [](std::initializer_list<Json> entries) { return Json{{"group", Json(entries)}}; };
    const Json seen = settingsWith({group("g1", "one"), group("g2", "two"), group("g3", "three")});
    core.settings["group"] = seen["group"];
    core.settings["group"][1] = group("g2", "two, renamed here");
    core.settings["group"].erase(2); // g3 removed here (the fixture's groups never held it)
    core.groups[1].name = L"two, renamed here";
    core.settings["group"].push_back(group("g4", "made here"));
    core.groups.insert(core.groups.end() - 1, Group(L"g4", L"made here"));

    const Json theirs =
        settingsWith({group("g1", "one, renamed there", 30), group("g2", "two, renamed there"),
                      group("g3", "three"), group("g5", "made there")});
    EXPECT_TRUE(core.mergeGroupsFrom(seen, theirs)) << "this side holds what the other lacks";
    std::vector<std::wstring> names;
    for (const Group& g : core.groups) {
        names.push_back(g.name);
    }
    // Changed only there: theirs, with its rule; changed on both: ours; removed
    // here: stays removed; made on either side: kept, the uncategorized group last.
    EXPECT_EQ(names, (std::vector<std::wstring>{L"one, renamed there", L"two, renamed here", L"made here",
                                                L"made there", L""}));
    EXPECT_EQ(core.groups[0].rules.size(), 1u);
    std::vector<std::string> stored;
    for (const Json& entry : core.settings["group"]) {
        stored.push_back(entry["name"].get<std::string>());
    }
    EXPECT_EQ(stored, (std::vector<std::string>{"one, renamed there", "two, renamed here", "made here",
                                                "made there"}));

    // Nothing changed here since: the other version is taken whole, nothing to write back.
    const Json mine = core.settings;
    Json later = mine;
    later["group"][3]["name"] = "made there, renamed";
    EXPECT_FALSE(core.mergeGroupsFrom(mine, later));
    EXPECT_EQ(core.groups[3].name, L"made there, renamed");
}
