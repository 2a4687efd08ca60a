#pragma once
// Starting with the user's session: a shortcut to the program in the user's
// Startup folder. The shortcut file itself is the state; nothing is stored.
#include <string>

namespace Brisvane {

inline constexpr wchar_t startupShortcutName[] = L"Tackaroon notes.lnk";
inline constexpr wchar_t executableName[] = L"Tackaroon notes.exe";

// The shortcut's path in the Startup folder; empty when the folder is unknown.
std::wstring startupShortcutPath();
// The target a registration points to: the program in the data folder.
std::wstring startupTarget();

// True when the shortcut loads and points to startupTarget (letter case aside).
bool isStartupRegistered();
// Creates (overwriting) or recycles the shortcut; failures are silent, the
// caller reads the state again.
void setStartupRegistered(bool registered);

} // namespace Brisvane
