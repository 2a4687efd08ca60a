#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>

#include "storage/Json.h"
#include "storage/Language.h"
#include "storage/TextCodec.h"

using namespace Brisvane;

namespace {

const std::string japanese = "日本語";

std::string readResource(const char* name) {
    std::ifstream in(std::string(TACKAROON_RESOURCE_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const Json& languageTable() {
    static const Json table = [] {
        Json t = loadResourceTable(readResource("language.json"));
        completeLanguageTable(t);
        return t;
    }();
    return table;
}

const Json& palette() {
    static const Json table = [] {
        Json t = loadResourceTable(readResource("palette.json"));
        completePalette(t);
        return t;
    }();
    return table;
}

Json settingsFor(const std::string& language) {
    return Json{{"language", language}};
}

// Every leaf of a language as its dotted path and kind: "string", "list of N strings" or
// anything else by type name, so that both the paths and the shapes are compared.
void collectLeaves(const Json& value, const std::string& path, std::map<std::string, std::string>& leaves) {
    if (value.is_object()) {
        for (auto it = value.begin(); it != value.end(); ++it) {
            collectLeaves(it.value(), path.empty() ? it.key() : path + "." + it.key(), leaves);
        }
    } else if (value.is_string()) {
        leaves[path] = "string";
    } else if (value.is_array()) {
        bool allStrings = true;
        for (const Json& element : value) {
            allStrings = allStrings && element.is_string() && !element.get_ref<const std::string&>().empty();
        }
        leaves[path] = allStrings ? "list of " + std::to_string(value.size()) + " strings" : "mixed list";
    } else {
        leaves[path] = value.type_name();
    }
}

std::map<std::string, std::string> leavesOf(const std::string& language) {
    std::map<std::string, std::string> leaves;
    auto it = languageTable().find(language);
    if (it != languageTable().end()) {
        collectLeaves(*it, "", leaves);
    }
    return leaves;
}

} // namespace

TEST(LanguageResource, IsUtf8WithMarkAndHoldsEnglishAndJapanese) {
    std::string bytes = readResource("language.json");
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    // The file must parse on its own, not only through the lenient loader.
    EXPECT_TRUE(parseJson(std::string_view(bytes).substr(3)).is_object());
    EXPECT_EQ(languageNames(languageTable()), (std::vector<std::wstring>{L"English", L"日本語"}));
}

TEST(LanguageResource, BothLanguagesHaveTheSameKeysAndShapes) {
    auto english = leavesOf("English");
    auto japaneseLeaves = leavesOf(japanese);
    EXPECT_EQ(english, japaneseLeaves);

    int strings = 0;
    for (const auto& [path, kind] : english) {
        if (kind == "string") {
            ++strings;
        } else {
            EXPECT_EQ(path, "group.defaultNames") << kind;
            EXPECT_EQ(kind, "list of 13 strings") << path;
        }
    }
    EXPECT_EQ(strings, 213);
    EXPECT_EQ(english.size(), 214u);
}

TEST(LanguageResource, NeedsNoCompletion) {
    // The built-in table already has every member the completion would add.
    Json raw = loadResourceTable(readResource("language.json"));
    Json completed = raw;
    completeLanguageTable(completed);
    EXPECT_EQ(raw, completed);
}

TEST(LanguageResource, TextsInBothLanguages) {
    const Json en = settingsFor("English");
    const Json ja = settingsFor(japanese);
    const Json& t = languageTable();
    struct Case {
        const char* key;
        const wchar_t* english;
        const wchar_t* japanese;
    };
    const Case cases[] = {
        {"title.format", L"$M/$D/$YYYY($www) $h:$mm:$ss", L"$YYYY/$M/$D($WWW) $h:$mm:$ss"},
        {"group.uncategorized", L"(Uncategorized)", L"(未分類)"},
        {"menu.system.versionInfo", L"Version information...", L"バージョン情報..."},
        {"menu.system.closeApp", L"Quit Tackaroon notes", L"Tackaroon notes を終了"},
        {"menu.titlebar.new", L"New sticky", L"新しい付箋"},
        {"menu.titlebar.fix.name", L"Fixing position and size", L"位置・サイズの固定"},
        {"menu.titlebar.opacity.level100", L"100%", L"100%"},
        {"menu.text.undoName.dragDrop", L"Drag and Drop", L"ドラッグ AND ドロップ"},
        {"menu.scribble.strokeOpacity.level0", L"0%", L"0%"},
        {"menu.scribble.fillOpacity.name", L"Fill opacity", L"塗りつぶしの透明度"},
        {"menu.common.scribbleMode", L"Scribble mode", L"お絵かきモード"},
        {"dialog.trashAll.text",
         L"Are you sure you want to move all your sticky notes to the trash?\nYou can restore moved sticky "
         L"notes at any time within the time limit.",
         L"すべての付箋をゴミ箱へ移動しても良いですか？\n移動した付箋は期限内ならいつでも復元することができま"
         L"す"},
        {"dialog.clearTrash.text",
         L"Would you like to move all sticky notes in the application trash to the Windows trash?\n\nPress "
         L"Shift and OK to delete them immediately without going through the trash.",
         L"アプリケーションのゴミ箱内に存在するすべての付箋を "
         L"Windowsのゴミ箱へ移動しても良いですか？\n\nShift"
         L"キーを押しながらOKを押すとゴミ箱を経由せず今すぐ削除します"},
        {"dialog.groupManager.rule.name", L"Rule (Right-click menu on each item)",
         L"ルール （各項目を右クリックでメニュー）"},
        {"dialog.groupManager.rule.time.hour", L"h", L"時間"},
        {"dialog.generalSettings.startup.explanation",
         L"Registers to startup without using the registry.\n\nIf you delete this application, a shortcut "
         L"will remain in the startup folder, so please unregister it from this setting before deleting the "
         L"application, or manually delete the shortcut from the folder.",
         L"レジストリを使用せずスタートアップに登録します。\n\nこのアプリケーションを削除した場合、スタート"
         L"アップフォルダにショートカットが残るため、\nアプリケーション削除前にこの設定から登録を解除しておく"
         L"か、または手動でフォルダからショートカットを削除してください。"},
        {"dialog.versionInfo.mailAddress", L"Mail address:", L"メールアドレス:"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lookupText(t, en, c.key, L"?"), c.english) << c.key;
        EXPECT_EQ(lookupText(t, ja, c.key, L"?"), c.japanese) << c.key;
    }
}

TEST(LanguageResource, DefaultGroupNamesFollowTheLanguage) {
    auto english = defaultGroupNames(languageTable(), settingsFor("English"));
    auto japaneseNames = defaultGroupNames(languageTable(), settingsFor(japanese));
    ASSERT_EQ(english.size(), 13u);
    ASSERT_EQ(japaneseNames.size(), 13u);
    EXPECT_EQ(english[0],
              L"[While working] Translucent, Fold -> [30 seconds later of stopping working] Opaque, Unfold");
    EXPECT_EQ(english[7], L"[While working] Fold -> [3 minute later of stopping working] Unfold");
    EXPECT_EQ(english[8], L"[While working] Transparent -> [30 seconds later of stopping working] Opaque");
    EXPECT_EQ(english[9], L"[While working] Transparent -> [3 minutes later of stopping working] Opaque");
    EXPECT_EQ(english[11],
              L"[Normal] Fold, Mouse transparency -> [Mouse Hover] Unfold, Mouse transparency off");
    EXPECT_EQ(english[12], L"No rules");
    EXPECT_EQ(japaneseNames[4], L"[作業時] 背面 → [作業停止 30秒後] 最前面");
    EXPECT_EQ(japaneseNames[9], L"[作業時] 完全に透明 → [作業停止 3分後] 不透明");
    EXPECT_EQ(japaneseNames[10], L"[通常時] 半透明、マウス透過 → [マウスホバー] 不透明、マウス透過解除");
    EXPECT_EQ(japaneseNames[12], L"ルールなし");
    EXPECT_TRUE(defaultGroupNames(languageTable(), settingsFor("Deutsch")).empty());
    EXPECT_TRUE(defaultGroupNames(languageTable(), Json::object()).empty());
}

TEST(DefaultGroupNames, KeepPositionsWhenAnElementIsNotAString) {
    Json table = {{"English", {{"group", {{"defaultNames", {"zero", 1, "two"}}}}}}};
    EXPECT_EQ(defaultGroupNames(table, settingsFor("English")),
              (std::vector<std::wstring>{L"zero", L"", L"two"}));
    table["English"]["group"]["defaultNames"] = "not a list";
    EXPECT_TRUE(defaultGroupNames(table, settingsFor("English")).empty());
}

TEST(LookupText, FallsBackOnAnyMissingStep) {
    const Json& t = languageTable();
    const Json en = settingsFor("English");
    EXPECT_EQ(lookupText(t, en, "menu.titlebar.new", L"call site"), L"New sticky");
    EXPECT_EQ(lookupText(t, en, "menu.titlebar.new.extra", L"call site"), L"call site");
    EXPECT_EQ(lookupText(t, en, "menu.titelbar.new", L"call site"), L"call site");
    EXPECT_EQ(lookupText(t, en, "menu.titlebar.New", L"call site"), L"call site");  // case matters
    EXPECT_EQ(lookupText(t, en, "menu.titlebar", L"call site"), L"call site");      // an object, not a text
    EXPECT_EQ(lookupText(t, en, "group.defaultNames", L"call site"), L"call site"); // a list, not a text
    EXPECT_EQ(lookupText(t, en, "", L"call site"), L"call site");
    EXPECT_EQ(lookupText(t, en, "menu..titlebar.new", L"call site"), L"call site");
    EXPECT_EQ(lookupText(t, en, "menu.titlebar.new.", L"call site"), L"call site");
    EXPECT_EQ(lookupText(t, en, ".menu.titlebar.new", L"call site"), L"call site");
}

TEST(LookupText, FallsBackWhenTheLanguageIsUnusable) {
    const Json& t = languageTable();
    EXPECT_EQ(lookupText(t, settingsFor("Français"), "menu.titlebar.new", L"call site"), L"call site");
    EXPECT_EQ(lookupText(t, settingsFor("english"), "menu.titlebar.new", L"call site"), L"call site");
    EXPECT_EQ(lookupText(t, Json::object(), "menu.titlebar.new", L"call site"), L"call site");
    EXPECT_EQ(lookupText(t, Json{{"language", 3}}, "menu.titlebar.new", L"call site"), L"call site");
    EXPECT_EQ(lookupText(t, Json::array(), "menu.titlebar.new", L"call site"), L"call site");
    EXPECT_EQ(lookupText(Json::object(), settingsFor("English"), "menu.titlebar.new", L"x"), L"x");
    EXPECT_EQ(lookupText(Json("text"), settingsFor("English"), "menu.titlebar.new", L"x"), L"x");
    // A language whose value is not an object has no texts.
    EXPECT_EQ(lookupText(Json{{"English", "flat"}}, settingsFor("English"), "menu", L"x"), L"x");
}

TEST(LookupText, NonStringLeavesFallBack) {
    Json t = {{"English", {{"menu", {{"number", 4}, {"flag", true}, {"nothing", nullptr}, {"text", "ok"}}}}}};
    const Json en = settingsFor("English");
    EXPECT_EQ(lookupText(t, en, "menu.number", L"d"), L"d");
    EXPECT_EQ(lookupText(t, en, "menu.flag", L"d"), L"d");
    EXPECT_EQ(lookupText(t, en, "menu.nothing", L"d"), L"d");
    EXPECT_EQ(lookupText(t, en, "menu.text.more", L"d"), L"d");
    EXPECT_EQ(lookupText(t, en, "menu.text", L"d"), L"ok");
}

TEST(TitleFormat, ComesFromTheLanguageOrTheDefault) {
    EXPECT_EQ(titleFormat(languageTable(), settingsFor("English")), L"$M/$D/$YYYY($www) $h:$mm:$ss");
    EXPECT_EQ(titleFormat(languageTable(), settingsFor(japanese)), L"$YYYY/$M/$D($WWW) $h:$mm:$ss");
    EXPECT_EQ(titleFormat(languageTable(), settingsFor("Français")), L"$M/$D/$YYYY($www) $h:$mm:$ss");
}

TEST(CompleteLanguageTable, ReplacesMembersOfTheWrongType) {
    Json t = {{"A", {{"title", "no object"}, {"menu", 1}}},
              {"B", {{"title", {{"format", 5}, {"other", "kept"}}}, {"menu", {{"x", "y"}}}}},
              {"C", {{"title", {{"format", "$YYYY"}}}}},
              {"D", "not a language"}};
    completeLanguageTable(t);
    EXPECT_EQ(t["A"], (Json{{"title", {{"format", defaultTitleFormat}}}, {"menu", Json::object()}}));
    EXPECT_EQ(t["B"],
              (Json{{"title", {{"format", defaultTitleFormat}, {"other", "kept"}}}, {"menu", {{"x", "y"}}}}));
    EXPECT_EQ(t["C"]["title"]["format"], "$YYYY");
    EXPECT_EQ(t["C"]["menu"], Json::object());
    EXPECT_EQ(t["D"], "not a language");
    EXPECT_EQ(titleFormat(t, settingsFor("C")), L"$YYYY");
    EXPECT_EQ(titleFormat(t, settingsFor("D")), L"$M/$D/$YYYY($www) $h:$mm:$ss");

    Json notATable = Json::array({1, 2});
    completeLanguageTable(notATable);
    EXPECT_EQ(notATable, Json::object());
}

TEST(LoadResourceTable, AcceptsTheMarkAndRefusesEverythingButObjects) {
    EXPECT_EQ(loadResourceTable("\xEF\xBB\xBF{\"a\": 1}"), (Json{{"a", 1}}));
    EXPECT_EQ(loadResourceTable("{\"a\": 1}"), (Json{{"a", 1}}));
    // The table is a NUL-terminated text: whatever follows a NUL is ignored.
    EXPECT_EQ(loadResourceTable(std::string_view("{\"a\": 1}\0garbage", 16)), (Json{{"a", 1}}));
    EXPECT_EQ(loadResourceTable(std::string_view("{\"a\"\0: 1}", 9)), Json::object());
    EXPECT_EQ(loadResourceTable(""), Json::object());
    EXPECT_EQ(loadResourceTable("\xEF\xBB\xBF"), Json::object());
    EXPECT_EQ(loadResourceTable("[1, 2]"), Json::object());
    EXPECT_EQ(loadResourceTable("\"text\""), Json::object());
    EXPECT_EQ(loadResourceTable("{\"a\": "), Json::object());
    EXPECT_EQ(loadResourceTable("\xEF\xBB\xBF\xEF\xBB\xBF{}"), Json::object()); // only one mark is skipped
    EXPECT_EQ(loadResourceTable(std::string(1000, '[') + std::string(1000, ']')), Json::object());
}

TEST(LanguageNames, FollowByteOrderOfTheNames) {
    Json t = {{japanese, Json::object()},
              {"Zulu", Json::object()},
              {"English", Json::object()},
              {"Deutsch", Json::object()}};
    EXPECT_EQ(languageNames(t), (std::vector<std::wstring>{L"Deutsch", L"English", L"Zulu", L"日本語"}));
    EXPECT_TRUE(languageNames(Json::object()).empty());
    EXPECT_TRUE(languageNames(Json::array()).empty());
}

TEST(SetLanguage, StoresOnlyMembersAndReportsRealChanges) {
    const Json& t = languageTable();
    Json settings = {{"language", "English"}, {"other", 1}};
    EXPECT_TRUE(setLanguage(t, settings, L"日本語"));
    EXPECT_EQ(settings["language"], japanese);
    EXPECT_FALSE(setLanguage(t, settings, L"日本語")); // already the language: nothing to save
    EXPECT_FALSE(setLanguage(t, settings, L"Français"));
    EXPECT_FALSE(setLanguage(t, settings, L"english"));
    EXPECT_FALSE(setLanguage(t, settings, L""));
    EXPECT_EQ(settings, (Json{{"language", japanese}, {"other", 1}}));
    EXPECT_EQ(currentLanguage(settings), L"日本語");
    EXPECT_EQ(lookupText(t, settings, "menu.common.cancel", L"Cancel"), L"キャンセル");

    Json missing = Json::object();
    EXPECT_TRUE(setLanguage(t, missing, L"English"));
    EXPECT_EQ(missing, settingsFor("English"));

    Json wrongType = {{"language", 7}};
    EXPECT_TRUE(setLanguage(t, wrongType, L"English"));
    EXPECT_EQ(wrongType, settingsFor("English"));

    Json notObject = "broken";
    EXPECT_FALSE(setLanguage(t, notObject, L"Français"));
    EXPECT_EQ(notObject, "broken");
    EXPECT_TRUE(setLanguage(t, notObject, L"English"));
    EXPECT_EQ(notObject, settingsFor("English"));
}

TEST(CurrentLanguage, IsEmptyWithoutAStringSetting) {
    EXPECT_EQ(currentLanguage(settingsFor("English")), L"English");
    EXPECT_EQ(currentLanguage(Json{{"language", true}}), L"");
    EXPECT_EQ(currentLanguage(Json::object()), L"");
    EXPECT_EQ(currentLanguage(Json(nullptr)), L"");
}

TEST(PaletteResource, HoldsFiftyThemeColours) {
    std::string bytes = readResource("palette.json");
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    const Json& p = palette();
    ASSERT_EQ(paletteCount(p, "theme"), 50);
    EXPECT_EQ(paletteColour(p, "theme", 0), L"#fdeff2");
    EXPECT_EQ(paletteColour(p, "theme", 12), L"#ee7800");
    EXPECT_EQ(paletteColour(p, "theme", 27), L"#ebf6f7");
    EXPECT_EQ(paletteColour(p, "theme", 46), L"#ffffff");
    EXPECT_EQ(paletteColour(p, "theme", 49), L"#16160e");
    EXPECT_EQ(paletteColour(p, "theme", 50), L"");
    EXPECT_EQ(paletteColour(p, "theme", -1), L"");
    const std::wregex colour(L"#[0-9a-f]{6}");
    std::set<std::wstring> distinct;
    for (int i = 0; i < 50; ++i) {
        std::wstring c = paletteColour(p, "theme", i);
        EXPECT_TRUE(std::regex_match(c, colour)) << i;
        distinct.insert(c);
    }
    EXPECT_EQ(distinct.size(), 50u);
    EXPECT_EQ(paletteCount(p, "missing"), 0);
}

TEST(Palette, CountIsCappedAndOnlyStringsAreColours) {
    Json p = {{"theme", Json::array()}, {"text", "#ffffff"}};
    for (int i = 0; i < 150; ++i) {
        p["theme"].push_back("#" + std::to_string(100000 + i));
    }
    p["theme"][3] = 42;
    EXPECT_EQ(paletteCount(p, "theme"), 100);
    EXPECT_EQ(paletteColour(p, "theme", 99), L"#100099");
    EXPECT_EQ(paletteColour(p, "theme", 100), L""); // past the counted elements
    EXPECT_EQ(paletteColour(p, "theme", 3), L"");
    EXPECT_EQ(paletteCount(p, "text"), 0);
    EXPECT_EQ(paletteColour(p, "text", 0), L"");
    EXPECT_EQ(paletteCount(Json::array(), "theme"), 0);
    EXPECT_EQ(paletteColour(Json::array(), "theme", 0), L"");
}

TEST(CompletePalette, MakesThemeAList) {
    Json p = {{"theme", "#ffffff"}, {"other", 1}};
    completePalette(p);
    EXPECT_EQ(p, (Json{{"theme", Json::array()}, {"other", 1}}));
    Json kept = {{"theme", {"#000000"}}};
    completePalette(kept);
    EXPECT_EQ(kept, (Json{{"theme", {"#000000"}}}));
    Json notObject = 5;
    completePalette(notObject);
    EXPECT_EQ(notObject, (Json{{"theme", Json::array()}}));
}

TEST(LocalizedName, PrefersTheCurrentLanguageThenEnglish) {
    const Json entry = {{"localName", {{"English", "Line"}, {japanese, "線"}}}};
    EXPECT_EQ(localizedName(entry, settingsFor(japanese)), L"線");
    EXPECT_EQ(localizedName(entry, settingsFor("English")), L"Line");
    EXPECT_EQ(localizedName(entry, settingsFor("Deutsch")), L"Line");
    EXPECT_EQ(localizedName(entry, Json::object()), L"Line");

    const Json japaneseNotString = {{"localName", {{"English", "Line"}, {japanese, 3}}}};
    EXPECT_EQ(localizedName(japaneseNotString, settingsFor(japanese)), L"Line");
    const Json onlyJapanese = {{"localName", {{japanese, "線"}}}};
    EXPECT_EQ(localizedName(onlyJapanese, settingsFor("English")), L"");
    const Json englishNotString = {{"localName", {{"English", {"Line"}}}}};
    EXPECT_EQ(localizedName(englishNotString, settingsFor("English")), L"");
    EXPECT_EQ(localizedName(Json{{"localName", "Line"}}, settingsFor("English")), L"");
    EXPECT_EQ(localizedName(Json{{"name", "Line"}}, settingsFor("English")), L"");
    EXPECT_EQ(localizedName(Json("Line"), settingsFor("English")), L"");
}

TEST(LocalizedName, IndexPastTheListIsEmpty) {
    const Json entries = {{{"localName", {{"English", "Line"}}}}, {{"localName", {{"English", "Arrow"}}}}};
    EXPECT_EQ(localizedName(entries, 0, settingsFor("English")), L"Line");
    EXPECT_EQ(localizedName(entries, 1, settingsFor("English")), L"Arrow");
    EXPECT_EQ(localizedName(entries, 2, settingsFor("English")), L"");
    EXPECT_EQ(localizedName(Json::object(), 0, settingsFor("English")), L"");
}

TEST(DefaultLanguage, JapaneseOnlyForJapan) {
    EXPECT_EQ(defaultLanguageName(0x0411), japanese);
    EXPECT_EQ(defaultLanguageName(0x0409), "English");
    EXPECT_EQ(defaultLanguageName(0x0011), "English"); // neutral Japanese is not 0x0411
    EXPECT_EQ(defaultLanguageName(0x0404), "English");
    EXPECT_EQ(defaultLanguageName(0), "English");
}

namespace {

// Sets or clears an environment variable for the life of the object.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(UserDefaultLanguageId, ReadsTheLocaleEnvironment) {
    {
        ScopedEnvironment all("LC_ALL", "ja_JP.UTF-8");
        ScopedEnvironment lang("LANG", "en_US.UTF-8");
        EXPECT_EQ(userDefaultLanguageId(), 0x0411);
    }
    {
        ScopedEnvironment all("LC_ALL", "C");
        ScopedEnvironment lang("LANG", "ja_JP.UTF-8");
        EXPECT_EQ(userDefaultLanguageId(), 0x0409); // LC_ALL overrides LANG
    }
    {
        ScopedEnvironment all("LC_ALL", "");
        ScopedEnvironment messages("LC_MESSAGES", nullptr);
        ScopedEnvironment lang("LANG", "ja_JP.eucJP");
        EXPECT_EQ(userDefaultLanguageId(), 0x0411);
    }
    {
        ScopedEnvironment all("LC_ALL", nullptr);
        ScopedEnvironment messages("LC_MESSAGES", "ja_JP");
        ScopedEnvironment lang("LANG", "en_US.UTF-8");
        EXPECT_EQ(userDefaultLanguageId(), 0x0411); // messages decide the interface language
    }
    {
        ScopedEnvironment all("LC_ALL", nullptr);
        ScopedEnvironment messages("LC_MESSAGES", nullptr);
        ScopedEnvironment lang("LANG", "jam_JM");
        EXPECT_EQ(userDefaultLanguageId(), 0x0409);
    }
    {
        ScopedEnvironment all("LC_ALL", nullptr);
        ScopedEnvironment messages("LC_MESSAGES", nullptr);
        ScopedEnvironment lang("LANG", nullptr);
        EXPECT_EQ(userDefaultLanguageId(), 0x0409);
    }
}
