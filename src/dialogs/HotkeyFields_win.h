#pragma once
// The general settings' keyboard shortcuts: one hotkey control per command,
// with a note beside it when another program holds the combination.
#include <windows.h>

#include "dialogs/DialogHost_win.h"

namespace Brisvane {

void initHotkeyFields(HWND dialog, const DialogHost& app);
// True when the command came from one of the hotkey controls.
bool onHotkeyFieldCommand(HWND dialog, const DialogHost& app, WPARAM wParam);
// Stores the combinations the user changed and registers them again.
void applyHotkeyFields(HWND dialog, DialogHost& app);

} // namespace Brisvane
