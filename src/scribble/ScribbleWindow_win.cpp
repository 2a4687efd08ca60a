// The sticky's drawing window: mouse strokes become figures, Ctrl+Z and Ctrl+Y
// walk the history, and the drawing is redrawn over the body's scroll position.
#include <windows.h>

#include <richedit.h>
#include <windowsx.h>

#include "note/NoteHost_win.h"
#include "note/Note_win.h"
#include "scribble/Render.h"

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

RectF clientBounds(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
            static_cast<float>(r.bottom)};
}

} // namespace

void Note::loadDrawing() {
    scribble.library = app ? &app->figureLibrary : nullptr;
    readPen(scribble, valueAt(data, {"scribble"}));
    // A faulty stored figure is left out; the file is then kept before it is
    // written without it.
    figuresReadWhole = loadFigures(scribble, valueAt(data, {"scribble", "figure"}));
    if (!scribble.figures.empty()) {
        createDrawingDevice();
    }
}

bool Note::createDrawingDevice() {
    if (!scribbleWindow || !bodyEdit || !drawingDevice.create(scribbleWindow, bodyEdit)) {
        return false;
    }
    rebuildEraseMasks(scribble, *drawingDevice.canvas(), drawingBounds());
    return true;
}

RectF Note::drawingBounds() const {
    RectF bounds = clientBounds(bodyEdit);
    SCROLLINFO info{sizeof info, SIF_RANGE};
    if (GetScrollInfo(bodyEdit, SB_HORZ, &info)) {
        bounds.right += static_cast<float>(info.nMax);
    }
    info = {sizeof info, SIF_RANGE};
    if (GetScrollInfo(bodyEdit, SB_VERT, &info)) {
        bounds.bottom += static_cast<float>(info.nMax);
    }
    return bounds;
}

void Note::renderScribble() {
    if (!drawingDevice.ready() || !bodyEdit) {
        return;
    }
    POINT scroll = bodyScroll(bodyEdit);
    presentScribble(scribble, drawingDevice, drawingBounds(), scroll.x, scroll.y);
}

void Note::drawingChanged() {
    if (Canvas* canvas = drawingDevice.canvas()) {
        rebuildEraseMasks(scribble, *canvas, drawingBounds());
    }
    renderScribble();
    markChanged(SaveFigures);
}

LRESULT Note::paintBodyAndDrawing(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    // Only what the body paints now gets the drawing laid over it once more.
    UniqueRegion update(CreateRectRgn(0, 0, 0, 0));
    if (update) {
        GetUpdateRgn(hwnd, update.get(), FALSE);
    }
    LRESULT result = CallWindowProcW(bodyEditProc, hwnd, WM_PAINT, wParam, lParam);
    drawingDevice.paintOver(update.get());
    return result;
}

LRESULT Note::scribbleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool locked = storedFlag("lock");
    auto contentPoint = [&] {
        POINT scroll = bodyScroll(bodyEdit);
        return PointF{static_cast<float>(GET_X_LPARAM(lParam) + scroll.x),
                      static_cast<float>(GET_Y_LPARAM(lParam) + scroll.y)};
    };
    switch (message) {
    case WM_SETCURSOR: {
        LPCWSTR cursor = !IsWindowEnabled(window) || locked ? IDC_ARROW
                         : scribble.tool == toolFreeline    ? penCursor
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
                drawingChanged();
            } else if (wParam == 'Y' && scribble.redo()) {
                drawingChanged();
            }
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: // the second press of a double click draws as well
        if (locked) {
            if (!storedFix("position")) {
                SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            }
            return 0;
        }
        SetFocus(hwnd);
        scribble.beginStroke(contentPoint());
        renderScribble();
        SetCapture(hwnd);
        return 0;
    case WM_MOUSEMOVE:
        if (scribble.drawing && GetCapture() == hwnd) {
            scribble.extendStroke(contentPoint(), keyHeld(VK_SHIFT));
            renderScribble();
        }
        return 0;
    case WM_LBUTTONUP:
        if (scribble.drawing) {
            scribble.commitStroke(drawingDevice.canvas());
            if (scribble.figures.back().eraser) {
                if (Canvas* canvas = drawingDevice.canvas()) {
                    rebuildEraseMasks(scribble, *canvas, drawingBounds());
                }
            }
            renderScribble();
            markChanged(SaveFigures);
        }
        ReleaseCapture();
        return 0;
    case WM_RBUTTONUP:
        if (scribble.drawing) {
            scribble.cancelStroke();
            renderScribble();
        } else if (locked) {
            openTitleMenu();
        } else {
            showNoteMenu();
        }
        ReleaseCapture();
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        PostMessageW(bodyEdit, message, wParam, lParam);
        return 0;
    case WM_SIZE:
        // The redraw rebuilds the masks for the new size.
        if (drawingDevice.ready()) {
            drawingDevice.resizeSurface();
            renderScribble();
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace Brisvane
