#include <gtest/gtest.h>

#include <set>
#include <string>

#include "base/Colour.h"

using namespace Brisvane;

namespace {

std::wstring formatted(std::optional<Colour> colour) {
    return colour ? formatColour(*colour) : L"(none)";
}

std::wstring shifted(const wchar_t* base, float s, float v) {
    return formatColour(shiftColour(*parseColour(std::wstring_view(base)), s, v));
}

std::wstring derived(const wchar_t* base, const wchar_t* name) {
    return formatColour(themeColour(deriveTheme(*parseColour(std::wstring_view(base))), name));
}

} // namespace

TEST(ColourText, AcceptsBothLengthsCasesAndOptionalHash) {
    EXPECT_EQ(formatted(parseColour(L"#F8B500")), L"#f8b500");
    EXPECT_EQ(formatted(parseColour(L"f8b500")), L"#f8b500");
    EXPECT_EQ(formatted(parseColour(L"#fb0")), L"#ffbb00");
    EXPECT_EQ(formatted(parseColour(L"fb0")), L"#ffbb00");
    EXPECT_EQ(formatted(parseColour(L"#A1b2C3")), L"#a1b2c3");
    // Red is the low byte of the value, as in a COLORREF.
    EXPECT_EQ(parseColour(L"#123456"), Colour(0x563412));
    EXPECT_EQ(parseColour(L"#f00"), Colour(0x0000ff));
    EXPECT_EQ(parseColour(L"#000"), Colour(0));
}

TEST(ColourText, RejectsEverythingElse) {
    for (const wchar_t* text : {L"", L"#", L"#f8b50", L"#f8b50g", L"f8b5000", L"#ff", L"##fff", L" #fff",
                                L"#fff ", L"#ffff", L"#-12345", L"#0x1234", L"fb0#"}) {
        EXPECT_FALSE(parseColour(std::wstring_view(text))) << text;
    }
    // Full-width digits are not hexadecimal digits.
    EXPECT_FALSE(parseColour(std::wstring_view(L"\xFF11\xFF12\xFF13")));
}

TEST(ColourText, Utf8FormMatchesWideForm) {
    EXPECT_EQ(parseColour(std::string_view("#F8B500")), parseColour(std::wstring_view(L"#f8b500")));
    EXPECT_EQ(parseColour(std::string_view("fb0")), Colour(0x00bbff));
    EXPECT_FALSE(parseColour(std::string_view("#f8b50g")));
    EXPECT_FALSE(parseColour(std::string_view("")));
    // Bytes of a multi-byte character never count as digits.
    EXPECT_FALSE(parseColour(std::string_view("\xEF\xBC\x91\xEF\xBC\x92")));
    EXPECT_FALSE(parseColour(std::string_view("ab\xC3")));
}

TEST(ColourText, FormatRoundTripsAndPadsChannels) {
    EXPECT_EQ(formatColour(0x000000), L"#000000");
    EXPECT_EQ(formatColour(0x0a0b0c), L"#0c0b0a");
    EXPECT_EQ(formatColour(0xffffff), L"#ffffff");
    // The unused high byte of a COLORREF does not show.
    EXPECT_EQ(formatColour(0xff010203), L"#030201");
    for (const wchar_t* text : {L"#f8b500", L"#16160e", L"#0080ff", L"#fdeff2"}) {
        EXPECT_EQ(formatted(parseColour(std::wstring_view(text))), text);
    }
}

TEST(ThemeColours, RowFollowsBrightness) {
    // V = 248 / 255 = 0.973.
    EXPECT_EQ(themeRow(*parseColour(L"#f8b500")), ThemeRow::light);
    // 0.58 x 255 = 147.9: V = 147 / 255 = 0.5765 is not above 0.58, 148 / 255 = 0.5804 is.
    EXPECT_EQ(themeRow(*parseColour(L"#930000")), ThemeRow::medium);
    EXPECT_EQ(themeRow(*parseColour(L"#009400")), ThemeRow::light);
    // 0.19 x 255 = 48.45: 49 is medium.
    EXPECT_EQ(themeRow(*parseColour(L"#000031")), ThemeRow::medium);
    // 48 / 255 = 0.188 is not above 0.19, but a channel above 29 makes it dark.
    EXPECT_EQ(themeRow(*parseColour(L"#302010")), ThemeRow::dark);
    EXPECT_EQ(themeRow(*parseColour(L"#0000ff")), ThemeRow::light);
    EXPECT_EQ(themeRow(*parseColour(L"#1e1e1e")), ThemeRow::dark);
    EXPECT_EQ(themeRow(*parseColour(L"#16160e")), ThemeRow::nearBlack);
    EXPECT_EQ(themeRow(*parseColour(L"#1d1d1d")), ThemeRow::nearBlack);
    EXPECT_EQ(themeRow(*parseColour(L"#00001e")), ThemeRow::dark);
    EXPECT_EQ(themeRow(0), ThemeRow::nearBlack);
}

