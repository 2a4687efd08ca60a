// The user's language on hosts other than Windows, from the locale environment
// in the order the C library gives it precedence for messages.
#include "storage/Language.h"

#include <cstdlib>

namespace Brisvane {

namespace {

constexpr std::uint16_t japaneseJapan = 0x0411;
constexpr std::uint16_t englishUnitedStates = 0x0409;

// Japanese is the only language with a table of its own; "ja", "ja_JP.UTF-8",
// "ja_JP@..." and the like all name it.
bool isJapanese(std::string_view locale) {
    return locale.substr(0, 2) == "ja" &&
           (locale.size() == 2 || locale[2] == '_' || locale[2] == '.' || locale[2] == '@');
}

} // namespace

std::uint16_t userDefaultLanguageId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return isJapanese(value) ? japaneseJapan : englishUnitedStates;
        }
    }
    return englishUnitedStates;
}

} // namespace Brisvane
