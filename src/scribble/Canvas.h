#pragma once
// The small drawing interface the scribble is rendered through: geometries
// built from paths, solid brushes, layers cut by erase masks, and round-capped
// outlines on a transparent surface. Direct2D implements it for the composition
// chain, GDI+ for the bitmap painted over the body where that chain is missing.
#include <memory>
#include <vector>

#include "scribble/PathData.h"

namespace Brisvane {

// Colour channels in 0..1; a is always 1, opacity is held apart.
struct ColourF {
    float r = 0, g = 0, b = 0, a = 1;
    bool operator==(const ColourF&) const = default;
};

// A geometry or an erase mask made by a canvas; only that canvas can use it.
class Shape {
public:
    virtual ~Shape() = default;
};

class Brush {
public:
    virtual ~Brush() = default;
};

class Canvas {
public:
    virtual ~Canvas() = default;
    // The path filled with the winding rule; open figures count as closed for filling.
    virtual std::shared_ptr<Shape> makeShape(const Path& path) = 0;
    // The outline of `shape` stroked with `width`, flat caps and mitred joins.
    virtual std::shared_ptr<Shape> widen(const Shape& shape, float width) = 0;
    // `bounds` minus the union of `erased`: the area that stays visible.
    virtual std::shared_ptr<Shape> makeEraseMask(const RectF& bounds,
                                                 const std::vector<const Shape*>& erased) = 0;
    virtual std::shared_ptr<Brush> makeBrush(const ColourF& colour, float opacity) = 0;

    // One redraw: begin clears the surface to transparent.
    virtual bool beginDraw() = 0;
    virtual void setTranslation(float dx, float dy) = 0;
    virtual void pushMask(const Shape& mask) = 0;
    virtual void popMask() = 0;
    virtual void fill(const Shape& shape, const Brush& brush) = 0;
    // Round caps and joins.
    virtual void stroke(const Shape& shape, const Brush& brush, float width) = 0;
    // Ends the redraw and shows it; false when the device was lost, so that
    // everything made by this canvas must be made again on a new one.
    virtual bool endDraw() = 0;
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
