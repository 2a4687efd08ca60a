#include "note/Layout.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace Brisvane {

namespace {

// The title bar heights come from the settings file unchecked, so the sums are
// done wide and saturated rather than left to overflow.
int narrow(std::int64_t value) {
    return int(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

Rect sized(std::int64_t left, std::int64_t top, std::int64_t width, std::int64_t height) {
    return rectFromSize(narrow(left), narrow(top), narrow(width), narrow(height));
}

} // namespace

NoteLayout computeLayout(int clientWidth, int clientHeight, bool folded, bool titlebar, bool border,
                         int titleHeightDefault, int titleHeightFold) {
    const std::int64_t w = clientWidth;
    const std::int64_t h = clientHeight;
    const std::int64_t b = border ? 1 : 0;
    NoteLayout layout;
    layout.folded = folded;
    if (folded) {
        const std::int64_t t = titleHeightFold;
        layout.titleEdit = sized(0, 0, w, t);
        // The edit covers the whole window, so the region keeps the border visible.
        layout.titleRegionUsed = true;
        layout.titleRegion = sized(b, b, w - 2 * b, t - 2 * b);
        return layout;
    }
    const std::int64_t t = titleHeightDefault;
    std::int64_t top = b;
    if (titlebar) {
        layout.titlebarShown = true;
        layout.titleEdit = sized(t + b, b, w - 2 * (t + b), t);
        layout.newButton = sized(b, b, t, t);
        layout.trashButton = sized(w - t - b, b, t, t);
        top = b + t;
    }
    // Without a border the two pixels it would take go to the text instead.
    const std::int64_t g = border ? 0 : 2;
    layout.textArea = sized(b + 1, top + 1, w + g - 4, h - (titlebar ? t : 0) + g - 4);
    return layout;
}

} // namespace Brisvane
