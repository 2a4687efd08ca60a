#include "storage/Trash.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cwchar>
#include <string>
#include <vector>

#include "storage/Strings.h"

namespace Brisvane {

namespace {

// The standard string-to-integer reading of one piece, bounded to int.
std::optional<int> readInteger(const std::wstring& piece) {
    const wchar_t* begin = piece.c_str();
    wchar_t* end = nullptr;
    errno = 0;
    long long value = std::wcstoll(begin, &end, 10);
    if (end == begin || errno == ERANGE || value < INT_MIN || value > INT_MAX) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t dayNumber(int year, int month, int day) {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

std::optional<std::int64_t> secondsOf(const LocalTime& t) {
    if (t.year < 100 || t.year > 9999 || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > daysInMonth(t.year, t.month) || t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 ||
        t.second < 0 || t.second > 59) {
        return std::nullopt;
    }
    return dayNumber(t.year, t.month, t.day) * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

} // namespace

std::optional<LocalTime> parseDeleteStamp(std::wstring_view text) {
    std::vector<std::wstring> pieces = splitAny(text, L",");
    if (pieces.size() < 6) {
        return std::nullopt;
    }
    int numbers[6];
    for (int i = 0; i < 6; ++i) {
        std::optional<int> number = readInteger(pieces[static_cast<std::size_t>(i)]);
        if (!number) {
            return std::nullopt;
        }
        numbers[i] = *number;
    }
    return LocalTime{numbers[0], numbers[1], numbers[2], 0, numbers[3], numbers[4], numbers[5]};
}

std::optional<std::int64_t> elapsedWholeDays(const LocalTime& from, const LocalTime& to) {
    std::optional<std::int64_t> start = secondsOf(from);
    std::optional<std::int64_t> end = secondsOf(to);
    if (!start || !end) {
        return std::nullopt;
    }
    return (*end - *start) / 86400; // truncates toward zero
}

bool trashEntryExpired(std::wstring_view stampText, const LocalTime& now, std::int32_t deadlineDays) {
    std::optional<LocalTime> deleted = parseDeleteStamp(stampText);
    if (!deleted) {
        return false;
    }
    std::optional<std::int64_t> days = elapsedWholeDays(*deleted, now);
    return days && std::max<std::int32_t>(deadlineDays, 0) <= *days;
}

bool isTrashEntryName(std::wstring_view name) {
    return !name.empty() && name.front() != L'.';
}

} // namespace Brisvane
