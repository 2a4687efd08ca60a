#pragma once
// The drawing interface carried out by GDI+ on premultiplied pixels in memory,
// which the sticky then paints over its body: the way the drawing is shown
// where DirectComposition is missing. Unlike Direct2D on such systems, GDI+
// widens paths, combines regions and clips to them everywhere, so erasers cut
// the same holes here as through layer masks.
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

// GDI+ started for as long as this lives; false when it could not start.
class GdiplusSession {
public:
    GdiplusSession() = default;
    GdiplusSession(GdiplusSession&& other) noexcept;
    GdiplusSession& operator=(GdiplusSession&& other) noexcept;
    ~GdiplusSession();
    static GdiplusSession start();
    explicit operator bool() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

class BitmapCanvas : public Canvas {
public:
    // Draws into `pixels`: width x height, top row first, four bytes a pixel;
    // they must outlive the canvas.
    BitmapCanvas(void* pixels, int width, int height);
    ~BitmapCanvas() override;

    std::shared_ptr<Shape> makeShape(const Path& path) override;
    std::shared_ptr<Shape> widen(const Shape& shape, float width) override;
    std::shared_ptr<Shape> makeEraseMask(const RectF& bounds,
                                         const std::vector<const Shape*>& erased) override;
    std::shared_ptr<Brush> makeBrush(const ColourF& colour, float opacity) override;
    bool beginDraw() override;
    void setTranslation(float dx, float dy) override;
    void pushMask(const Shape& mask) override;
    void popMask() override;
    void fill(const Shape& shape, const Brush& brush) override;
    void stroke(const Shape& shape, const Brush& brush, float width) override;
    bool endDraw() override;

    // Runs after each redraw: shows the pixels.
    std::function<void()> present;

private:
    void* pixels_;
    int width_, height_;
    std::unique_ptr<Gdiplus::Bitmap> bitmap_;
    std::unique_ptr<Gdiplus::Graphics> graphics_;
    std::vector<unsigned> savedStates_;
};

} // namespace Brisvane
