#pragma once
// The small drawing interface the scribble is rendered through: geometries
// built from paths, solid brushes, round-capped outlines, shapes erased from
// what is drawn, offscreen surfaces and copies between them. Direct2D
// implements it for the composition chain, GDI+ for the bitmap painted over the
// body where that chain is missing.
#include <memory>
#include <vector>

#include "scribble/PathData.h"

namespace Brisvane {

// Colour channels in 0..1; a is always 1, opacity is held apart.
struct ColourF {
    float r = 0, g = 0, b = 0, a = 1;
    bool operator==(const ColourF&) const = default;
};

// Whole pixels of the surface drawn on: left and top inside, right and bottom outside.
struct RectI {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    bool operator==(const RectI&) const = default;
};

// A geometry made by a canvas; only that canvas can use it.
class Shape {
public:
    virtual ~Shape() = default;
};

class Brush {
public:
    virtual ~Brush() = default;
};

// Offscreen pixels made by a canvas, of the size asked for, transparent at first.
class Surface {
public:
    virtual ~Surface() = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    // The path filled with the winding rule; open figures count as closed for filling.
    virtual std::shared_ptr<Shape> makeShape(const Path& path) = 0;
    // The outline of `shape` stroked with `width`, flat caps and mitred joins,
    // filled with the winding rule.
    virtual std::shared_ptr<Shape> widen(const Shape& shape, float width) = 0;
    virtual std::shared_ptr<Brush> makeBrush(const ColourF& colour, float opacity) = 0;
    virtual std::shared_ptr<Surface> makeSurface(int width, int height) = 0;

    // Whether the shown frame keeps its pixels from one redraw to the next;
    // otherwise each redraw of the frame must draw all of it.
    virtual bool keepsFrame() const = 0;

    // One redraw of `target`, or of the frame shown when it is null. Pixels are
    // kept until cleared; drawing is limited to `area` (in pixels of the target).
    virtual bool beginDraw(Surface* target, const RectI& area) = 0;
    // Content to pixels: scaled by `scale`, then moved by (dx, dy).
    virtual void setTransform(float scale, float dx, float dy) = 0;
    // The area made transparent.
    virtual void clear() = 0;
    // The area's pixels replaced by those of `source` at the same place.
    virtual void copy(const Surface& source) = 0;
    // Every pixel of the target moved by (dx, dy); what comes into view is
    // left to be drawn.
    virtual void scroll(int dx, int dy) = 0;
    virtual void fill(const Shape& shape, const Brush& brush) = 0;
    // Round caps and joins.
    virtual void stroke(const Shape& shape, const Brush& brush, float width) = 0;
    // What lies under `shape` made transparent.
    virtual void erase(const Shape& shape) = 0;
    // Ends the redraw; a frame shows the parts `changed`. False when the device
    // was lost, so that everything made by this canvas must be made again on a
    // new one.
    virtual bool endDraw(const std::vector<RectI>& changed) = 0;

    // Identifies this canvas to the objects made by it: a new canvas, even one
    // at the same address, never takes them for its own.
    const std::shared_ptr<const int>& token() const { return token_; }

private:
    std::shared_ptr<const int> token_ = std::make_shared<const int>(0);
};

// The canvas of a device that can be lost and built anew.
class CanvasSource {
public:
    virtual ~CanvasSource() = default;
    // Null while there is no device.
    virtual Canvas* canvas() = 0;
    // Replaces a lost device by a new one; false when none can be made.
    virtual bool rebuild() = 0;
};

} // namespace Brisvane
