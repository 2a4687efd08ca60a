#include <gtest/gtest.h>

#include "storage/Reminder.h"

using namespace Brisvane;

namespace {

CivilTime at(const char* text) {
    std::optional<CivilTime> time = parseCivilTime(text);
    EXPECT_TRUE(time) << text;
    return time.value_or(CivilTime{});
}

// Central European time: UTC+1, and UTC+2 from the last Sunday of March to the
// last Sunday of October, changing at 01:00 UTC.
class CentralEurope : public TimeZone {
public:
    int offsetMinutesAt(std::int64_t utcMinutes) const override {
        const int year = civilFromMinutes(utcMinutes).year;
        const bool summer = utcMinutes >= change(year, 3) && utcMinutes < change(year, 10);
        return summer ? 120 : 60;
    }

private:
    static std::int64_t change(int year, int month) {
        CivilTime last{year, month, daysInMonth(year, month), 1, 0};
        last.day -= weekday(last);
        return civilMinutes(last);
    }
};

const CentralEurope zone;

std::int64_t dueSeconds(const char* local) {
    return utcMinutesOf(at(local), zone) * 60;
}

TEST(Reminder, WallClockTimesAcrossDaylightSaving) {
    struct Case {
        const char* local;
        const char* utc;
    };
    const Case cases[] = {
        {"2026-07-01T12:00", "2026-07-01T10:00"}, {"2026-12-01T12:00", "2026-12-01T11:00"},
        {"2026-03-29T02:30", "2026-03-29T01:30"}, // skipped: taken as 03:30 summer time
        {"2026-10-25T02:30", "2026-10-25T00:30"}, // twice: the first one
        {"2026-10-25T03:30", "2026-10-25T02:30"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatCivilTime(civilFromMinutes(utcMinutesOf(at(c.local), zone))), c.utc) << c.local;
    }
    EXPECT_EQ(formatCivilTime(localTimeOf(utcMinutesOf(at("2026-03-29T02:30"), zone), zone)),
              "2026-03-29T03:30");
}

TEST(Reminder, MovesOnAfterFiring) {
    struct Case {
        Repeat repeat;
        const char* due;
        const char* next; // nullptr: removed
    };
    const Case cases[] = {
        {Repeat::none, "2026-12-08T09:00", nullptr},
        {Repeat::daily, "2026-12-08T09:00", "2026-12-09T09:00"},
        {Repeat::daily, "2026-12-31T23:59", "2027-01-01T23:59"},
        {Repeat::daily, "2026-03-28T09:00", "2026-03-29T09:00"}, // into summer time
        {Repeat::daily, "2026-10-24T09:00", "2026-10-25T09:00"}, // back to winter time
        {Repeat::daily, "2026-10-25T02:30", "2026-10-26T02:30"}, // not again at the second 02:30
        {Repeat::weekdays, "2026-12-10T09:00", "2026-12-11T09:00"},
        {Repeat::weekdays, "2026-12-11T09:00", "2026-12-14T09:00"}, // Friday to Monday
        {Repeat::weekly, "2026-12-08T18:30", "2026-12-15T18:30"},
        {Repeat::monthly, "2026-12-15T08:00", "2027-01-15T08:00"},
        {Repeat::monthly, "2026-01-31T08:00", "2026-02-28T08:00"},
        {Repeat::monthly, "2028-01-31T08:00", "2028-02-29T08:00"}, // leap year
        {Repeat::monthly, "2026-03-31T08:00", "2026-04-30T08:00"},
    };
    for (const Case& c : cases) {
        std::optional<Reminder> next = afterFiring(Reminder{at(c.due), c.repeat}, dueSeconds(c.due), zone);
        if (!c.next) {
            EXPECT_FALSE(next) << c.due;
            continue;
        }
        ASSERT_TRUE(next) << c.due;
        EXPECT_EQ(formatCivilTime(next->at), c.next) << c.due;
    }
    // Across the changes the wall clock stays, so the day is 23 and 25 hours long.
    EXPECT_EQ(dueSeconds("2026-03-29T09:00") - dueSeconds("2026-03-28T09:00"), 23 * 3600);
    EXPECT_EQ(dueSeconds("2026-10-25T09:00") - dueSeconds("2026-10-24T09:00"), 25 * 3600);
}

TEST(Reminder, MonthlyKeepsItsDayThroughShortMonths) {
    Reminder reminder = firstOccurrence(Reminder{at("2026-01-31T08:00"), Repeat::monthly});
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        reminder = *afterFiring(reminder, dueSeconds(formatCivilTime(reminder.at).c_str()), zone);
        seen.push_back(formatCivilTime(reminder.at));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"2026-02-28T08:00", "2026-03-31T08:00", "2026-04-30T08:00",
                                              "2026-05-31T08:00"}));
    // The day survives the file while "at" sits on a shorter month's last day.
    Json note = Json::object();
    reminder.at = at("2026-02-28T08:00");
    writeReminder(note, reminder);
    EXPECT_EQ(readReminder(note), reminder);
}

