// The sticky's own scroll bars: layout, paint, dragging, track presses and
// following the body's own scrolling.
#include "note/ScrollBar_win.h"

#include <mmsystem.h>
#include <richedit.h>
#include <windowsx.h>

#include "note/NoteHost_win.h"
#include "note/Note_win.h"
#include "base/Timer_win.h"
#include "storage/Settings.h"

namespace Brisvane {

namespace {

// Whether the body shows its own bars: its client area is narrower (lower)
// than its window.
BodyBars ownBars(HWND body) {
    RECT client{}, frame{};
    GetClientRect(body, &client);
    GetWindowRect(body, &frame);
    return {client.right < frame.right - frame.left, client.bottom < frame.bottom - frame.top};
}

POINT scrollPosition(HWND body) {
    POINT p{};
    SendMessageW(body, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&p));
    return p;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Along and across a bar, for the horizontal bar x and y, for the vertical one y and x.
int along(bool horizontal, POINT p) {
    return horizontal ? p.x : p.y;
}
int across(bool horizontal, POINT p) {
    return horizontal ? p.y : p.x;
}

} // namespace

void ScrollBars::layout(int x, int y, int width, int height) {
    // The body's own bars are as wide as the system draws them at the sticky's DPI.
    const int cx = GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(note_.dpi));
    const int cy = GetSystemMetricsForDpi(SM_CYHSCROLL, static_cast<UINT>(note_.dpi));
    const int thickness = note_.px(scrollBarThickness, 1);
    layingOut_ = true;
    ScrollCase which = chooseScrollCase(
        width, height, cx, cy,
        [&](int w, int h) {
            MoveWindow(note_.bodyEdit, x, y, w, h, FALSE);
            return ownBars(note_.bodyEdit);
        },
        thickness);
    ensure(which == ScrollCase::horizontal || which == ScrollCase::both,
           which == ScrollCase::vertical || which == ScrollCase::both, which == ScrollCase::both);
    ScrollLayout parts = scrollLayout(which, x, y, width, height, cx, cy, thickness);
    placeChild(note_.bodyEdit, parts.body, true);
    placeChild(note_.drawing.window, parts.scribble, true);
    placeChild(hScroll_, parts.hShown ? parts.hBar : Rect{}, parts.hShown);
    placeChild(vScroll_, parts.vShown ? parts.vBar : Rect{}, parts.vShown);
    placeChild(corner_, parts.cornerShown ? parts.corner : Rect{}, parts.cornerShown);
    resetThumbs();
    // The region cuts off the body's own bars; the system owns it from here
    // on and deletes the one it replaces.
    HRGN visible = CreateRectRgn(0, 0, parts.visibleWidth, parts.visibleHeight);
    if (visible && !SetWindowRgn(note_.bodyEdit, visible, FALSE)) {
        DeleteObject(visible);
    }
    RECT client{};
    GetClientRect(note_.bodyEdit, &client);
    lastBodySize_ = {client.right, client.bottom};
    layingOut_ = false;
}

void ScrollBars::keepBodySize() {
    RECT client{};
    GetClientRect(note_.bodyEdit, &client);
    lastBodySize_ = {client.right, client.bottom};
}

void ScrollBars::resetHorizontalThumb() {
    hBar_.thumbRect = {};
    if (hScroll_) {
        InvalidateRect(hScroll_, nullptr, FALSE);
    }
}

void ScrollBars::ensure(bool horizontal, bool vertical, bool corner) {
    // A part that cannot be made stays missing: the body then keeps its text
    // without that bar, and everything that reaches for it checks first.
    if (horizontal && !hScroll_) {
        hScroll_ = note_.createChild(hScrollClass, 0, 0, RoleHScroll, Rect{}, false);
        hBar_.repeatTimer.prepare(&windowTimers(), hScroll_, scrollRepeatTimerId, scrollTimerPeriod, false);
        hBar_.followTimer.prepare(&windowTimers(), hScroll_, scrollFollowTimerId, scrollTimerPeriod, false);
    }
    if (vertical && !vScroll_) {
        vScroll_ = note_.createChild(vScrollClass, 0, 0, RoleVScroll, Rect{}, false);
        vBar_.repeatTimer.prepare(&windowTimers(), vScroll_, scrollRepeatTimerId, scrollTimerPeriod, false);
        vBar_.followTimer.prepare(&windowTimers(), vScroll_, scrollFollowTimerId, scrollTimerPeriod, false);
    }
    if (corner && !corner_) {
        corner_ = note_.createChild(cornerClass, 0, 0, RoleScrollCorner, Rect{}, false);
    }
}

void ScrollBars::forgetWindows() {
    hScroll_ = vScroll_ = corner_ = nullptr;
}

