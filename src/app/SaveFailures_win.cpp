// Saves that keep failing (a full disk, files held by another program): the
// notification icon tells the user once, and a close asks before it goes
// without them.
#include <shellapi.h>

#include "app/TackaroonNotes_win.h"

namespace Brisvane {

void TackaroonNotes::tellSavesFailing() {
    if (!mainWindow) {
        return;
    }
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = mainWindow;
    icon.uID = trayIconId;
    icon.uFlags = NIF_INFO;
    icon.dwInfoFlags = NIIF_WARNING;
    lstrcpynW(icon.szInfoTitle, lookupText("saving.failing.title", L"Notes not saved").c_str(),
              ARRAYSIZE(icon.szInfoTitle));
    lstrcpynW(icon.szInfo,
              lookupText("saving.failing.text",
                         L"Some notes could not be saved for a while (the disk may be full, or their files "
                         L"held by another program). Tackaroon notes keeps trying.")
                  .c_str(),
              ARRAYSIZE(icon.szInfo));
    Shell_NotifyIconW(NIM_MODIFY, &icon);
}

bool TackaroonNotes::askToRetrySaves() {
    for (;;) {
        if (saveEverything()) {
            return true;
        }
        modalOpen = true;
        int answer = MessageBoxW(
            nullptr,
            lookupText("saving.atExit.text",
                       L"Some notes could not be saved (the disk may be full, or their files held by another "
                       L"program).\n\nTry again? Choose No to quit without them, or Cancel to keep running.")
                .c_str(),
            lookupText("saving.atExit.title", L"Notes not saved").c_str(),
            MB_YESNOCANCEL | MB_ICONWARNING | MB_SETFOREGROUND);
        modalOpen = false;
        if (answer == IDNO) {
            return true;
        }
        if (answer != IDYES) {
            return false;
        }
    }
}

} // namespace Brisvane
