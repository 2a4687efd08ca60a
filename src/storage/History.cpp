#include "storage/History.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace Brisvane {

namespace {

constexpr std::uint64_t hoursKeptWhole = millisecondsPerDay;
constexpr std::uint64_t dailyUntil = 31 * millisecondsPerDay;
constexpr std::uint64_t weeklyUntil = 365 * millisecondsPerDay;
constexpr std::size_t machineLength = 40;

// Days since 1970-01-01 to a calendar date (proleptic Gregorian).
void civilFromDays(std::int64_t days, int& year, unsigned& month, unsigned& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shifted = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    month = shifted < 10 ? shifted + 3 : shifted - 9;
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

std::int64_t daysFromCivil(int year, unsigned month, unsigned day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

void putNumber(std::wstring& out, unsigned value, int width) {
    std::wstring digits = std::to_wstring(value);
    out.append(digits.size() < static_cast<std::size_t>(width) ? width - digits.size() : 0, L'0');
    out += digits;
}

bool readNumber(std::wstring_view text, std::size_t at, int width, unsigned& value) {
    value = 0;
    for (int i = 0; i < width; ++i) {
        const wchar_t c = text[at + i];
        if (c < L'0' || c > L'9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    return true;
}

} // namespace

VersionRule versionRule(Replacement replacement) {
    switch (replacement) {
    case Replacement::Save:
        return {true, false};
    case Replacement::Reload:
    case Replacement::ClearDrawing:
    case Replacement::Restore:
        return {false, true};
    case Replacement::Fork:
    case Replacement::Recovery:
        return {false, false};
    }
    return {false, false};
}

bool spanOpen(std::optional<std::uint64_t> lastKept, std::uint64_t now, std::uint64_t spanMilliseconds) {
    return !lastKept || now < *lastKept || now - *lastKept >= spanMilliseconds;
}

std::wstring safeMachineName(std::wstring_view machine) {
    std::wstring safe;
    for (wchar_t c : machine) {
        if (safe.size() == machineLength) {
            break;
        }
        const bool refused =
            c < 0x20 || std::wstring_view(L"<>:\"/\\|?*._").find(c) != std::wstring_view::npos;
        safe += refused ? L'-' : c;
    }
    while (!safe.empty() && (safe.back() == L' ' || safe.back() == L'-')) {
        safe.pop_back();
    }
    return safe.empty() ? L"unknown" : safe;
}

std::wstring versionEntryName(std::uint64_t utcMilliseconds, std::wstring_view machine) {
    int year = 0;
    unsigned month = 0, day = 0;
    const std::uint64_t ofDay = utcMilliseconds % millisecondsPerDay;
    civilFromDays(static_cast<std::int64_t>(utcMilliseconds / millisecondsPerDay), year, month, day);
    std::wstring name;
    putNumber(name, static_cast<unsigned>(year), 4);
    name += L'-';
    putNumber(name, month, 2);
    name += L'-';
    putNumber(name, day, 2);
    name += L'T';
    putNumber(name, static_cast<unsigned>(ofDay / 3'600'000), 2);
    name += L'-';
    putNumber(name, static_cast<unsigned>(ofDay / 60'000 % 60), 2);
    name += L'-';
    putNumber(name, static_cast<unsigned>(ofDay / 1000 % 60), 2);
    name += L'.';
    putNumber(name, static_cast<unsigned>(ofDay % 1000), 3);
    name += L"Z_";
    name += safeMachineName(machine);
    return name;
}

std::optional<std::uint64_t> versionEntryTime(std::wstring_view name) {
    // "YYYY-MM-DDTHH-MM-SS.mmmZ_" then at least one character.
    constexpr std::wstring_view pattern = L"0000-00-00T00-00-00.000Z_";
    if (name.size() <= pattern.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != L'0' && name[i] != pattern[i]) {
            return std::nullopt;
        }
    }
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, milli = 0;
    if (!readNumber(name, 0, 4, year) || !readNumber(name, 5, 2, month) || !readNumber(name, 8, 2, day) ||
        !readNumber(name, 11, 2, hour) || !readNumber(name, 14, 2, minute) ||
        !readNumber(name, 17, 2, second) || !readNumber(name, 20, 3, milli) || year < 1970 || month < 1 ||
        month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    const std::int64_t days = daysFromCivil(static_cast<int>(year), month, day);
    return static_cast<std::uint64_t>(days) * millisecondsPerDay + hour * 3'600'000ull + minute * 60'000ull +
           second * 1000ull + milli;
}

std::wstring versionSizeText(std::uint64_t bytes) {
    if (bytes < 1024) {
        return std::to_wstring(bytes) + L" bytes";
    }
    const bool mega = bytes >= 1024 * 1024;
    const std::uint64_t tenths = (bytes * 10 + (mega ? 1 << 19 : 1 << 9)) >> (mega ? 20 : 10);
    return std::to_wstring(tenths / 10) + L"." + std::to_wstring(tenths % 10) + (mega ? L" MB" : L" KB");
}

std::vector<std::size_t> versionsToRemove(const std::vector<StoredVersion>& versions,
                                          const ThinningLimits& limits) {
    std::vector<std::size_t> order(versions.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Per note, newest first; across notes by time.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (versions[a].note != versions[b].note) {
            return versions[a].note < versions[b].note;
        }
        return versions[a].time > versions[b].time;
    });
    std::vector<bool> removed(versions.size(), false);
    std::map<std::wstring, std::uint64_t> lastBucket; // per note: "day:n" / "week:n" taken
    for (std::size_t k = 0; k < order.size(); ++k) {
        const StoredVersion& version = versions[order[k]];
        // The one before it in time is the next in this order.
        if (k + 1 < order.size() && versions[order[k + 1]].note == version.note && version.hash != 0 &&
            versions[order[k + 1]].hash == version.hash) {
            removed[order[k]] = true;
            continue;
        }
        const std::uint64_t age = limits.now > version.time ? limits.now - version.time : 0;
        if (age <= hoursKeptWhole) {
            continue;
        }
        if (age > weeklyUntil) {
            removed[order[k]] = true;
            continue;
        }
        // Buckets count from now, so a day or a week always spans the same length.
        const std::uint64_t bucket =
            age <= dailyUntil ? age / millisecondsPerDay : (1u << 20) + age / (7 * millisecondsPerDay);
        const std::wstring key = version.note;
        auto found = lastBucket.find(key);
        if (found != lastBucket.end() && found->second == bucket) {
            removed[order[k]] = true; // a newer one of the same day or week stays
            continue;
        }
        lastBucket[key] = bucket;
    }
    if (limits.sizeLimit > 0) {
        std::uint64_t total = 0;
        for (std::size_t i = 0; i < versions.size(); ++i) {
            total += removed[i] ? 0 : versions[i].size;
        }
        std::vector<std::size_t> byAge(order);
        std::stable_sort(byAge.begin(), byAge.end(),
                         [&](std::size_t a, std::size_t b) { return versions[a].time < versions[b].time; });
        for (std::size_t i : byAge) {
            if (total <= limits.sizeLimit) {
                break;
            }
            if (!removed[i]) {
                removed[i] = true;
                total -= versions[i].size;
            }
        }
    }
    std::vector<std::size_t> result;
    for (std::size_t i = 0; i < versions.size(); ++i) {
        if (removed[i]) {
            result.push_back(i);
        }
    }
    return result;
}

} // namespace Brisvane
