#include "storage/Reminder.h"

#include <algorithm>
#include <cstdio>

namespace Brisvane {

namespace {

constexpr std::int64_t minutesPerDay = 24 * 60;
constexpr int saturday = 6;
constexpr int sunday = 0;
// A daily reminder missed for a few hundred years still ends; one that is
// older than that is simply moved to the next day after now.
constexpr int maxSteps = 200000;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

CivilTime addDays(CivilTime time, int days) {
    return civilFromMinutes(civilMinutes(time) + days * minutesPerDay);
}

bool digitsAt(std::string_view text, std::size_t at, std::size_t count, int& value) {
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

} // namespace

int daysInMonth(int year, int month) {
    constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

int weekday(const CivilTime& time) {
    const std::int64_t days = daysFromCivil(time.year, time.month, time.day);
    return static_cast<int>(((days % 7) + 11) % 7); // 1970-01-01 was a Thursday
}

std::int64_t civilMinutes(const CivilTime& time) {
    return daysFromCivil(time.year, time.month, time.day) * minutesPerDay + time.hour * 60 + time.minute;
}

CivilTime civilFromMinutes(std::int64_t minutes) {
    const std::int64_t days = floorDiv(minutes, minutesPerDay);
    const std::int64_t rest = minutes - days * minutesPerDay;
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    CivilTime time;
    time.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    time.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    time.year = static_cast<int>(yoe + era * 400 + (time.month <= 2 ? 1 : 0));
    time.hour = static_cast<int>(rest / 60);
    time.minute = static_cast<int>(rest % 60);
    return time;
}

std::optional<CivilTime> parseCivilTime(std::string_view text) {
    if (text.size() != 16 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':') {
        return std::nullopt;
    }
    CivilTime time;
    if (!digitsAt(text, 0, 4, time.year) || !digitsAt(text, 5, 2, time.month) ||
        !digitsAt(text, 8, 2, time.day) || !digitsAt(text, 11, 2, time.hour) ||
        !digitsAt(text, 14, 2, time.minute)) {
        return std::nullopt;
    }
    if (time.year < 1 || time.day < 1 || time.day > daysInMonth(time.year, time.month) || time.hour > 23 ||
        time.minute > 59) {
        return std::nullopt;
    }
    return time;
}

std::string formatCivilTime(const CivilTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d", time.year, time.month, time.day, time.hour,
                  time.minute);
    return text;
}

const char* repeatName(Repeat repeat) {
    switch (repeat) {
    case Repeat::daily:
        return "daily";
    case Repeat::weekdays:
        return "weekdays";
    case Repeat::weekly:
        return "weekly";
    case Repeat::monthly:
        return "monthly";
    case Repeat::none:
        break;
    }
    return "none";
}

std::optional<Repeat> parseRepeat(std::string_view name) {
    for (Repeat repeat : repeats) {
        if (name == repeatName(repeat)) {
            return repeat;
        }
    }
    return std::nullopt;
}

const char* repeatTextKey(Repeat repeat) {
    switch (repeat) {
    case Repeat::daily:
        return "dialog.reminder.daily";
    case Repeat::weekdays:
        return "dialog.reminder.weekdays";
    case Repeat::weekly:
        return "dialog.reminder.weekly";
    case Repeat::monthly:
        return "dialog.reminder.monthly";
    case Repeat::none:
        break;
    }
    return "dialog.reminder.once";
}

const wchar_t* repeatEnglish(Repeat repeat) {
    switch (repeat) {
    case Repeat::daily:
        return L"Every day";
    case Repeat::weekdays:
        return L"Every weekday";
    case Repeat::weekly:
        return L"Every week";
    case Repeat::monthly:
        return L"Every month";
    case Repeat::none:
        break;
    }
    return L"Only once";
}

std::optional<Reminder> readReminder(const Json& note) {
    const Json* stored = findPath(note, {"reminder"});
    if (!stored || !stored->is_object()) {
        return std::nullopt;
    }
    const Json* at = findPath(*stored, {"at"});
    std::optional<CivilTime> time =
        at && at->is_string() ? parseCivilTime(at->get_ref<const std::string&>()) : std::nullopt;
    const Json* repeatText = findPath(*stored, {"repeat"});
    // A reminder written without its repeat is a one-time reminder.
    std::optional<Repeat> repeat = !repeatText ? std::optional<Repeat>(Repeat::none)
                                   : repeatText->is_string()
                                       ? parseRepeat(repeatText->get_ref<const std::string&>())
                                       : std::nullopt;
    if (!time || !repeat) {
        return std::nullopt;
    }
    Reminder reminder{*time, *repeat, 0};
    const std::int64_t day = integerAt(*stored, {"day"}, 0);
    if (reminder.repeat == Repeat::monthly && day >= 1 && day <= 31) {
        reminder.monthDay = static_cast<int>(day);
    }
    return reminder;
}

bool writeReminder(Json& note, const std::optional<Reminder>& reminder) {
    if (!reminder) {
        return note.is_object() && note.erase("reminder") > 0;
    }
    Json stored = Json::object();
    stored["at"] = formatCivilTime(reminder->at);
    stored["repeat"] = repeatName(reminder->repeat);
    if (reminder->repeat == Repeat::monthly && reminder->monthDay != 0 &&
        reminder->monthDay != reminder->at.day) {
        stored["day"] = static_cast<std::int64_t>(reminder->monthDay);
    }
    // Members this program does not know survive.
    if (const Json* old = findPath(note, {"reminder"}); old && old->is_object()) {
        for (const auto& [name, value] : old->items()) {
            if (name != "at" && name != "repeat" && name != "day") {
                stored[name] = value;
            }
        }
    }
    return storeAt(note, {"reminder"}, stored);
}

std::int64_t utcMinutesOf(const CivilTime& local, const TimeZone& zone) {
    const std::int64_t wall = civilMinutes(local);
    // The offsets a day either side: at most one change lies between them.
    const int before = zone.offsetMinutesAt(wall - minutesPerDay);
    const int after = zone.offsetMinutesAt(wall + minutesPerDay);
    const std::int64_t early = wall - std::max(before, after);
    const std::int64_t late = wall - std::min(before, after);
    for (std::int64_t candidate : {early, late}) {
        if (candidate + zone.offsetMinutesAt(candidate) == wall) {
            return candidate;
        }
    }
    // Skipped by the change: read with the offset before it.
    return wall - before;
}

CivilTime localTimeOf(std::int64_t utcMinutes, const TimeZone& zone) {
    return civilFromMinutes(utcMinutes + zone.offsetMinutesAt(utcMinutes));
}

Reminder firstOccurrence(Reminder reminder) {
    if (reminder.repeat == Repeat::weekdays) {
        while (weekday(reminder.at) == saturday || weekday(reminder.at) == sunday) {
            reminder.at = addDays(reminder.at, 1);
        }
    }
    if (reminder.repeat == Repeat::monthly && reminder.monthDay == 0) {
        reminder.monthDay = reminder.at.day;
    }
    return reminder;
}

CivilTime followingOccurrence(const Reminder& reminder, const CivilTime& at) {
    switch (reminder.repeat) {
    case Repeat::daily:
        return addDays(at, 1);
    case Repeat::weekdays: {
        CivilTime next = addDays(at, 1);
        while (weekday(next) == saturday || weekday(next) == sunday) {
            next = addDays(next, 1);
        }
        return next;
    }
    case Repeat::weekly:
        return addDays(at, 7);
    case Repeat::monthly: {
        CivilTime next = at;
        next.month = at.month == 12 ? 1 : at.month + 1;
        next.year = at.month == 12 ? at.year + 1 : at.year;
        const int wanted = reminder.monthDay != 0 ? reminder.monthDay : at.day;
        next.day = std::min(wanted, daysInMonth(next.year, next.month));
        return next;
    }
    case Repeat::none:
        break;
    }
    return at;
}

std::optional<Reminder> afterFiring(const Reminder& reminder, std::int64_t nowSeconds, const TimeZone& zone) {
    if (reminder.repeat == Repeat::none) {
        return std::nullopt;
    }
    Reminder next = firstOccurrence(reminder);
    const std::int64_t nowMinutes = floorDiv(nowSeconds, 60);
    for (int step = 0; step < maxSteps && utcMinutesOf(next.at, zone) <= nowMinutes; ++step) {
        next.at = followingOccurrence(next, next.at);
    }
    if (utcMinutesOf(next.at, zone) <= nowMinutes) {
        CivilTime today = localTimeOf(nowMinutes, zone);
        today.hour = next.at.hour;
        today.minute = next.at.minute;
        next.at = addDays(today, 1);
    }
    return next;
}

ReminderCheck checkReminders(const std::vector<Reminder>& reminders, std::int64_t nowSeconds,
                             const TimeZone& zone) {
    ReminderCheck check;
    for (std::size_t i = 0; i < reminders.size(); ++i) {
        const std::int64_t dueSeconds = utcMinutesOf(reminders[i].at, zone) * 60;
        if (dueSeconds <= nowSeconds) {
            check.due.push_back(i);
        } else if (!check.nextDueSeconds || dueSeconds < *check.nextDueSeconds) {
            check.nextDueSeconds = dueSeconds;
        }
    }
    return check;
}

} // namespace Brisvane
