#pragma once
// Pixel measures for screens of any density. Every measure in the program and
// in the settings is given for a 96-DPI screen; a window on a denser screen
// multiplies it by its DPI / 96.
namespace Brisvane {

inline constexpr int baseDpi = 96;

// The DPI a window reports, or 96 when it reports none (0 or less).
int effectiveDpi(int dpi);

// A 96-DPI measure at `dpi`, rounded to the nearest pixel (halves away from
// zero) and never below `minimum`; saturates at the int range.
int scaleToDpi(int measure, int dpi, int minimum = 0);

// Rich Edit turns twips into pixels at the DPI of its device context (the
// system's); a window on another screen zooms its text by the difference.
// Both 0 means no zoom (the control's own 1:1); otherwise the ratio
// windowDpi / textDpi in lowest terms, kept within what the control accepts
// (1/64 to 64).
struct TextZoom {
    int numerator = 0, denominator = 0;
};
TextZoom textZoom(int windowDpi, int textDpi);

} // namespace Brisvane
