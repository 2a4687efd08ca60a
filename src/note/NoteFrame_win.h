#pragma once
// The sticky window's own messages: the resize edges, moving, sizing,
// activation, painting and the notifications of its children.
#include <windows.h>

namespace Brisvane {

class Note;

class NoteFrame {
public:
    explicit NoteFrame(Note& note) : note_(note) {}
    NoteFrame(const NoteFrame&) = delete;
    NoteFrame& operator=(const NoteFrame&) = delete;

    // The top-level window's messages.
    LRESULT message(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Sizing cursors and the system's resize loop for the edges of any of the
    // sticky's windows; true when handled.
    bool handleResizeZone(HWND hwnd, UINT message, LPARAM lParam, bool locked, LRESULT& result);

private:
    LRESULT notify(NMHDR* header);

    Note& note_;
};

} // namespace Brisvane
