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

D2DCanvas::D2DCanvas(ComPtr<ID2D1Factory1> factory, ComPtr<ID2D1RenderTarget> target)
    : factory_(std::move(factory)), target_(std::move(target)) {}

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
    if (FAILED(factory_->CreatePathGeometry(&geometry)) || FAILED(geometry->Open(&sink)) ||
        FAILED(geometryOf(shape)->Widen(width, nullptr, nullptr, 0.25f, sink.Get())) ||
        FAILED(sink->Close())) {
        return nullptr;
    }
    return wrap(geometry);
}

std::shared_ptr<Shape> D2DCanvas::makeEraseMask(const RectF& bounds,
                                                const std::vector<const Shape*>& erased) {
    ComPtr<ID2D1Geometry> erasedUnion;
    for (const Shape* shape : erased) {
        if (!erasedUnion) {
            erasedUnion = geometryOf(*shape);
            continue;
        }
        ComPtr<ID2D1PathGeometry> combined;
        ComPtr<ID2D1GeometrySink> sink;
        if (FAILED(factory_->CreatePathGeometry(&combined)) || FAILED(combined->Open(&sink)) ||
            FAILED(erasedUnion->CombineWithGeometry(geometryOf(*shape), D2D1_COMBINE_MODE_UNION, nullptr,
                                                    0.0f, sink.Get())) ||
            FAILED(sink->Close())) {
            return nullptr;
        }
        erasedUnion = combined;
    }
    ComPtr<ID2D1RectangleGeometry> area;
    if (FAILED(factory_->CreateRectangleGeometry({bounds.left, bounds.top, bounds.right, bounds.bottom},
                                                 &area))) {
        return nullptr;
    }
    if (!erasedUnion) {
        return wrap(area);
    }
    ComPtr<ID2D1PathGeometry> mask;
    ComPtr<ID2D1GeometrySink> sink;
    if (FAILED(factory_->CreatePathGeometry(&mask)) || FAILED(mask->Open(&sink)) ||
        FAILED(
            area->CombineWithGeometry(erasedUnion.Get(), D2D1_COMBINE_MODE_EXCLUDE, nullptr, sink.Get())) ||
        FAILED(sink->Close())) {
        return nullptr;
    }
    return wrap(mask);
}

std::shared_ptr<Brush> D2DCanvas::makeBrush(const ColourF& colour, float opacity) {
    auto brush = std::make_shared<D2DBrush>();
    if (FAILED(target_->CreateSolidColorBrush(D2D1::ColorF(colour.r, colour.g, colour.b, opacity),
                                              &brush->brush))) {
        return nullptr;
    }
    return brush;
}

bool D2DCanvas::beginDraw() {
    target_->BeginDraw();
    target_->Clear(D2D1::ColorF(0, 0, 0, 0));
    return true;
}

void D2DCanvas::setTranslation(float dx, float dy) {
    target_->SetTransform(D2D1::Matrix3x2F::Translation(dx, dy));
}

void D2DCanvas::pushMask(const Shape& mask) {
    ComPtr<ID2D1Layer> layer;
    target_->CreateLayer(nullptr, &layer);
    target_->PushLayer(D2D1::LayerParameters(D2D1::RectF(-FLT_MAX, -FLT_MAX, FLT_MAX, FLT_MAX),
                                             geometryOf(mask), D2D1_ANTIALIAS_MODE_PER_PRIMITIVE,
                                             D2D1::IdentityMatrix(), 1.0f, nullptr, D2D1_LAYER_OPTIONS_NONE),
                       layer.Get());
}

void D2DCanvas::popMask() {
    target_->PopLayer();
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

bool D2DCanvas::endDraw() {
    if (target_->EndDraw() == static_cast<HRESULT>(D2DERR_RECREATE_TARGET)) {
        return false;
    }
    return !present || present();
}

} // namespace Brisvane
