// The body's handler: the Rich Edit of a sticky, subclassed for its keys,
// mouse, focus and paint.
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

LRESULT Note::bodyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool locked = document.flag("lock");
    switch (message) {
    case WM_SETCURSOR:
        if (locked) {
            return 0;
        }
        break;
    case WM_IME_STARTCOMPOSITION:
        bodyComposing = true;
        break;
    case WM_IME_ENDCOMPOSITION:
        bodyComposing = false;
        markChanged(SaveText);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (locked) {
            return 0;
        }
        break;
    case WM_RBUTTONDOWN:
        return 0;
    case WM_KEYDOWN:
        // Ctrl+Enter opens the link at the caret; without one it goes to the body.
        if (wParam == VK_RETURN && !locked && GetKeyState(VK_CONTROL) < 0 && openLinkAtCaret()) {
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        if (lParam == -1) {
            keyboardMenu(hwnd);
            return 0;
        }
        break;
    case WM_PAINT:
        if (drawing.device.paintsOver()) {
            return paintBodyAndDrawing(hwnd);
        }
        break;
    case WM_RBUTTONUP:
        // Locked: the title menu; otherwise the text and drawing menu.
        if (locked) {
            titleMenu.open();
        } else {
            contextMenu.show();
        }
        return 0;
    case WM_MOUSEHWHEEL: {
        short delta = GET_WHEEL_DELTA_WPARAM(wParam);
        if (delta != 0) {
            SendMessageW(hwnd, WM_HSCROLL, delta > 0 ? SB_LINERIGHT : SB_LINELEFT, 0);
            scrollBars.resetHorizontalThumb();
            drawing.render();
        }
        return 0;
    }
    default:
        break;
    }
    return CallWindowProcW(bodyEditProc, hwnd, message, wParam, lParam);
}

} // namespace Brisvane
