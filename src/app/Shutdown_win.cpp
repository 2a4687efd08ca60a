// The end of a run: what must be written and given back before the process
// may end, the program's own quick end, and the whole shutdown that also takes
// every sticky down (the destructor, application objects run inside tests).
#include <windows.h>

#include <objbase.h>
#include <ole2.h>

#include "app/SingleInstance_win.h"
#include "app/TackaroonNotes_win.h"

namespace Brisvane {

void TackaroonNotes::shutDown() {
    finishRun();
    destroyGroups();
    if (comInitialized_) {
        CoUninitialize();
        comInitialized_ = false;
    }
}

void TackaroonNotes::finishRun() {
    if (searchDialog) {
        DestroyWindow(searchDialog);
        searchDialog = nullptr;
    }
    // Only what this run loaded is saved and purged: a run that stopped before
    // reading its settings (a second launch, no edit library) touches no file.
    if (initialized) {
        saveEverything();
    }
    folderWatch_.stop();
    stopQuickAccess();
    clearPendingSaves();
    // Before the stickies: none of them then takes its tools out of it one by one.
    sharedTooltip.destroy();
    purgeExpiredTrash();
    // Run once more by the destructor, the sequence then finds nothing to do.
    initialized = false;
    settingsRead_ = false;
    removeTrayIcon();
    if (displayNotification_) {
        UnregisterPowerSettingNotification(displayNotification_);
        displayNotification_ = nullptr;
    }
}

void TackaroonNotes::endProcess() {
    finishRun();
    releaseSingleInstance();
    // What was copied from a sticky stays on the clipboard: the formats it
    // renders only when asked are rendered now, as taking its window down would.
    OleFlushClipboard();
    HWND owner = GetClipboardOwner();
    DWORD ownerProcess = 0;
    if (owner && GetWindowThreadProcessId(owner, &ownerProcess) && ownerProcess == GetCurrentProcessId()) {
        SendMessageW(owner, WM_RENDERALLFORMATS, 0, 0);
    }
    // Every file is written and closed, the icon gone: the system takes the
    // thousands of windows down with the process, at once, rather than one by one.
    ExitProcess(0);
}

} // namespace Brisvane
