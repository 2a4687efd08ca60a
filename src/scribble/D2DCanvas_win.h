#pragma once
// The drawing interface carried out by Direct2D on any render target: the
// device context of a sticky's swap chain, or a bitmap target. Offscreen
// surfaces, copies and erasing need a device context (Direct2D 1.1).
#include <functional>
#include <vector>

#include <d2d1_1.h>
#include <wrl/client.h>

#include "scribble/Canvas.h"

namespace Brisvane {

class D2DCanvas : public Canvas {
public:
    // `keepsFrame`: whether the target keeps its pixels between redraws (a swap
    // chain's buffers do not).
    D2DCanvas(Microsoft::WRL::ComPtr<ID2D1Factory1> factory, Microsoft::WRL::ComPtr<ID2D1RenderTarget> target,
              bool keepsFrame);

    std::shared_ptr<Shape> makeShape(const Path& path) override;
    std::shared_ptr<Shape> widen(const Shape& shape, float width) override;
    std::shared_ptr<Brush> makeBrush(const ColourF& colour, float opacity) override;
    std::shared_ptr<Surface> makeSurface(int width, int height) override;
    bool keepsFrame() const override { return keepsFrame_; }
    bool beginDraw(Surface* target, const RectI& area) override;
    void setTransform(float scale, float dx, float dy) override;
    void clear() override;
    void copy(const Surface& source) override;
    void scroll(int dx, int dy) override;
    void fill(const Shape& shape, const Brush& brush) override;
    void stroke(const Shape& shape, const Brush& brush, float width) override;
    void erase(const Shape& shape) override;
    bool endDraw(const std::vector<RectI>& changed) override;

    // Runs after each redraw of the frame: shows its changed parts; false when
    // the device was lost.
    std::function<bool(const std::vector<RectI>&)> present;

private:
    // Draws `bitmap` at (dx, dy), replacing what lies under it.
    void drawReplacing(ID2D1Bitmap* bitmap, float dx, float dy);

    Microsoft::WRL::ComPtr<ID2D1Factory1> factory_;
    Microsoft::WRL::ComPtr<ID2D1RenderTarget> target_;
    Microsoft::WRL::ComPtr<ID2D1DeviceContext> context_; // null where Direct2D 1.1 is missing
    bool keepsFrame_;
    // Round caps and joins, shared by every outline.
    Microsoft::WRL::ComPtr<ID2D1StrokeStyle> strokeStyle_;
    Microsoft::WRL::ComPtr<ID2D1SolidColorBrush> transparent_;
    // What a scroll copies the target's pixels through.
    Microsoft::WRL::ComPtr<ID2D1Bitmap1> scratch_;
    // The frame's target while an offscreen surface is drawn on.
    bool drawingSurface_ = false;
    Microsoft::WRL::ComPtr<ID2D1Image> frameTarget_;
    D2D1_RECT_F clip_{};
};

} // namespace Brisvane
