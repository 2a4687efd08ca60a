// Local time on hosts other than Windows.
#include "storage/DateFormat.h"

#include <ctime>

namespace Brisvane {

LocalTime currentLocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    if (localtime_r(&now, &parts) == nullptr) {
        // Only for times the C library cannot represent; the epoch is a valid date.
        return LocalTime{1970, 1, 1, 4, 0, 0, 0};
    }
    return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_wday,
                     parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

} // namespace Brisvane
