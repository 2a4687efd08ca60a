#pragma once
// A note keeps the DPI its position and size were taken at ("window"/"dpi"),
// so a sticky opened on a screen of another density keeps its physical size.
// A file without it is taken as it is.
#include <optional>

#include "storage/Json.h"

namespace Brisvane {

// Beyond these a stored DPI is taken for damage and ignored.
inline constexpr int minStoredDpi = 24;
inline constexpr int maxStoredDpi = 1920;

// "window"/"dpi" when it is an integer within the bounds above.
std::optional<int> storedDpi(const Json& note);

// Scales the stored unfolded width and height from `fromDpi` to `toDpi`,
// rounded to the nearest pixel; true when either changed.
bool rescaleStoredSize(Json& note, int fromDpi, int toDpi);

// As a sticky opens on a screen of `screenDpi`: sizes taken at another stored
// DPI are scaled to it, and the DPI is recorded beside them.
void adoptScreenDpi(Json& note, int screenDpi);

} // namespace Brisvane
