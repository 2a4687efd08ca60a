#pragma once
// The drawing interface carried out by Cairo on an image surface, so that the
// scribble's rendering can be checked pixel by pixel.
#include <cairo.h>

#include <cstdint>

#include "scribble/Canvas.h"

namespace Brisvane::testing {

struct CairoShape : Shape {
    Path path;
    float widenedBy = 0; // a widened outline: the path stroked this wide
};

struct CairoSurface : Surface {
    explicit CairoSurface(cairo_surface_t* s) : surface(s) {}
    ~CairoSurface() override { cairo_surface_destroy(surface); }
    cairo_surface_t* surface;
};

struct CairoBrush : Brush {
    ColourF colour;
    float opacity = 1;
};

class CairoCanvas : public Canvas {
public:
    CairoCanvas(int width, int height)
        : frame_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)) {}
    ~CairoCanvas() override {
        if (cr_) {
            cairo_destroy(cr_);
        }
    }

    std::shared_ptr<Shape> makeShape(const Path& path) override {
        auto shape = std::make_shared<CairoShape>();
        shape->path = path;
        return shape;
    }
    std::shared_ptr<Shape> widen(const Shape& shape, float width) override {
        auto widened = std::make_shared<CairoShape>(static_cast<const CairoShape&>(shape));
        widened->widenedBy = width;
        return widened;
    }
    std::shared_ptr<Brush> makeBrush(const ColourF& colour, float opacity) override {
        auto brush = std::make_shared<CairoBrush>();
        brush->colour = colour;
        brush->opacity = opacity;
        return brush;
    }
    std::shared_ptr<Surface> makeSurface(int width, int height) override {
        ++surfacesMade;
        return std::make_shared<CairoSurface>(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    }
    bool keepsFrame() const override { return keeps; }

    // Everything is drawn unclipped on a copy of the target, and the area
    // copied back: Cairo's own clipping can round edge pixels differently, where
    // the canvases of the program clip exactly.
    bool beginDraw(Surface* target, const RectI& area) override {
        target_ = target ? static_cast<CairoSurface*>(target)->surface : frame_.surface;
        drawingFrame_ = !target;
        area_ = area;
        if (drawingFrame_ && !keeps) {
            // Like a swap chain's buffer: nothing of the last frame is left.
            cairo_t* spoil = cairo_create(target_);
            cairo_set_source_rgba(spoil, 0.5, 0.25, 0.75, 1);
            cairo_paint(spoil);
            cairo_destroy(spoil);
        }
        scratch_ = cairo_surface_create_similar_image(target_, CAIRO_FORMAT_ARGB32,
                                                      cairo_image_surface_get_width(target_),
                                                      cairo_image_surface_get_height(target_));
        cr_ = cairo_create(scratch_);
        cairo_set_source_surface(cr_, target_, 0, 0);
        cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
        return true;
    }
    void setTransform(float scale, float dx, float dy) override {
        cairo_identity_matrix(cr_);
        cairo_translate(cr_, dx, dy);
        cairo_scale(cr_, scale, scale);
    }
    void clear() override {
        cairo_save(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr_);
        cairo_restore(cr_);
    }
    void copy(const Surface& source) override {
        cairo_save(cr_);
        cairo_identity_matrix(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr_, static_cast<const CairoSurface&>(source).surface, 0, 0);
        cairo_paint(cr_);
        cairo_restore(cr_);
    }
    void scroll(int dx, int dy) override {
        cairo_surface_t* target = scratch_;
        cairo_surface_t* before = cairo_surface_create_similar_image(target, CAIRO_FORMAT_ARGB32,
                                                                     cairo_image_surface_get_width(target),
                                                                     cairo_image_surface_get_height(target));
        cairo_t* copier = cairo_create(before);
        cairo_set_source_surface(copier, target, 0, 0);
        cairo_set_operator(copier, CAIRO_OPERATOR_SOURCE);
        cairo_paint(copier);
        cairo_destroy(copier);
        cairo_save(cr_);
        cairo_identity_matrix(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr_, before, dx, dy);
        cairo_paint(cr_);
        cairo_restore(cr_);
        cairo_surface_destroy(before);
    }
    void fill(const Shape& shape, const Brush& brush) override {
        setSource(brush);
        fillShape(static_cast<const CairoShape&>(shape));
    }
    void stroke(const Shape& shape, const Brush& brush, float width) override {
        setSource(brush);
        tracePath(static_cast<const CairoShape&>(shape).path);
        cairo_set_line_width(cr_, width);
        cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr_);
    }
    void erase(const Shape& shape) override {
        cairo_save(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_DEST_OUT);
        cairo_set_source_rgba(cr_, 0, 0, 0, 1);
        fillShape(static_cast<const CairoShape&>(shape));
        cairo_restore(cr_);
    }
    bool endDraw(const std::vector<RectI>& changed) override {
        cairo_destroy(cr_);
        cr_ = nullptr;
        cairo_t* back = cairo_create(target_);
        cairo_rectangle(back, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top);
        cairo_clip(back);
        cairo_set_source_surface(back, scratch_, 0, 0);
        cairo_set_operator(back, CAIRO_OPERATOR_SOURCE);
        cairo_paint(back);
        cairo_destroy(back);
        cairo_surface_destroy(scratch_);
        scratch_ = nullptr;
        cairo_surface_flush(frame_.surface);
        if (drawingFrame_) {
            shownParts.insert(shownParts.end(), changed.begin(), changed.end());
        }
        return true;
    }

    // Premultiplied 0xAARRGGBB.
    std::uint32_t pixel(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(frame_.surface);
        int stride = cairo_image_surface_get_stride(frame_.surface);
        return *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
    }
    int width() const { return cairo_image_surface_get_width(frame_.surface); }
    int height() const { return cairo_image_surface_get_height(frame_.surface); }
    bool allTransparent() const {
        for (int y = 0; y < height(); ++y) {
            for (int x = 0; x < width(); ++x) {
                if (pixel(x, y) >> 24) {
                    return false;
                }
            }
        }
        return true;
    }

    bool keeps = true;
    int surfacesMade = 0;
    // The parts of the frame shown by each redraw, in order.
    std::vector<RectI> shownParts;

