#pragma once
// A sticky's reminder as stored in note.json: "reminder": {"at":
// "YYYY-MM-DDTHH:MM" in local wall-clock time, "repeat": "none" | "daily" |
// "weekdays" | "weekly" | "monthly"}. Times are kept as wall-clock times and
// turned into real instants through a time zone only when they are compared
// with the clock, so that a daily 09:00 stays at 09:00 across daylight-saving
// changes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Json.h"

namespace Brisvane {

// A local date and time to the minute.
struct CivilTime {
    int year = 1970;
    int month = 1; // 1-12
    int day = 1;   // 1-31
    int hour = 0;
    int minute = 0;
    auto operator<=>(const CivilTime&) const = default;
};

enum class Repeat { none, daily, weekdays, weekly, monthly };

struct Reminder {
    CivilTime at; // the next time it is due
    Repeat repeat = Repeat::none;
    // Monthly: the day of the month chosen, kept while a shorter month moves
    // "at" to its last day (stored as "day" only then). 0: the day of "at".
    int monthDay = 0;
    bool operator==(const Reminder&) const = default;
};

int daysInMonth(int year, int month);
// 0 = Sunday ... 6 = Saturday.
int weekday(const CivilTime& time);
// Minutes since 1970-01-01 00:00 of the same calendar, and back.
std::int64_t civilMinutes(const CivilTime& time);
CivilTime civilFromMinutes(std::int64_t minutes);

std::optional<CivilTime> parseCivilTime(std::string_view text);
std::string formatCivilTime(const CivilTime& time);
const char* repeatName(Repeat repeat);
std::optional<Repeat> parseRepeat(std::string_view name);
// How the user sees a repeat: its language key and English text.
const char* repeatTextKey(Repeat repeat);
const wchar_t* repeatEnglish(Repeat repeat);
inline constexpr Repeat repeats[] = {Repeat::none, Repeat::daily, Repeat::weekdays, Repeat::weekly,
                                     Repeat::monthly};

// The note's "reminder"; nothing when it is missing or cannot be read (an
// unreadable one stays in the document untouched).
std::optional<Reminder> readReminder(const Json& note);
// Writes the reminder, or removes the member for none; true when the document changed.
bool writeReminder(Json& note, const std::optional<Reminder>& reminder);

// The local time zone: how far local time is ahead of UTC at an instant.
class TimeZone {
public:
    virtual ~TimeZone() = default;
    virtual int offsetMinutesAt(std::int64_t utcMinutes) const = 0;
};

// The instant of a local wall-clock time. A time that a change to summer time
// skips is taken as that long after the change (02:30 becomes 03:30); a time
// that occurs twice when clocks go back is its first occurrence.
std::int64_t utcMinutesOf(const CivilTime& local, const TimeZone& zone);
CivilTime localTimeOf(std::int64_t utcMinutes, const TimeZone& zone);

// The time a reminder starts from as the user set it: "every weekday" set on
// a Saturday or Sunday begins on the Monday.
Reminder firstOccurrence(Reminder reminder);
// The occurrence after `at`, one step of the repeat (`at` for none).
CivilTime followingOccurrence(const Reminder& reminder, const CivilTime& at);
// What is left of a reminder once it fired at `nowSeconds` (UTC): a repeating
// one moves to its first occurrence after now, so that however many were
// missed it fires once; a one-time reminder is gone.
std::optional<Reminder> afterFiring(const Reminder& reminder, std::int64_t nowSeconds, const TimeZone& zone);

// Which reminders are due at `nowSeconds` (UTC seconds), by index, and when
// the nearest of the others falls due.
struct ReminderCheck {
    std::vector<std::size_t> due;
    std::optional<std::int64_t> nextDueSeconds;
};
ReminderCheck checkReminders(const std::vector<Reminder>& reminders, std::int64_t nowSeconds,
                             const TimeZone& zone);

} // namespace Brisvane
