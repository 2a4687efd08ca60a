#include "note/ScreenPlacement_win.h"

#include <cstdint>
#include <vector>

#include <windows.h>

#include <shellscalingapi.h>

#include "note/DpiScale.h"

namespace Brisvane {

namespace {

Rect toRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

BOOL CALLBACK collectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{sizeof info};
    if (GetMonitorInfoW(monitor, &info)) {
        reinterpret_cast<std::vector<Rect>*>(list)->push_back(toRect(info.rcWork));
    }
    return TRUE;
}

} // namespace

Rect keptOnScreen(const Rect& wanted, bool& corrected) {
    // Monitors do not overlap, so a centre inside any work area lies on the
    // monitor that holds the centre point.
    POINT centre{static_cast<LONG>((std::int64_t(wanted.left) + wanted.right) / 2),
                 static_cast<LONG>((std::int64_t(wanted.top) + wanted.bottom) / 2)};
    MONITORINFO info{sizeof info};
    HMONITOR monitor = MonitorFromPoint(centre, MONITOR_DEFAULTTONULL);
    if (monitor && GetMonitorInfoW(monitor, &info)) {
        Rect placed = keepOnScreen(wanted, {toRect(info.rcWork)}, toRect(info.rcMonitor), corrected);
        if (!corrected) {
            return placed;
        }
    }
    std::vector<Rect> workAreas;
    EnumDisplayMonitors(nullptr, nullptr, collectWorkArea, reinterpret_cast<LPARAM>(&workAreas));
    RECT r{wanted.left, wanted.top, wanted.right, wanted.bottom};
    info = {sizeof info};
    GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info);
    return keepOnScreen(wanted, workAreas, toRect(info.rcMonitor), corrected);
}

int monitorDpi(const Rect& r) {
    RECT area{r.left, r.top, r.right, r.bottom};
    UINT x = 0, y = 0;
    if (GetDpiForMonitor(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), MDT_EFFECTIVE_DPI, &x, &y) !=
        S_OK) {
        return baseDpi;
    }
    return effectiveDpi(static_cast<int>(y));
}

Rect monitorNearest(const Rect& r) {
    RECT wanted{r.left, r.top, r.right, r.bottom};
    MONITORINFO info{sizeof info};
    GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &info);
    return toRect(info.rcMonitor);
}

} // namespace Brisvane
