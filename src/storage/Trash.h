#pragma once
// The decisions of the trash that need no file system: the deletion stamp,
// whole days between two local times and the deadline.
#include <cstdint>
#include <optional>
#include <string_view>

#include "storage/DateFormat.h"

namespace Brisvane {

// How the deletion time is written into "delete-date.txt".
inline constexpr wchar_t deleteStampFormat[] = L"$YYYY,$M,$D,$h,$m,$s";
// The menus list at most this many trash entries.
inline constexpr std::size_t maxTrashMenuEntries = 1000;

// Reads the first six comma-separated pieces as decimal integers (leading
// white space allowed, anything after the digits ignored). Empty when there
// are fewer than six pieces or a piece holds no number or one out of range.
// The weekday of the result is 0.
std::optional<LocalTime> parseDeleteStamp(std::wstring_view text);

// Whole days from `from` to `to`, truncated toward zero. Empty when either
// time is not a valid calendar time (years 100 to 9999).
std::optional<std::int64_t> elapsedWholeDays(const LocalTime& from, const LocalTime& to);

// Whether an entry stamped with `stampText` goes at a purge run at `now`. A
// stamp that cannot be read keeps the entry for ever; a negative deadline
// counts as 0.
bool trashEntryExpired(std::wstring_view stampText, const LocalTime& now, std::int32_t deadlineDays);

// Folders whose names begin with a full stop are not trash entries.
bool isTrashEntryName(std::wstring_view name);

} // namespace Brisvane
