#pragma once
// What a sticky keeps while it runs and never stores: how it shows under the
// rules, what the program is doing to it, and how its text was loaded and
// edited.
#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "base/Colour.h"
#include "groups/Sticky.h"
#include "note/BodyFile_win.h"

namespace Brisvane {

struct NoteRunState {
    // How it shows: the rules' factors on the stored look.
    float highlightFactor = 1.0f;
    float ruleOpacityFactor = 1.0f;
    int appliedAlpha = 255;
    bool fullScreenActive = false;
    ZOrder zOrderRequest = ZOrder::usually;
    ZOrder zOrderApplied = ZOrder::usually;
    bool ruleFold = false;
    bool folded = false;
    bool clickThrough = false;
    bool active = false;
    ThemeMap themeColours;

    // Brought forward for the user: "Show all" lifts every sticky until the
    // next activity; a reminder also keeps it on top and flashes its title.
    enum class Lift { none, shown, reminder };
    Lift lifted = Lift::none;
    bool bellShown = false;
    int flashesLeft = 0;

    // What the program is doing to it.
    RECT moveStartRect{};
    POINT moveStartCursor{};
    bool suppressMoveStore = false;
    // The next WM_MOVE is the program putting the sticky back on screen: no edit.
    bool positionFixed = false;
    bool programmaticResize = false;
    bool loading = true;
    bool focusPending = false;

    // How text.rtf loaded, and whether the user changed the text since: a body
    // that could not be read is not written until then.
    BodyLoad bodyLoad = BodyLoad::Missing;
    FileStamp bodyStamp; // text.rtf as it was when the body was loaded
    // The parts edited in the last few seconds, saved or not: the user is still
    // at it, so a version from elsewhere opens beside rather than replacing
    // what is being typed into.
    static constexpr DWORD recentEditMilliseconds = 3000;
    std::uint32_t recentEdits = 0;
    DWORD lastEditTick = 0;
    bool titleEditing = false;
    bool titleComposing = false;
    bool bodyComposing = false;
};

} // namespace Brisvane
