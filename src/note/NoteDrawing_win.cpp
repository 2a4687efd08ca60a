// The sticky's drawing window: mouse strokes become figures, Ctrl+Z and Ctrl+Y
// walk the history, and the drawing is redrawn over the body's scroll position.
#include <windows.h>

#include <richedit.h>
#include <windowsx.h>

#include "base/ProgramName.h"
#include "note/NoteHost_win.h"
#include "note/Note_win.h"
#include "scribble/Render.h"
#include "storage/TextRead.h"

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

void Note::loadDrawing() {
    scribble.library = app ? &app->figureLibrary : nullptr;
    readPen(scribble, valueAt(document.json, {"scribble"}));
    // A faulty stored figure is left out; the file is then kept before it is
    // written without it.
    document.figuresReadWhole = loadFigures(scribble, valueAt(document.json, {"scribble", "figure"}));
    if (!scribble.figures.empty()) {
        createDrawingDevice();
    }
}

bool Note::createDrawingDevice() {
    if (!scribbleWindow || !bodyEdit || !app ||
        !drawingDevice.create(scribbleWindow, bodyEdit, app->drawingSystem)) {
        return false;
    }
    renderScribble();
    return true;
}

Viewport Note::drawingViewport() const {
    RECT client{};
    GetClientRect(scribbleWindow, &client);
    const POINT scroll = bodyScroll(bodyEdit);
    return {client.right, client.bottom, scroll.x, scroll.y, drawingScale};
}

PointF Note::contentPoint(LPARAM lParam) const {
    const POINT scroll = bodyScroll(bodyEdit);
    return {static_cast<float>(GET_X_LPARAM(lParam) + scroll.x) / drawingScale,
            static_cast<float>(GET_Y_LPARAM(lParam) + scroll.y) / drawingScale};
}

void Note::renderScribble() {
    if (!drawingDevice.ready() || !bodyEdit) {
        return;
    }
    const Viewport viewport = drawingViewport();
    if (drawingDevice.paintsOver()) {
        // Drawn in the body's next paint, which only what changes needs.
        if (Canvas* canvas = drawingDevice.canvas()) {
            for (const RectI& r : drawingView.pendingChanges(scribble, *canvas, viewport)) {
                const RECT part{r.left, r.top, r.right, r.bottom};
                InvalidateRect(bodyEdit, &part, FALSE);
            }
        }
        return;
    }
    presentScribble(scribble, drawingView, drawingDevice, viewport);
}

void Note::drawingChanged() {
    renderScribble();
    markChanged(SaveFigures);
}

void Note::commitStroke() {
    scribble.commitStroke(drawingDevice.canvas());
    // The rest of note.json as it would be written, with the figures measured apart.
    Json& stored = valueAt(document.json, {"scribble", "figure"});
    Json held = std::move(stored);
    stored = Json::array();
    const size_t rest = serializeJson(document.json, JsonLayout::compact).size();
    stored = std::move(held);
    constexpr size_t markAndSeparators = 64;
    if (rest + scribble.storedBytes() + markAndSeparators <= maxStoredTextBytes) {
        renderScribble();
        markChanged(SaveFigures);
        return;
    }
    scribble.withdrawLast();
    renderScribble();
    std::wstring text =
        L"This sticky's drawing is full: the figure was not kept. Clear the drawing, or draw on "
        L"another sticky.";
    if (app) {
        text = app->lookupText("dialog.drawingFull.text", text);
    }
    MessageBoxW(window, text.c_str(), applicationTitle, MB_OK | MB_ICONINFORMATION);
}

LRESULT Note::paintBodyAndDrawing(HWND hwnd) {
    // Drawn first: what it changes joins the region painted now.
    presentScribble(scribble, drawingView, drawingDevice, drawingViewport());
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
        CallWindowProcW(bodyEditProc, hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(paint.dc()), PRF_CLIENT);
        drawingDevice.blendOver(paint.dc(), area);
        return 0;
    }
    ScopedSelect selected(memory.get(), pixels.get());
    SetViewportOrgEx(memory.get(), -area.left, -area.top, nullptr);
    IntersectClipRect(memory.get(), area.left, area.top, area.right, area.bottom);
    CallWindowProcW(bodyEditProc, hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
    drawingDevice.blendOver(memory.get(), area);
    BitBlt(paint.dc(), area.left, area.top, width, height, memory.get(), area.left, area.top, SRCCOPY);
    return 0;
}

LRESULT Note::scribbleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool locked = document.flag("lock");
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
            if (!document.fix("position")) {
                SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            }
            return 0;
        }
        if (scribble.drawing) {
            commitStroke(); // one whose button went up while another window held the mouse
        }
        SetFocus(hwnd);
        // The committed figures wait offscreen while this sticky is drawn on.
        drawingView.keepCache(true);
        scribble.beginStroke(contentPoint(lParam));
        renderScribble();
        SetCapture(hwnd);
        return 0;
    case WM_MOUSEMOVE:
        if (scribble.drawing && GetCapture() == hwnd) {
            scribble.extendStroke(contentPoint(lParam), keyHeld(VK_SHIFT));
            renderScribble();
        }
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        if (scribble.drawing) {
            commitStroke();
        }
        return 0;
    case WM_KILLFOCUS:
        drawingView.keepCache(false);
        break;
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
