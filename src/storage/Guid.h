#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace Brisvane {

// A new random GUID as 36 lowercase hexadecimal digits and hyphens (8-4-4-4-12),
// without braces; empty when none can be made. Each platform supplies its own.
std::wstring newGuidString();

// The 36-character form of a GUID given in its memory layout (Data1, Data2 and
// Data3 little-endian, then the eight bytes of Data4).
std::wstring formatGuid(const std::array<std::uint8_t, 16>& bytes);

// A GUID made from a name: the same name gives the same GUID on every machine,
// so that two machines making a note of one thing make the same note.
std::wstring guidFromName(std::wstring_view name);

} // namespace Brisvane
