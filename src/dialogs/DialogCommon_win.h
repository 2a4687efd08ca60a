#pragma once
// What every dialog procedure does with its window: the application object it
// was opened with, its state object, and texts from the language table.
#include <memory>
#include <string>
#include <string_view>

#include <windows.h>

namespace Brisvane {

class DialogHost;

// A dialog's state lives in DWLP_USER from WM_INITDIALOG to WM_NCDESTROY.
template <typename State> State* dialogState(HWND dialog) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(dialog, DWLP_USER));
}
template <typename State> void attachState(HWND dialog, std::unique_ptr<State> state) {
    SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state.release()));
}
template <typename State> void releaseState(HWND dialog) {
    std::unique_ptr<State> state(dialogState<State>(dialog));
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
}

// Sets a control's (or with id 0 the caption's) text from the language table,
// with an access key when `key` is given.
void setDialogText(HWND dialog, int id, const DialogHost& app, std::string_view textKey,
                   std::wstring_view english, wchar_t key = 0);

// A window's whole text.
std::wstring windowText(HWND window);

} // namespace Brisvane
