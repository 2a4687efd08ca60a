#pragma once
// The built-in figure library, read from the program's resources.
#include "scribble/FigureLibrary.h"

namespace Brisvane {

// Resource 111, parsed and checked; an empty array when missing or unreadable.
Json loadFigureLibrary();

} // namespace Brisvane
