#pragma once
// Where a sticky's children go, in the sticky window's client coordinates.
#include "note/Geometry.h"

namespace Brisvane {

struct NoteLayout {
    bool folded = false;
    // The unfolded title bar (title edit and both buttons) is shown; false when
    // folded, where the title edit alone fills the window.
    bool titlebarShown = false;
    // A hidden child gets an empty Rect.
    Rect titleEdit;
    // Folded only: the title edit's window region, inside the border, relative
    // to the title edit.
    bool titleRegionUsed = false;
    Rect titleRegion;
    Rect newButton;
    Rect trashButton;
    // The area the body, the drawing layer and the scroll bars share; empty when
    // folded.
    Rect textArea;
};

// titleHeightDefault and titleHeightFold are the settings' title bar heights of
// an unfolded and a folded sticky; border is the one-pixel border flag.
NoteLayout computeLayout(int clientWidth, int clientHeight, bool folded, bool titlebar, bool border,
                         int titleHeightDefault, int titleHeightFold);

} // namespace Brisvane
