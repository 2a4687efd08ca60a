#pragma once
// Stored window positions as a window can take them. The stored members keep
// whatever a file holds; only what reaches the window is bounded.
#include <cstdint>
#include <string_view>

namespace Brisvane {

inline constexpr std::int64_t minStickySide = 16;
inline constexpr std::int64_t maxStickySide = 16384;
inline constexpr std::int64_t maxStickyCoordinate = 32767;

// "width" and "height" between minStickySide and maxStickySide, "left" and
// "top" within plus or minus maxStickyCoordinate.
int drawnPosition(std::string_view member, std::int64_t value);

} // namespace Brisvane
