// GUIDs on hosts other than Windows: version 4 from the system's random source.
#include "storage/Guid.h"

#include <sys/random.h>

namespace Brisvane {

std::wstring newGuidString() {
    std::array<std::uint8_t, 16> bytes{};
    if (getrandom(bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
        return {};
    }
    bytes[7] = static_cast<std::uint8_t>((bytes[7] & 0x0F) | 0x40); // version 4 (high nibble of Data3)
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
    return formatGuid(bytes);
}

} // namespace Brisvane
