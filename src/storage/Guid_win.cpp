#include "storage/Guid.h"

#include <cstring>

#include <objbase.h>

namespace Brisvane {

std::wstring newGuidString() {
    GUID guid;
    if (FAILED(CoCreateGuid(&guid))) {
        return {};
    }
    std::array<std::uint8_t, 16> bytes{};
    static_assert(sizeof(GUID) == 16);
    std::memcpy(bytes.data(), &guid, sizeof guid);
    return formatGuid(bytes);
}

} // namespace Brisvane
