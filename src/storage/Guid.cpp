#include "storage/Guid.h"

namespace Brisvane {

std::wstring formatGuid(const std::array<std::uint8_t, 16>& b) {
    // Data1..Data3 are stored little-endian; their text shows the most significant digit first.
    static constexpr int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    static constexpr wchar_t digits[] = L"0123456789abcdef";
    std::wstring text;
    text.reserve(36);
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) {
            text.push_back(L'-');
        }
        std::uint8_t byte = b[order[i]];
        text.push_back(digits[byte >> 4]);
        text.push_back(digits[byte & 15]);
    }
    return text;
}

std::wstring guidFromName(std::wstring_view name) {
    std::array<std::uint8_t, 16> bytes{};
    // Two FNV-1a hashes from different starting values fill the 128 bits.
    std::uint64_t halves[2] = {14695981039346656037ull, 1099511628211ull * 7919u};
    for (std::uint64_t& hash : halves) {
        for (wchar_t c : name) {
            hash = (hash ^ static_cast<std::uint64_t>(c)) * 1099511628211ull;
        }
    }
    for (int i = 0; i < 16; ++i) {
        bytes[i] = static_cast<std::uint8_t>(halves[i / 8] >> (8 * (i % 8)));
    }
    bytes[7] = static_cast<std::uint8_t>((bytes[7] & 0x0F) | 0x50); // a version 5 (name-based) GUID
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
    return formatGuid(bytes);
}

} // namespace Brisvane
