#include "scribble/D2DCanvas_win.h"

#include <cfloat>

using Microsoft::WRL::ComPtr;

namespace Brisvane {

namespace {

struct D2DShape : Shape {
    ComPtr<ID2D1Geometry> geometry;
};

struct D2DBrush : Brush {
    ComPtr<ID2D1SolidColorBrush> brush;
};

struct D2DSurface : Surface {
    ComPtr<ID2D1Bitmap1> bitmap;
};

bool deviceLost(HRESULT result) {
    return result == static_cast<HRESULT>(D2DERR_RECREATE_TARGET) || result == DXGI_ERROR_DEVICE_REMOVED ||
           result == DXGI_ERROR_DEVICE_RESET;
}

D2D1_BITMAP_PROPERTIES1 surfaceProperties(D2D1_BITMAP_OPTIONS options) {
    return D2D1::BitmapProperties1(
        options, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED));
}

D2D1_POINT_2F toD2D(PointF p) {
    return {p.x, p.y};
}

ID2D1Geometry* geometryOf(const Shape& shape) {
    return static_cast<const D2DShape&>(shape).geometry.Get();
}

std::shared_ptr<Shape> wrap(ComPtr<ID2D1Geometry> geometry) {
    if (!geometry) {
        return nullptr;
    }
    auto shape = std::make_shared<D2DShape>();
    shape->geometry = std::move(geometry);
    return shape;
}

} // namespace

D2DCanvas::D2DCanvas(ComPtr<ID2D1Factory1> factory, ComPtr<ID2D1RenderTarget> target, bool keepsFrame)
    : factory_(std::move(factory)), target_(std::move(target)), keepsFrame_(keepsFrame) {
    target_.As(&context_);
}

std::shared_ptr<Shape> D2DCanvas::makeShape(const Path& path) {
    ComPtr<ID2D1PathGeometry> geometry;
    ComPtr<ID2D1GeometrySink> sink;
    if (FAILED(factory_->CreatePathGeometry(&geometry)) || FAILED(geometry->Open(&sink))) {
        return nullptr;
    }
    sink->SetFillMode(D2D1_FILL_MODE_WINDING);
    bool open = false;
    PointF last;
    auto ensureOpen = [&] {
        if (!open) {
            sink->BeginFigure(toD2D(last), D2D1_FIGURE_BEGIN_FILLED);
            open = true;
        }
    };
    for (const PathSegment& s : path) {
        switch (s.kind) {
        case SegmentKind::move:
            if (open) {
                sink->EndFigure(D2D1_FIGURE_END_OPEN);
            }
            last = s.p[0];
            open = false;
            ensureOpen();
            break;
        case SegmentKind::line:
            ensureOpen();
            sink->AddLine(toD2D(s.p[0]));
            last = s.p[0];
            break;
        case SegmentKind::quadratic: {
            ensureOpen();
            D2D1_QUADRATIC_BEZIER_SEGMENT q{toD2D(s.p[0]), toD2D(s.p[1])};
            sink->AddQuadraticBezier(&q);
            last = s.p[1];
            break;
        }
        case SegmentKind::cubic: {
            ensureOpen();
            D2D1_BEZIER_SEGMENT c{toD2D(s.p[0]), toD2D(s.p[1]), toD2D(s.p[2])};
            sink->AddBezier(&c);
            last = s.p[2];
            break;
        }
        case SegmentKind::close:
            if (open) {
                sink->EndFigure(D2D1_FIGURE_END_CLOSED);
                open = false;
            }
            break;
        }
    }
    if (open) {
        sink->EndFigure(D2D1_FIGURE_END_OPEN);
    }
    if (FAILED(sink->Close())) {
        return nullptr;
    }
    return wrap(geometry);
}

std::shared_ptr<Shape> D2DCanvas::widen(const Shape& shape, float width) {
    ComPtr<ID2D1PathGeometry> geometry;
    ComPtr<ID2D1GeometrySink> sink;
    if (FAILED(factory_->CreatePathGeometry(&geometry)) || FAILED(geometry->Open(&sink))) {
        return nullptr;
    }
    // The outline overlaps itself wherever the line turns: only the winding
    // rule fills all of it.
    sink->SetFillMode(D2D1_FILL_MODE_WINDING);
    if (FAILED(geometryOf(shape)->Widen(width, nullptr, nullptr, 0.25f, sink.Get())) ||
        FAILED(sink->Close())) {
        return nullptr;
    }
    return wrap(geometry);
}

std::shared_ptr<Brush> D2DCanvas::makeBrush(const ColourF& colour, float opacity) {
    auto brush = std::make_shared<D2DBrush>();
    if (FAILED(target_->CreateSolidColorBrush(D2D1::ColorF(colour.r, colour.g, colour.b, opacity),
                                              &brush->brush))) {
        return nullptr;
    }
    return brush;
}

std::shared_ptr<Surface> D2DCanvas::makeSurface(int width, int height) {
    auto surface = std::make_shared<D2DSurface>();
    if (!context_ || FAILED(context_->CreateBitmap(
                         D2D1::SizeU(static_cast<UINT32>(width), static_cast<UINT32>(height)), nullptr, 0,
                         surfaceProperties(D2D1_BITMAP_OPTIONS_TARGET), &surface->bitmap))) {
        return nullptr;
    }
    return surface;
}

