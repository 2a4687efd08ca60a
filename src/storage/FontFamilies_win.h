#pragma once
// Names of the installed font families, for the font menus.
#include <cstddef>
#include <string>
#include <vector>

namespace Brisvane {

// The families of the system font collection in its order, each by its name in the
// user's default locale, else "en-us", else its first name. Families whose names
// cannot be read are skipped; the list stops after `limit` names. Empty when
// DirectWrite is not available.
std::vector<std::wstring> enumerateFontFamilies(std::size_t limit = 300);

} // namespace Brisvane
