#include "dialogs/DialogCommon_win.h"

#include "dialogs/DialogHost_win.h"
#include "dialogs/DialogText.h"

namespace Brisvane {

void setDialogText(HWND dialog, int id, const DialogHost& app, std::string_view textKey,
                   std::wstring_view english, wchar_t key) {
    std::wstring text = app.lookupText(textKey, english);
    if (key != 0) {
        text = withMnemonic(text, key);
    }
    SetWindowTextW(id == 0 ? dialog : GetDlgItem(dialog, id), text.c_str());
}

std::wstring windowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

} // namespace Brisvane
