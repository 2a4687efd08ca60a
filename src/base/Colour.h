#pragma once
// Colour texts, the seven theme colours derived from one base colour, and the
// list of colours offered for text and drawing.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Brisvane {

// 0x00BBGGRR, red in the low byte, the layout of a COLORREF.
using Colour = std::uint32_t;

inline constexpr Colour makeColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return Colour(red) | (Colour(green) << 8) | (Colour(blue) << 16);
}
inline constexpr std::uint8_t redOf(Colour c) {
    return std::uint8_t(c & 0xff);
}
inline constexpr std::uint8_t greenOf(Colour c) {
    return std::uint8_t((c >> 8) & 0xff);
}
inline constexpr std::uint8_t blueOf(Colour c) {
    return std::uint8_t((c >> 16) & 0xff);
}

// An optional "#", then exactly three or six hexadecimal digits of either case,
// red first; in the three-digit form each digit is doubled. Nothing else parses.
std::optional<Colour> parseColour(std::wstring_view text);
// The same for UTF-8 text as held in JSON documents.
std::optional<Colour> parseColour(std::string_view text);

// "#rrggbb", lowercase.
std::wstring formatColour(Colour colour);

// A sticky's derived colours by name ("background", "border", "title-color",
// "title-background", "title-active", "button-background", "text-color").
using ThemeMap = std::unordered_map<std::wstring, Colour>;

// The named colour; 0 (black) when the map has no such name.
Colour themeColour(const ThemeMap& theme, std::wstring_view name);

// Which set of factors derives the theme: chosen by brightness, with very dark
// colours split by whether any channel exceeds 29.
enum class ThemeRow { light, medium, dark, nearBlack };
ThemeRow themeRow(Colour base);

// The base converted to HSV, saturation and value multiplied by s and v and
// clamped to [0, 1], and converted back; channels are truncated.
Colour shiftColour(Colour base, float s, float v);

// All seven theme colours of a base colour; "background" is the base itself.
ThemeMap deriveTheme(Colour base);

// The 130 colour texts of the colour menus: ten greys from white to black, then
// one row of ten per key colour, five tints, then five shades, with the key
// colour itself fifth.
std::vector<std::wstring> buildColourList();

} // namespace Brisvane
