#include "scribble/DrawingMenu.h"

#include <cstdio>

namespace Brisvane {

std::wstring strokeWidthLabel(float width) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%f", static_cast<double>(width));
    std::wstring label = text;
    size_t point = label.find(L'.');
    if (point != std::wstring::npos && point + 3 < label.size()) {
        label.resize(point + 3);
    }
    return label + L" px";
}

} // namespace Brisvane
