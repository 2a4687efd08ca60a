#include "scribble/DrawingLayer_win.h"

#include <richedit.h>
#include <windowsx.h>

namespace Brisvane {

namespace {

const LPCWSTR penCursor = MAKEINTRESOURCEW(32631);

bool keyHeld(int key) {
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

POINT bodyScroll(HWND body) {
    POINT p{};
    SendMessageW(body, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&p));
    return p;
}

} // namespace

bool DrawingLayer::createDevice() {
    HWND body = host_.drawingBody();
    DrawingSystem* system = host_.drawingSystem();
    if (!window || !body || !system || !device.create(window, body, *system)) {
        return false;
    }
    render();
    return true;
}

Viewport DrawingLayer::viewport() const {
    RECT client{};
    GetClientRect(window, &client);
    const POINT scroll = bodyScroll(host_.drawingBody());
    return {client.right, client.bottom, scroll.x, scroll.y, scale};
}

PointF DrawingLayer::contentPoint(LPARAM lParam) const {
    const POINT scroll = bodyScroll(host_.drawingBody());
    return {static_cast<float>(GET_X_LPARAM(lParam) + scroll.x) / scale,
            static_cast<float>(GET_Y_LPARAM(lParam) + scroll.y) / scale};
}

void DrawingLayer::render() {
    HWND body = host_.drawingBody();
    if (!device.ready() || !body) {
        return;
    }
    if (device.paintsOver()) {
        // Drawn in the body's next paint, which only what changes needs.
        if (Canvas* canvas = device.canvas()) {
            for (const RectI& r : view.pendingChanges(scribble, *canvas, viewport())) {
                const RECT part{r.left, r.top, r.right, r.bottom};
                InvalidateRect(body, &part, FALSE);
            }
        }
        return;
    }
    presentScribble(scribble, view, device, viewport());
}

void DrawingLayer::presentNow() {
    presentScribble(scribble, view, device, viewport());
}

void DrawingLayer::changed() {
    render();
    host_.drawingEdited();
}

void DrawingLayer::commitStroke() {
    scribble.commitStroke(device.canvas());
    if (host_.roomForFigures(scribble.storedBytes())) {
        changed();
        return;
    }
    scribble.withdrawLast();
    render();
}

LRESULT DrawingLayer::message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool locked = host_.drawingLocked();
    switch (message) {
    case WM_SETCURSOR: {
        LPCWSTR cursor = !IsWindowEnabled(host_.drawingFrame()) || locked ? IDC_ARROW
                         : scribble.tool == toolFreeline                  ? penCursor
                                                                          : IDC_CROSS;
        SetCursor(LoadCursorW(nullptr, cursor));
        return 0;
    }
    case WM_ERASEBKGND:
    case WM_CHAR:
        return 0;
    case WM_KEYDOWN:
        if (keyHeld(VK_CONTROL) && !keyHeld(VK_SHIFT) && !keyHeld(VK_MENU)) {
            if (wParam == 'Z' && scribble.undo()) {
                changed();
            } else if (wParam == 'Y' && scribble.redo()) {
                changed();
            }
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // the second press of a double click draws as well
        if (locked) {
            if (!host_.drawingPositionFixed()) {
                SendMessageW(host_.drawingFrame(), WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            }
            return 0;
        }
        if (scribble.drawing) {
            commitStroke(); // one whose button went up while another window held the mouse
        }
        SetFocus(hwnd);
        // The committed figures wait offscreen while this sticky is drawn on.
        view.keepCache(true);
        scribble.beginStroke(contentPoint(lParam));
        render();
        SetCapture(hwnd);
        return 0;
    case WM_MOUSEMOVE:
        if (scribble.drawing && GetCapture() == hwnd) {
            scribble.extendStroke(contentPoint(lParam), keyHeld(VK_SHIFT));
            render();
        }
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        if (scribble.drawing) {
            commitStroke();
        }
        return 0;
    case WM_KILLFOCUS:
        view.keepCache(false);
        break;
    case WM_RBUTTONUP:
        if (scribble.drawing) {
            scribble.cancelStroke();
            render();
        } else {
            host_.openDrawingMenu();
        }
        ReleaseCapture();
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        PostMessageW(host_.drawingBody(), message, wParam, lParam);
        return 0;
    case WM_SIZE:
        if (device.ready()) {
            device.resizeSurface();
            render();
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace Brisvane
