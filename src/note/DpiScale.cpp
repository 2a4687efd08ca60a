#include "note/DpiScale.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>

namespace Brisvane {

namespace {

// Rounds a / b to the nearest integer, halves away from zero; b > 0.
std::int64_t roundedQuotient(std::int64_t a, std::int64_t b) {
    return a >= 0 ? (2 * a + b) / (2 * b) : -((-2 * a + b) / (2 * b));
}

int saturate(std::int64_t value) {
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

int effectiveDpi(int dpi) {
    return dpi > 0 ? dpi : baseDpi;
}

int scaleToDpi(int measure, int dpi, int minimum) {
    const int scaled = saturate(roundedQuotient(std::int64_t(measure) * effectiveDpi(dpi), baseDpi));
    return std::max(scaled, minimum);
}

TextZoom textZoom(int windowDpi, int textDpi) {
    constexpr int limit = 64;
    int num = effectiveDpi(windowDpi);
    int den = effectiveDpi(textDpi);
    const int divisor = std::gcd(num, den);
    num /= divisor;
    den /= divisor;
    if (num == den) {
        return {};
    }
    // Far apart DPIs (never seen on real screens) are held at the control's limit.
    if (num > limit * den) {
        return {limit, 1};
    }
    if (den > limit * num) {
        return {1, limit};
    }
    return {num, den};
}

} // namespace Brisvane
