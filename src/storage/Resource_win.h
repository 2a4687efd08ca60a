#pragma once
// The built-in JSON tables, read from the resources of the running executable.
#include <string>

#include "storage/Json.h"

namespace Brisvane {

// Resource numbers of the tables (type "JSON").
inline constexpr int resourcePalette = 106;
inline constexpr int resourceLanguageTable = 107;
inline constexpr int resourceFigureLibrary = 111;
inline constexpr int resourceDefaultGroups = 118;

// The bytes of the "JSON" resource `id` of the executable; empty when it is missing.
std::string loadJsonResource(int id);

// The language table (107), completed with its defaults; an empty object when the
// resource is missing or cannot be parsed.
Json loadLanguageTableResource();

// The theme palette (106), with "theme" always a list.
Json loadPaletteResource();

} // namespace Brisvane
