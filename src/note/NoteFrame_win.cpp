// The sticky window's own messages: the resize edges, moving, sizing,
// activation, painting and the notifications of its children.
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

constexpr size_t tipTextLimit = 80;

} // namespace

bool Note::handleResizeZone(HWND hwnd, UINT message, LPARAM lParam, bool locked, LRESULT& result) {
    if (folded || (message != WM_SETCURSOR && message != WM_LBUTTONDOWN)) {
        return false;
    }
    if (message == WM_SETCURSOR && !IsWindowEnabled(window)) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        result = 0;
        return true;
    }
    POINT point;
    if (message == WM_SETCURSOR) {
        GetCursorPos(&point);
        ScreenToClient(window, &point);
    } else {
        point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        MapWindowPoints(hwnd, window, &point, 1);
    }
    RECT client;
    GetClientRect(window, &client);
    HitZone zone = resizeZone(point.x, point.y, client.right, client.bottom, document.fix("size"), dpi);
    if (isSizingZone(zone)) {
        if (message == WM_SETCURSOR) {
            SetCursor(LoadCursorW(nullptr, cursorForZone(zone)));
        } else {
            SendMessageW(window, WM_NCLBUTTONDOWN, zone, lParam);
        }
        result = 0;
        return true;
    }
    if (locked && zone == HitClient) {
        if (message == WM_SETCURSOR) {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        } else if (!document.fix("position")) {
            SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        }
        result = 0;
        return true;
    }
    return false;
}

