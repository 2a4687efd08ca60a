#pragma once
// The drawing interface carried out by GDI+ on premultiplied pixels in memory,
// which the sticky then paints over its body: the way the drawing is shown
// where DirectComposition is missing. GDI+ widens paths and clips to regions
// everywhere, so erasers clear the same areas here as through Direct2D.
#include <functional>
#include <memory>
#include <vector>

#include <windows.h>

#include "scribble/Canvas.h"

namespace Gdiplus {
class Bitmap;
class Graphics;
} // namespace Gdiplus

namespace Brisvane {

// GDI+ started for as long as this lives. The canvas and everything it makes hold the session, so that no
// GDI+ object outlives it.
class GdiplusSession {
public:
    GdiplusSession() = default;
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    ~GdiplusSession();
    // Null when GDI+ could not start.
    static std::shared_ptr<GdiplusSession> start();

private:
    ULONG_PTR token_ = 0;
};

// Pixels in memory: width x height, top row first, four bytes a pixel, premultiplied.
struct PixelBuffer {
    void* bits = nullptr;
    int width = 0, height = 0;
};

class BitmapCanvas : public Canvas {
public:
    explicit BitmapCanvas(std::shared_ptr<GdiplusSession> session);
    ~BitmapCanvas() override;
    // The frame shown: pixels that outlive the canvas or the next call.
    void setFrame(PixelBuffer frame);

    std::shared_ptr<Shape> makeShape(const Path& path) override;
    std::shared_ptr<Shape> widen(const Shape& shape, float width) override;
    std::shared_ptr<Brush> makeBrush(const ColourF& colour, float opacity) override;
    std::shared_ptr<Surface> makeSurface(int width, int height) override;
    bool keepsFrame() const override { return true; }
    bool beginDraw(Surface* target, const RectI& area) override;
    void setTransform(float scale, float dx, float dy) override;
    void clear() override;
    void copy(const Surface& source) override;
    void scroll(int dx, int dy) override;
    void fill(const Shape& shape, const Brush& brush) override;
    void stroke(const Shape& shape, const Brush& brush, float width) override;
    void erase(const Shape& shape) override;
    bool endDraw(const std::vector<RectI>& changed) override;

    // Runs after each redraw of the frame: shows its changed parts.
    std::function<void(const std::vector<RectI>&)> present;

    // GDI+ drawing into pixels of ours.
    struct Target;

private:
    std::shared_ptr<GdiplusSession> session_;
    std::unique_ptr<Target> frame_;
    Target* current_ = nullptr;
    RectI area_;
};

} // namespace Brisvane
