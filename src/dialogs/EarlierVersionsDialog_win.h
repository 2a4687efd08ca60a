#pragma once
// The "Earlier versions" dialog of a sticky: its versions listed newest first
// with a formatted preview. It only chooses; the application restores or
// opens what was chosen once the dialog is closed.
#include <string>

#include <windows.h>

#include "dialogs/DialogHost_win.h"
#include "dialogs/DialogIds.h"

namespace Brisvane {

inline constexpr int earlierVersionsDialogId = 122;

// The creation parameter. The dialog ends with IDC_HISTORY_RESTORE or
// IDC_HISTORY_OPEN and the chosen entry's name, or with IDCANCEL.
struct EarlierVersionsRequest {
    DialogHost* host = nullptr;
    std::wstring folder; // the data folder
    std::wstring noteGuid;
    std::wstring chosen;
};

INT_PTR CALLBACK earlierVersionsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace Brisvane
