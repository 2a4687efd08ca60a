#pragma once
// The body's handler: the Rich Edit of a sticky, subclassed for its keys,
// mouse, focus and paint.
#include <windows.h>

namespace Brisvane {

class Note;

class NoteBody {
public:
    explicit NoteBody(Note& note) : note_(note) {}
    NoteBody(const NoteBody&) = delete;
    NoteBody& operator=(const NoteBody&) = delete;

    LRESULT message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // The body's paint, buffered so that it reaches the screen together with
    // the drawing laid over it, when the drawing is shown that way.
    LRESULT paintWithDrawing(HWND hwnd);

    Note& note_;
};

} // namespace Brisvane
