#pragma once
// The tips of a sticky's title and buttons, shown by the program's one
// tooltip: the start of the body on a folded title, a reminder's time, the
// buttons' names.
#include <windows.h>

#include <commctrl.h>

namespace Brisvane {

class Note;

class NoteTips {
public:
    explicit NoteTips(Note& note) : note_(note) {}
    NoteTips(const NoteTips&) = delete;
    NoteTips& operator=(const NoteTips&) = delete;

    // After a layout: the tools where the title and buttons are now.
    void renewRects();
    // Takes this sticky's tools out of the program's tooltip.
    void release();
    // TTN_GETDISPINFO for one of the sticky's tools.
    void answer(NMTTDISPINFOW* info);

private:
    // The tooltip's width for a text, measured in the tooltip's device context.
    void fitWidth(const wchar_t* text, int length);

    Note& note_;
    // The folded title's tip, kept while the tooltip shows it.
    wchar_t bodyStart_[128]{};
};

} // namespace Brisvane
