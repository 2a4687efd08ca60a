#pragma once
// Drawing a scribble through a canvas: runs of figures between erasers, each
// run cut by the mask of the first eraser after it, the live eraser on top.
#include "scribble/Canvas.h"
#include "scribble/Scribble.h"

namespace Brisvane {

// Recomputes every eraser's mask: `bounds` (window coordinates, shifted by the
// scroll offset) minus all erasers in effect from that one on.
void rebuildEraseMasks(Scribble& scribble, Canvas& canvas, const RectF& bounds);

// Redraws the whole scribble scrolled by (scrollX, scrollY). The masks are
// rebuilt whenever they do not cover `bounds` at that scroll position: after a
// scroll, and after every change of size (a sticky loaded folded built them for
// an empty window). False when the canvas lost its device.
bool renderScribble(Scribble& scribble, Canvas& canvas, const RectF& bounds, int scrollX, int scrollY);

// Lets go of everything a canvas made for the drawing: geometries, brushes and
// masks, which a new device makes again on first use.
void forgetCanvasObjects(Scribble& scribble);

// renderScribble on the source's canvas. When its device is lost the source
// builds a new one and the drawing, which lives in the figures, is drawn again
// from scratch on it. False when nothing could be shown.
bool presentScribble(Scribble& scribble, CanvasSource& source, const RectF& bounds, int scrollX, int scrollY);

} // namespace Brisvane