LRESULT Note::stickyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        // Destroyed while still bound (Alt+F4 ends the program): let go of the
        // children before they go, as a sticky the user closes does.
        releaseWindows();
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
        if (!suppressMoveStore) {
            storeAt(document.json, {"window", "position", "left"},
                    static_cast<std::int64_t>(static_cast<short>(LOWORD(lParam))));
            storeAt(document.json, {"window", "position", "top"},
                    static_cast<std::int64_t>(static_cast<short>(HIWORD(lParam))));
            markChanged(positionFixed ? SaveView : SaveJson);
        }
        suppressMoveStore = false;
        positionFixed = false;
        break;
    case WM_SIZE:
        layoutTimer.start();
        break;
    case WM_ACTIVATE:
        setRuleExempt(LOWORD(wParam) != WA_INACTIVE);
        break;
    case WM_SETFOCUS:
        if (!document.flag("fold") && !document.flag("lock")) {
            focusContent();
        }
        break;
    case WM_PAINT: {
        ScopedPaint paint(hwnd);
        paintBackground(paint.dc());
        scrollBars.resetThumbs();
        return 0;
    }
    case WM_MEASUREITEM:
        if (titleMenu.measureSwatch(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_DRAWITEM:
        if (titleMenu.drawSwatch(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
            return 0;
        }
        break;
    case WM_CLOSE:
        // Alt+F4 ends the program; what this sticky holds is written first,
        // while its windows can still be read.
        if (app) {
            app->saveSticky(*this);
        }
        DestroyWindow(hwnd);
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {px(30), foldHeight()};
        return 0;
    }
    case WM_CONTEXTMENU:
        // Shift+F10 or the Menu key on the sticky or a child that passed it on.
        if (lParam == -1) {
            keyboardMenu(reinterpret_cast<HWND>(wParam));
            return 0;
        }
        break;
    case WM_DPICHANGED:
        changeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SYSCOMMAND:
        // Alt+Space, from whichever part has the keyboard.
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == VK_SPACE) {
            openWindowMenu();
            return 0;
        }
        break;
    case WM_KEYDOWN:
        // A locked sticky keeps the keyboard itself: Enter opens the link at the body's caret.
        if (wParam == VK_RETURN && document.flag("lock") && openLinkAtCaret()) {
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_NOTIFY:
        return notify(reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        if (lParam != 0) {
            if (HIWORD(wParam) == EN_CHANGE && !loading) {
                if (LOWORD(wParam) == titleControlId) {
                    markChanged(SaveJson);
                } else if (LOWORD(wParam) == bodyControlId) {
                    markChanged(SaveText);
                }
            }
            // The sticky is named by its title, or by its text while the title is empty.
            if (HIWORD(wParam) == EN_CHANGE &&
                (LOWORD(wParam) == titleControlId || GetWindowTextLengthW(titleEdit) == 0)) {
                renewStickyName();
            }
            // Rich Edit reports changes and scrolling as commands as well.
            if (LOWORD(wParam) == bodyControlId &&
                (HIWORD(wParam) == EN_CHANGE || HIWORD(wParam) == EN_HSCROLL ||
                 HIWORD(wParam) == EN_VSCROLL)) {
                scrollBars.bodyMoved(false);
            }
            break;
        }
        if (titleMenu.command(LOWORD(wParam)) || command(LOWORD(wParam))) {
            return 0; // the sticky may be gone (moved to the trash)
        }
        break;
    case WM_TIMER:
        if (wParam == layoutTimerId) {
            layout();
            layoutTimer.stop();
            return 0;
        }
        break;
    case WM_ENTERSIZEMOVE:
        onEnterSizeMove();
        break;
    case WM_MOVING:
        if (onMoving(*reinterpret_cast<RECT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_ENTERMENULOOP:
    case WM_MENUSELECT:
    case WM_EXITMENULOOP:
        titleMenu.onMenuLoop(message, wParam, lParam);
        break;
    case WM_DWMCOMPOSITIONCHANGED:
        if (document.flag("shadow")) {
            setShadow(true);
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Note::notify(NMHDR* header) {
    if (header->hwndFrom == bodyEdit) {
        switch (header->code) {
        case EN_SELCHANGE:
            if (!loading) {
                markChanged(SaveView);
            }
            return 0;
        case EN_LINK: {
            auto* link = reinterpret_cast<ENLINK*>(header);
            if (link->msg == WM_LBUTTONUP) {
                openBodyLink(link->chrg.cpMin, link->chrg.cpMax);
            }
            return 0;
        }
        case EN_HSCROLL:
        case EN_VSCROLL:
        case EN_MSGFILTER:
        case 0x0300: {
            bool mouseMove =
                header->code == EN_MSGFILTER && reinterpret_cast<MSGFILTER*>(header)->msg == WM_MOUSEMOVE;
            scrollBars.bodyMoved(mouseMove);
            return 0; // an EN_MSGFILTER answered with anything else would swallow the input
        }
        default:
            return 0;
        }
    }
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        HWND tool = reinterpret_cast<HWND>(header->idFrom);
        info->lpszText = info->szText;
        info->szText[0] = L'\0';
        info->hinst = nullptr;
        std::wstring text;
        if (tool == titleEdit) {
            if (folded && !titleEditing) {
                // The folded sticky shows the start of its text as the title's tip.
                GetWindowTextW(bodyEdit, tipText_, 128);
                info->lpszText = tipText_;
                fitTipWidth(tipText_, 128);
                return 0;
            }
            text = lifter.reminderTip();
        } else if (tool == newButton) {
            text = app ? app->lookupText("menu.titlebar.new", L"New note") : L"New note";
        } else if (tool == trashButton) {
            text = app ? app->lookupText("menu.titlebar.delete", L"Put note in the trash")
                       : L"Put note in the trash";
        } else {
            return 0;
        }
        text.resize(std::min(text.size(), tipTextLimit - 1));
        lstrcpynW(info->szText, text.c_str(), static_cast<int>(tipTextLimit));
        fitTipWidth(info->szText, lstrlenW(info->szText));
        return 0;
    }
    return 0;
}

void Note::fitTipWidth(const wchar_t* text, int length) {
    ScopedWindowDC dc(tooltip);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text, length, &size);
    SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, size.cx);
}

} // namespace Brisvane
