#include "note/NoteFrame_win.h"

#include "note/Note_win.h"

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

#include "base/Timer_win.h"
#include "note/NoteHost_win.h"
#include "note/Geometry.h"
#include "note/RichEdit_win.h"
#include "note/StoredBounds.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

LPCWSTR cursorForZone(HitZone zone) {
    switch (zone) {
    case HitLeft:
    case HitRight:
        return IDC_SIZEWE;
    case HitTop:
    case HitBottom:
        return IDC_SIZENS;
    case HitTopLeft:
    case HitBottomRight:
        return IDC_SIZENWSE;
    case HitTopRight:
    case HitBottomLeft:
        return IDC_SIZENESW;
    default:
        return IDC_ARROW;
    }
}

bool isSizingZone(HitZone zone) {
    return zone != HitNowhere && zone != HitClient;
}

} // namespace

bool NoteFrame::handleResizeZone(HWND hwnd, UINT message, LPARAM lParam, bool locked, LRESULT& result) {
    if (note_.folded || (message != WM_SETCURSOR && message != WM_LBUTTONDOWN)) {
        return false;
    }
    if (message == WM_SETCURSOR && !IsWindowEnabled(note_.window)) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        result = 0;
        return true;
    }
    POINT point;
    if (message == WM_SETCURSOR) {
        GetCursorPos(&point);
        ScreenToClient(note_.window, &point);
    } else {
        point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        MapWindowPoints(hwnd, note_.window, &point, 1);
    }
    RECT client;
    GetClientRect(note_.window, &client);
    HitZone zone =
        resizeZone(point.x, point.y, client.right, client.bottom, note_.document.fix("size"), note_.dpi);
    if (isSizingZone(zone)) {
        if (message == WM_SETCURSOR) {
            SetCursor(LoadCursorW(nullptr, cursorForZone(zone)));
        } else {
            SendMessageW(note_.window, WM_NCLBUTTONDOWN, zone, lParam);
        }
        result = 0;
        return true;
    }
    if (locked && zone == HitClient) {
        if (message == WM_SETCURSOR) {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        } else if (!note_.document.fix("position")) {
            SendMessageW(note_.window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        }
        result = 0;
        return true;
    }
    return false;
}

