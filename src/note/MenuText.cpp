#include "note/MenuText.h"

namespace Brisvane {

std::wstring menuItemText(std::wstring_view text, std::wstring_view fallback) {
    std::wstring shown;
    shown.reserve(text.size());
    for (wchar_t c : text.substr(0, maxMenuItemChars)) {
        if (c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f' || c == 0x2028 || c == 0x2029) {
            break; // Rich Edit ends paragraphs with \r and lines with \v
        }
        if (c == L'&') {
            shown += L'&';
        }
        shown += c == L'\t' ? L' ' : c;
    }
    return shown.empty() ? std::wstring(fallback) : shown;
}

} // namespace Brisvane
