#pragma once
// A screen rectangle in pixels, with arithmetic that saturates at the int range
// so that stored numbers cannot overflow it.
#include <cstdint>

namespace Brisvane {

// Edges in pixels; right and bottom lie just outside, as in a Win32 RECT.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const;
    int height() const;
};

bool operator==(const Rect& a, const Rect& b);

Rect rectFromSize(int left, int top, int width, int height);

// A wide intermediate result clamped to the int range.
int saturate(std::int64_t value);

} // namespace Brisvane
