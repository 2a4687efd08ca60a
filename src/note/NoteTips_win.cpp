#include "note/NoteTips_win.h"

#include <algorithm>
#include <string>

#include "note/NoteHost_win.h"
#include "note/Note_win.h"

namespace Brisvane {

namespace {

// The tip text a tooltip takes in its own buffer.
constexpr size_t tipTextLimit = 80;

} // namespace

void NoteTips::renewRects() {
    if (note_.app) {
        note_.app->sharedTooltip.renewRects(note_.window,
                                            {note_.titleEdit, note_.newButton, note_.trashButton});
    }
}

void NoteTips::release() {
    if (note_.app && note_.window) {
        note_.app->sharedTooltip.removeTools(note_.window,
                                             {note_.titleEdit, note_.newButton, note_.trashButton});
    }
}

void NoteTips::answer(NMTTDISPINFOW* info) {
    HWND tool = reinterpret_cast<HWND>(info->hdr.idFrom);
    info->lpszText = info->szText;
    info->szText[0] = L'\0';
    info->hinst = nullptr;
    std::wstring text;
    if (tool == note_.titleEdit) {
        if (note_.folded && !note_.titleEditing) {
            // The folded sticky shows the start of its text as the title's tip.
            GetWindowTextW(note_.bodyEdit, bodyStart_, 128);
            info->lpszText = bodyStart_;
            fitWidth(bodyStart_, 128);
            return;
        }
        text = note_.lifter.reminderTip();
    } else if (tool == note_.newButton) {
        text = note_.app ? note_.app->lookupText("menu.titlebar.new", L"New note") : L"New note";
    } else if (tool == note_.trashButton) {
        text = note_.app ? note_.app->lookupText("menu.titlebar.delete", L"Put note in the trash")
                         : L"Put note in the trash";
    } else {
        return;
    }
    text.resize(std::min(text.size(), tipTextLimit - 1));
    lstrcpynW(info->szText, text.c_str(), static_cast<int>(tipTextLimit));
    fitWidth(info->szText, lstrlenW(info->szText));
}

void NoteTips::fitWidth(const wchar_t* text, int length) {
    ScopedWindowDC dc(note_.tooltip);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text, length, &size);
    SendMessageW(note_.tooltip, TTM_SETMAXTIPWIDTH, 0, size.cx);
}

} // namespace Brisvane
