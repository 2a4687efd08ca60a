// Links of the body opened from the keyboard, through the same question a
// click on a link asks.
#include "note/NoteKeyboard_win.h"

#include "note/LinkAtCaret.h"
#include "note/LinkTarget.h"
#include "note/NoteHost_win.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"

namespace Brisvane {

namespace {

// Text read on each side of the caret: far longer than any link.
constexpr long linkReach = 2048;

} // namespace

bool NoteKeyboard::openBodyLink(long cpMin, long cpMax) {
    return openLinkAt(note_.bodyEdit, cpMin, cpMax, [this](const std::wstring& target) {
        const std::wstring question =
            note_.app ? note_.app->lookupText(linkQuestionKey, linkQuestion) : linkQuestion;
        return askToOpenLink(note_.window, target, question);
    });
}

bool NoteKeyboard::openLinkAtCaret() {
    if (!note_.bodyEdit) {
        return false;
    }
    CHARRANGE selection{};
    SendMessageW(note_.bodyEdit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    // Without detection only text the body marks as a link counts.
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_LINK;
    SendMessageW(note_.bodyEdit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    const bool marked = (format.dwMask & CFM_LINK) && (format.dwEffects & CFE_LINK);
    if (!marked && !booleanAt(note_.document.json, {"text", "autoDetectURL"}, true)) {
        return false;
    }
    const long caret = selection.cpMin;
    const long from = caret > linkReach ? caret - linkReach : 0;
    const std::optional<std::wstring> around = rangeText(note_.bodyEdit, from, caret + linkReach);
    if (!around) {
        return false;
    }
    const std::optional<TextSpan> link = linkAround(*around, static_cast<std::size_t>(caret - from));
    if (!link) {
        return false;
    }
    // The Enter's character must not reach the body while the question is up or after it.
    const HWND focus = GetFocus();
    MSG pending{};
    if (PeekMessageW(&pending, focus, WM_CHAR, WM_CHAR, PM_NOREMOVE) &&
        (pending.wParam == L'\r' || pending.wParam == L'\n')) {
        PeekMessageW(&pending, focus, WM_CHAR, WM_CHAR, PM_REMOVE);
    }
    openBodyLink(from + static_cast<long>(link->start), from + static_cast<long>(link->end));
    return true;
}

} // namespace Brisvane
