#include "note/StoredBounds.h"

#include <algorithm>

namespace Brisvane {

int drawnPosition(std::string_view member, std::int64_t value) {
    if (member == "width" || member == "height") {
        return static_cast<int>(std::clamp(value, minStickySide, maxStickySide));
    }
    return static_cast<int>(std::clamp(value, -maxStickyCoordinate, maxStickyCoordinate));
}

} // namespace Brisvane
