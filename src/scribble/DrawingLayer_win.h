#pragma once
// The drawing window laid over a sticky's body: mouse strokes become figures,
// Ctrl+Z and Ctrl+Y walk the history, and the drawing follows the body's
// scroll position and text zoom. It reaches the sticky only through
// DrawingHost.
#include <cstddef>

#include <windows.h>

#include "scribble/DrawingDevice_win.h"
#include "scribble/Render.h"
#include "scribble/Scribble.h"

namespace Brisvane {

class DrawingSystem;

// What the drawing needs of the sticky it lies on.
class DrawingHost {
public:
    // The body whose scroll the drawing follows and over which it is shown.
    virtual HWND drawingBody() const = 0;
    // The top-level window: dragged by a press on a locked drawing.
    virtual HWND drawingFrame() const = 0;
    virtual bool drawingLocked() const = 0;
    virtual bool drawingPositionFixed() const = 0;
    // Null when the sticky has no application (no device can be made).
    virtual DrawingSystem* drawingSystem() = 0;
    // The figures changed: they are to be saved.
    virtual void drawingEdited() = 0;
    // Whether the note can keep figures stored in this many bytes; when it
    // cannot, the user has been told.
    virtual bool roomForFigures(std::size_t storedBytes) = 0;
    // A right click that ends no stroke.
    virtual void openDrawingMenu() = 0;

protected:
    ~DrawingHost() = default;
};

class DrawingLayer {
public:
    explicit DrawingLayer(DrawingHost& host) : host_(host) {}
    DrawingLayer(const DrawingLayer&) = delete;
    DrawingLayer& operator=(const DrawingLayer&) = delete;

    // The window's procedure routes here.
    LRESULT message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The device chain, made when there is something to draw.
    bool createDevice();
    // Redraws what changed: at once, or in the body's next paint when the
    // drawing is laid over it there.
    void render();
    // After undo, redo or clear: redraw and the save request.
    void changed();
    // In the body's paint, before the body is drawn: what the drawing changes
    // joins the region painted now.
    void presentNow();

    HWND window = nullptr;
    Scribble scribble;
    DrawingDevice device;
    ScribbleView view;
    // The zoom the body's text is shown at, which the drawing follows.
    float scale = 1.0f;

private:
    // Where the drawing shows now: the window's size, the body's scroll and the text zoom.
    Viewport viewport() const;
    // A mouse position of the window in content coordinates.
    PointF contentPoint(LPARAM lParam) const;
    // Ends the stroke and keeps it as a figure, unless the note has no room for it.
    void commitStroke();

    DrawingHost& host_;
};

} // namespace Brisvane
