#include "dialogs/HotkeyFields_win.h"

#include <commctrl.h>

#include "dialogs/DialogCommon_win.h"
#include "dialogs/DialogIds.h"

namespace Brisvane {

namespace {

// A trial registration on the dialog, taken back at once.
constexpr int trialHotkeyId = 0xB000;

struct FieldText {
    const char* key;
    const wchar_t* english;
    wchar_t accessKey;
};

FieldText fieldText(HotkeyCommand command) {
    switch (command) {
    case HotkeyCommand::newSticky:
        return {"dialog.generalSettings.hotkey.newSticky", L"New sticky", L'N'};
    case HotkeyCommand::newFromClipboard:
        return {"dialog.generalSettings.hotkey.newFromClipboard", L"New sticky from clipboard", L'B'};
    case HotkeyCommand::showAll:
        return {"dialog.generalSettings.hotkey.showAll", L"Show all stickies", L'W'};
    case HotkeyCommand::search:
        return {"dialog.generalSettings.hotkey.search", L"Search", L'H'};
    }
    return {"", L"", 0};
}

int offset(HotkeyCommand command) {
    return static_cast<int>(command);
}

// The control's value: the key in the low byte, its HOTKEYF_ flags above.
WORD controlValue(const std::optional<Hotkey>& hotkey) {
    if (!hotkey) {
        return 0;
    }
    BYTE flags = 0;
    flags |= (hotkey->modifiers & ModShift) ? HOTKEYF_SHIFT : 0;
    flags |= (hotkey->modifiers & ModCtrl) ? HOTKEYF_CONTROL : 0;
    flags |= (hotkey->modifiers & ModAlt) ? HOTKEYF_ALT : 0;
    return MAKEWORD(static_cast<BYTE>(hotkey->key), flags);
}

std::optional<Hotkey> hotkeyOf(WORD value) {
    const BYTE flags = HIBYTE(value);
    Hotkey hotkey;
    hotkey.key = LOBYTE(value);
    hotkey.modifiers |= (flags & HOTKEYF_SHIFT) ? std::uint32_t{ModShift} : 0u;
    hotkey.modifiers |= (flags & HOTKEYF_CONTROL) ? std::uint32_t{ModCtrl} : 0u;
    hotkey.modifiers |= (flags & HOTKEYF_ALT) ? std::uint32_t{ModAlt} : 0u;
    if (hotkey.key == 0) {
        return std::nullopt;
    }
    return hotkey;
}

WORD shownValue(HWND dialog, HotkeyCommand command) {
    return static_cast<WORD>(
        SendDlgItemMessageW(dialog, IDC_SETTINGS_HOTKEY + offset(command), HKM_GETHOTKEY, 0, 0));
}

// Whether the combination could be registered now: the program's own
// registration for the command counts as free.
bool available(HWND dialog, const DialogHost& app, HotkeyCommand command, const Hotkey& hotkey) {
    if (app.heldHotkey(command) == hotkey) {
        return true;
    }
    if (!RegisterHotKey(dialog, trialHotkeyId, hotkey.modifiers | MOD_NOREPEAT, hotkey.key)) {
        return false;
    }
    UnregisterHotKey(dialog, trialHotkeyId);
    return true;
}

void showStatus(HWND dialog, const DialogHost& app, HotkeyCommand command,
                const std::optional<Hotkey>& hotkey) {
    std::wstring status;
    if (hotkey && formatHotkey(*hotkey).empty()) {
        status = app.lookupText("dialog.generalSettings.hotkey.unsupported", L"This key cannot be used");
    } else if (hotkey && !available(dialog, app, command, *hotkey)) {
        status = app.lookupText("dialog.generalSettings.hotkey.taken", L"Used by another program");
    }
    SetDlgItemTextW(dialog, IDC_SETTINGS_HOTKEY_STATUS + offset(command), status.c_str());
}

// Backspace or Delete alone clears the field, which turns the shortcut off.
LRESULT CALLBACK clearingField(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR) {
    const bool modifier =
        GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0 || GetKeyState(VK_SHIFT) < 0;
    if (message == WM_KEYDOWN && (wParam == VK_BACK || wParam == VK_DELETE) && !modifier) {
        SendMessageW(field, HKM_SETHOTKEY, 0, 0);
        SendMessageW(GetParent(field), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), EN_CHANGE),
                     reinterpret_cast<LPARAM>(field));
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(field, clearingField, id);
    }
    return DefSubclassProc(field, message, wParam, lParam);
}

} // namespace

void initHotkeyFields(HWND dialog, const DialogHost& app) {
    setDialogText(dialog, IDC_SETTINGS_HOTKEY_FRAME, app, "dialog.generalSettings.hotkey.title",
                  L"Keyboard shortcuts");
    for (HotkeyCommand command : hotkeyCommands) {
        const FieldText text = fieldText(command);
        setDialogText(dialog, IDC_SETTINGS_HOTKEY_LABEL + offset(command), app, text.key, text.english,
                      text.accessKey);
        HWND control = GetDlgItem(dialog, IDC_SETTINGS_HOTKEY + offset(command));
        // A key alone, or with Shift alone, would take what the user types.
        SendMessageW(control, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                     MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        const std::optional<Hotkey> stored = hotkeyFor(app.settings, command);
        SendMessageW(control, HKM_SETHOTKEY, controlValue(stored), 0);
        SetWindowSubclass(control, clearingField, 1, 0);
        showStatus(dialog, app, command, stored);
    }
}

bool onHotkeyFieldCommand(HWND dialog, const DialogHost& app, WPARAM wParam) {
    const int id = LOWORD(wParam);
    for (HotkeyCommand command : hotkeyCommands) {
        if (id == IDC_SETTINGS_HOTKEY + offset(command)) {
            if (HIWORD(wParam) == EN_CHANGE) {
                showStatus(dialog, app, command, hotkeyOf(shownValue(dialog, command)));
            }
            return true;
        }
    }
    return false;
}

void applyHotkeyFields(HWND dialog, DialogHost& app) {
    bool changed = false;
    for (HotkeyCommand command : hotkeyCommands) {
        const WORD shown = shownValue(dialog, command);
        // Unchanged in the control: the stored text stays as written (with
        // the Windows key, say, which the control cannot show).
        if (shown == controlValue(hotkeyFor(app.settings, command))) {
            continue;
        }
        const std::optional<Hotkey> hotkey = hotkeyOf(shown);
        const std::string text = hotkey ? formatHotkey(*hotkey) : std::string();
        if ((hotkey && text.empty()) || text == hotkeyText(app.settings, command)) {
            continue;
        }
        if (setHotkeyText(app.settings, command, text)) {
            app.markSettingsChanged();
            changed = true;
        }
    }
    if (changed) {
        app.registerHotkeys();
    }
}

} // namespace Brisvane
