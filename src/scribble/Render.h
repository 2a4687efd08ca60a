#pragma once
// Drawing a scribble through a canvas: runs of figures between erasers, each
// run cut by the mask of the first eraser after it, the live eraser on top.
#include "scribble/Canvas.h"
#include "scribble/Scribble.h"

namespace Brisvane {

// Recomputes every eraser's mask: `bounds` (window coordinates, shifted by the
// scroll offset) minus all erasers in effect from that one on.
void rebuildEraseMasks(Scribble& scribble, Canvas& canvas, const RectF& bounds);

// Redraws the whole scribble scrolled by (scrollX, scrollY); a changed scroll
// position moves the drawing and rebuilds the masks for `bounds`.
void renderScribble(Scribble& scribble, Canvas& canvas, const RectF& bounds, int scrollX, int scrollY);

} // namespace Brisvane
