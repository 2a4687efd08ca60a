#pragma once
// Drawing a scribble through a canvas. The figures in effect are drawn in
// order, each eraser clearing what lies under it of the figures before it. A
// redraw costs what changed: an identical frame is not drawn again; while a
// sticky is drawn on, its committed figures wait in an offscreen surface, so a
// mouse move costs a copy of the stroke's bounds and the stroke;
// committing draws only the new figure there; scrolling moves the pixels and
// draws the strip that comes into view.
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "scribble/Canvas.h"
#include "scribble/Scribble.h"

namespace Brisvane {

// Where the drawing is shown: the drawing window's size in pixels, the body's
// scroll position and the zoom the text is shown at. A content point p shows
// at p * scale - scroll.
struct Viewport {
    int width = 0, height = 0;
    int scrollX = 0, scrollY = 0;
    float scale = 1;
    bool operator==(const Viewport&) const = default;
};

// The pixels of `viewport` that the content rectangle `r` can touch.
RectI pixelsOf(const RectF& r, const Viewport& viewport);
// The smallest rectangle holding both; an empty one counts as nothing.
RectI unite(const RectI& a, const RectI& b);

// Draws every figure in effect that touches `area` of the current target, and
// the stroke in progress when `withStroke`; the area is cleared first.
void drawScribble(Scribble& scribble, Canvas& canvas, const Viewport& viewport, const RectI& area,
                  bool withStroke);

class ScribbleView {
public:
    // Keeps the committed figures offscreen (the sticky drawn on), or lets go of them.
    void keepCache(bool keep);
    bool keepsCache() const { return keepCache_; }
    // The parts of the frame the next render changes; none when it would show
    // the same frame again.
    std::vector<RectI> pendingChanges(Scribble& scribble, const Canvas& canvas, const Viewport& viewport);
    // Brings the frame up to date and shows the parts that changed. False when
    // the canvas lost its device.
    bool render(Scribble& scribble, Canvas& canvas, const Viewport& viewport);
    // The next render draws everything again.
    void invalidate();
    // Renders that drew anything.
    int renders() const { return renders_; }

private:
    // A picture of the committed figures: what was drawn, where and from which history.
    struct Picture {
        bool valid = false;
        Viewport viewport;
        std::uint64_t revision = 0;
    };
    struct Shown {
        Viewport viewport;
        std::uint64_t revision = 0, strokeRevision = 0;
        bool drawing = false;
        bool operator==(const Shown&) const = default;
    };
    // Brings `picture` (held by `target`, or by the frame when null) up to the
    // scribble; returns the pixels that changed.
    std::optional<RectI> updatePicture(Scribble& scribble, Canvas& canvas, const Viewport& viewport,
                                       Surface* target, Picture& picture, bool& ok);
    // What the stroke in progress changes since the frame last shown, in pixels.
    RectI strokeChange(Scribble& scribble, const Viewport& viewport) const;
    RectI strokeArea(Scribble& scribble, const Viewport& viewport) const;
    bool sameCanvas(const Canvas& canvas) const;

    bool keepCache_ = false;
    std::weak_ptr<const int> canvas_;
    std::shared_ptr<Surface> cache_;
    int cacheWidth_ = 0, cacheHeight_ = 0;
    // What the cache holds, and what the frame holds when no stroke is on it.
    Picture cachePicture_, framePicture_;
    // The frame was last drawn from the cache.
    bool frameFollowsCache_ = false;
    std::optional<Shown> shown_;
    // The pixels the stroke last shown covered.
    RectI shownStroke_;
    int renders_ = 0;
};

// Renders on the source's canvas. When its device is lost the source builds a
// new one and the drawing, which lives in the figures, is drawn again from
// scratch on it. False when nothing could be shown.
bool presentScribble(Scribble& scribble, ScribbleView& view, CanvasSource& source, const Viewport& viewport);

} // namespace Brisvane
