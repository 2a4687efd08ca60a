// What the drawing layer needs of the sticky.
#include "note/NoteDrawing_win.h"

#include "base/ProgramName.h"
#include "note/NoteHost_win.h"
#include "note/Note_win.h"
#include "storage/TextRead.h"

namespace Brisvane {

void NoteDrawingHost::load() {
    Scribble& scribble = note_.drawing.scribble;
    scribble.library = note_.app ? &note_.app->figureLibrary : nullptr;
    readPen(scribble, valueAt(note_.document.json, {"scribble"}));
    // A faulty stored figure is left out; the file is then kept before it is
    // written without it.
    note_.document.figuresReadWhole =
        loadFigures(scribble, valueAt(note_.document.json, {"scribble", "figure"}));
    if (!scribble.figures.empty()) {
        note_.drawing.createDevice();
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

} // namespace Brisvane
