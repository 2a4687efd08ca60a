#include "note/StoredDpi.h"

#include <cstdint>

namespace Brisvane {

namespace {

// value x to / from, rounded half away from zero; both DPIs are positive.
std::int64_t rescaled(std::int64_t value, int fromDpi, int toDpi) {
    const std::int64_t product = value * toDpi;
    return product >= 0 ? (2 * product + fromDpi) / (2 * fromDpi)
                        : -((-2 * product + fromDpi) / (2 * fromDpi));
}

bool plausible(int dpi) {
    return dpi >= minStoredDpi && dpi <= maxStoredDpi;
}

} // namespace

std::optional<int> storedDpi(const Json& note) {
    const Json* value = findPath(note, {"window", "dpi"});
    if (!value || !value->is_number_integer()) {
        return std::nullopt;
    }
    const std::int64_t dpi = value->get<std::int64_t>();
    if (dpi < minStoredDpi || dpi > maxStoredDpi) {
        return std::nullopt;
    }
    return static_cast<int>(dpi);
}

bool rescaleStoredSize(Json& note, int fromDpi, int toDpi) {
    if (!plausible(fromDpi) || !plausible(toDpi) || fromDpi == toDpi) {
        return false;
    }
    bool changed = false;
    for (const char* side : {"width", "height"}) {
        const Json* value = findPath(note, {"window", "position", side});
        if (value && value->is_number_integer()) {
            // Stored values far beyond any screen stay within what a window takes
            // when read (StoredBounds), so the product cannot overflow here.
            const std::int64_t stored = value->get<std::int64_t>();
            if (stored > -(std::int64_t(1) << 40) && stored < (std::int64_t(1) << 40)) {
                changed |= storeAt(note, {"window", "position", side}, rescaled(stored, fromDpi, toDpi));
            }
        }
    }
    return changed;
}

void adoptScreenDpi(Json& note, int screenDpi) {
    if (!plausible(screenDpi)) {
        return;
    }
    if (const std::optional<int> stored = storedDpi(note)) {
        rescaleStoredSize(note, *stored, screenDpi);
    }
    storeAt(note, {"window", "dpi"}, static_cast<std::int64_t>(screenDpi));
}

} // namespace Brisvane
