// Program entry: one instance per user, a hidden main window, one message loop.
#include <windows.h>

#include "app/SingleInstance_win.h"
#include "app/TackaroonNotes_win.h"
#include "storage/File_win.h"

using namespace Brisvane;

namespace {

// The one application object; its destructor runs the shutdown sequence once
// more at process end.
TackaroonNotes application(dataFolder());

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    if (!acquireSingleInstance()) {
        return 0;
    }
    TackaroonNotes::registerMainWindowClass(instance);
    if (!application.createMainWindow(instance)) {
        // Without its window (no display driver yet, say) the program could
        // neither be reached nor closed: end now and free the mutex.
        releaseSingleInstance();
        return 1;
    }
    if (!application.startUp()) {
        // Without the edit control no sticky can show: say so and end, freeing
        // the single-instance mutex, rather than run on invisibly.
        MessageBoxW(nullptr,
                    application
                        .lookupText("dialog.richEditMissing.text",
                                    L"Tackaroon notes cannot start: the system's rich edit library "
                                    L"(Msftedit.dll) could not be loaded.")
                        .c_str(),
                    applicationTitle, MB_OK | MB_ICONERROR);
        DestroyWindow(application.mainWindow);
        return 1;
    }
    application.registerForInput();
    // From here on the program ends once its main window goes, leaving the
    // stickies' windows to the system.
    application.endProcessAtExit = true;
    // A user is there to answer when saves fail at exit.
    application.interactive = true;

    MSG message{};
    for (bool running = true; running;) {
        // The folder watch reports through an event, taken here on this thread.
        HANDLE watch = application.folderWatchEvent();
        MsgWaitForMultipleObjectsEx(watch ? 1 : 0, &watch, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        application.pollFolderWatch();
        while (running && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            running = message.message != WM_QUIT;
            if (!running ||
                (application.searchDialog && IsDialogMessageW(application.searchDialog, &message))) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // A sticky closed with Alt+F4 ends the loop with the main window still up:
    // take it down now so the shutdown runs while the icon and windows exist.
    if (application.mainWindow) {
        DestroyWindow(application.mainWindow);
    }
    return static_cast<int>(message.wParam);
}