LRESULT NoteFrame::message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        // Destroyed while still bound (Alt+F4 ends the program): let go of the
        // children before they go, as a sticky the user closes does.
        note_.releaseWindows();
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
        if (!note_.suppressMoveStore) {
            storeAt(note_.document.json, {"window", "position", "left"},
                    static_cast<std::int64_t>(static_cast<short>(LOWORD(lParam))));
            storeAt(note_.document.json, {"window", "position", "top"},
                    static_cast<std::int64_t>(static_cast<short>(HIWORD(lParam))));
            note_.markChanged(note_.positionFixed ? SaveView : SaveJson);
        }
        note_.suppressMoveStore = false;
        note_.positionFixed = false;
        break;
    case WM_SIZE:
        note_.layoutTimer.start();
        break;
    case WM_ACTIVATE:
        note_.setRuleExempt(LOWORD(wParam) != WA_INACTIVE);
        break;
    case WM_SETFOCUS:
        if (!note_.document.flag("fold") && !note_.document.flag("lock")) {
            note_.focusContent();
        }
        break;
    case WM_PAINT: {
        ScopedPaint paint(hwnd);
        note_.paintBackground(paint.dc());
        note_.scrollBars.resetThumbs();
        return 0;
    }
    case WM_MEASUREITEM:
        if (note_.titleMenu.measureSwatch(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_DRAWITEM:
        if (note_.titleMenu.drawSwatch(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
            return 0;
        }
        break;
    case WM_CLOSE:
        // Alt+F4 ends the program; what this sticky holds is written first,
        // while its windows can still be read.
        if (note_.app) {
            note_.app->saveSticky(note_);
        }
        DestroyWindow(hwnd);
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {note_.px(30), note_.foldHeight()};
        return 0;
    }
    case WM_CONTEXTMENU:
        // Shift+F10 or the Menu key on the sticky or a child that passed it on.
        if (lParam == -1) {
            note_.keyboard.contextKey(reinterpret_cast<HWND>(wParam));
            return 0;
        }
        break;
    case WM_DPICHANGED:
        note_.density.change(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SYSCOMMAND:
        // Alt+Space, from whichever part has the keyboard.
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == VK_SPACE) {
            note_.keyboard.openWindowMenu();
            return 0;
        }
        break;
    case WM_KEYDOWN:
        // A locked sticky keeps the keyboard itself: Enter opens the link at the body's caret.
        if (wParam == VK_RETURN && note_.document.flag("lock") && note_.keyboard.openLinkAtCaret()) {
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_NOTIFY:
        return notify(reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        if (lParam != 0) {
            if (HIWORD(wParam) == EN_CHANGE && !note_.loading) {
                if (LOWORD(wParam) == titleControlId) {
                    note_.markChanged(SaveJson);
                } else if (LOWORD(wParam) == bodyControlId) {
                    note_.markChanged(SaveText);
                }
            }
            // The sticky is named by its title, or by its text while the title is empty.
            if (HIWORD(wParam) == EN_CHANGE &&
                (LOWORD(wParam) == titleControlId || GetWindowTextLengthW(note_.titleEdit) == 0)) {
                note_.names.renewStickyName();
            }
            // Rich Edit reports changes and scrolling as commands as well.
            if (LOWORD(wParam) == bodyControlId &&
                (HIWORD(wParam) == EN_CHANGE || HIWORD(wParam) == EN_HSCROLL ||
                 HIWORD(wParam) == EN_VSCROLL)) {
                note_.scrollBars.bodyMoved(false);
            }
            break;
        }
        if (note_.titleMenu.command(LOWORD(wParam)) || note_.command(LOWORD(wParam))) {
            return 0; // the sticky may be gone (moved to the trash)
        }
        break;
    case WM_TIMER:
        if (wParam == layoutTimerId) {
            note_.layout();
            note_.layoutTimer.stop();
            return 0;
        }
        break;
    case WM_ENTERSIZEMOVE:
        note_.magnet.onEnterSizeMove();
        break;
    case WM_MOVING:
        if (note_.magnet.onMoving(*reinterpret_cast<RECT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_ENTERMENULOOP:
    case WM_MENUSELECT:
    case WM_EXITMENULOOP:
        note_.titleMenu.onMenuLoop(message, wParam, lParam);
        break;
    case WM_DWMCOMPOSITIONCHANGED:
        if (note_.document.flag("shadow")) {
            note_.setShadow(true);
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT NoteFrame::notify(NMHDR* header) {
    if (header->hwndFrom == note_.bodyEdit) {
        switch (header->code) {
        case EN_SELCHANGE:
            if (!note_.loading) {
                note_.markChanged(SaveView);
            }
            return 0;
        case EN_LINK: {
            auto* link = reinterpret_cast<ENLINK*>(header);
            if (link->msg == WM_LBUTTONUP) {
                note_.keyboard.openBodyLink(link->chrg.cpMin, link->chrg.cpMax);
            }
            return 0;
        }
        case EN_HSCROLL:
        case EN_VSCROLL:
        case EN_MSGFILTER:
        case 0x0300: {
            bool mouseMove =
                header->code == EN_MSGFILTER && reinterpret_cast<MSGFILTER*>(header)->msg == WM_MOUSEMOVE;
            note_.scrollBars.bodyMoved(mouseMove);
            return 0; // an EN_MSGFILTER answered with anything else would swallow the input
        }
        default:
            return 0;
        }
    }
    if (header->code == TTN_GETDISPINFOW) {
        note_.tips.answer(reinterpret_cast<NMTTDISPINFOW*>(header));
        return 0;
    }
    return 0;
}
} // namespace Brisvane
