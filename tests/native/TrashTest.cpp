// The trash's own decisions: reading deletion stamps and the deadline in whole days.
#include <gtest/gtest.h>

#include "storage/Trash.h"

using namespace Brisvane;

namespace {

LocalTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return {year, month, day, 0, hour, minute, second};
}

} // namespace

TEST(TrashStamp, ReadsSixNumbersOrNothing) {
    struct Case {
        const wchar_t* text;
        bool readable;
    };
    const Case cases[] = {
        {L"2026,12,8,6,30,5", true},
        {L" 2026, 12,8 ,6,30,5\r\n", true}, // leading blanks, trailing characters
        {L"2026,12,8,6,30,5,99", true},     // more pieces are ignored
        {L"2026,12", false},                // only a year and a month
        {L"2026,12,8,6,30", false},         // five pieces
        {L"2026,12,x,6,30,5", false},       // a piece without a number
        {L"2026,,8,6,30,5", false},         // an empty piece
        {L"2026,99999999999,8,6,30,5", false},
        {L"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseDeleteStamp(c.text).has_value(), c.readable)
            << testing::PrintToString(std::wstring(c.text));
    }
    std::optional<LocalTime> t = parseDeleteStamp(L"2026,2,3,4,5,6");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->year, 2026);
    EXPECT_EQ(t->month, 2);
    EXPECT_EQ(t->day, 3);
    EXPECT_EQ(t->hour, 4);
    EXPECT_EQ(t->minute, 5);
    EXPECT_EQ(t->second, 6);
}

TEST(TrashStamp, WholeDaysBetweenLocalTimes) {
    struct Case {
        LocalTime from, to;
        std::optional<std::int64_t> days;
    };
    const Case cases[] = {
        {at(2026, 1, 1, 12), at(2026, 2, 1, 11), 30},               // 30 d 23 h
        {at(2026, 1, 1, 12), at(2026, 2, 1, 12), 31},               // exactly 31 d
        {at(2024, 2, 28), at(2024, 3, 1), 2},                       // leap year
        {at(2025, 12, 31, 23, 59, 59), at(2026, 1, 1, 0, 0, 0), 0}, // one second
        {at(2026, 3, 10), at(2026, 3, 8, 12), -1},                  // clock set back: toward zero
        {at(1899, 12, 30), at(1900, 1, 1), 2},
        {at(2026, 13, 1), at(2026, 1, 1), std::nullopt}, // month 13
        {at(2026, 2, 30), at(2026, 3, 1), std::nullopt},
        {at(2026, 1, 1, 24), at(2026, 1, 2), std::nullopt},
        {at(99, 1, 1), at(2026, 1, 1), std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(elapsedWholeDays(c.from, c.to), c.days)
            << c.from.year << "-" << c.from.month << "-" << c.from.day << " to " << c.to.year << "-"
            << c.to.month;
    }
}

TEST(TrashStamp, DeadlineDecidesThePurge) {
    const LocalTime now = at(2026, 2, 1, 12);
    struct Case {
        const wchar_t* stamp;
        std::int32_t deadline;
        bool expired;
    };
    const Case cases[] = {
        {L"2026,1,1,13,0,0", 31, false}, // 30 d 23 h stays
        {L"2026,1,1,12,0,0", 31, true},  // 31 d goes
        {L"2026,2,1,11,0,0", 0, true},   // deadline 0: everything goes
        {L"2026,2,1,11,0,0", -3, true},  // negative counts as 0
        {L"2026,2,3,12,0,0", -3, false}, // stamped two days ahead of the clock
        {L"2026,1", 0, false},           // damaged stamps stay for ever
        {L"abc", 0, false},
        {L"2026,13,1,0,0,0", 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(trashEntryExpired(c.stamp, now, c.deadline), c.expired)
            << testing::PrintToString(std::wstring(c.stamp)) << " deadline " << c.deadline;
    }
}

TEST(TrashStamp, HiddenFoldersAreNoEntries) {
    EXPECT_TRUE(isTrashEntryName(L"0a0a0a0a-0000-4000-8000-00000000000a"));
    EXPECT_FALSE(isTrashEntryName(L".keep"));
    EXPECT_FALSE(isTrashEntryName(L"."));
    EXPECT_FALSE(isTrashEntryName(L""));
}
