// Placeholders until the dialogs are built: a procedure that handles nothing,
// so opening a dialog whose template is not there yet shows nothing.
#include "dialogs/Dialogs_win.h"

namespace Brisvane {

INT_PTR CALLBACK generalSettingsDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
INT_PTR CALLBACK versionDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
INT_PTR CALLBACK searchDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}
INT_PTR CALLBACK groupManagerDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

} // namespace Brisvane
