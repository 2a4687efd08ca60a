#pragma once
// The figure library: named shapes in their own view box, fitted into the
// rectangle a figure was dragged out in.
#include <optional>
#include <string>
#include <string_view>

#include "scribble/PathData.h"
#include "storage/Json.h"

namespace Brisvane {

// The library as parsed from its text: not an array becomes []; then checked.
Json figureLibraryFromText(std::string_view text);
// Drops entries without a name, without local names or with a bad element and
// repairs the rest; at most 99 entries are examined.
void checkFigureLibrary(Json& library);

size_t figureCount(const Json& library);
// Empty when out of range.
std::wstring figureName(const Json& library, size_t index);
// The name in `language`, else in English, else empty.
std::wstring figureLocalName(const Json& library, size_t index, const std::string& language);

// The first entry named `tool` mapped from its view box onto rect (mirrored when
// rect is reversed); none when there is no such entry, its view box is empty or
// no element gives a shape.
std::optional<Path> buildFigurePath(const Json& library, std::wstring_view tool, const RectF& rect);

} // namespace Brisvane
