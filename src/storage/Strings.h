#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace Brisvane {

// Cuts the text at every character found in `separators`. No separator: the
// whole text as one piece (an empty text gives one empty piece). Adjacent
// separators give an empty piece; a trailing separator gives no empty last piece.
std::vector<std::wstring> splitAny(std::wstring_view text, std::wstring_view separators);

// Equal length and equal characters after folding only A-Z and the fullwidth
// capitals U+FF21-U+FF3A to their small forms.
bool equalsIgnoreCase(std::wstring_view a, std::wstring_view b);

} // namespace Brisvane
