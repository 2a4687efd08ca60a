#pragma once
// A sticky brought forward for the user: unfolded, opaque and out of its
// group's rules while lifted, by "show all" until the next activity, by its
// reminder until a click or Esc in it. And the bell and tip that tell a
// reminder is set.
#include <string>

#include <windows.h>

#include "note/NoteRunState_win.h"

namespace Brisvane {

class Note;

class NoteLift {
public:
    using Lift = NoteRunState::Lift;
    explicit NoteLift(Note& note) : note_(note) {}
    NoteLift(const NoteLift&) = delete;
    NoteLift& operator=(const NoteLift&) = delete;

    void lift(Lift kind);
    // Back to the stored look and the group's rules; after a click the user
    // reads it, so it stays unfolded.
    void drop(bool clicked);
    // Every message of the sticky's windows while a reminder lifts it.
    void noticeInput(UINT message, WPARAM wParam);
    // The small bell at the title's left while a reminder is set, and the
    // reminder's time in the title's tip.
    void showReminderBell();
    LRESULT paintTitleWithBell(HWND title, WPARAM wParam, LPARAM lParam);
    std::wstring reminderTip() const;

private:
    Note& note_;
};

} // namespace Brisvane
