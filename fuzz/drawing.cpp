// A stored drawing, a figure library and path data as any bytes: loading never
// fails hard, what was loaded is written and read back whole, and every
// library entry fits into a rectangle without harm.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "scribble/FigureLibrary.h"
#include "scribble/PathData.h"
#include "scribble/Scribble.h"

using namespace Brisvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    parsePathData(bytes);
    parsePointsText(std::string(bytes));

    Json parsed = parseJson(bytes);
    Scribble scribble;
    loadFigures(scribble, parsed);
    Json saved;
    saveFigures(scribble, saved);
    Scribble reloaded;
    if (!loadFigures(reloaded, saved) ||
        reloaded.figures.size() != scribble.position - scribble.lastClear()) {
        __builtin_trap(); // what the program writes it must read back whole
    }

    Json library = figureLibraryFromText(bytes);
    for (std::size_t i = 0; i < figureCount(library); ++i) {
        buildFigurePath(library, figureName(library, i), {200, 200, 100, 150});
    }
    return 0;
}
