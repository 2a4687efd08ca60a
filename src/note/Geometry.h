#pragma once
// Window geometry of a sticky that needs no window system: rectangles, keeping a
// sticky on screen, placing a new sticky beside its source, resize zones and
// the layered-window alpha.
#include <functional>
#include <vector>

#include "base/Rect.h"
#include "storage/Json.h"

namespace Brisvane {

// When the centre (integer division) lies in any of the work areas, returns r
// unchanged with corrected = false. Otherwise pulls r inside the nearest
// monitor's full rectangle (right, bottom, left, top, in that order) and sets
// corrected = true, which tells the caller to store the new position.
Rect keepOnScreen(const Rect& r, const std::vector<Rect>& workAreas, const Rect& nearestMonitor,
                  bool& corrected);

// Where a new sticky first goes: just right of the source, same top and size.
Rect besideSource(const Rect& source);
// Moves the candidate to the left of the source when it sticks out on the right,
// up when it sticks out at the bottom, then clamps to the monitor's left and top.
Rect fitBesideSource(const Rect& candidate, const Rect& source, const Rect& monitor);

// Copies the settings a new sticky inherits from its source sticky (both note
// documents completed with defaults) and places it beside the source on the
// monitor that nearestMonitor gives for the first candidate rectangle. A member
// whose source value has the wrong type is left alone.
void copyNoteDefaults(Json& target, const Json& source,
                      const std::function<Rect(const Rect&)>& nearestMonitor);

// The same numbers as the HT codes of WM_NCHITTEST.
enum HitZone : int {
    HitNowhere = 0,
    HitClient = 1,
    HitLeft = 10,
    HitRight = 11,
    HitTop = 12,
    HitTopLeft = 13,
    HitTopRight = 14,
    HitBottom = 15,
    HitBottomLeft = 16,
    HitBottomRight = 17
};

// The resize zone under a point in client coordinates of a client area of the
// given size. The top edge alone never resizes (it is the title bar); with
// fixSize everything inside is client area.
HitZone resizeZone(int x, int y, int width, int height, bool fixSize);

// The layered window's alpha: the product scaled to 0..255 and truncated; any
// result outside 0..255 (negatives included) gives 255.
int layeredAlpha(float opacity, float factor, float highlight);

// Whether two opacities differ beyond float rounding (relative tolerance).
bool opacityDiffers(float a, float b);

} // namespace Brisvane
