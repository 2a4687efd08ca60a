#pragma once
// Conversions between the program's wide strings and the bytes of files and
// JSON documents. Wide strings are UTF-16 on Windows; on other hosts (tests)
// wchar_t holds whole code points.
#include <string>
#include <string_view>

#include "storage/TextRead.h"

namespace Brisvane {

// Invalid sequences become U+FFFD.
std::wstring utf8ToWide(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string wideToUtf8(std::wstring_view wide);

// Well-formed UTF-8 throughout (no overlong forms, surrogates or values above
// U+10FFFF); an empty or ASCII text is.
bool isValidUtf8(std::string_view bytes);

// Shift_JIS (code page 932) to wide; undecodable sequences become U+FFFD (no
// Shift_JIS character maps to it). Each platform supplies its own converter.
std::wstring decodeCodePage932(std::string_view bytes);

// Turns the whole content of a text file into text: refuses UTF-16, UTF-7 and
// UTF-32 byte-order marks (errorReadFault), skips the UTF-8 mark, ends the
// content at the first NUL, decodes UTF-8 after a mark or when the bytes are
// valid UTF-8, code page 932 otherwise, and turns every CR LF into LF. The
// result is exact unless a sequence was replaced or a NUL cut off more than NULs.
TextRead decodeTextFile(std::string_view bytes, std::wstring& text);

// The bytes of a written text file: the UTF-8 mark, then the text as UTF-8.
std::string encodeTextFile(std::wstring_view text);

} // namespace Brisvane
