#pragma once
// The arithmetic of a sticky's own scroll bars: where the body and the bars go,
// where the thumb lies, where a dragged thumb scrolls to and when the timers act.
#include <cstdint>
#include <functional>

#include "note/Geometry.h"

namespace Brisvane {

// At 96 DPI; a sticky scales both by its DPI.
inline constexpr int scrollBarThickness = 9;
// A thumb is never shorter than this, however long the content.
inline constexpr int minimumThumb = 30;
// Across the bar, a dragging pointer further away than this lets go of the thumb.
inline constexpr int dragLetGo = 100;
inline constexpr std::uint32_t repeatDelayMs = 300;
// The follow timer stops once the body has been still for longer than this.
inline constexpr std::uint32_t followIdleMs = 4999;

// Start and end of a thumb along its bar; start == end means no thumb.
struct ThumbSpan {
    int start = 0, end = 0;
    bool empty() const { return start == end; }
};

// length: the bar's length in pixels; position, page and range as the body
// reports them; minimumLength is the shortest thumb in pixels.
ThumbSpan thumbSpan(int length, int position, int page, int rangeMin, int rangeMax,
                    int minimumLength = minimumThumb);

// Which of its own bars the body shows at a trial size.
struct BodyBars {
    bool vertical = false, horizontal = false;
};

enum class ScrollCase { none, vertical, horizontal, both };

// Tries the body at up to three sizes (trial moves it and reports its bars) and
// decides which of the sticky's bars are needed. cx and cy are the system's
// scroll bar widths, which the body gets beyond the text area so that its own
// bars fall outside the visible part; thickness is that of the sticky's bars.
ScrollCase chooseScrollCase(int width, int height, int cx, int cy,
                            const std::function<BodyBars(int width, int height)>& trial,
                            int thickness = scrollBarThickness);

struct ScrollLayout {
    Rect body, scribble, hBar, vBar, corner;
    bool hShown = false, vShown = false, cornerShown = false;
    // The part of the body window that stays visible, from its top-left corner.
    int visibleWidth = 0, visibleHeight = 0;
};

ScrollLayout scrollLayout(ScrollCase which, int x, int y, int width, int height, int cx, int cy,
                          int thickness = scrollBarThickness);

// The scroll position for a thumb dragged to `along` (the pointer along the bar)
// at `across`; grabOffset is where the thumb was taken, from its leading edge,
// and grabAcross the press position across the bar. Far off the bar the thumb
// goes back to where the grab offset alone puts it; letGo is that distance in pixels.
int dragPosition(int along, int across, int grabOffset, int grabAcross, int rangeMin, int rangeMax,
                 int length, int letGo = dragLetGo);

// Track presses: 1 before the thumb, 3 after it (2 is a thumb drag).
enum DragMode : int { DragNone = 0, DragBefore = 1, DragThumb = 2, DragAfter = 3 };

// Whether a held track press scrolls one more line: the pointer lies across the
// bar within it and still on the pressed side of the thumb.
bool repeatsAt(int mode, int along, int across, int acrossMin, int acrossMax, const ThumbSpan& thumb);
// Unsigned differences, so the wrap of the millisecond clock does no harm.
inline bool repeatDue(std::uint32_t now, std::uint32_t pressTime) {
    return now - pressTime >= repeatDelayMs;
}
inline bool followExpired(std::uint32_t now, std::uint32_t lastBodyEvent) {
    return now - lastBodyEvent > followIdleMs;
}

} // namespace Brisvane
