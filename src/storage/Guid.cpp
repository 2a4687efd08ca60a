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

} // namespace Brisvane
