// The notification-area icon: added at start, again when the shell restarts,
// removed at the end; and the notifications it shows.
#include <shellapi.h>

#include "app/TackaroonNotes_win.h"

namespace Brisvane {

void TackaroonNotes::addTrayIcon() {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = mainWindow;
    icon.uID = trayIconId;
    // With version 4 the tip shows on hover only when asked for.
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
    icon.uCallbackMessage = WM_TRAYICON;
    icon.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(smallIconId));
    lstrcpynW(icon.szTip, applicationTitle, ARRAYSIZE(icon.szTip));
    Shell_NotifyIconW(NIM_ADD, &icon);
    // Version 4 lets the icon take the keyboard (Win+B, arrows, Enter, Space,
    // Shift+F10) and reports the icon's place with every event.
    icon.uVersion = NOTIFYICON_VERSION_4;
    Shell_NotifyIconW(NIM_SETVERSION, &icon);
}

void TackaroonNotes::removeTrayIcon() {
    if (!mainWindow) {
        return;
    }
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = mainWindow;
    icon.uID = trayIconId;
    Shell_NotifyIconW(NIM_DELETE, &icon);
}

void TackaroonNotes::showNotification(const std::wstring& text, const std::wstring& noteGuid,
                                      const std::wstring& title, bool warning) {
    if (!mainWindow) {
        return;
    }
    notifiedGuid_ = noteGuid;
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = mainWindow;
    icon.uID = trayIconId;
    // Without NIF_SHOWTIP a version-4 icon loses its hover tip with any change.
    icon.uFlags = NIF_INFO | NIF_SHOWTIP;
    icon.dwInfoFlags = warning ? NIIF_WARNING : NIIF_INFO | NIIF_RESPECT_QUIET_TIME;
    lstrcpynW(icon.szInfoTitle, title.empty() ? applicationTitle : title.c_str(),
              ARRAYSIZE(icon.szInfoTitle));
    lstrcpynW(icon.szInfo, text.c_str(), ARRAYSIZE(icon.szInfo));
    Shell_NotifyIconW(NIM_MODIFY, &icon);
}

} // namespace Brisvane
