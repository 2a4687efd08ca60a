// The version information: fixed name, version and author, and two links.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "base/ProgramName.h"
#include "base/Version.h"
#include "dialogs/DialogHost_win.h"
#include "dialogs/DialogCommon_win.h"
#include "dialogs/DialogIds.h"
#include "dialogs/Dialogs_win.h"

namespace Brisvane {

namespace {

constexpr wchar_t authorText[] = L"Brisvane Software";
constexpr wchar_t siteAddress[] = L"https://brisvane.example/tackaroon-notes/";
constexpr wchar_t mailAddress[] = L"support@brisvane.example";

void setLink(HWND dialog, int id, const std::wstring& target, const std::wstring& shown) {
    std::wstring markup = L"<a href=\"" + target + L"\">" + shown + L"</a>";
    SetDlgItemTextW(dialog, id, markup.c_str());
}

void initialize(HWND dialog, const DialogHost& app) {
    setDialogText(dialog, 0, app, "dialog.versionInfo.title", L"Version information");
    setDialogText(dialog, IDC_VERSION_NAME_LABEL, app, "dialog.versionInfo.appName", L"Application name:");
    setDialogText(dialog, IDC_VERSION_VERSION_LABEL, app, "dialog.versionInfo.version", L"Version:");
    setDialogText(dialog, IDC_VERSION_AUTHOR_LABEL, app, "dialog.versionInfo.author", L"Author:");
    setDialogText(dialog, IDC_VERSION_SITE_LABEL, app, "dialog.versionInfo.siteURL", L"Site URL:");
    setDialogText(dialog, IDC_VERSION_MAIL_LABEL, app, "dialog.versionInfo.mailAddress", L"Mail address:");
    setDialogText(dialog, IDOK, app, "dialog.ok", L"OK");
    SetDlgItemTextW(dialog, IDC_VERSION_NAME, applicationTitle);
    SetDlgItemTextW(dialog, IDC_VERSION_VERSION, versionText);
    SetDlgItemTextW(dialog, IDC_VERSION_AUTHOR, authorText);
    setLink(dialog, IDC_VERSION_SITE, siteAddress, siteAddress);
    setLink(dialog, IDC_VERSION_MAIL, std::wstring(L"mailto:") + mailAddress, mailAddress);
}

} // namespace

INT_PTR CALLBACK versionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initialize(dialog, *reinterpret_cast<const DialogHost*>(lParam));
        // On OK rather than in a value field, whose text would show selected.
        SetFocus(GetDlgItem(dialog, IDOK));
        return FALSE;
    case WM_NOTIFY: {
        auto* link = reinterpret_cast<NMLINK*>(lParam);
        bool activated = link->hdr.code == NM_CLICK || link->hdr.code == NM_RETURN;
        bool ours = link->hdr.idFrom == IDC_VERSION_SITE || link->hdr.idFrom == IDC_VERSION_MAIL;
        if (activated && ours && link->item.iLink == 0) {
            ShellExecuteW(nullptr, L"open", link->item.szUrl, nullptr, nullptr, SW_SHOW);
            return TRUE;
        }
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace Brisvane
