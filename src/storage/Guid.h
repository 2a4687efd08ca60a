#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace Brisvane {

// A new random GUID as 36 lowercase hexadecimal digits and hyphens (8-4-4-4-12),
// without braces; empty when none can be made. Each platform supplies its own.
std::wstring newGuidString();

// The 36-character form of a GUID given in its memory layout (Data1, Data2 and
// Data3 little-endian, then the eight bytes of Data4).
std::wstring formatGuid(const std::array<std::uint8_t, 16>& bytes);

} // namespace Brisvane
