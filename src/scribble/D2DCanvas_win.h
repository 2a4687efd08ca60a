#pragma once
// The drawing interface carried out by Direct2D on any render target: the
// device context of a sticky's swap chain, or a bitmap target.
#include <functional>

#include <d2d1_1.h>
#include <wrl/client.h>

#include "scribble/Canvas.h"

namespace Brisvane {

class D2DCanvas : public Canvas {
public:
    D2DCanvas(Microsoft::WRL::ComPtr<ID2D1Factory1> factory,
              Microsoft::WRL::ComPtr<ID2D1RenderTarget> target);

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

    // Runs after each EndDraw: shows the frame; false when the device was lost.
    std::function<bool()> present;

private:
    Microsoft::WRL::ComPtr<ID2D1Factory1> factory_;
    Microsoft::WRL::ComPtr<ID2D1RenderTarget> target_;
    // Round caps and joins, shared by every outline.
    Microsoft::WRL::ComPtr<ID2D1StrokeStyle> strokeStyle_;
};

} // namespace Brisvane
