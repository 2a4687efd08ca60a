#include "note/TitleButtons.h"

namespace Brisvane {

namespace {

// Centres are real numbers; every coordinate is truncated only at the end.
GlyphPoint at(double x, double y) {
    return {static_cast<int>(x), static_cast<int>(y)};
}

} // namespace

ButtonGlyph plusGlyph(int width, int height) {
    const double w = width, h = height;
    const double cx = w / 2, cy = h / 2;
    const double o = w * 0.25 + 1;
    return {at(o, cy - 1),      at(o, cy + 1),      at(cx - 1, cy + 1), at(cx - 1, h - o),
            at(cx + 1, h - o),  at(cx + 1, cy + 1), at(w - o, cy + 1),  at(w - o, cy - 1),
            at(cx + 1, cy - 1), at(cx + 1, o),      at(cx - 1, o),      at(cx - 1, cy - 1)};
}

ButtonGlyph crossGlyph(int width, int height) {
    const double w = width, h = height;
    const double cx = w / 2, cy = h / 2;
    const double m = (w + 1) * 0.25 + 1.6;
    const double p = static_cast<int>(m);
    const double u = static_cast<int>(h + 1 - m);
    const double q = static_cast<int>(w + 1 - m);
    const double a = width % 2;
    return {at(p - a, p + 1), at(cx - 1, cy),   at(p - a, u - 1), at(p + 1, u + 1),
            at(cx, cy + 1),   at(q - 1, u + 1), at(q + 1, u - 1), at(cx + 2 - a, cy),
            at(q + 1, p + 1), at(q - 1, p - 1), at(cx, cy - 1),   at(p + 1, p - 1)};
}

} // namespace Brisvane
