#pragma once
// The sticky as its drawing layer sees it, and the drawing read from the note.
#include <cstddef>

#include <windows.h>

#include "scribble/DrawingLayer_win.h"

namespace Brisvane {

class Note;

class NoteDrawingHost final : public DrawingHost {
public:
    explicit NoteDrawingHost(Note& note) : note_(note) {}
    // Pen and figures read from the note; the device chain made when there is
    // something to draw.
    void load();

    HWND drawingBody() const override;
    HWND drawingFrame() const override;
    bool drawingLocked() const override;
    bool drawingPositionFixed() const override;
    DrawingSystem* drawingSystem() override;
    void drawingEdited() override;
    bool roomForFigures(std::size_t storedBytes) override;
    void openDrawingMenu() override;

private:
    Note& note_;
};

} // namespace Brisvane
