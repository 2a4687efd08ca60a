#include "storage/DateFormat.h"

#include <windows.h>

namespace Brisvane {

LocalTime currentLocalTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute, now.wSecond};
}

} // namespace Brisvane
