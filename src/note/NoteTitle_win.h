#pragma once
// The title bar's handlers: the new and trash buttons and the title edit.
#include <windows.h>

namespace Brisvane {

class Note;

class NoteTitle {
public:
    explicit NoteTitle(Note& note) : note_(note) {}
    NoteTitle(const NoteTitle&) = delete;
    NoteTitle& operator=(const NoteTitle&) = delete;

    // Button 0 is the new button, 1 the trash button.
    LRESULT buttonMessage(HWND hwnd, int index, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT titleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    Note& note_;
};

} // namespace Brisvane
