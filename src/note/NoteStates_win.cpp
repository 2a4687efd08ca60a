// Window states of a sticky: geometry, fold, opacity, stacking, click-through,
// shadow and the lifting of rule effects while the sticky is active.
#include <dwmapi.h>

#include "note/NoteHost_win.h"
#include "groups/RuleEngine.h"
#include "note/Geometry.h"
#include "note/Note_win.h"
#include "note/ScreenPlacement_win.h"
#include "storage/Settings.h"

namespace Brisvane {

namespace {

constexpr UINT zOrderOnly = SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;

Rect toRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

void setTopmostStyle(HWND window, bool on) {
    LONG style = GetWindowLongW(window, GWL_EXSTYLE);
    SetWindowLongW(window, GWL_EXSTYLE, on ? style | WS_EX_TOPMOST : style & ~WS_EX_TOPMOST);
    if (!on && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        // The style bit alone does not leave the topmost band; the stacking call does.
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, zOrderOnly);
    }
}

} // namespace

void Note::setBounds(int left, int top, int width, int height, bool keepOnScreen) {
    bool corrected = false;
    if (keepOnScreen) {
        Rect placed = keptOnScreen(rectFromSize(left, top, width, height), corrected);
        if (corrected) {
            left = placed.left;
            top = placed.top;
        }
    }
    // Each flag is set only for a move or resize that really happens: its
    // message clears it again, and a flag left set would swallow the user's
    // next move or resize. A corrected position is stored by its WM_MOVE.
    RECT current{};
    GetWindowRect(window, &current);
    suppressMoveStore = !corrected && (current.left != left || current.top != top);
    positionFixed = corrected && (current.left != left || current.top != top);
    if (current.right - current.left != width || current.bottom - current.top != height) {
        programmaticResize = true;
    }
    SetWindowPos(window, nullptr, left, top, width, height, SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
}

void Note::keepOnScreenNow() {
    RECT current;
    if (!window || !GetWindowRect(window, &current)) {
        return;
    }
    bool corrected = false;
    Rect placed = keptOnScreen(toRect(current), corrected);
    if (corrected) {
        // The WM_MOVE that follows stores the new position.
        positionFixed = true;
        SetWindowPos(window, nullptr, placed.left, placed.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Note::resizeAtStoredPosition(int width, int height, bool keepOnScreen) {
    setBounds(document.position("left"), document.position("top"), width, height, keepOnScreen);
}

void Note::restoreGeometry() {
    int height = folded ? foldHeight() : document.position("height");
    setBounds(document.position("left"), document.position("top"), document.position("width"), height, true);
}

void Note::showNote() {
    restoreGeometry();
    // Already typing in this sticky: nothing to do. Anywhere else, the frame
    // included, the caret goes to the body (or the drawing) so typing can start.
    HWND focus = GetFocus();
    HWND content = document.scribbleMode() ? drawing.window : bodyEdit;
    if (focus && (focus == content || (titleEditing && focus == titleEdit))) {
        return;
    }
    if (titleEditing) {
        setTitleEditing(false);
    }
    setFold(false, ruleFold, true);
    // The frame passes the focus on to the body unless the sticky is locked;
    // when the frame had it already, that is done here.
    SetFocus(window);
    if (!document.flag("fold") && !document.flag("lock") && GetFocus() == window) {
        focusContent();
    }
}

void Note::setFold(bool fold, bool rule, bool repaint) {
    if (storeAt(document.json, {"window", "fold"}, fold)) {
        markChanged(SaveJson);
    }
    ruleFold = rule;
    // A lifted sticky shows unfolded whatever is stored.
    bool effective = (fold || rule) && lifted == Lift::none;
    if (effective == folded) {
        return;
    }
    folded = effective;
    if (repaint) {
        paintBackground(nullptr);
    }
    int height = folded ? foldHeight() : document.position("height");
    resizeAtStoredPosition(document.position("width"), height, false);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Note::applyRuleFold(bool fold) {
    setFold(document.flag("fold"), fold, false);
}

void Note::setOpacity(float value, float factor) {
    if (opacityDiffers(storedOpacity(), value)) {
        markChanged(SaveJson);
    }
    valueAt(document.json, {"window", "opacity"}) = value;
    applyOpacityFactor(factor);
}

void Note::applyOpacityFactor(float factor) {
    ruleOpacityFactor = factor;
    int alpha = layeredAlpha(lifted == Lift::none ? storedOpacity() : 1.0f, factor, highlightFactor);
    if (alpha != appliedAlpha) {
        appliedAlpha = alpha;
        SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(alpha), LWA_ALPHA);
    }
}

void Note::setHighlightFactor(float factor) {
    highlightFactor = factor;
    applyOpacityFactor(ruleOpacityFactor);
}

void Note::applyZOrder(ZOrder level) {
    if (level == zOrderApplied) {
        return;
    }
    if (level == ZOrder::alwaysOnTop) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, zOrderOnly);
        setTopmostStyle(window, true);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, zOrderOnly);
    } else {
        setTopmostStyle(window, false);
        HWND after = level == ZOrder::top       ? HWND_TOP
                     : level == ZOrder::usually ? HWND_NOTOPMOST
                                                : HWND_BOTTOM;
        SetWindowPos(window, after, 0, 0, 0, 0, zOrderOnly);
    }
    zOrderApplied = level;
}

void Note::setAlwaysOnTop(bool on, ZOrder level) {
    if (storeAt(document.json, {"window", "alwaysOnTop"}, on)) {
        markChanged(SaveJson);
    }
    if (!on) {
        fullScreenActive = false; // the full-screen mark is for always-on-top stickies only
    }
    // A due reminder keeps its sticky on top, without storing it so.
    on = on || lifted == Lift::reminder;
    auto sendToBottom = [this] {
        if (zOrderApplied != ZOrder::bottom) {
            setTopmostStyle(window, false);
            SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, zOrderOnly);
            zOrderApplied = ZOrder::bottom;
        }
    };
    if (fullScreenActive) {
        sendToBottom();
        return;
    }
    if (!on) {
        applyZOrder(level);
        return;
    }
    if (level == ZOrder::bottom) {
        sendToBottom();
        return;
    }
    if (zOrderApplied != ZOrder::alwaysOnTop) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, zOrderOnly);
        setTopmostStyle(window, true);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, zOrderOnly);
        zOrderApplied = ZOrder::alwaysOnTop;
    }
}

