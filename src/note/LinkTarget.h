#pragma once
// What a click on a detected link may do without asking.
#include <string_view>

namespace Brisvane {

// Web and mail links (http:, https:, mailto:, in any case, after leading
// blanks) open at once; anything else, such as a path to a program, is asked
// about first.
bool opensWithoutAsking(std::wstring_view target);

// The question asked before any other link is opened; the target follows it.
inline constexpr char linkQuestionKey[] = "dialog.openLink.text";
inline constexpr wchar_t linkQuestion[] =
    L"This link is not a web page or a mail address and may start a program. Open it?";

} // namespace Brisvane
