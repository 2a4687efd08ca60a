// Earlier versions: entry names, when a save keeps one, and thinning.
#include <gtest/gtest.h>

#include <algorithm>

#include "storage/History.h"

using namespace Brisvane;

namespace {

constexpr std::uint64_t hour = 60 * millisecondsPerMinute;
constexpr std::uint64_t day = millisecondsPerDay;
// 2026-12-08T12:00:00Z
constexpr std::uint64_t noon = 1796731200000ull;

std::vector<std::size_t> removed(const std::vector<StoredVersion>& versions, std::uint64_t limit = 0) {
    return versionsToRemove(versions, {noon, limit});
}

} // namespace

TEST(VersionNames, CarryUtcTimeAndMachine) {
    struct Case {
        std::uint64_t time;
        const wchar_t* machine;
        const wchar_t* name;
    };
    const Case cases[] = {
        {noon, L"DESK", L"2026-12-08T12-00-00.000Z_DESK"},
        {noon + 3'723'045, L"lap-top", L"2026-12-08T13-02-03.045Z_lap-top"},
        {0, L"a.b:c", L"1970-01-01T00-00-00.000Z_a-b-c"},            // dots and colons go
        {951782400000ull, L"", L"2000-02-29T00-00-00.000Z_unknown"}, // a leap day, no name
        {noon, L"x\\y/z*?", L"2026-12-08T12-00-00.000Z_x-y-z"},
    };
    for (const Case& c : cases) {
        const std::wstring name = versionEntryName(c.time, c.machine);
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(versionEntryTime(name), c.time) << testing::PrintToString(name);
    }
    // Two machines saving in the same millisecond never share a folder.
    EXPECT_NE(versionEntryName(noon, L"DESK"), versionEntryName(noon, L"LAPTOP"));
    EXPECT_EQ(safeMachineName(std::wstring(60, L'M')).size(), 40u);
    for (const wchar_t* other :
         {L"", L"note.json", L"2026-12-08T12-00-00.000Z_", L"2026-13-08T12-00-00.000Z_A",
          L"2026-12-08T12-00-00.000X_A", L"2026-12-08T24-00-00.000Z_A", L"desktop.ini"}) {
        EXPECT_FALSE(versionEntryTime(other)) << testing::PrintToString(std::wstring(other));
    }
}

TEST(VersionRules, SavesKeepOnePerSpanOtherReplacementsAlways) {
    const std::uint64_t span = 10 * millisecondsPerMinute;
    EXPECT_TRUE(spanOpen(std::nullopt, noon, span)); // the first save of a run
    EXPECT_FALSE(spanOpen(noon, noon + span - 1, span));
    EXPECT_TRUE(spanOpen(noon, noon + span, span));
    EXPECT_TRUE(spanOpen(noon, noon - 1, span)); // the clock went back
    struct Case {
        Replacement replacement;
        bool spanLimited;
        bool fromSticky;
    };
    const Case cases[] = {
        {Replacement::Save, true, false},         {Replacement::Reload, false, true},
        {Replacement::Fork, false, false},        {Replacement::Recovery, false, false},
        {Replacement::ClearDrawing, false, true}, {Replacement::Restore, false, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(versionRule(c.replacement).spanLimited, c.spanLimited) << static_cast<int>(c.replacement);
        EXPECT_EQ(versionRule(c.replacement).fromSticky, c.fromSticky) << static_cast<int>(c.replacement);
    }
    EXPECT_EQ(versionSizeText(512), L"512 bytes");
    EXPECT_EQ(versionSizeText(12800), L"12.5 KB");
    EXPECT_EQ(versionSizeText(3250585), L"3.1 MB");
}

TEST(Thinning, KeepsADayWholeThenDailyThenWeekly) {
    struct Case {
        const char* what;
        std::vector<std::uint64_t> ages; // of versions of one note, by index
        std::vector<std::size_t> gone;
    };
    const Case cases[] = {
        {"all of the last day stay", {0, 10 * 60'000, 20 * 60'000, 23 * hour, day}, {}},
        {"one per day after that, the newest",
         {day + hour, day + 2 * hour, 2 * day + hour, 2 * day + 3 * hour},
         {1, 3}},
        {"one per week after a month", {40 * day, 41 * day, 48 * day, 60 * day}, {1}},
        {"nothing older than a year", {300 * day, 366 * day, 400 * day}, {1, 2}},
        {"versions from a clock ahead count as new", {0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        std::vector<StoredVersion> versions;
        for (std::uint64_t age : c.ages) {
            versions.push_back({L"n", noon - age, 100, 0});
        }
        if (std::string(c.what).find("ahead") != std::string::npos) {
            versions[1].time = noon + day;
            versions[2].time = noon + 2 * day;
        }
        EXPECT_EQ(removed(versions), c.gone) << c.what;
    }
}

TEST(Thinning, IdenticalVersionsAndTheSizeLimit) {
    // The newer of two identical neighbours goes; an identical one further back stays.
    std::vector<StoredVersion> same = {{L"a", noon - 3 * hour, 10, 7}, {L"a", noon - 2 * hour, 10, 7},
                                       {L"a", noon - hour, 10, 8},     {L"a", noon, 10, 7},
                                       {L"b", noon - hour, 10, 7},     {L"a", noon - 4 * hour, 10, 0},
                                       {L"a", noon - 5 * hour, 10, 0}};
    EXPECT_EQ(removed(same), std::vector<std::size_t>({1}));
    // Over the limit the oldest go first, across notes.
    std::vector<StoredVersion> big = {{L"a", noon - 3 * hour, 40, 0},
                                      {L"b", noon - 4 * hour, 40, 0},
                                      {L"a", noon - hour, 40, 0},
                                      {L"b", noon, 40, 0}};
    EXPECT_EQ(removed(big, 100), std::vector<std::size_t>({0, 1}));
    EXPECT_EQ(removed(big, 160), std::vector<std::size_t>{});
    EXPECT_EQ(removed(big, 0), std::vector<std::size_t>{}); // no limit
    // Versions thinned by age count no more against the limit.
    std::vector<StoredVersion> old = {{L"a", noon - 500 * day, 90, 0}, {L"a", noon, 90, 0}};
    EXPECT_EQ(removed(old, 100), std::vector<std::size_t>({0}));
}
