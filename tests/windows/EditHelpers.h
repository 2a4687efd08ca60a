#pragma once
// Reading and setting a Rich Edit control's selection straight through its
// messages, not through the helpers under test.
#include <windows.h>

#include <richedit.h>

namespace Brisvane::testing {

inline void select(HWND edit, long from, long to) {
    CHARRANGE range{from, to};
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

inline CHARRANGE selection(HWND edit) {
    CHARRANGE range{};
    SendMessageW(edit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

inline CHARFORMAT2W selectionFormat(HWND edit) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

} // namespace Brisvane::testing
