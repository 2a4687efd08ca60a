#pragma once
// The dialogs the system menu opens. Each procedure takes the application
// object as the dialog's creation parameter, made by dialogParameter.
#include <windows.h>

#include "dialogs/DialogHost_win.h"

namespace Brisvane {

inline constexpr int generalSettingsDialogId = 108;
inline constexpr int versionDialogId = 112;
inline constexpr int searchDialogId = 114;
inline constexpr int groupManagerDialogId = 116;
inline constexpr int reminderDialogId = 120;

// The creation parameter: a DialogHost pointer, whatever class implements it.
inline LPARAM dialogParameter(DialogHost& host) {
    return reinterpret_cast<LPARAM>(&host);
}

INT_PTR CALLBACK generalSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK versionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Modeless: the message loop routes its messages through IsDialogMessageW.
INT_PTR CALLBACK searchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK groupManagerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Its creation parameter is a ReminderRequest (ReminderDialog_win.h).
INT_PTR CALLBACK reminderDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace Brisvane
