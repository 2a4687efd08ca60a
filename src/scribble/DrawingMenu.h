#pragma once
// What the note context menu offers for drawing: the pen widths and
// opacities, and their labels.
#include <array>
#include <string>

namespace Brisvane {

inline constexpr std::array<float, 19> strokeWidths{0.5f, 1, 1.5f, 2,  2.5f, 3,  4,  5,  6,  7,
                                                    8,    9, 10,   12, 15,   20, 30, 50, 100};
inline constexpr int opacityLevels = 11; // 0 %, 10 %, ... 100 %
// Menu columns: tools start a new column every 15 entries, colours every 10.
inline constexpr size_t toolsPerColumn = 15;
inline constexpr size_t coloursPerColumn = 10;

// The width with two decimals and " px", as "0.50 px".
std::wstring strokeWidthLabel(float width);

} // namespace Brisvane
