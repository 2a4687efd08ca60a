// What the drawing layer needs of the sticky, and the body's paint with the
// drawing laid over it.
#include "note/NoteDrawing_win.h"

#include "base/ProgramName.h"
#include "note/NoteHost_win.h"
#include "note/Note_win.h"
#include "storage/TextRead.h"

namespace Brisvane {

void Note::loadDrawing() {
    Scribble& scribble = drawing.scribble;
    scribble.library = app ? &app->figureLibrary : nullptr;
    readPen(scribble, valueAt(document.json, {"scribble"}));
    // A faulty stored figure is left out; the file is then kept before it is
    // written without it.
    document.figuresReadWhole = loadFigures(scribble, valueAt(document.json, {"scribble", "figure"}));
    if (!scribble.figures.empty()) {
        drawing.createDevice();
    }
}

HWND NoteDrawingHost::drawingBody() const {
    return note_.bodyEdit;
}

HWND NoteDrawingHost::drawingFrame() const {
    return note_.window;
}

bool NoteDrawingHost::drawingLocked() const {
    return note_.document.flag("lock");
}

bool NoteDrawingHost::drawingPositionFixed() const {
    return note_.document.fix("position");
}

DrawingSystem* NoteDrawingHost::drawingSystem() {
    return note_.app ? &note_.app->drawingSystem : nullptr;
}

void NoteDrawingHost::drawingEdited() {
    note_.markChanged(SaveFigures);
}

bool NoteDrawingHost::roomForFigures(std::size_t storedBytes) {
    // The rest of note.json as it would be written, with the figures measured apart.
    Json& stored = valueAt(note_.document.json, {"scribble", "figure"});
    Json held = std::move(stored);
    stored = Json::array();
    const size_t rest = serializeJson(note_.document.json, JsonLayout::compact).size();
    stored = std::move(held);
    constexpr size_t markAndSeparators = 64;
    if (rest + storedBytes + markAndSeparators <= maxStoredTextBytes) {
        return true;
    }
    std::wstring text =
        L"This sticky's drawing is full: the figure was not kept. Clear the drawing, or draw on "
        L"another sticky.";
    if (note_.app) {
        text = note_.app->lookupText("dialog.drawingFull.text", text);
    }
    MessageBoxW(note_.window, text.c_str(), applicationTitle, MB_OK | MB_ICONINFORMATION);
    return false;
}

void NoteDrawingHost::openDrawingMenu() {
    if (note_.document.flag("lock")) {
        note_.titleMenu.open();
    } else {
        note_.contextMenu.show();
    }
}

LRESULT Note::paintBodyAndDrawing(HWND hwnd) {
    // Drawn first: what it changes joins the region painted now.
    drawing.presentNow();
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
        drawing.device.blendOver(paint.dc(), area);
        return 0;
    }
    ScopedSelect selected(memory.get(), pixels.get());
    SetViewportOrgEx(memory.get(), -area.left, -area.top, nullptr);
    IntersectClipRect(memory.get(), area.left, area.top, area.right, area.bottom);
    CallWindowProcW(bodyEditProc, hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
    drawing.device.blendOver(memory.get(), area);
    BitBlt(paint.dc(), area.left, area.top, width, height, memory.get(), area.left, area.top, SRCCOPY);
    return 0;
}

} // namespace Brisvane
