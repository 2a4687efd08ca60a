#include "note/NoteBodyEdit_win.h"

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

LRESULT NoteBody::message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool locked = note_.document.flag("lock");
    switch (message) {
    case WM_SETCURSOR:
        if (locked) {
            return 0;
        }
        break;
    case WM_IME_STARTCOMPOSITION:
        note_.bodyComposing = true;
        break;
    case WM_IME_ENDCOMPOSITION:
        note_.bodyComposing = false;
        note_.markChanged(SaveText);
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
        if (wParam == VK_RETURN && !locked && GetKeyState(VK_CONTROL) < 0 &&
            note_.keyboard.openLinkAtCaret()) {
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        if (lParam == -1) {
            note_.keyboard.contextKey(hwnd);
            return 0;
        }
        break;
    case WM_PAINT:
        if (note_.drawing.device.paintsOver()) {
            return paintWithDrawing(hwnd);
        }
        break;
    case WM_RBUTTONUP:
        // Locked: the title menu; otherwise the text and drawing menu.
        if (locked) {
            note_.titleMenu.open();
        } else {
            note_.contextMenu.show();
        }
        return 0;
    case WM_MOUSEHWHEEL: {
        short delta = GET_WHEEL_DELTA_WPARAM(wParam);
        if (delta != 0) {
            SendMessageW(hwnd, WM_HSCROLL, delta > 0 ? SB_LINERIGHT : SB_LINELEFT, 0);
            note_.scrollBars.resetHorizontalThumb();
            note_.drawing.render();
        }
        return 0;
    }
    default:
        break;
    }
    return CallWindowProcW(note_.bodyEditProc, hwnd, message, wParam, lParam);
}

LRESULT NoteBody::paintWithDrawing(HWND hwnd) {
    // Drawn first: what it changes joins the region painted now.
    note_.drawing.presentNow();
    ScopedPaint paint(hwnd);
    const RECT area = paint.info().rcPaint;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (!paint.dc() || width <= 0 || height <= 0) {
        return 0;
    }
    // The body paints into memory and the drawing is laid over it there: the
    // screen never shows the body without its drawing.
    UniqueMemoryDC memory(CreateCompatibleDC(paint.dc()));
    UniqueBitmap pixels(CreateCompatibleBitmap(paint.dc(), width, height));
    if (!memory || !pixels) {
        CallWindowProcW(note_.bodyEditProc, hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(paint.dc()),
                        PRF_CLIENT);
        note_.drawing.device.blendOver(paint.dc(), area);
        return 0;
    }
    ScopedSelect selected(memory.get(), pixels.get());
    SetViewportOrgEx(memory.get(), -area.left, -area.top, nullptr);
    IntersectClipRect(memory.get(), area.left, area.top, area.right, area.bottom);
    CallWindowProcW(note_.bodyEditProc, hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()),
                    PRF_CLIENT);
    note_.drawing.device.blendOver(memory.get(), area);
    BitBlt(paint.dc(), area.left, area.top, width, height, memory.get(), area.left, area.top, SRCCOPY);
    return 0;
}

} // namespace Brisvane
