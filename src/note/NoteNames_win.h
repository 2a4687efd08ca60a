#pragma once
// The sticky's parts named for screen readers: through the accessible wrapper
// for roles, and as window text where that text is not the part's content.
#include <string>

#include <windows.h>

#include "note/NoteCommands.h"

namespace Brisvane {

class Note;

class NoteNames {
public:
    explicit NoteNames(Note& note) : note_(note) {}
    NoteNames(const NoteNames&) = delete;
    NoteNames& operator=(const NoteNames&) = delete;

    std::wstring partName(NoteRole role) const;
    // WM_GETOBJECT; true when answered.
    bool accessibleObject(HWND hwnd, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void nameWindows();
    // The sticky's own name follows its title.
    void renewStickyName();

private:
    Note& note_;
};

} // namespace Brisvane