void Note::setZOrderLevel(ZOrder level) {
    zOrderRequest = level;
    setAlwaysOnTop(isAlwaysOnTop(), level);
}

void Note::setFullScreenActive(bool on, ZOrder groupLevel) {
    fullScreenActive = on;
    setZOrderLevel(groupLevel);
}

void Note::setClickThrough(bool on) {
    if (on == clickThrough) {
        return;
    }
    clickThrough = on;
    LONG style = GetWindowLongW(window, GWL_EXSTYLE);
    SetWindowLongW(window, GWL_EXSTYLE, on ? style | WS_EX_TRANSPARENT : style & ~WS_EX_TRANSPARENT);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Note::setShadow(bool on) {
    int size = on ? 1 : 0;
    MARGINS margins{size, size, size, size};
    BOOL composition = FALSE;
    if (SUCCEEDED(DwmIsCompositionEnabled(&composition)) && composition) {
        DWMNCRENDERINGPOLICY policy = DWMNCRP_ENABLED;
        DwmSetWindowAttribute(window, DWMWA_NCRENDERING_POLICY, &policy, sizeof policy);
        DwmExtendFrameIntoClientArea(window, &margins);
    }
    if (storeAt(document.json, {"window", "shadow"}, on)) {
        markChanged(SaveJson);
    }
}

void Note::setRuleExempt(bool exempt) {
    // Losing activation does not end a lift: that is the user's or the activity's.
    if (app && (exempt || lifted == Lift::none)) {
        Brisvane::setRuleExempt(*app, *this, exempt, true);
    }
}

bool Note::windowRect(Rect& out) const {
    RECT r;
    if (!window || !GetWindowRect(window, &r)) {
        return false;
    }
    out = toRect(r);
    return true;
}

} // namespace Brisvane
