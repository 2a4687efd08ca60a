#pragma once
// The sticky of the very first start: a welcome in the user's language, in the
// middle of the primary monitor's work area.
#include <string>

#include "base/Rect.h"
#include "storage/Json.h"

namespace Brisvane {

// The welcome sticky's size at 96 DPI: larger than a new sticky's, so the
// welcome fits without scrolling.
inline constexpr int welcomeWidth = 320;
inline constexpr int welcomeHeight = 420;

// The welcome text in the language of the settings, with the notes folder
// (`notesFolder`) named where the text says where the notes are kept.
std::wstring welcomeText(const Json& languages, const Json& settings, const std::wstring& notesFolder);

// A rectangle of the given size centred in `area`; one larger than the area
// keeps its size and starts at the area's top-left corner.
Rect centredIn(const Rect& area, int width, int height);

} // namespace Brisvane
