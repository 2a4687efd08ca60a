#include "base/Rect.h"

#include <algorithm>
#include <limits>

namespace Brisvane {

int saturate(std::int64_t value) {
    return int(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

int Rect::width() const {
    return saturate(std::int64_t(right) - left);
}

int Rect::height() const {
    return saturate(std::int64_t(bottom) - top);
}

bool operator==(const Rect& a, const Rect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

Rect rectFromSize(int left, int top, int width, int height) {
    return Rect{left, top, saturate(std::int64_t(left) + width), saturate(std::int64_t(top) + height)};
}

} // namespace Brisvane