TEST(ThemeColours, LightRowByHand) {
    // #f8b500: V = 248/255 = 0.97255, S = 1, H = 60 x 181/248 = 43.79, sector 0,
    // f = 181/248 = 0.72984, so (r, g, b) = (V', V' x f, 0).
    // title-background (1.0, 0.95): V' = 0.92392 -> r = 235.6, g = 171.95 -> #ebab00.
    EXPECT_EQ(derived(L"#f8b500", L"title-background"), L"#ebab00");
    EXPECT_EQ(derived(L"#f8b500", L"title-background"), shifted(L"#f8b500", 1.0f, 0.95f));
    // border (1.6, 0.6): S' clamps to 1, V' = 0.58353 -> r = 148.8, g = 108.6 -> #946c00.
    EXPECT_EQ(derived(L"#f8b500", L"border"), L"#946c00");
    // text-color (1.0, 0.4): V' = 0.38902 -> r = 99.2, g = 72.4 -> #634800.
    EXPECT_EQ(derived(L"#f8b500", L"text-color"), L"#634800");
    EXPECT_EQ(derived(L"#f8b500", L"background"), L"#f8b500");
}

TEST(ThemeColours, OtherRowsByHand) {
    // #406080 (medium): V = 128/255, S = 64/128 = 0.5, H = 60 x (4 - 32/64) = 210,
    // sector 3 with f = 0.5: (p, q, V').
    // title-background (1.06, 1.2): S' = 0.53, V' = 0.60235; p = V'(1 - S') = 72.19,
    // q = V'(1 - S'/2) = 112.90, V' = 153.6 -> #487099.
    EXPECT_EQ(derived(L"#406080", L"title-background"), L"#487099");
    // #302010 (dark): V = 48/255, S = 32/48, H = 60 x 16/32 = 30, sector 0, f = 0.5:
    // (V', t, p). title-background (1.08, 1.1): S' = 0.72, V' = 0.20706 -> 52.8;
    // t = V'(1 - 0.36) = 33.79; p = V'(1 - 0.72) = 14.78 -> #34210e.
    EXPECT_EQ(derived(L"#302010", L"title-background"), L"#34210e");
    // #16160e (near-black): V = 22/255, S = 8/22, H = 60 (red and green tie; red
    // wins), sector 1, f = 0: (V', V', p).
    // title-background (3.0, 2.3): S' clamps to 1, V' = 0.19843 -> 50.6, p = 0 -> #323200.
    EXPECT_EQ(derived(L"#16160e", L"title-background"), L"#323200");
    // text-color (2.0, 6.8): S' = 0.72727, V' = 0.58667 -> 149.6, p = V'(1 - S') = 40.8
    // -> #959528.
    EXPECT_EQ(derived(L"#16160e", L"text-color"), L"#959528");
}

TEST(ThemeColours, ShiftEdges) {
    // Greys have no saturation to scale, so they only get brighter or darker.
    // 128 x 0.3 = 38.4.
    EXPECT_EQ(shifted(L"#808080", 3.0f, 0.3f), L"#262626");
    // Value clamps at 1 and saturation at 0.
    EXPECT_EQ(shifted(L"#800000", 1.0f, 10.0f), L"#ff0000");
    EXPECT_EQ(shifted(L"#ff0000", 0.0f, 1.0f), L"#ffffff");
    EXPECT_EQ(shifted(L"#ff0000", -1.0f, 1.0f), L"#ffffff");
    EXPECT_EQ(shifted(L"#ff0000", 1.0f, -1.0f), L"#000000");
    // Pure hues in each sector come back unchanged at factors 1.
    for (const wchar_t* hue : {L"#ff0000", L"#ffff00", L"#00ff00", L"#00ffff", L"#0000ff", L"#ff00ff"}) {
        EXPECT_EQ(shifted(hue, 1.0f, 1.0f), hue);
    }
    // Magenta: red and blue tie and red wins, so H = -60 + 360 = 300, sector 5 with
    // f = 0: (V', 0, V'), 127.5 truncated.
    EXPECT_EQ(shifted(L"#ff00ff", 1.0f, 0.5f), L"#7f007f");
}

