#pragma once
// What the keyboard alone does to a sticky: its window menu (Alt+Space) with
// moving and sizing by the arrow keys, the menu keys, and links opened from
// the caret.
#include <windows.h>

namespace Brisvane {

class Note;

class NoteKeyboard {
public:
    explicit NoteKeyboard(Note& note) : note_(note) {}
    NoteKeyboard(const NoteKeyboard&) = delete;
    NoteKeyboard& operator=(const NoteKeyboard&) = delete;

    void openWindowMenu();
    void moveByKeyboard(bool size);
    // Shift+F10 or the Menu key on one of the sticky's windows: the menu a
    // right click on the same part opens.
    void contextKey(HWND source);
    // A link of the body opened with the shell, asking first where a click would.
    bool openBodyLink(long cpMin, long cpMax);
    // Enter on a locked sticky, Ctrl+Enter in its body: the link at the caret; false when there is none.
    bool openLinkAtCaret();

private:
    Note& note_;
};

} // namespace Brisvane
