#pragma once
// Global hotkeys as stored in settings.json: "hotkey"."newSticky" and its
// siblings, each a string of modifier names and one key joined by "+"
// ("Ctrl+Shift+F9", "Win+Alt+N"); an empty string turns the hotkey off.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "storage/Json.h"

namespace Brisvane {

// Modifier bits with the values RegisterHotKey takes.
enum HotkeyModifier : std::uint32_t { ModAlt = 1, ModCtrl = 2, ModShift = 4, ModWin = 8 };

struct Hotkey {
    std::uint32_t modifiers = 0;
    // A Windows virtual-key code: 'A'-'Z', '0'-'9', 0x70-0x87 for F1-F24 and
    // the named keys of the table.
    std::uint32_t key = 0;
    bool operator==(const Hotkey&) const = default;
};

enum class HotkeyCommand { newSticky, newFromClipboard, showAll, search };
inline constexpr std::array<HotkeyCommand, 4> hotkeyCommands{
    HotkeyCommand::newSticky, HotkeyCommand::newFromClipboard, HotkeyCommand::showAll, HotkeyCommand::search};

// The member name of a command under "hotkey".
const char* hotkeyMemberName(HotkeyCommand command);
// The combination a command has when settings.json does not say.
const char* defaultHotkeyText(HotkeyCommand command);

// Reads a combination: names in any case, blanks around them ignored, each
// modifier at most once, exactly one key and at least one modifier. Nothing
// for anything else, an empty text included.
std::optional<Hotkey> parseHotkey(std::string_view text);
// The written form: modifiers as Win, Ctrl, Alt, Shift, then the key.
std::string formatHotkey(const Hotkey& hotkey);

// What a combination would take from the user: AltGr is Ctrl+Alt on many
// layouts, so Ctrl+Alt (with or without Shift) and a character key types text;
// Shift alone with a character key types capitals.
bool typesCharacters(const Hotkey& hotkey);

// The stored text of a command: the default when "hotkey" or its member is
// missing or not a string. Stored texts are kept exactly as written.
std::string hotkeyText(const Json& settings, HotkeyCommand command);
// The combination to register: none when the text is empty or unknown.
std::optional<Hotkey> hotkeyFor(const Json& settings, HotkeyCommand command);
// Stores the text; true when that changed the settings.
bool setHotkeyText(Json& settings, HotkeyCommand command, const std::string& text);

} // namespace Brisvane
