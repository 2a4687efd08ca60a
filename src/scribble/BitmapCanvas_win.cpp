#include "scribble/BitmapCanvas_win.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include <objidl.h>
// The GDI+ headers use min and max unqualified.
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

namespace Brisvane {

namespace {

using Gdiplus::GraphicsPath;
using Gdiplus::Region;

struct PlusShape : Shape {
    std::unique_ptr<GraphicsPath> path;
    std::unique_ptr<Region> region; // masks only
};

struct PlusBrush : Brush {
    Gdiplus::Color colour;
    std::unique_ptr<Gdiplus::SolidBrush> brush;
};

Gdiplus::PointF toPlus(PointF p) {
    return {p.x, p.y};
}

BYTE channel(float value) {
    return static_cast<BYTE>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

} // namespace

GdiplusSession::GdiplusSession(GdiplusSession&& other) noexcept : token_(std::exchange(other.token_, 0)) {}

GdiplusSession& GdiplusSession::operator=(GdiplusSession&& other) noexcept {
    std::swap(token_, other.token_);
    return *this;
}

GdiplusSession::~GdiplusSession() {
    if (token_) {
        Gdiplus::GdiplusShutdown(token_);
    }
}

GdiplusSession GdiplusSession::start() {
    GdiplusSession session;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&session.token_, &input, nullptr) != Gdiplus::Ok) {
        session.token_ = 0;
    }
    return session;
}

BitmapCanvas::BitmapCanvas(void* pixels, int width, int height)
    : pixels_(pixels), width_(width), height_(height),
      bitmap_(std::make_unique<Gdiplus::Bitmap>(width, height, width * 4, PixelFormat32bppPARGB,
                                                static_cast<BYTE*>(pixels))),
      graphics_(std::make_unique<Gdiplus::Graphics>(bitmap_.get())) {
    graphics_->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    graphics_->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
}

BitmapCanvas::~BitmapCanvas() = default;

std::shared_ptr<Shape> BitmapCanvas::makeShape(const Path& path) {
    auto shape = std::make_shared<PlusShape>();
    shape->path = std::make_unique<GraphicsPath>(Gdiplus::FillModeWinding);
    GraphicsPath& out = *shape->path;
    PointF last;
    for (const PathSegment& s : path) {
        switch (s.kind) {
        case SegmentKind::move:
            out.StartFigure();
            last = s.p[0];
            break;
        case SegmentKind::line:
            out.AddLine(toPlus(last), toPlus(s.p[0]));
            last = s.p[0];
            break;
        case SegmentKind::quadratic: {
            // The cubic through the same curve: control points two thirds toward the quadratic's.
            auto twoThirds = [](PointF from, PointF to) {
                return Gdiplus::PointF{from.x + 2.0f / 3 * (to.x - from.x),
                                       from.y + 2.0f / 3 * (to.y - from.y)};
            };
            out.AddBezier(toPlus(last), twoThirds(last, s.p[0]), twoThirds(s.p[1], s.p[0]), toPlus(s.p[1]));
            last = s.p[1];
            break;
        }
        case SegmentKind::cubic:
            out.AddBezier(toPlus(last), toPlus(s.p[0]), toPlus(s.p[1]), toPlus(s.p[2]));
            last = s.p[2];
            break;
        case SegmentKind::close:
            out.CloseFigure();
            break;
        }
    }
    return out.GetLastStatus() == Gdiplus::Ok ? shape : nullptr;
}

std::shared_ptr<Shape> BitmapCanvas::widen(const Shape& shape, float width) {
    auto widened = std::make_shared<PlusShape>();
    widened->path.reset(static_cast<const PlusShape&>(shape).path->Clone());
    // Flat caps and mitred joins, as the pen's defaults are.
    Gdiplus::Pen pen(Gdiplus::Color(255, 0, 0, 0), width);
    if (!widened->path || widened->path->Widen(&pen, nullptr, 0.25f) != Gdiplus::Ok) {
        return nullptr;
    }
    widened->path->SetFillMode(Gdiplus::FillModeWinding);
    return widened;
}

std::shared_ptr<Shape> BitmapCanvas::makeEraseMask(const RectF& bounds,
                                                   const std::vector<const Shape*>& erased) {
    auto mask = std::make_shared<PlusShape>();
    mask->region = std::make_unique<Region>(
        Gdiplus::RectF(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top));
    for (const Shape* shape : erased) {
        if (mask->region->Exclude(static_cast<const PlusShape&>(*shape).path.get()) != Gdiplus::Ok) {
            return nullptr;
        }
    }
    return mask;
}

std::shared_ptr<Brush> BitmapCanvas::makeBrush(const ColourF& colour, float opacity) {
    auto brush = std::make_shared<PlusBrush>();
    brush->colour = Gdiplus::Color(channel(opacity), channel(colour.r), channel(colour.g), channel(colour.b));
    brush->brush = std::make_unique<Gdiplus::SolidBrush>(brush->colour);
    return brush;
}

bool BitmapCanvas::beginDraw() {
    // Far quicker than Graphics::Clear, and exactly transparent black.
    std::memset(pixels_, 0, static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4);
    savedStates_.clear();
    graphics_->ResetClip();
    graphics_->ResetTransform();
    return true;
}

void BitmapCanvas::setTranslation(float dx, float dy) {
    graphics_->ResetTransform();
    graphics_->TranslateTransform(dx, dy);
}

void BitmapCanvas::pushMask(const Shape& mask) {
    savedStates_.push_back(graphics_->Save());
    graphics_->SetClip(static_cast<const PlusShape&>(mask).region.get(), Gdiplus::CombineModeIntersect);
}

void BitmapCanvas::popMask() {
    if (!savedStates_.empty()) {
        graphics_->Restore(savedStates_.back());
        savedStates_.pop_back();
    }
}

void BitmapCanvas::fill(const Shape& shape, const Brush& brush) {
    graphics_->FillPath(static_cast<const PlusBrush&>(brush).brush.get(),
                        static_cast<const PlusShape&>(shape).path.get());
}

void BitmapCanvas::stroke(const Shape& shape, const Brush& brush, float width) {
    Gdiplus::Pen pen(static_cast<const PlusBrush&>(brush).colour, width);
    pen.SetLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapRound, Gdiplus::DashCapRound);
    pen.SetLineJoin(Gdiplus::LineJoinRound);
    graphics_->DrawPath(&pen, static_cast<const PlusShape&>(shape).path.get());
}

bool BitmapCanvas::endDraw() {
    graphics_->Flush(Gdiplus::FlushIntentionSync);
    if (present) {
        present();
    }
    return true;
}

} // namespace Brisvane
