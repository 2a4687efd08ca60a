#pragma once
// A sticky following the density of the screen it is on: its text zoom and
// margins at that DPI, and the DPI its stored position and size belong to.
#include <windows.h>

namespace Brisvane {

class Note;

class NoteDpi {
public:
    explicit NoteDpi(Note& note) : note_(note) {}
    NoteDpi(const NoteDpi&) = delete;
    NoteDpi& operator=(const NoteDpi&) = delete;

    // WM_DPICHANGED: takes the new DPI and the suggested rectangle and lays out again.
    void change(int newDpi, const RECT& suggested);
    // Title and body text drawn at the sticky's DPI rather than the system's.
    void applyTextZoom();
    // The body's side margins from the settings, at the sticky's DPI.
    void applyMargins();
    // Sizes stored at another DPI are scaled to the sticky's before it is made.
    void adoptStored();

private:
    // After a DPI change the stored DPI follows (and, folded, the stored size).
    void keepStored(int oldDpi);

    Note& note_;
};

} // namespace Brisvane
