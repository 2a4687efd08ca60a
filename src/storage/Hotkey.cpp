#include "storage/Hotkey.h"

#include <vector>

namespace Brisvane {

namespace {

struct NamedKey {
    const char* name;
    std::uint32_t key;
};

// The first name of a key is the one written; the others are read too.
constexpr NamedKey namedKeys[] = {
    {"Space", 0x20},       {"Enter", 0x0D},  {"Return", 0x0D},      {"Tab", 0x09},
    {"Backspace", 0x08},   {"Esc", 0x1B},    {"Escape", 0x1B},      {"Insert", 0x2D},
    {"Ins", 0x2D},         {"Delete", 0x2E}, {"Del", 0x2E},         {"Home", 0x24},
    {"End", 0x23},         {"PageUp", 0x21}, {"PgUp", 0x21},        {"PageDown", 0x22},
    {"PgDn", 0x22},        {"Left", 0x25},   {"Up", 0x26},          {"Right", 0x27},
    {"Down", 0x28},        {"Pause", 0x13},  {"PrintScreen", 0x2C}, {"ScrollLock", 0x91},
    {"NumMultiply", 0x6A}, {"NumAdd", 0x6B}, {"NumSubtract", 0x6D}, {"NumDecimal", 0x6E},
    {"NumDivide", 0x6F},
};

struct NamedModifier {
    const char* name;
    std::uint32_t bit;
};

constexpr NamedModifier namedModifiers[] = {
    {"Win", ModWin}, {"Ctrl", ModCtrl}, {"Control", ModCtrl}, {"Alt", ModAlt}, {"Shift", ModShift},
};

constexpr std::uint32_t firstFunctionKey = 0x70; // F1
constexpr int functionKeyCount = 24;
constexpr std::uint32_t firstNumpadDigit = 0x60;

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<std::uint32_t> keyNamed(std::string_view name) {
    if (name.size() == 1) {
        char c = name[0];
        if (c >= 'a' && c <= 'z') {
            return static_cast<std::uint32_t>(c - 'a' + 'A');
        }
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            return static_cast<std::uint32_t>(c);
        }
        return std::nullopt;
    }
    if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
        int number = 0;
        for (char c : name.substr(1)) {
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            number = number * 10 + (c - '0');
        }
        if (name[1] != '0' && number >= 1 && number <= functionKeyCount) {
            return firstFunctionKey + static_cast<std::uint32_t>(number - 1);
        }
        return std::nullopt;
    }
    if (name.size() == 4 && sameName(name.substr(0, 3), "Num") && name[3] >= '0' && name[3] <= '9') {
        return firstNumpadDigit + static_cast<std::uint32_t>(name[3] - '0');
    }
    for (const NamedKey& named : namedKeys) {
        if (sameName(name, named.name)) {
            return named.key;
        }
    }
    return std::nullopt;
}

std::string keyName(std::uint32_t key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= firstFunctionKey && key < firstFunctionKey + functionKeyCount) {
        std::string name = "F";
        return name += std::to_string(key - firstFunctionKey + 1);
    }
    if (key >= firstNumpadDigit && key <= firstNumpadDigit + 9) {
        std::string name = "Num";
        return name += std::to_string(key - firstNumpadDigit);
    }
    for (const NamedKey& named : namedKeys) {
        if (named.key == key) {
            return named.name;
        }
    }
    return {};
}

bool isCharacterKey(std::uint32_t key) {
    return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == 0x20;
}

} // namespace

const char* hotkeyMemberName(HotkeyCommand command) {
    switch (command) {
    case HotkeyCommand::newSticky:
        return "newSticky";
    case HotkeyCommand::newFromClipboard:
        return "newFromClipboard";
    case HotkeyCommand::showAll:
        return "showAll";
    case HotkeyCommand::search:
        return "search";
    }
    return "";
}

// Function keys with Ctrl+Alt: AltGr types nothing with them, and Windows
// keeps none of them for itself.
const char* defaultHotkeyText(HotkeyCommand command) {
    switch (command) {
    case HotkeyCommand::newSticky:
        return "Ctrl+Alt+F9";
    case HotkeyCommand::newFromClipboard:
        return "Ctrl+Alt+F10";
    case HotkeyCommand::showAll:
        return "Ctrl+Alt+F11";
    case HotkeyCommand::search:
        return "Ctrl+Alt+F8";
    }
    return "";
}

std::optional<Hotkey> parseHotkey(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        std::size_t plus = text.find('+', start);
        parts.push_back(trimmed(text.substr(start, plus == std::string_view::npos ? plus : plus - start)));
        if (plus == std::string_view::npos) {
            break;
        }
        start = plus + 1;
    }
    if (parts.size() < 2) {
        return std::nullopt;
    }
    Hotkey hotkey;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        std::uint32_t bit = 0;
        for (const NamedModifier& modifier : namedModifiers) {
            if (sameName(parts[i], modifier.name)) {
                bit = modifier.bit;
            }
        }
        if (bit == 0 || (hotkey.modifiers & bit)) {
            return std::nullopt;
        }
        hotkey.modifiers |= bit;
    }
    std::optional<std::uint32_t> key = keyNamed(parts.back());
    if (!key) {
        return std::nullopt;
    }
    hotkey.key = *key;
    return hotkey;
}

std::string formatHotkey(const Hotkey& hotkey) {
    std::string text;
    // "Control" is read as Ctrl but never written.
    for (const NamedModifier& modifier : namedModifiers) {
        if ((hotkey.modifiers & modifier.bit) && std::string_view(modifier.name) != "Control") {
            text += modifier.name;
            text += '+';
        }
    }
    std::string key = keyName(hotkey.key);
    return key.empty() || text.empty() ? std::string() : text + key;
}

bool typesCharacters(const Hotkey& hotkey) {
    if (!isCharacterKey(hotkey.key) || (hotkey.modifiers & ModWin)) {
        return false;
    }
    const std::uint32_t altGr = ModCtrl | ModAlt;
    return (hotkey.modifiers & altGr) == altGr || hotkey.modifiers == ModShift;
}

std::string hotkeyText(const Json& settings, HotkeyCommand command) {
    const Json* value = findPath(settings, {"hotkey", hotkeyMemberName(command)});
    return value && value->is_string() ? value->get<std::string>() : std::string(defaultHotkeyText(command));
}

std::optional<Hotkey> hotkeyFor(const Json& settings, HotkeyCommand command) {
    return parseHotkey(hotkeyText(settings, command));
}

bool setHotkeyText(Json& settings, HotkeyCommand command, const std::string& text) {
    if (!settings.is_object()) {
        settings = Json::object();
    }
    return storeAt(settings, {"hotkey", hotkeyMemberName(command)}, Json(text));
}

} // namespace Brisvane
