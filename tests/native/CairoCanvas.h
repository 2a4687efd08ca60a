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

struct CairoMask : Shape {
    RectF bounds;
    std::vector<CairoShape> erased;
};

struct CairoBrush : Brush {
    ColourF colour;
    float opacity = 1;
};

class CairoCanvas : public Canvas {
public:
    CairoCanvas(int width, int height)
        : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
          cr_(cairo_create(surface_)) {}
    ~CairoCanvas() override {
        cairo_destroy(cr_);
        cairo_surface_destroy(surface_);
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
    std::shared_ptr<Shape> makeEraseMask(const RectF& bounds,
                                         const std::vector<const Shape*>& erased) override {
        auto mask = std::make_shared<CairoMask>();
        mask->bounds = bounds;
        for (const Shape* shape : erased) {
            mask->erased.push_back(static_cast<const CairoShape&>(*shape));
        }
        ++masksMade;
        return mask;
    }
    std::shared_ptr<Brush> makeBrush(const ColourF& colour, float opacity) override {
        auto brush = std::make_shared<CairoBrush>();
        brush->colour = colour;
        brush->opacity = opacity;
        return brush;
    }

    bool beginDraw() override {
        cairo_identity_matrix(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
        cairo_paint(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
        return true;
    }
    void setTranslation(float dx, float dy) override {
        cairo_identity_matrix(cr_);
        cairo_translate(cr_, dx, dy);
    }
    void pushMask(const Shape& mask) override {
        masks_.push_back(&static_cast<const CairoMask&>(mask));
        cairo_push_group(cr_);
    }
    void popMask() override {
        const CairoMask* mask = masks_.back();
        masks_.pop_back();
        cairo_pattern_t* content = cairo_pop_group(cr_);
        // The mask: its rectangle opaque, every erased shape taken out of it.
        cairo_push_group_with_content(cr_, CAIRO_CONTENT_ALPHA);
        cairo_rectangle(cr_, mask->bounds.left, mask->bounds.top, mask->bounds.right - mask->bounds.left,
                        mask->bounds.bottom - mask->bounds.top);
        cairo_set_source_rgba(cr_, 0, 0, 0, 1);
        cairo_fill(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_DEST_OUT);
        for (const CairoShape& shape : mask->erased) {
            fillShape(shape);
        }
        cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
        cairo_pattern_t* alpha = cairo_pop_group(cr_);
        cairo_set_source(cr_, content);
        cairo_mask(cr_, alpha);
        cairo_pattern_destroy(alpha);
        cairo_pattern_destroy(content);
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
    bool endDraw() override {
        cairo_surface_flush(surface_);
        return true;
    }

    // Premultiplied 0xAARRGGBB.
    std::uint32_t pixel(int x, int y) const {
        const unsigned char* data = cairo_image_surface_get_data(surface_);
        int stride = cairo_image_surface_get_stride(surface_);
        return *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
    }
    bool allTransparent() const {
        for (int y = 0; y < cairo_image_surface_get_height(surface_); ++y) {
            for (int x = 0; x < cairo_image_surface_get_width(surface_); ++x) {
                if (pixel(x, y) >> 24) {
                    return false;
                }
            }
        }
        return true;
    }

    int masksMade = 0;

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

    cairo_surface_t* surface_;
    cairo_t* cr_;
    std::vector<const CairoMask*> masks_;
};

} // namespace Brisvane::testing
