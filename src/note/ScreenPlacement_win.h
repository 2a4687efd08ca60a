#pragma once
// Where a sticky's rectangle goes on the monitors of this machine.
#include "note/Geometry.h"

namespace Brisvane {

// `wanted` as it is when its centre lies in some monitor's work area; otherwise
// moved onto the nearest monitor, and `corrected` says so. The usual case asks
// for one monitor only.
Rect keptOnScreen(const Rect& wanted, bool& corrected);

// The DPI of the monitor nearest to a rectangle, where a window made there
// takes its measures from.
int monitorDpi(const Rect& r);

// The whole rectangle of the monitor nearest to `r`.
Rect monitorNearest(const Rect& r);

} // namespace Brisvane
