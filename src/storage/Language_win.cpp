#include "storage/Language.h"

#include <windows.h>

namespace Brisvane {

std::uint16_t userDefaultLanguageId() {
    return GetUserDefaultLangID();
}

} // namespace Brisvane
