#pragma once
// Quick looks at the bytes of a text.rtf, without an RTF reader: whether it is
// RTF at all, and whether its groups close (a cut-off file does not).
#include <cstddef>
#include <string_view>

namespace Brisvane {

// The file starts as every RTF document does ("{\rtf").
bool looksLikeRtf(std::string_view bytes);

// An RTF document whose outermost group closes, followed by nothing but white
// space: escaped braces and the bytes of \binN data do not count.
bool isCompleteRtf(std::string_view bytes);

// The RTF the edit control streams out, without the NUL bytes it may put
// after the document: they are no part of it and no reader expects them.
std::string_view withoutTrailingNuls(std::string_view rtf);

// Text files larger than this are refused as unreadable: no note holds that
// much, and the edit control would take minutes and gigabytes on the way.
inline constexpr std::size_t maxBodyFileBytes = 256u * 1024 * 1024;

} // namespace Brisvane