private:
    void setSource(const Brush& brush) {
        const auto& b = static_cast<const CairoBrush&>(brush);
        cairo_set_source_rgba(cr_, b.colour.r, b.colour.g, b.colour.b, b.opacity);
    }
    void tracePath(const Path& path) {
        cairo_new_path(cr_);
        for (const PathSegment& s : path) {
            switch (s.kind) {
            case SegmentKind::move:
                cairo_move_to(cr_, s.p[0].x, s.p[0].y);
                break;
            case SegmentKind::line:
                cairo_line_to(cr_, s.p[0].x, s.p[0].y);
                break;
            case SegmentKind::quadratic: {
                double x0, y0;
                cairo_get_current_point(cr_, &x0, &y0);
                cairo_curve_to(cr_, x0 + 2.0 / 3 * (s.p[0].x - x0), y0 + 2.0 / 3 * (s.p[0].y - y0),
                               s.p[1].x + 2.0 / 3 * (s.p[0].x - s.p[1].x),
                               s.p[1].y + 2.0 / 3 * (s.p[0].y - s.p[1].y), s.p[1].x, s.p[1].y);
                break;
            }
            case SegmentKind::cubic:
                cairo_curve_to(cr_, s.p[0].x, s.p[0].y, s.p[1].x, s.p[1].y, s.p[2].x, s.p[2].y);
                break;
            case SegmentKind::close:
                cairo_close_path(cr_);
                break;
            }
        }
    }
    void fillShape(const CairoShape& shape) {
        tracePath(shape.path);
        if (shape.widenedBy > 0) {
            cairo_set_line_width(cr_, shape.widenedBy);
            cairo_set_line_cap(cr_, CAIRO_LINE_CAP_BUTT);
            cairo_set_line_join(cr_, CAIRO_LINE_JOIN_MITER);
            cairo_stroke(cr_);
        } else {
            cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
            cairo_fill(cr_);
        }
    }

    CairoSurface frame_;
    cairo_surface_t* target_ = nullptr;
    cairo_surface_t* scratch_ = nullptr;
    RectI area_;
    cairo_t* cr_ = nullptr;
    bool drawingFrame_ = false;
};

} // namespace Brisvane::testing
