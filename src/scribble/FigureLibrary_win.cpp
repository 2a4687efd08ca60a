#include "scribble/FigureLibrary_win.h"

#include "storage/Resource_win.h"

namespace Brisvane {

Json loadFigureLibrary() {
    return figureLibraryFromText(loadJsonResource(resourceFigureLibrary));
}

} // namespace Brisvane