TEST(ThemeColours, DerivedMapHasExactlyTheSevenNames) {
    ThemeMap theme = deriveTheme(*parseColour(L"#1e1e1e"));
    std::set<std::wstring> names;
    for (const auto& entry : theme) {
        names.insert(entry.first);
    }
    EXPECT_EQ(names, (std::set<std::wstring>{L"background", L"border", L"title-color", L"title-background",
                                             L"title-active", L"button-background", L"text-color"}));
    // A map without derived colours reads as black.
    EXPECT_EQ(themeColour(ThemeMap{}, L"background"), Colour(0));
    EXPECT_EQ(themeColour(theme, L"no-such-colour"), Colour(0));
    // #1e1e1e is grey with V = 30/255: border (1.6, 1.6) is V' = 0.18824, 48 in
    // exact arithmetic, so float rounding may leave 47 or 48 - but never more.
    Colour border = themeColour(theme, L"border");
    EXPECT_EQ(redOf(border), greenOf(border));
    EXPECT_EQ(greenOf(border), blueOf(border));
    EXPECT_GE(redOf(border), 47);
    EXPECT_LE(redOf(border), 48);
}

TEST(ColourList, SizeGreysAndRowShape) {
    std::vector<std::wstring> list = buildColourList();
    ASSERT_EQ(list.size(), 130u);
    // Grey i is 255 x (9 - i) / 9 truncated: 255, 226.7, 198.3, 170, 141.7, ...
    const std::vector<std::wstring> greys = {L"#ffffff", L"#e2e2e2", L"#c6c6c6", L"#aaaaaa", L"#8d8d8d",
                                             L"#717171", L"#555555", L"#383838", L"#1c1c1c", L"#000000"};
    EXPECT_EQ(std::vector<std::wstring>(list.begin(), list.begin() + 10), greys);
    // Key colours sit fifth in their rows.
    const std::vector<std::wstring> keys = {L"#ff0000", L"#ff7f00", L"#ffff00", L"#7fff00",
                                            L"#00ff00", L"#00ff7f", L"#00ffff", L"#007fff",
                                            L"#0000ff", L"#7f00ff", L"#ff00ff", L"#ff007f"};
    for (size_t row = 0; row < keys.size(); ++row) {
        EXPECT_EQ(list[10 + row * 10 + 4], keys[row]) << "row " << row + 1;
    }
    EXPECT_EQ(list[24], L"#ff7f00");
    for (const std::wstring& text : list) {
        EXPECT_TRUE(parseColour(std::wstring_view(text))) << text;
    }
}

TEST(ColourList, TintsAndShadesByHand) {
    std::vector<std::wstring> list = buildColourList();
    ASSERT_EQ(list.size(), 130u);
    const std::vector<std::wstring> red = {L"#ffcccc", L"#ff9999", L"#ff6666", L"#ff3333", L"#ff0000",
                                           L"#d40000", L"#aa0000", L"#7f0000", L"#550000", L"#2a0000"};
    EXPECT_EQ(std::vector<std::wstring>(list.begin() + 10, list.begin() + 20), red);
    // Orange ff7f00, first tint: green (127 - 255) x 1/5 + 255 = 229.4 -> e5 (an
    // integer division would give 230); blue -255/5 + 255 = 204.
    EXPECT_EQ(list[20], L"#ffe5cc");
    // First shade: red 255 - 255/6 = 212.5 -> d4, green 127 - 127/6 = 105.8 -> 69.
    EXPECT_EQ(list[25], L"#d46900");
    // Rose ff007f, last shade: 255 - 255 x 5/6 = 42.5 -> 2a, 127 - 127 x 5/6 = 21.2 -> 15.
    EXPECT_EQ(list[129], L"#2a0015");
    // Azure 007fff, third tint: red (0 - 255) x 3/5 + 255 = 102 -> 66,
    // green (127 - 255) x 3/5 + 255 = 178.2 -> b2, blue 255.
    EXPECT_EQ(list[82], L"#66b2ff");
}
