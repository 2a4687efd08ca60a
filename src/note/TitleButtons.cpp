#include "note/TitleButtons.h"

namespace Brisvane {

namespace {

// Centres are real numbers; every coordinate is truncated only at the end.
GlyphPoint at(double x, double y) {
    return {static_cast<int>(x), static_cast<int>(y)};
}

} // namespace

ButtonGlyph plusGlyph(int width, int height, double unit) {
    const double w = width, h = height;
    const double cx = w / 2, cy = h / 2;
    const double o = w * 0.25 + unit;
    const double s = unit; // half the arms' thickness
    return {at(o, cy - s),      at(o, cy + s),      at(cx - s, cy + s), at(cx - s, h - o),
            at(cx + s, h - o),  at(cx + s, cy + s), at(w - o, cy + s),  at(w - o, cy - s),
            at(cx + s, cy - s), at(cx + s, o),      at(cx - s, o),      at(cx - s, cy - s)};
}

ButtonGlyph crossGlyph(int width, int height, double unit) {
    const double w = width, h = height;
    const double cx = w / 2, cy = h / 2;
    const double m = (w + 1) * 0.25 + 1.6 * unit;
    const double p = static_cast<int>(m);
    const double u = static_cast<int>(h + 1 - m);
    const double q = static_cast<int>(w + 1 - m);
    const double a = width % 2;
    const double s = unit; // half the arms' thickness
    return {at(p - a, p + s), at(cx - s, cy),   at(p - a, u - s), at(p + s, u + s),
            at(cx, cy + s),   at(q - s, u + s), at(q + s, u - s), at(cx + 2 * s - a, cy),
            at(q + s, p + s), at(q - s, p - s), at(cx, cy - s),   at(p + s, p - s)};
}

} // namespace Brisvane
