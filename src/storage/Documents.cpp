#include "storage/Documents.h"

#include "storage/Language.h"

namespace Brisvane {

std::wstring Documents::lookupText(std::string_view key, std::wstring_view fallback) const {
    return Brisvane::lookupText(languages, settings, key, fallback);
}

} // namespace Brisvane
