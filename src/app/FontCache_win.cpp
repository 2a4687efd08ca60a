// Lists the menus need again and again, built once: enumerating the installed
// fonts takes long enough to be felt when a menu opens.
#include "app/TackaroonNotes_win.h"
#include "base/Colour.h"
#include "storage/FontFamilies_win.h"

namespace Brisvane {

const std::vector<std::wstring>& TackaroonNotes::colourList() {
    if (!colourList_) {
        colourList_ = buildColourList();
    }
    return *colourList_;
}

const std::vector<std::wstring>& TackaroonNotes::fontFamilyNames() {
    if (!fontFamilyNames_) {
        fontFamilyNames_ = enumerateFontFamilies();
    }
    return *fontFamilyNames_;
}

} // namespace Brisvane
