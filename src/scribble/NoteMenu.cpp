#include "scribble/NoteMenu.h"

#include <cstdio>

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

std::wstring strokeWidthLabel(float width) {
    wchar_t text[64];
    std::swprintf(text, 64, L"%f", static_cast<double>(width));
    std::wstring label = text;
    size_t point = label.find(L'.');
    if (point != std::wstring::npos && point + 3 < label.size()) {
        label.resize(point + 3);
    }
    return label + L" px";
}

const char* undoNameKey(int code) {
    return code >= 1 && code <= 6 ? undoNames[code - 1].key : "";
}

const wchar_t* undoNameText(int code) {
    return code >= 1 && code <= 6 ? undoNames[code - 1].text : L"";
}

} // namespace Brisvane