void ScrollBars::resetThumbs() {
    hBar_.thumbRect = {};
    vBar_.thumbRect = {};
    invalidate();
}

void ScrollBars::invalidate() {
    // A bar not made yet is skipped: a null handle would invalidate every window on the desktop.
    for (HWND bar : {hScroll_, vScroll_}) {
        if (bar) {
            InvalidateRect(bar, nullptr, FALSE);
        }
    }
}

void ScrollBars::refresh() {
    invalidate();
    note_.drawing.render();
    if (!hScroll_ && !vScroll_) {
        return; // a body that never overflowed has nothing to follow
    }
    POINT p = scrollPosition(note_.bodyEdit);
    DWORD now = timeGetTime();
    for (bool horizontal : {true, false}) {
        if (!(horizontal ? hScroll_ : vScroll_)) {
            continue;
        }
        ScrollBarState& bar = horizontal ? hBar_ : vBar_;
        bar.lastBodyEvent = now;
        if (!bar.followTimer.running) {
            bar.lastSeenPosition = along(horizontal, p);
            bar.followTimer.start();
        }
    }
}

void ScrollBars::stopTimers() {
    for (ScrollBarState* bar : {&hBar_, &vBar_}) {
        bar->repeatTimer.stop();
        bar->followTimer.stop();
    }
}

void ScrollBars::bodyMoved(bool filteredMouseMove) {
    // While the sticky is being made its text streams in: creation lays it out once.
    if (layingOut_ || note_.loading) {
        return;
    }
    RECT client{};
    GetClientRect(note_.bodyEdit, &client);
    if (client.right != lastBodySize_.cx || client.bottom != lastBodySize_.cy) {
        lastBodySize_ = {client.right, client.bottom};
        resetThumbs();
        note_.layout();
    }
    if (!filteredMouseMove) {
        refresh();
    }
}

void ScrollBars::paint(HWND barWindow, bool horizontal) {
    ScopedPaint paint(barWindow);
    ScrollBarState& bar = horizontal ? hBar_ : vBar_;
    RECT r{};
    GetClientRect(barWindow, &r);
    const int margin = horizontal && note_.app ? note_.px(marginLeft(note_.app->settings)) : 0;
    r.right -= margin;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(note_.bodyEdit, horizontal ? SB_HORZ : SB_VERT, &info);
    info.nMax -= margin;
    const int position = along(horizontal, scrollPosition(note_.bodyEdit));
    const Json* stored = findPath(note_.document.json, {"text", "scroll", horizontal ? "left" : "top"});
    if (!stored || *stored != Json(position)) {
        note_.markChanged(SaveView);
    }
    const int length = horizontal ? r.right - r.left : r.bottom - r.top;
    ThumbSpan span = thumbSpan(length, position, static_cast<int>(info.nPage), info.nMin, info.nMax,
                               note_.px(minimumThumb, 1));
    RECT thumb = horizontal ? RECT{span.start, r.top, span.end, r.bottom}
                            : RECT{r.left, span.start, r.right, span.end};
    if (sameRect(thumb, bar.thumbRect)) {
        return;
    }
    bar.thumbRect = thumb;

    UniqueRegion rest(horizontal ? CreateRectRgn(r.left, r.top, r.right + margin + 1, r.bottom + 1)
                                 : CreateRectRgn(r.left, r.top, r.right + 1, r.bottom + 1));
    UniqueBrush background(CreateSolidBrush(themeColour(note_.themeColours, L"background")));
    if (!rest || !background) {
        return;
    }
    if (!span.empty()) {
        const int corner = note_.px(6);
        UniqueRegion thumbRegion(
            horizontal ? CreateRoundRectRgn(span.start + 1, r.top + 1, span.end, r.bottom, corner, corner)
                       : CreateRoundRectRgn(r.left + 1, span.start + 1, r.right, span.end, corner, corner));
        UniqueBrush button(CreateSolidBrush(themeColour(note_.themeColours, L"button-background")));
        if (thumbRegion && button) {
            CombineRgn(rest.get(), rest.get(), thumbRegion.get(), RGN_DIFF);
            FillRgn(paint.dc(), thumbRegion.get(), button.get());
        }
    }
    FillRgn(paint.dc(), rest.get(), background.get());
}

