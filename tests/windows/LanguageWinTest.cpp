#include <gtest/gtest.h>

#include <algorithm>

#include "storage/DateFormat.h"
#include "storage/FontFamilies_win.h"
#include "storage/Language.h"
#include "storage/Resource_win.h"

using namespace Brisvane;

namespace {

Json settingsFor(const char* language) {
    return Json{{"language", language}};
}

} // namespace

TEST(ResourceWin, JsonTablesAreLinkedWithTheirMark) {
    for (int id : {resourcePalette, resourceLanguageTable}) {
        std::string bytes = loadJsonResource(id);
        ASSERT_GE(bytes.size(), 3u) << id;
        EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF") << id;
    }
    EXPECT_TRUE(loadJsonResource(9999).empty());
}

TEST(ResourceWin, LanguageTableLooksUpInBothLanguages) {
    const Json languages = loadLanguageTableResource();
    EXPECT_EQ(languageNames(languages), (std::vector<std::wstring>{L"English", L"日本語"}));

    const Json english = settingsFor("English");
    const Json japanese = settingsFor("日本語");
    EXPECT_EQ(lookupText(languages, english, "menu.titlebar.new", L"default"), L"New sticky");
    EXPECT_EQ(lookupText(languages, japanese, "menu.titlebar.new", L"default"), L"新しい付箋");
    // UTF-16 as Windows holds it: each of these characters is one code unit.
    EXPECT_EQ(lookupText(languages, japanese, "menu.titlebar.new", L"default"),
              std::wstring(L"\x65B0\x3057\x3044\x4ED8\x7B8B"));
    EXPECT_EQ(lookupText(languages, japanese, "dialog.search.case", L"default"), L"大文字と小文字を区別する");
    EXPECT_EQ(lookupText(languages, japanese, "menu.titlebar.new.more", L"default"), L"default");
    EXPECT_EQ(lookupText(languages, settingsFor("Deutsch"), "menu.titlebar.new", L"default"), L"default");

    Json settings = english;
    EXPECT_TRUE(setLanguage(languages, settings, L"日本語"));
    EXPECT_EQ(lookupText(languages, settings, "menu.common.undo", L"Undo"), L"元に戻す");
    EXPECT_EQ(formatDate(titleFormat(languages, settings), LocalTime{2024, 7, 3, 3, 9, 5, 7}),
              L"2024/7/3(水) 9:05:07");

    auto names = defaultGroupNames(languages, japanese);
    ASSERT_EQ(names.size(), 13u);
    EXPECT_EQ(names[12], L"ルールなし");
}

TEST(ResourceWin, PaletteHoldsFiftyColours) {
    const Json palette = loadPaletteResource();
    ASSERT_EQ(paletteCount(palette, "theme"), 50);
    EXPECT_EQ(paletteColour(palette, "theme", 0), L"#fdeff2");
    EXPECT_EQ(paletteColour(palette, "theme", 49), L"#16160e");
}

TEST(UserDefaultLanguageWin, MapsToATableLanguage) {
    std::string name = defaultLanguageName(userDefaultLanguageId());
    EXPECT_TRUE(name == "English" || name == "日本語") << name;
}

TEST(FontFamiliesWin, ListsInstalledFamilies) {
    auto families = enumerateFontFamilies();
    ASSERT_FALSE(families.empty());
    EXPECT_LE(families.size(), 300u);
    for (const auto& family : families) {
        EXPECT_FALSE(family.empty());
        EXPECT_EQ(family.find(L'\0'), std::wstring::npos);
    }
    auto firstTwo = enumerateFontFamilies(2);
    ASSERT_EQ(firstTwo.size(), std::min<size_t>(2, families.size()));
    EXPECT_TRUE(std::equal(firstTwo.begin(), firstTwo.end(), families.begin())); // same order every time
    EXPECT_TRUE(enumerateFontFamilies(0).empty());
}

TEST(DateFormatWin, FormatNowReadsTheLocalClock) {
    const LocalTime before = currentLocalTime();
    EXPECT_GE(before.year, 2024);
    EXPECT_GE(before.weekday, 0);
    EXPECT_LE(before.weekday, 6);
    const wchar_t* format = L"$YYYY-$MM-$DD $hh:$mm $www";
    std::wstring now = formatNow(format);
    const LocalTime after = currentLocalTime();
    EXPECT_TRUE(now == formatDate(format, before) || now == formatDate(format, after));
}
