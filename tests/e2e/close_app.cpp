// Asks a running Tackaroon notes to close, as the system does at log-off or a
// user with a window tool would: WM_CLOSE to its hidden main window.
#include <windows.h>

int wmain() {
    HWND window = FindWindowW(L"TackaroonNotesMainWindowClass", L"Tackaroon notes");
    if (!window) {
        return 2;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (!handle) {
        return 0;
    }
    DWORD waited = WaitForSingleObject(handle, 15000);
    CloseHandle(handle);
    return waited == WAIT_OBJECT_0 ? 0 : 3;
}
