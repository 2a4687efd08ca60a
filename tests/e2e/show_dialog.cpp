// Opens one dialog of the program on the data folder beside this executable,
// as the notification-area menu does, so that a screenshot can be taken of it.
// Usage: show_dialog.exe 108|112|114|116
#include <cwchar>

#include <windows.h>

#include "app/TackaroonNotes_win.h"
#include "dialogs/Dialogs_win.h"
#include "storage/File_win.h"

using namespace Brisvane;

int wmain(int argc, wchar_t** argv) {
    int id = argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 0;
    DLGPROC procedure = id == generalSettingsDialogId ? generalSettingsDialogProc
                        : id == versionDialogId       ? versionDialogProc
                        : id == searchDialogId        ? searchDialogProc
                        : id == groupManagerDialogId  ? groupManagerDialogProc
                                                      : nullptr;
    if (procedure == nullptr) {
        return 2;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    TackaroonNotes app(dataFolder());
    TackaroonNotes::registerMainWindowClass(instance);
    app.createMainWindow(instance);
    app.startUp();
    if (id == searchDialogId) {
        app.searchDialog =
            CreateDialogParamW(instance, MAKEINTRESOURCEW(id), nullptr, procedure, dialogParameter(app));
        ShowWindow(app.searchDialog, SW_SHOW);
        MSG message;
        while (app.searchDialog && GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (!IsDialogMessageW(app.searchDialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    } else {
        DialogBoxParamW(instance, MAKEINTRESOURCEW(id), nullptr, procedure, dialogParameter(app));
    }
    DestroyWindow(app.mainWindow);
    return 0;
}
