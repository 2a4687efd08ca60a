#pragma once
// The windows of one sticky and what it keeps of them: the handles, the edits'
// original procedures, the title's region and the DPI they are laid out for.
#include <optional>

#include <windows.h>

#include "base/Timer.h"
#include "note/DpiScale.h"
#include "note/Geometry.h"

namespace Brisvane {

// Where a menu opens: the given place, or else the cursor.
inline POINT menuPlace(const std::optional<POINT>& at) {
    POINT place{};
    if (at) {
        place = *at;
    } else {
        GetCursorPos(&place);
    }
    return place;
}

// Moves a child of a sticky without repainting and shows or hides it.
void placeChild(HWND child, const Rect& r, bool visible);

struct NoteWindowSet {
    HWND window = nullptr;
    // The DPI of the monitor the sticky is on.
    int dpi = baseDpi;
    HWND newButton = nullptr;
    HWND trashButton = nullptr;
    HWND titleEdit = nullptr;
    WNDPROC titleEditProc = nullptr;
    // The folded title's window region; the title edit owns it once it is set.
    HRGN titleRegion = nullptr;
    HWND bodyEdit = nullptr;
    WNDPROC bodyEditProc = nullptr;
    HWND tooltip = nullptr; // the program's one tooltip, shared with every sticky
    Timer layoutTimer;

    // True while the sticky's windows exist and are bound to it.
    bool hasWindows() const { return window != nullptr; }
    // Screen density: every 96-DPI measure of the sticky goes through px.
    int px(int measure, int minimum = 0) const { return scaleToDpi(measure, dpi, minimum); }
};

} // namespace Brisvane
