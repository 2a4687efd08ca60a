// The title bar's handlers: the new and trash buttons and the title edit.
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

LRESULT Note::buttonMessage(HWND hwnd, int index, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paintButton(hwnd, index);
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
        ScreenToClient(window, &point);
        if (hadCapture && ChildWindowFromPoint(window, point) == hwnd) {
            command(index == 0 ? CommandNew : CommandTrash);
            return 0; // the sticky may be gone (moved to the trash)
        }
        break;
    }
    case WM_RBUTTONUP:
        titleMenu.open();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Note::titleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KILLFOCUS:
        titleEditing = false;
        break;
    case WM_SETCURSOR:
        if (!titleEditing) {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            setTitleEditing(false);
        }
        break;
    case WM_IME_STARTCOMPOSITION:
        titleComposing = true;
        break;
    case WM_IME_ENDCOMPOSITION:
        titleComposing = false;
        markChanged(SaveJson);
        break;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, HOVER_DEFAULT};
        TrackMouseEvent(&track);
        break;
    }
    case WM_LBUTTONDOWN:
        if (!titleEditing) {
            if (!document.fix("position")) {
                SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            }
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (!titleEditing) {
            setFold(!document.flag("fold"), ruleFold, true);
            return 0;
        }
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        if (!titleEditing) {
            return 0;
        }
        break;
    case WM_RBUTTONUP:
        titleMenu.open();
        return 0;
    case WM_CONTEXTMENU:
        if (lParam == -1) {
            keyboardMenu(hwnd); // the edit's own menu would offer nothing
            return 0;
        }
        break;
    default:
        break;
    }
    return CallWindowProcW(titleEditProc, hwnd, message, wParam, lParam);
}

} // namespace Brisvane
