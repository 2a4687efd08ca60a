#pragma once
// The small template language for default note titles and trash time stamps:
// "$" tokens (case-sensitive) are replaced by parts of a local date and time,
// everything else is copied; "\$" is copied as it is and starts no token.
#include <string>
#include <string_view>

namespace Brisvane {

struct LocalTime {
    int year;
    int month; // 1-12
    int day;
    int weekday; // 0 = Sunday
    int hour;    // 0-23
    int minute;
    int second;
};

// Expands the template for the given time. Tokens, longest of a family first:
// $hh $h $mm $m $ss $s, $YYYY $YY, $MMMM $MMM $MM $M $DD $D, $WWWW $WWW (Japanese
// weekday) $wwww $www $ww (English weekday). A month or weekday out of range
// gives an empty name.
std::wstring formatDate(std::wstring_view format, const LocalTime& time);

// The current local time, read once; each platform supplies its own.
LocalTime currentLocalTime();

// formatDate with the current local time.
std::wstring formatNow(std::wstring_view format);

} // namespace Brisvane
