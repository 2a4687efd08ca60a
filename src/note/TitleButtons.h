#pragma once
// The glyphs of the two title bar buttons: 12-point outlines, filled with the
// winding rule, in the button's client coordinates. `unit` is the screen's
// DPI / 96: strokes and insets given in pixels grow with it.
#include <array>

namespace Brisvane {

struct GlyphPoint {
    int x = 0, y = 0;
};

using ButtonGlyph = std::array<GlyphPoint, 12>;

// The new-sticky button: a plus sign with arms two pixels thick, a quarter of
// the width plus one pixel in from the sides.
ButtonGlyph plusGlyph(int width, int height, double unit = 1.0);
// The trash button: a diagonal cross. Odd widths shift the left edge by one
// pixel so that the arms stay the same thickness.
ButtonGlyph crossGlyph(int width, int height, double unit = 1.0);

} // namespace Brisvane
