#include "note/NoteTitle_win.h"

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

LRESULT NoteTitle::buttonMessage(HWND hwnd, int index, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        note_.paintButton(hwnd, index);
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case WM_LBUTTONUP: {
        bool hadCapture = GetCapture() == hwnd;
        ReleaseCapture();
        InvalidateRect(hwnd, nullptr, FALSE);
        POINT point;
        GetCursorPos(&point);
        ScreenToClient(note_.window, &point);
        if (hadCapture && ChildWindowFromPoint(note_.window, point) == hwnd) {
            note_.command(index == 0 ? CommandNew : CommandTrash);
            return 0; // the sticky may be gone (moved to the trash)
        }
        break;
    }
    case WM_RBUTTONUP:
        note_.titleMenu.open();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT NoteTitle::titleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KILLFOCUS:
        note_.titleEditing = false;
        break;
    case WM_SETCURSOR:
        if (!note_.titleEditing) {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            note_.setTitleEditing(false);
        }
        break;
    case WM_IME_STARTCOMPOSITION:
        note_.titleComposing = true;
        break;
    case WM_IME_ENDCOMPOSITION:
        note_.titleComposing = false;
        note_.markChanged(SaveJson);
        break;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, HOVER_DEFAULT};
        TrackMouseEvent(&track);
        break;
    }
    case WM_LBUTTONDOWN:
        if (!note_.titleEditing) {
            if (!note_.document.fix("position")) {
                SendMessageW(note_.window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            }
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (!note_.titleEditing) {
            note_.setFold(!note_.document.flag("fold"), note_.ruleFold, true);
            return 0;
        }
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        if (!note_.titleEditing) {
            return 0;
        }
        break;
    case WM_RBUTTONUP:
        note_.titleMenu.open();
        return 0;
    case WM_CONTEXTMENU:
        if (lParam == -1) {
            note_.keyboard.contextKey(hwnd); // the edit's own menu would offer nothing
            return 0;
        }
        break;
    default:
        break;
    }
    return CallWindowProcW(note_.titleEditProc, hwnd, message, wParam, lParam);
}

} // namespace Brisvane