bool D2DCanvas::beginDraw(Surface* target, const RectI& area) {
    drawingSurface_ = target != nullptr;
    if (drawingSurface_) {
        context_->GetTarget(&frameTarget_);
        context_->SetTarget(static_cast<D2DSurface*>(target)->bitmap.Get());
    }
    target_->BeginDraw();
    target_->SetTransform(D2D1::Matrix3x2F::Identity());
    clip_ = D2D1::RectF(static_cast<float>(area.left), static_cast<float>(area.top),
                        static_cast<float>(area.right), static_cast<float>(area.bottom));
    target_->PushAxisAlignedClip(clip_, D2D1_ANTIALIAS_MODE_ALIASED);
    return true;
}

void D2DCanvas::setTransform(float scale, float dx, float dy) {
    target_->SetTransform(D2D1::Matrix3x2F::Scale(scale, scale) * D2D1::Matrix3x2F::Translation(dx, dy));
}

void D2DCanvas::clear() {
    target_->Clear(D2D1::ColorF(0, 0, 0, 0));
}

void D2DCanvas::drawReplacing(ID2D1Bitmap* bitmap, float dx, float dy) {
    D2D1_MATRIX_3X2_F transform;
    target_->GetTransform(&transform);
    target_->SetTransform(D2D1::Matrix3x2F::Identity());
    const D2D1_SIZE_F size = bitmap->GetSize();
    context_->SetPrimitiveBlend(D2D1_PRIMITIVE_BLEND_COPY);
    target_->DrawBitmap(bitmap, D2D1::RectF(dx, dy, dx + size.width, dy + size.height), 1.0f,
                        D2D1_BITMAP_INTERPOLATION_MODE_NEAREST_NEIGHBOR);
    context_->SetPrimitiveBlend(D2D1_PRIMITIVE_BLEND_SOURCE_OVER);
    target_->SetTransform(transform);
}

void D2DCanvas::copy(const Surface& source) {
    if (context_) {
        drawReplacing(static_cast<const D2DSurface&>(source).bitmap.Get(), 0, 0);
    }
}

void D2DCanvas::scroll(int dx, int dy) {
    ComPtr<ID2D1Image> image;
    ComPtr<ID2D1Bitmap1> current;
    if (!context_ || (context_->GetTarget(&image), FAILED(image.As(&current)))) {
        return;
    }
    const D2D1_SIZE_U size = current->GetPixelSize();
    if (!scratch_ || scratch_->GetPixelSize().width != size.width ||
        scratch_->GetPixelSize().height != size.height) {
        scratch_.Reset();
        if (FAILED(context_->CreateBitmap(size, nullptr, 0, surfaceProperties(D2D1_BITMAP_OPTIONS_NONE),
                                          &scratch_))) {
            return;
        }
    }
    // Pixels are read from a target only with nothing pushed on it.
    target_->PopAxisAlignedClip();
    scratch_->CopyFromRenderTarget(nullptr, target_.Get(), nullptr);
    target_->PushAxisAlignedClip(clip_, D2D1_ANTIALIAS_MODE_ALIASED);
    drawReplacing(scratch_.Get(), static_cast<float>(dx), static_cast<float>(dy));
}

void D2DCanvas::fill(const Shape& shape, const Brush& brush) {
    target_->FillGeometry(geometryOf(shape), static_cast<const D2DBrush&>(brush).brush.Get());
}

void D2DCanvas::stroke(const Shape& shape, const Brush& brush, float width) {
    if (!strokeStyle_) {
        D2D1_STROKE_STYLE_PROPERTIES properties{D2D1_CAP_STYLE_ROUND,
                                                D2D1_CAP_STYLE_ROUND,
                                                D2D1_CAP_STYLE_ROUND,
                                                D2D1_LINE_JOIN_ROUND,
                                                1.0f,
                                                D2D1_DASH_STYLE_SOLID,
                                                0.0f};
        factory_->CreateStrokeStyle(properties, nullptr, 0, &strokeStyle_);
    }
    target_->DrawGeometry(geometryOf(shape), static_cast<const D2DBrush&>(brush).brush.Get(), width,
                          strokeStyle_.Get());
}

void D2DCanvas::erase(const Shape& shape) {
    if (!context_) {
        return;
    }
    if (!transparent_ && FAILED(target_->CreateSolidColorBrush(D2D1::ColorF(0, 0, 0, 0), &transparent_))) {
        return;
    }
    // Copying transparent black clears the shape, its antialiased edge in proportion.
    context_->SetPrimitiveBlend(D2D1_PRIMITIVE_BLEND_COPY);
    target_->FillGeometry(geometryOf(shape), transparent_.Get());
    context_->SetPrimitiveBlend(D2D1_PRIMITIVE_BLEND_SOURCE_OVER);
}

bool D2DCanvas::endDraw(const std::vector<RectI>& changed) {
    target_->PopAxisAlignedClip();
    const HRESULT drawn = target_->EndDraw();
    if (drawingSurface_) {
        context_->SetTarget(frameTarget_.Get());
        frameTarget_.Reset();
    }
    if (deviceLost(drawn)) {
        return false;
    }
    return drawingSurface_ || !present || present(changed);
}

} // namespace Brisvane