LRESULT ScrollBars::barMessage(HWND hwnd, bool horizontal, UINT message, WPARAM wParam, LPARAM lParam) {
    ScrollBarState& bar = horizontal ? hBar_ : vBar_;
    const UINT scrollMessage = horizontal ? WM_HSCROLL : WM_VSCROLL;
    switch (message) {
    case WM_PAINT:
        paint(hwnd, horizontal);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const int at = along(horizontal, p);
        const int thumbStart = horizontal ? bar.thumbRect.left : bar.thumbRect.top;
        const int thumbEnd = horizontal ? bar.thumbRect.right : bar.thumbRect.bottom;
        if (at < thumbStart || at > thumbEnd) {
            const bool before = at < thumbStart;
            bar.dragMode = before ? DragBefore : DragAfter;
            bar.grabAlong = at;
            bar.grabAcross = across(horizontal, p);
            bar.pressTime = timeGetTime();
            SetCapture(hwnd);
            bar.repeatTimer.stop();
            const WPARAM line =
                horizontal ? (before ? SB_LINELEFT : SB_LINERIGHT) : (before ? SB_LINEUP : SB_LINEDOWN);
            SendMessageW(note_.bodyEdit, scrollMessage, line, 0);
            bar.repeatTimer.start();
            InvalidateRect(hwnd, nullptr, FALSE);
            note_.drawing.render();
        } else if (thumbStart != thumbEnd) {
            bar.grabAlong = at - thumbStart;
            bar.grabAcross = across(horizontal, p);
            bar.dragMode = DragThumb;
            SetCapture(hwnd);
        }
        return 0;
    }
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd && bar.dragMode == DragThumb) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_RANGE;
            GetScrollInfo(note_.bodyEdit, horizontal ? SB_HORZ : SB_VERT, &info);
            RECT client{};
            GetClientRect(hwnd, &client);
            const int length = horizontal ? client.right : client.bottom;
            const int position =
                dragPosition(along(horizontal, p), across(horizontal, p), bar.grabAlong, bar.grabAcross,
                             info.nMin, info.nMax, length, note_.px(dragLetGo));
            if (info.nMax <= 0xFFFF) {
                // Within 16 bits, which is all a body that scales its range reports.
                SendMessageW(note_.bodyEdit, scrollMessage, MAKEWPARAM(SB_THUMBPOSITION, position), 0);
            } else {
                // Beyond them the range is in pixels, and SB_THUMBPOSITION would cut
                // the position to its low 16 bits: some 3,000 lines are enough.
                POINT target = scrollPosition(note_.bodyEdit);
                (horizontal ? target.x : target.y) = position;
                SendMessageW(note_.bodyEdit, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&target));
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            note_.drawing.render();
        }
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        return 0;
    case WM_RBUTTONUP:
        note_.contextMenu.show();
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        PostMessageW(note_.bodyEdit, message, wParam, lParam);
        return 0;
    case WM_TIMER:
        timer(hwnd, horizontal, wParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void ScrollBars::timer(HWND hwnd, bool horizontal, UINT_PTR id) {
    ScrollBarState& bar = horizontal ? hBar_ : vBar_;
    if (id == scrollRepeatTimerId) {
        if (GetCapture() != hwnd) {
            bar.repeatTimer.stop();
            return;
        }
        if (!repeatDue(timeGetTime(), bar.pressTime)) {
            return;
        }
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(hwnd, &p);
        RECT client{};
        GetClientRect(hwnd, &client);
        ThumbSpan thumb = horizontal ? ThumbSpan{bar.thumbRect.left, bar.thumbRect.right}
                                     : ThumbSpan{bar.thumbRect.top, bar.thumbRect.bottom};
        const int acrossMin = horizontal ? client.top : client.left;
        const int acrossMax = horizontal ? client.bottom : client.right;
        if (repeatsAt(bar.dragMode, along(horizontal, p), across(horizontal, p), acrossMin, acrossMax,
                      thumb)) {
            const bool before = bar.dragMode == DragBefore;
            const WPARAM line =
                horizontal ? (before ? SB_LINELEFT : SB_LINERIGHT) : (before ? SB_LINEUP : SB_LINEDOWN);
            SendMessageW(note_.bodyEdit, horizontal ? WM_HSCROLL : WM_VSCROLL, line, 0);
            InvalidateRect(hwnd, nullptr, FALSE);
            note_.drawing.render();
        }
    } else if (id == scrollFollowTimerId) {
        const int position = along(horizontal, scrollPosition(note_.bodyEdit));
        if (position != bar.lastSeenPosition) {
            InvalidateRect(hwnd, nullptr, FALSE);
            note_.drawing.render();
            bar.lastSeenPosition = position;
        }
        if (followExpired(timeGetTime(), bar.lastBodyEvent)) {
            bar.followTimer.stop();
        }
    }
}

LRESULT ScrollBars::cornerMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        ScopedPaint paint(hwnd);
        UniqueBrush brush(CreateSolidBrush(themeColour(note_.themeColours, L"background")));
        FillRect(paint.dc(), &paint.info().rcPaint, brush.get());
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        PostMessageW(note_.bodyEdit, message, wParam, lParam);
        return 0;
    case WM_RBUTTONUP:
        note_.contextMenu.show();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace Brisvane
