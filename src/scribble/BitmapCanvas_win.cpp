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

// Every object holds the session first, so that it ends only after them.
struct PlusShape : Shape {
    std::shared_ptr<GdiplusSession> session;
    std::unique_ptr<GraphicsPath> path;
    // The area an eraser clears, made on first use.
    mutable std::unique_ptr<Region> region;
};

struct PlusBrush : Brush {
    std::shared_ptr<GdiplusSession> session;
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

struct BitmapCanvas::Target {
    Target(std::shared_ptr<GdiplusSession> s, PixelBuffer p)
        : session(std::move(s)), pixels(p),
          bitmap(std::make_unique<Gdiplus::Bitmap>(p.width, p.height, p.width * 4, PixelFormat32bppPARGB,
                                                   static_cast<BYTE*>(p.bits))),
          graphics(std::make_unique<Gdiplus::Graphics>(bitmap.get())) {
        graphics->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics->SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    }
    std::uint32_t* row(int y) const { return static_cast<std::uint32_t*>(pixels.bits) + y * pixels.width; }

    std::shared_ptr<GdiplusSession> session;
    PixelBuffer pixels;
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    std::unique_ptr<Gdiplus::Graphics> graphics;
};

namespace {

struct PlusSurface : Surface {
    std::vector<std::uint32_t> pixels;
    std::unique_ptr<BitmapCanvas::Target> target;
};

} // namespace

GdiplusSession::~GdiplusSession() {
    if (token_) {
        Gdiplus::GdiplusShutdown(token_);
    }
}

std::shared_ptr<GdiplusSession> GdiplusSession::start() {
    auto session = std::make_shared<GdiplusSession>();
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&session->token_, &input, nullptr) != Gdiplus::Ok) {
        session->token_ = 0;
        return nullptr;
    }
    return session;
}

BitmapCanvas::BitmapCanvas(std::shared_ptr<GdiplusSession> session) : session_(std::move(session)) {}

BitmapCanvas::~BitmapCanvas() = default;

void BitmapCanvas::setFrame(PixelBuffer frame) {
    current_ = nullptr;
    frame_ = std::make_unique<Target>(session_, frame);
}

std::shared_ptr<Shape> BitmapCanvas::makeShape(const Path& path) {
    auto shape = std::make_shared<PlusShape>();
    shape->session = session_;
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
    widened->session = session_;
    widened->path.reset(static_cast<const PlusShape&>(shape).path->Clone());
    // Flat caps and mitred joins, as the pen's defaults are.
    Gdiplus::Pen pen(Gdiplus::Color(255, 0, 0, 0), width);
    if (!widened->path || widened->path->Widen(&pen, nullptr, 0.25f) != Gdiplus::Ok) {
        return nullptr;
    }
    widened->path->SetFillMode(Gdiplus::FillModeWinding);
    return widened;
}

std::shared_ptr<Brush> BitmapCanvas::makeBrush(const ColourF& colour, float opacity) {
    auto brush = std::make_shared<PlusBrush>();
    brush->session = session_;
    brush->colour = Gdiplus::Color(channel(opacity), channel(colour.r), channel(colour.g), channel(colour.b));
    brush->brush = std::make_unique<Gdiplus::SolidBrush>(brush->colour);
    return brush;
}

std::shared_ptr<Surface> BitmapCanvas::makeSurface(int width, int height) {
    auto surface = std::make_shared<PlusSurface>();
    surface->pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    surface->target = std::make_unique<Target>(session_, PixelBuffer{surface->pixels.data(), width, height});
    return surface->target->bitmap->GetLastStatus() == Gdiplus::Ok ? surface : nullptr;
}

bool BitmapCanvas::beginDraw(Surface* target, const RectI& area) {
    current_ = target ? static_cast<PlusSurface*>(target)->target.get() : frame_.get();
    if (!current_) {
        return false;
    }
    area_ = {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, current_->pixels.width),
             std::min(area.bottom, current_->pixels.height)};
    current_->graphics->ResetTransform();
    current_->graphics->SetClip(
        Gdiplus::Rect(area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top));
    return true;
}

void BitmapCanvas::setTransform(float scale, float dx, float dy) {
    current_->graphics->ResetTransform();
    current_->graphics->TranslateTransform(dx, dy);
    current_->graphics->ScaleTransform(scale, scale);
}

// The raw pixel operations below are far quicker than their GDI+ equivalents,
// and exact; GDI+ finishes what it drew first.
void BitmapCanvas::clear() {
    current_->graphics->Flush(Gdiplus::FlushIntentionSync);
    for (int y = area_.top; y < area_.bottom; ++y) {
        std::memset(current_->row(y) + area_.left, 0, static_cast<size_t>(area_.right - area_.left) * 4);
    }
}

void BitmapCanvas::copy(const Surface& source) {
    const Target& from = *static_cast<const PlusSurface&>(source).target;
    current_->graphics->Flush(Gdiplus::FlushIntentionSync);
    const int right = std::min(area_.right, from.pixels.width),
              bottom = std::min(area_.bottom, from.pixels.height);
    for (int y = area_.top; y < bottom && right > area_.left; ++y) {
        std::memcpy(current_->row(y) + area_.left, from.row(y) + area_.left,
                    static_cast<size_t>(right - area_.left) * 4);
    }
}

void BitmapCanvas::scroll(int dx, int dy) {
    current_->graphics->Flush(Gdiplus::FlushIntentionSync);
    const int width = current_->pixels.width, height = current_->pixels.height;
    const int from = std::max(0, -dx), to = std::max(0, dx), count = width - std::abs(dx);
    if (count <= 0 || std::abs(dy) >= height) {
        return;
    }
    // Rows are taken in the order that never overwrites one still to be moved.
    for (int i = 0; i < height - std::abs(dy); ++i) {
        const int y = dy > 0 ? height - 1 - i : i;
        std::memmove(current_->row(y) + to, current_->row(y - dy) + from, static_cast<size_t>(count) * 4);
    }
}

void BitmapCanvas::fill(const Shape& shape, const Brush& brush) {
    current_->graphics->FillPath(static_cast<const PlusBrush&>(brush).brush.get(),
                                 static_cast<const PlusShape&>(shape).path.get());
}

void BitmapCanvas::stroke(const Shape& shape, const Brush& brush, float width) {
    Gdiplus::Pen pen(static_cast<const PlusBrush&>(brush).colour, width);
    pen.SetLineCap(Gdiplus::LineCapRound, Gdiplus::LineCapRound, Gdiplus::DashCapRound);
    pen.SetLineJoin(Gdiplus::LineJoinRound);
    current_->graphics->DrawPath(&pen, static_cast<const PlusShape&>(shape).path.get());
}

void BitmapCanvas::erase(const Shape& shape) {
    const auto& plus = static_cast<const PlusShape&>(shape);
    if (!plus.region) {
        plus.region = std::make_unique<Region>(plus.path.get());
    }
    Gdiplus::GraphicsState saved = current_->graphics->Save();
    current_->graphics->SetClip(plus.region.get(), Gdiplus::CombineModeIntersect);
    current_->graphics->Clear(Gdiplus::Color(0, 0, 0, 0));
    current_->graphics->Restore(saved);
}

bool BitmapCanvas::endDraw(const std::vector<RectI>& changed) {
    current_->graphics->Flush(Gdiplus::FlushIntentionSync);
    const bool frame = current_ == frame_.get();
    current_ = nullptr;
    if (frame && present) {
        present(changed);
    }
    return true;
}

} // namespace Brisvane
