#pragma once
// Finding the link a caret stands in, for opening it from the keyboard.
#include <cstddef>
#include <optional>
#include <string_view>

namespace Brisvane {

struct TextSpan {
    std::size_t start = 0, end = 0; // end just past the last character
};

// The link around `caret` (an offset into `text`, also just after the link's
// last character), in the shapes the body detects: a run without blanks that
// begins with a scheme of two or more letters ("https:", "mailto:", "file:"),
// with "www.", a drive ("C:\") or a share ("\\"), or is a mail address.
// Closing punctuation after it stays out. Nothing when the caret is in none.
std::optional<TextSpan> linkAround(std::wstring_view text, std::size_t caret);

} // namespace Brisvane
