// The general settings: language, input method, auto-save, trash, font size,
// margins, and the start-up shortcut, which acts at once.
#include <windows.h>

#include <commctrl.h>

#include "dialogs/DialogHost_win.h"
#include "dialogs/DialogCommon_win.h"
#include "dialogs/DialogIds.h"
#include "dialogs/Dialogs_win.h"
#include "dialogs/GeneralSettingsModel.h"
#include "dialogs/HotkeyFields_win.h"
#include "storage/Language.h"
#include "storage/Startup_win.h"

namespace Brisvane {

namespace {

void setSpin(HWND dialog, int spinId, SpinRange range, int value) {
    SendDlgItemMessageW(dialog, spinId, UDM_SETRANGE32, range.low, range.high);
    SendDlgItemMessageW(dialog, spinId, UDM_SETPOS32, 0, value);
}

int spinValue(HWND dialog, int spinId) {
    BOOL failed = FALSE;
    return static_cast<int>(
        SendDlgItemMessageW(dialog, spinId, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
}

bool isChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void showStartupState(HWND dialog, const DialogHost& app) {
    if (isStartupRegistered()) {
        setDialogText(dialog, IDC_SETTINGS_STARTUP, app, "dialog.generalSettings.startup.unregister",
                      L"Unregister for Startup", L'S');
    } else {
        setDialogText(dialog, IDC_SETTINGS_STARTUP, app, "dialog.generalSettings.startup.register",
                      L"Register for Startup", L'S');
    }
}

void fillLanguages(HWND dialog, const DialogHost& app, const std::wstring& current) {
    HWND list = GetDlgItem(dialog, IDC_SETTINGS_LANGUAGE);
    for (const std::wstring& name : languageNames(app.languages)) {
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    // Compared exactly: the list's own search ignores case.
    int count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        int length = static_cast<int>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0));
        std::wstring name(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name.data()));
        name.resize(static_cast<std::size_t>(length));
        if (name == current) {
            SendMessageW(list, CB_SETCURSEL, i, 0);
        }
    }
}

void initialize(HWND dialog, const DialogHost& app) {
    setDialogText(dialog, 0, app, "dialog.generalSettings.title", L"General settings");
    setDialogText(dialog, IDC_SETTINGS_LANGUAGE_FRAME, app, "dialog.generalSettings.language.title",
                  L"Language", L'L');
    setDialogText(dialog, IDC_SETTINGS_IME_FRAME, app, "dialog.generalSettings.ime.title", L"IME");
    setDialogText(dialog, IDC_SETTINGS_IME, app, "dialog.generalSettings.ime.open", L"Turn on IME at startup",
                  L'I');
    setDialogText(dialog, IDC_SETTINGS_AUTOSAVE_FRAME, app, "dialog.generalSettings.autoSave.title",
                  L"Auto save");
    setDialogText(dialog, IDC_SETTINGS_AUTOSAVE, app, "dialog.generalSettings.autoSave.checkBox",
                  L"Auto-save on changes", L'A');
    setDialogText(dialog, IDC_SETTINGS_ELAPSE_UNIT, app, "dialog.generalSettings.autoSave.time",
                  L"seconds after");
    setDialogText(dialog, IDC_SETTINGS_TRASH_FRAME, app, "dialog.generalSettings.trash.title",
                  L"Days to delete sticky from trash", L'D');
    setDialogText(dialog, IDC_SETTINGS_FONT_FRAME, app, "dialog.generalSettings.fontSize.title",
                  L"Default font size", L'F');
    setDialogText(dialog, IDC_SETTINGS_MARGIN_FRAME, app, "dialog.generalSettings.margin.title", L"Margin");
    setDialogText(dialog, IDC_SETTINGS_LEFT_LABEL, app, "dialog.generalSettings.margin.left", L"Left", L'E');
    setDialogText(dialog, IDC_SETTINGS_RIGHT_LABEL, app, "dialog.generalSettings.margin.right", L"Right",
                  L'R');
    setDialogText(dialog, IDC_SETTINGS_STARTUP_FRAME, app, "dialog.generalSettings.startup.title",
                  L"Startup");
    setDialogText(
        dialog, IDC_SETTINGS_STARTUP_TEXT, app, "dialog.generalSettings.startup.explanation",
        L"Registers to startup without using the registry. If you delete this application, a shortcut "
        L"will remain in the startup folder, so please unregister it from this setting before deleting "
        L"the application, or manually delete the shortcut from the folder.");
    setDialogText(dialog, IDOK, app, "dialog.ok", L"OK");
    setDialogText(dialog, IDCANCEL, app, "dialog.cancel", L"Cancel");
    showStartupState(dialog, app);

    GeneralSettingsValues values = readGeneralSettings(app);
    fillLanguages(dialog, app, values.language);
    CheckDlgButton(dialog, IDC_SETTINGS_IME, values.imeOpen ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_SETTINGS_AUTOSAVE, values.autoSave ? BST_CHECKED : BST_UNCHECKED);
    setSpin(dialog, IDC_SETTINGS_ELAPSE_SPIN, autoSaveRange, values.autoSaveSeconds);
    setSpin(dialog, IDC_SETTINGS_TRASH_SPIN, trashRange, values.trashDays);
    setSpin(dialog, IDC_SETTINGS_FONT_SPIN, fontSizeRange, values.fontSize);
    setSpin(dialog, IDC_SETTINGS_LEFT_SPIN, marginRange, values.marginLeft);
    setSpin(dialog, IDC_SETTINGS_RIGHT_SPIN, marginRange, values.marginRight);
    initHotkeyFields(dialog, app);
}

GeneralSettingsValues chosenValues(HWND dialog) {
    GeneralSettingsValues values;
    int selected = static_cast<int>(SendDlgItemMessageW(dialog, IDC_SETTINGS_LANGUAGE, CB_GETCURSEL, 0, 0));
    if (selected != CB_ERR) {
        int length = static_cast<int>(
            SendDlgItemMessageW(dialog, IDC_SETTINGS_LANGUAGE, CB_GETLBTEXTLEN, selected, 0));
        values.language.assign(static_cast<std::size_t>(length) + 1, L'\0');
        SendDlgItemMessageW(dialog, IDC_SETTINGS_LANGUAGE, CB_GETLBTEXT, selected,
                            reinterpret_cast<LPARAM>(values.language.data()));
        values.language.resize(static_cast<std::size_t>(length));
    }
    values.imeOpen = isChecked(dialog, IDC_SETTINGS_IME);
    values.autoSave = isChecked(dialog, IDC_SETTINGS_AUTOSAVE);
    values.autoSaveSeconds = spinValue(dialog, IDC_SETTINGS_ELAPSE_SPIN);
    values.trashDays = spinValue(dialog, IDC_SETTINGS_TRASH_SPIN);
    values.fontSize = spinValue(dialog, IDC_SETTINGS_FONT_SPIN);
    values.marginLeft = spinValue(dialog, IDC_SETTINGS_LEFT_SPIN);
    values.marginRight = spinValue(dialog, IDC_SETTINGS_RIGHT_SPIN);
    return values;
}

} // namespace

INT_PTR CALLBACK generalSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* app = reinterpret_cast<DialogHost*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        initialize(dialog, *reinterpret_cast<DialogHost*>(lParam));
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            applyGeneralSettings(*app, chosenValues(dialog));
            applyHotkeyFields(dialog, *app);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_SETTINGS_STARTUP:
            setStartupRegistered(!isStartupRegistered());
            showStartupState(dialog, *app);
            return TRUE;
        default:
            return app && onHotkeyFieldCommand(dialog, *app, wParam) ? TRUE : FALSE;
        }
    default:
        return FALSE;
    }
}

} // namespace Brisvane
