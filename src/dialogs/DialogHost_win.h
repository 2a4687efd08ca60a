#pragma once
// What the dialogs of the system menu need of the application beyond the
// documents and groups of GroupHost. The application object implements it and
// passes itself as a DialogHost* creation parameter.
#include <optional>
#include <string>

#include <windows.h>

#include "groups/GroupHost.h"
#include "storage/Hotkey.h"

namespace Brisvane {

class Note;

class DialogHost : public virtual GroupHost {
public:
    virtual std::wstring noteTitle(const Note& note) const = 0;

    // The combination the program holds for a command now, if any; and
    // registering the stored ones again after the settings changed.
    virtual std::optional<Hotkey> heldHotkey(HotkeyCommand command) const = 0;
    virtual void registerHotkeys() = 0;

    // The open search dialog, null when there is none.
    HWND searchDialog = nullptr;
};

} // namespace Brisvane