TEST(Reminder, MissedOnesFireOnceAtStart) {
    // Started a week after a daily reminder was last due, an hour after its time.
    const Reminder daily{at("2026-12-01T09:00"), Repeat::daily};
    const Reminder once{at("2026-12-05T12:00"), Repeat::none};
    const Reminder later{at("2026-12-08T10:30"), Repeat::none};
    const std::int64_t now = dueSeconds("2026-12-08T10:00");
    ReminderCheck check = checkReminders({daily, once, later}, now, zone);
    EXPECT_EQ(check.due, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(check.nextDueSeconds, now + 30 * 60);

    std::optional<Reminder> moved = afterFiring(daily, now, zone);
    ASSERT_TRUE(moved);
    EXPECT_EQ(formatCivilTime(moved->at), "2026-12-09T09:00");
    EXPECT_TRUE(checkReminders({*moved, later}, now, zone).due.empty());
    // Before its time of day it comes again the same day.
    EXPECT_EQ(formatCivilTime(afterFiring(daily, dueSeconds("2026-12-08T08:00"), zone)->at),
              "2026-12-08T09:00");
}

TEST(Reminder, ClockSetBackWaitsForTheMovedTime) {
    // Fired at 09:00 and moved to tomorrow; then the clock goes back two hours.
    const Reminder moved =
        *afterFiring(Reminder{at("2026-12-08T09:00"), Repeat::daily}, dueSeconds("2026-12-08T09:00"), zone);
    const std::int64_t setBack = dueSeconds("2026-12-08T07:00");
    ReminderCheck check = checkReminders({moved}, setBack, zone);
    EXPECT_TRUE(check.due.empty());
    EXPECT_EQ(check.nextDueSeconds, setBack + 26 * 3600);
}

TEST(Reminder, WeekdaysSetOnAWeekendStartMonday) {
    EXPECT_EQ(formatCivilTime(firstOccurrence(Reminder{at("2026-12-12T09:00"), Repeat::weekdays}).at),
              "2026-12-14T09:00");
    EXPECT_EQ(formatCivilTime(firstOccurrence(Reminder{at("2026-12-12T09:00"), Repeat::daily}).at),
              "2026-12-12T09:00");
}

TEST(Reminder, ReadsAndWritesTheNoteMember) {
    struct Case {
        const char* note;
        const char* at; // nullptr: no reminder
        Repeat repeat;
    };
    const Case cases[] = {
        {R"({})", nullptr, Repeat::none},
        {R"({"reminder": {"at": "2026-12-08T09:05", "repeat": "weekly"}})", "2026-12-08T09:05",
         Repeat::weekly},
        {R"({"reminder": {"at": "2026-12-08T09:05"}})", "2026-12-08T09:05", Repeat::none},
        {R"({"reminder": {"at": "2026-02-29T09:05", "repeat": "none"}})", nullptr, Repeat::none},
        {R"({"reminder": {"at": "2026-12-08 09:05", "repeat": "none"}})", nullptr, Repeat::none},
        {R"({"reminder": {"at": "2026-12-08T24:00", "repeat": "none"}})", nullptr, Repeat::none},
        {R"({"reminder": {"at": "2026-12-08T09:05", "repeat": "yearly"}})", nullptr, Repeat::none},
        {R"({"reminder": {"at": "2026-12-08T09:05", "repeat": 1}})", nullptr, Repeat::none},
        {R"({"reminder": "2026-12-08T09:05"})", nullptr, Repeat::none},
    };
    for (const Case& c : cases) {
        std::optional<Reminder> reminder = readReminder(parseJson(c.note));
        ASSERT_EQ(reminder.has_value(), c.at != nullptr) << c.note;
        if (reminder) {
            EXPECT_EQ(formatCivilTime(reminder->at), c.at) << c.note;
            EXPECT_EQ(reminder->repeat, c.repeat) << c.note;
        }
    }
    Json note = parseJson(R"({"reminder": {"at": "2026-12-08T09:05", "repeat": "daily", "sound": "bell"}})");
    EXPECT_TRUE(writeReminder(note, Reminder{at("2026-12-09T09:05"), Repeat::daily}));
    EXPECT_EQ(note["reminder"],
              parseJson(R"({"at": "2026-12-09T09:05", "repeat": "daily", "sound": "bell"})"));
    EXPECT_FALSE(writeReminder(note, Reminder{at("2026-12-09T09:05"), Repeat::daily}));
    EXPECT_TRUE(writeReminder(note, std::nullopt));
    EXPECT_FALSE(note.contains("reminder"));
}

} // namespace
