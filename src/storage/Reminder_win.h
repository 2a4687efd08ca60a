#pragma once
// A reminder's wall-clock time as the system's date and time structure, which
// the pickers, the date formats and the time-zone calls take.
#include <windows.h>

#include "storage/Reminder.h"

namespace Brisvane {

inline SYSTEMTIME systemTimeOf(const CivilTime& at) {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(at.year);
    time.wMonth = static_cast<WORD>(at.month);
    time.wDay = static_cast<WORD>(at.day);
    time.wDayOfWeek = static_cast<WORD>(weekday(at));
    time.wHour = static_cast<WORD>(at.hour);
    time.wMinute = static_cast<WORD>(at.minute);
    return time;
}

} // namespace Brisvane
