#include "note/MenuText.h"

namespace Brisvane {

namespace {

struct UndoName {
    const char* key;
    const wchar_t* text;
};

constexpr UndoName undoNames[] = {
    {"menu.text.undoName.typing", L"Typing"},
    {"menu.text.undoName.delete", L"Delete"},
    {"menu.text.undoName.dragDrop", L"Drag and Drop"},
    {"menu.text.undoName.cut", L"Cut"},
    {"menu.text.undoName.paste", L"Paste"},
    {"menu.text.undoName.autoTable", L"Auto table"},
};

} // namespace

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

const char* undoNameKey(int code) {
    return code >= 1 && code <= 6 ? undoNames[code - 1].key : "";
}

const wchar_t* undoNameText(int code) {
    return code >= 1 && code <= 6 ? undoNames[code - 1].text : L"";
}

} // namespace Brisvane
