#include "base/Colour.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>

namespace Brisvane {

namespace {

int hexValue(char32_t c) {
    if (c >= '0' && c <= '9') {
        return int(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return int(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return int(c - 'A' + 10);
    }
    return -1;
}

template <typename Char> std::optional<Colour> parseColourText(std::basic_string_view<Char> text) {
    if (!text.empty() && text.front() == Char('#')) {
        text.remove_prefix(1);
    }
    if (text.size() != 3 && text.size() != 6) {
        return std::nullopt;
    }
    std::array<int, 6> digits{};
    for (size_t i = 0; i < text.size(); ++i) {
        // Through an unsigned type, so that a negative char cannot pass as a digit.
        int d = hexValue(char32_t(std::make_unsigned_t<Char>(text[i])));
        if (d < 0) {
            return std::nullopt;
        }
        digits[i] = d;
    }
    if (text.size() == 3) {
        return makeColour(std::uint8_t(digits[0] * 17), std::uint8_t(digits[1] * 17),
                          std::uint8_t(digits[2] * 17));
    }
    return makeColour(std::uint8_t(digits[0] * 16 + digits[1]), std::uint8_t(digits[2] * 16 + digits[3]),
                      std::uint8_t(digits[4] * 16 + digits[5]));
}

float clampUnit(float x) {
    // Written so that NaN becomes 0 rather than passing through.
    if (!(x > 0.0f)) {
        return 0.0f;
    }
    return x > 1.0f ? 1.0f : x;
}

std::uint8_t unitToByte(float x) {
    return std::uint8_t(std::trunc(clampUnit(x) * 255.0f));
}

struct Hsv {
    float h = 0; // degrees, [0, 360)
    float s = 0;
    float v = 0;
};

Hsv toHsv(Colour c) {
    float r = float(redOf(c)) / 255.0f;
    float g = float(greenOf(c)) / 255.0f;
    float b = float(blueOf(c)) / 255.0f;
    float max = std::max({r, g, b});
    float min = std::min({r, g, b});
    float delta = max - min;
    Hsv hsv;
    hsv.v = max;
    if (delta < 0.00001f) {
        return hsv;
    }
    hsv.s = delta / max;
    if (max == r) {
        hsv.h = 60.0f * ((g - b) / delta);
    } else if (max == g) {
        hsv.h = 60.0f * (2.0f + (b - r) / delta);
    } else {
        hsv.h = 60.0f * (4.0f + (r - g) / delta);
    }
    if (hsv.h < 0.0f) {
        hsv.h += 360.0f;
    }
    return hsv;
}

Colour fromHsv(float h, float s, float v) {
    // A hue just below 0 can round up to 360 when wrapped; that is red again.
    if (h >= 360.0f) {
        h = 0.0f;
    }
    float scaled = h / 60.0f;
    int sector = int(std::trunc(scaled));
    float f = scaled - float(sector);
    float p = v * (1.0f - s);
    float q = v * (1.0f - s * f);
    float t = v * (1.0f - s * (1.0f - f));
    float r = v, g = t, b = p;
    switch (sector) {
    case 1:
        r = q, g = v, b = p;
        break;
    case 2:
        r = p, g = v, b = t;
        break;
    case 3:
        r = p, g = q, b = v;
        break;
    case 4:
        r = t, g = p, b = v;
        break;
    case 5:
        r = v, g = p, b = q;
        break;
    default:
        break;
    }
    return makeColour(unitToByte(r), unitToByte(g), unitToByte(b));
}

struct Factors {
    float s;
    float v;
};

struct ThemeEntry {
    const wchar_t* name;
    // Indexed by ThemeRow.
    std::array<Factors, 4> factors;
};

const std::array<ThemeEntry, 6> themeTable = {{
    {L"border", {{{1.6f, 0.6f}, {1.4f, 1.5f}, {1.6f, 1.6f}, {1.6f, 0.6f}}}},
    {L"title-color", {{{1.6f, 0.4f}, {2.8f, 5.0f}, {1.2f, 2.0f}, {2.0f, 7.0f}}}},
    {L"title-background", {{{1.0f, 0.95f}, {1.06f, 1.2f}, {1.08f, 1.1f}, {3.0f, 2.3f}}}},
    {L"title-active", {{{1.0f, 0.85f}, {1.1f, 1.2f}, {1.2f, 1.3f}, {1.0f, 0.85f}}}},
    {L"button-background", {{{1.9f, 0.85f}, {1.1f, 1.4f}, {1.2f, 1.5f}, {3.0f, 3.0f}}}},
    {L"text-color", {{{1.0f, 0.4f}, {1.1f, 2.0f}, {1.2f, 2.2f}, {2.0f, 6.8f}}}},
}};

std::uint8_t truncByte(float x) {
    return std::uint8_t(std::trunc(std::clamp(x, 0.0f, 255.0f)));
}

// Five tints from pale towards the key colour, then five shades towards black.
void appendRow(std::vector<std::wstring>& list, Colour key) {
    const std::array<float, 3> k = {float(redOf(key)), float(greenOf(key)), float(blueOf(key))};
    for (int i = 1; i <= 5; ++i) {
        std::array<std::uint8_t, 3> c{};
        for (size_t ch = 0; ch < 3; ++ch) {
            c[ch] = truncByte((k[ch] - 255.0f) * float(i) / 5.0f + 255.0f);
        }
        list.push_back(formatColour(makeColour(c[0], c[1], c[2])));
    }
    for (int l = 1; l <= 5; ++l) {
        std::array<std::uint8_t, 3> c{};
        for (size_t ch = 0; ch < 3; ++ch) {
            c[ch] = truncByte(k[ch] - k[ch] * float(l) / 6.0f);
        }
        list.push_back(formatColour(makeColour(c[0], c[1], c[2])));
    }
}

} // namespace

std::optional<Colour> parseColour(std::wstring_view text) {
    return parseColourText(text);
}

std::optional<Colour> parseColour(std::string_view text) {
    return parseColourText(text);
}

std::wstring formatColour(Colour colour) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring text = L"#";
    for (std::uint8_t channel : {redOf(colour), greenOf(colour), blueOf(colour)}) {
        text += digits[channel >> 4];
        text += digits[channel & 0xf];
    }
    return text;
}

Colour themeColour(const ThemeMap& theme, std::wstring_view name) {
    auto it = theme.find(std::wstring(name));
    return it == theme.end() ? 0 : it->second;
}

ThemeRow themeRow(Colour base) {
    float v = toHsv(base).v;
    if (v > 0.58f) {
        return ThemeRow::light;
    }
    if (v > 0.19f) {
        return ThemeRow::medium;
    }
    if (redOf(base) > 29 || greenOf(base) > 29 || blueOf(base) > 29) {
        return ThemeRow::dark;
    }
    return ThemeRow::nearBlack;
}

Colour shiftColour(Colour base, float s, float v) {
    Hsv hsv = toHsv(base);
    return fromHsv(hsv.h, clampUnit(hsv.s * s), clampUnit(hsv.v * v));
}

ThemeMap deriveTheme(Colour base) {
    size_t row = size_t(themeRow(base));
    ThemeMap theme;
    theme[L"background"] = base;
    for (const ThemeEntry& entry : themeTable) {
        theme[entry.name] = shiftColour(base, entry.factors[row].s, entry.factors[row].v);
    }
    return theme;
}

std::vector<std::wstring> buildColourList() {
    std::vector<std::wstring> list;
    list.reserve(130);
    for (int i = 0; i <= 9; ++i) {
        std::uint8_t grey = truncByte(255.0f - (float(i) / 9.0f) * 255.0f);
        list.push_back(formatColour(makeColour(grey, grey, grey)));
    }
    // Each hue is followed by the mix halfway to the next hue round the circle.
    const std::array<Colour, 6> hues = {makeColour(255, 0, 0), makeColour(255, 255, 0),
                                        makeColour(0, 255, 0), makeColour(0, 255, 255),
                                        makeColour(0, 0, 255), makeColour(255, 0, 255)};
    for (size_t i = 0; i < hues.size(); ++i) {
        Colour hue = hues[i];
        Colour partner = hues[(i + 1) % hues.size()];
        auto mix = [](std::uint8_t a, std::uint8_t b) {
            return truncByte(float(a) + (float(b) - float(a)) * 0.5f);
        };
        appendRow(list, hue);
        appendRow(list, makeColour(mix(redOf(hue), redOf(partner)), mix(greenOf(hue), greenOf(partner)),
                                   mix(blueOf(hue), blueOf(partner))));
    }
    return list;
}

} // namespace Brisvane
