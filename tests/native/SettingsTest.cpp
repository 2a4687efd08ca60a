#include <gtest/gtest.h>

#include <set>
#include <string>

#include "../../fuzz/Checks.h"
#include "storage/GroupStore.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

using namespace Brisvane;

namespace {

constexpr std::uint16_t english = 0x0409;

// Every member at its default and no groups, written out by hand.
const char* const allDefaults = R"({
  "language": "English",
  "autoSave": {"available": true, "elapse": 5},
  "window": {"margin": {"left": 0, "right": 0}},
  "magnet": {"monitor": {"x": 30, "y": 30}, "note": {"x": 10, "y": 10}},
  "titlebar": {"height": {"default": 20, "fold": 18}},
  "tooltip": {"initial": 1000, "autoPopup": 10000},
  "ime": {"open": true},
  "group": [],
  "search": {"recentlyMax": 100, "recently": []},
  "trash": {"deadline": 31},
  "font": {"size": 16}
})";

// Two small stand-in default groups; the real table has its own test.
const Json fakeDefaults = parseJson(R"([{"name": "${name0}", "rule": [{"action": "input"}]},
                                        {"name": "${name1}", "rule": []}])");

struct Loaded {
    Json settings;
    bool loaded;
};

Loaded load(std::string_view text, ErrorCode readResult = errorSuccess, const Json& defaults = fakeDefaults) {
    Loaded result;
    result.settings = settingsFromText(readResult, utf8ToWide(text), result.loaded);
    completeSettings(result.settings, result.loaded, defaults, english);
    return result;
}

Json loadedMember(std::string_view text, const char* pointer) {
    return load(text).settings[Json::json_pointer(pointer)];
}

bool isGuidText(const Json& value) {
    if (!value.is_string()) {
        return false;
    }
    const std::string& text = value.get_ref<const std::string&>();
    if (text.size() != 36) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
        bool hex = (text[i] >= '0' && text[i] <= '9') || (text[i] >= 'a' && text[i] <= 'f');
        if (hyphen ? text[i] != '-' : !hex) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(SettingsText, CountsAsLoadedOnlyWhenReadAndParsedToNonNull) {
    bool loaded = true;
    EXPECT_TRUE(settingsFromText(errorSuccess, L"{\"a\": 1}", loaded).is_object());
    EXPECT_TRUE(loaded);
    EXPECT_TRUE(settingsFromText(errorSuccess, L"[1]", loaded).is_array());
    EXPECT_TRUE(loaded); // read and parsed: the caller keeps whatever groups it had (none)
    EXPECT_TRUE(settingsFromText(errorSuccess, L"", loaded).is_null());
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(settingsFromText(errorSuccess, L"{\"a\": ", loaded).is_null());
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(settingsFromText(errorSuccess, L"null", loaded).is_null());
    EXPECT_FALSE(loaded);
    settingsFromText(2 /* file not found */, L"", loaded);
    EXPECT_FALSE(loaded);
    // A failed read yields null whatever text it left.
    EXPECT_TRUE(settingsFromText(errorReadFault, L"{\"font\": {}}", loaded).is_null());
    EXPECT_FALSE(loaded);
    EXPECT_EQ(settingsFromText(errorSuccess, L"{\"language\": \"\u65e5\u672c\u8a9e\"}", loaded)["language"],
              "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E");
}

TEST(SettingsCompletion, EmptyObjectGivesEveryDefaultAndNoGroups) {
    Loaded result = load("{}");
    EXPECT_TRUE(result.loaded);
    EXPECT_EQ(result.settings, parseJson(allDefaults));
    EXPECT_TRUE(Checks::settingsSatisfiesTypes(result.settings));
}

TEST(SettingsCompletion, NonObjectFileGivesDefaultsWithoutDefaultGroups) {
    for (const char* text : {"[]", "[{\"name\": \"x\"}]", "12", "\"text\"", "true"}) {
        Loaded result = load(text);
        EXPECT_TRUE(result.loaded) << text;
        EXPECT_EQ(result.settings, parseJson(allDefaults)) << text;
    }
}

TEST(SettingsCompletion, UnreadableFileGetsDefaultsAndDefaultGroups) {
    struct Case {
        const char* text;
        ErrorCode readResult;
    };
    for (Case c : {Case{"", errorSuccess}, Case{"{oops", errorSuccess}, Case{"null", errorSuccess},
                   Case{"", 3}, Case{"{\"group\": [], \"font\": {\"size\": 20}}", errorReadFault}}) {
        Loaded result = load(c.text, c.readResult);
        EXPECT_FALSE(result.loaded) << c.text;
        const Json& groups = result.settings["group"];
        ASSERT_EQ(groups.size(), 2u) << c.text;
        EXPECT_EQ(groups[0]["name"], "${name0}");
        EXPECT_EQ(groups[0]["rule"], fakeDefaults[0]["rule"]);
        EXPECT_EQ(groups[1]["name"], "${name1}");
        EXPECT_TRUE(isGuidText(groups[0]["guid"]));
        EXPECT_TRUE(isGuidText(groups[1]["guid"]));
        EXPECT_NE(groups[0]["guid"], groups[1]["guid"]);
        Json rest = result.settings;
        rest["group"] = Json::array();
        EXPECT_EQ(rest, parseJson(allDefaults)) << c.text;
    }
}

TEST(SettingsCompletion, DefaultGroupsReplaceStoredOnesOnlyWhenNotLoaded) {
    Json stored = parseJson(R"({"group": [{"guid": "keep", "name": "Mine", "rule": []}]})");
    Json settings = stored;
    completeSettings(settings, true, fakeDefaults, english);
    EXPECT_EQ(settings["group"], stored["group"]);

    settings = stored;
    completeSettings(settings, false, fakeDefaults, english);
    ASSERT_EQ(settings["group"].size(), 2u);
    EXPECT_EQ(settings["group"][0]["name"], "${name0}");

    // A default-groups table that is missing or not an array leaves "group" alone.
    for (const Json& badDefaults : {Json(Json::value_t::discarded), Json(nullptr), Json::object()}) {
        settings = stored;
        completeSettings(settings, false, badDefaults, english);
        EXPECT_EQ(settings["group"], stored["group"]);
        settings = Json();
        completeSettings(settings, false, badDefaults, english);
        EXPECT_EQ(settings["group"], Json::array());
    }
}

TEST(SettingsCompletion, LanguageFollowsTheUserLanguageOnlyAsDefault) {
    Json settings = Json::object();
    completeSettings(settings, true, Json(), languageIdJapanese);
    EXPECT_EQ(utf8ToWide(settings["language"].get_ref<const std::string&>()), L"\u65e5\u672c\u8a9e");
    settings = Json::object();
    completeSettings(settings, true, Json(), 0x0809);
    EXPECT_EQ(settings["language"], "English");
    settings = {{"language", "English"}};
    completeSettings(settings, true, Json(), languageIdJapanese);
    EXPECT_EQ(settings["language"], "English");
    settings = {{"language", 411}};
    completeSettings(settings, true, Json(), english);
    EXPECT_EQ(settings["language"], "English");
}

TEST(SettingsCompletion, UnsignedMembersRejectNegativesAndFloats) {
    EXPECT_EQ(loadedMember(R"({"window": {"margin": {"left": -4}}})", "/window/margin/left"), 0);
    EXPECT_EQ(loadedMember(R"({"window": {"margin": {"right": 12}}})", "/window/margin/right"), 12);
    EXPECT_EQ(loadedMember(R"({"magnet": {"monitor": {"x": 2.0}}})", "/magnet/monitor/x"), 30);
    EXPECT_EQ(loadedMember(R"({"magnet": {"note": {"y": -1}}})", "/magnet/note/y"), 10);
    EXPECT_EQ(loadedMember(R"({"titlebar": {"height": {"fold": 0}}})", "/titlebar/height/fold"), 0);
    EXPECT_EQ(loadedMember(R"({"titlebar": {"height": {"default": "24"}}})", "/titlebar/height/default"), 20);
    EXPECT_EQ(loadedMember(R"({"tooltip": {"autoPopup": 18446744073709551615}})", "/tooltip/autoPopup"),
              18446744073709551615u);
    EXPECT_EQ(loadedMember(R"({"tooltip": {"initial": 18446744073709551616}})", "/tooltip/initial"), 1000);
    EXPECT_EQ(loadedMember(R"({"font": {"size": -9223372036854775809}})", "/font/size"), 16);
    // A number beyond any range is out of range for its member alone.
    Loaded overflow = load(R"({"font": {"size": 1e400}, "trash": {"deadline": 2}, "unknown": 1e39})");
    EXPECT_TRUE(overflow.loaded);
    EXPECT_EQ(overflow.settings["font"]["size"], 16);
    EXPECT_EQ(overflow.settings["trash"]["deadline"], 2);
    EXPECT_EQ(overflow.settings["unknown"].get<double>(), 1e39);
}

TEST(SettingsCompletion, IntegerMembersKeepNegativesAndRejectFloats) {
    EXPECT_EQ(loadedMember(R"({"trash": {"deadline": -1}})", "/trash/deadline"), -1);
    EXPECT_EQ(loadedMember(R"({"trash": {"deadline": 0.5}})", "/trash/deadline"), 31);
    EXPECT_EQ(loadedMember(R"({"autoSave": {"elapse": 2.5}})", "/autoSave/elapse"), 5);
    EXPECT_EQ(loadedMember(R"({"autoSave": {"elapse": 60}})", "/autoSave/elapse"), 60);
    EXPECT_EQ(loadedMember(R"({"autoSave": {"available": 0}})", "/autoSave/available"), true);
    EXPECT_EQ(loadedMember(R"({"autoSave": {"available": false}})", "/autoSave/available"), false);
    EXPECT_EQ(loadedMember(R"({"ime": {"open": "false"}})", "/ime/open"), true);
}

TEST(SettingsCompletion, SearchHistoryKeepsStringsUpToTheMaximum) {
    Json settings = {{"search", {{"recentlyMax", 100}, {"recently", Json::array()}}}};
    for (int i = 0; i < 150; ++i) {
        settings["search"]["recently"].push_back("term " + std::to_string(i));
        if (i == 3) {
            settings["search"]["recently"].push_back(42);
            settings["search"]["recently"].push_back(nullptr);
        }
    }
    completeSettings(settings, true, Json(), english);
    const Json& recently = settings["search"]["recently"];
    ASSERT_EQ(recently.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(recently[i], "term " + std::to_string(i));
    }

    EXPECT_EQ(loadedMember(R"({"search": {"recentlyMax": 0, "recently": ["a"]}})", "/search/recently"),
              Json::array());
    EXPECT_EQ(loadedMember(R"({"search": {"recentlyMax": 2, "recently": [1, "a", {}, "b", "c"]}})",
                           "/search/recently"),
              Json::array({"a", "b"}));
    // An unusable maximum takes the default before the list is cut.
    Json cut = load(R"({"search": {"recentlyMax": -1, "recently": ["a", "b"]}})").settings["search"];
    EXPECT_EQ(cut["recentlyMax"], 100);
    EXPECT_EQ(cut["recently"], Json::array({"a", "b"}));
    EXPECT_EQ(loadedMember(R"({"search": {"recently": "a"}})", "/search/recently"), Json::array());
}

TEST(SettingsCompletion, UnknownMembersSurvive) {
    const char* text =
        R"({"extra": {"x": [1]}, "autoSave": {"note": "n"}, "window": {"margin": {"top": 3}, "w": 1},
                           "magnet": {"monitor": {"z": 1}}, "search": {"last": "q"}, "font": {"name": "Meiryo"},
                           "group": [{"guid": "g", "name": "n", "rule": [{"action": 5, "odd": true}], "colour": 1}]})";
    Json source = parseJson(text);
    Json settings = load(text).settings;
    for (const char* pointer :
         {"/extra", "/autoSave/note", "/window/margin/top", "/window/w", "/magnet/monitor/z", "/search/last",
          "/font/name", "/group/0/rule", "/group/0/colour"}) {
        Json::json_pointer p(pointer);
        ASSERT_TRUE(settings.contains(p)) << pointer;
        EXPECT_EQ(settings[p], source[p]) << pointer;
    }
}

TEST(GroupEntries, EveryEntryGetsGuidNameAndRules) {
    Json groups = parseJson(R"([
        {"guid": "11111111-2222-3333-4444-555555555555", "name": "Work", "rule": [{"action": "input"}, 5]},
        {"guid": "", "name": 3, "rule": {"action": "input"}},
        {"guid": 17},
        7, null, "group", [],
        {}
    ])");
    completeGroupEntries(groups);
    ASSERT_EQ(groups.size(), 4u); // entries that are not objects are dropped
    EXPECT_EQ(groups[0]["guid"], "11111111-2222-3333-4444-555555555555");
    EXPECT_EQ(groups[0]["name"], "Work");
    EXPECT_EQ(groups[0]["rule"], parseJson(R"([{"action": "input"}, 5])")); // rules are read later, as stored
    EXPECT_EQ(groups[1]["name"], "");
    EXPECT_EQ(groups[1]["rule"], Json::array());
    std::set<std::string> fresh;
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_TRUE(isGuidText(groups[i]["guid"])) << i;
        fresh.insert(groups[i]["guid"].get<std::string>());
    }
    EXPECT_EQ(fresh.size(), 3u);
    EXPECT_TRUE(Checks::groupEntriesSatisfyTypes(groups));

    Json notArray = Json::object();
    completeGroupEntries(notArray);
    EXPECT_EQ(notArray, Json::array());

    Json settings = parseJson(R"({"group": {"guid": "x"}})");
    completeSettings(settings, true, fakeDefaults, english);
    EXPECT_EQ(settings["group"], Json::array());
}

TEST(SettingsGetters, ReadDefaultsFromAnyDocumentWithoutThrowing) {
    for (const char* text :
         {"null", "[]", "7", "{}", R"({"magnet": 5, "titlebar": [], "font": {"size": "x"}})",
          R"({"window": {"margin": []}, "tooltip": {"initial": -3}, "ime": {"open": 1}})",
          R"({"search": {"recentlyMax": 1.5}, "trash": {"deadline": "31"}})"}) {
        Json s = parseJson(text);
        EXPECT_EQ(magnetMonitorX(s), 30) << text;
        EXPECT_EQ(magnetMonitorY(s), 30);
        EXPECT_EQ(magnetNoteX(s), 10);
        EXPECT_EQ(magnetNoteY(s), 10);
        EXPECT_EQ(titlebarHeightDefault(s), 20);
        EXPECT_EQ(titlebarHeightFold(s), 18);
        EXPECT_EQ(tooltipInitial(s), 1000);
        EXPECT_EQ(tooltipAutoPopup(s), 10000);
        EXPECT_TRUE(imeOpen(s));
        EXPECT_EQ(marginLeft(s), 0);
        EXPECT_EQ(marginRight(s), 0);
        EXPECT_EQ(fontSize(s), 16);
        EXPECT_TRUE(autoSaveAvailable(s));
        EXPECT_EQ(autoSaveElapse(s), 5);
        EXPECT_EQ(trashDeadline(s), 31);
        EXPECT_EQ(searchRecentlyMax(s), 100);
    }
    EXPECT_NO_THROW(magnetMonitorX(Json(Json::value_t::discarded)));
}

TEST(SettingsGetters, ReturnStoredValuesClampedTo32Bits) {
    Json s = parseJson(R"({"magnet": {"monitor": {"x": 1, "y": 2}, "note": {"x": 3, "y": 4}},
        "titlebar": {"height": {"default": 25, "fold": 15}}, "tooltip": {"initial": 500, "autoPopup": 5000000000},
        "ime": {"open": false}, "window": {"margin": {"left": 7, "right": 8}}, "font": {"size": 11},
        "autoSave": {"available": false, "elapse": -9999999999}, "trash": {"deadline": -1},
        "search": {"recentlyMax": 18446744073709551615}})");
    EXPECT_EQ(magnetMonitorX(s), 1);
    EXPECT_EQ(magnetMonitorY(s), 2);
    EXPECT_EQ(magnetNoteX(s), 3);
    EXPECT_EQ(magnetNoteY(s), 4);
    EXPECT_EQ(titlebarHeightDefault(s), 25);
    EXPECT_EQ(titlebarHeightFold(s), 15);
    EXPECT_EQ(tooltipInitial(s), 500);
    EXPECT_EQ(tooltipAutoPopup(s), 2147483647);
    EXPECT_FALSE(imeOpen(s));
    EXPECT_EQ(marginLeft(s), 7);
    EXPECT_EQ(marginRight(s), 8);
    EXPECT_EQ(fontSize(s), 11);
    EXPECT_FALSE(autoSaveAvailable(s));
    EXPECT_EQ(autoSaveElapse(s), -2147483647 - 1);
    EXPECT_EQ(trashDeadline(s), -1);
    EXPECT_EQ(searchRecentlyMax(s), 2147483647);
}

TEST(SettingsGetters, DrawnSizesAreBoundedAndTheStoredValueKept) {
    Json s = parseJson(R"({"titlebar": {"height": {"default": 4294967295, "fold": 100000}},
        "window": {"margin": {"left": 70000, "right": 4}}, "font": {"size": 4294967295}})");
    EXPECT_EQ(titlebarHeightDefault(s), maxDrawnTitlebarHeight);
    EXPECT_EQ(titlebarHeightFold(s), maxDrawnTitlebarHeight);
    EXPECT_EQ(marginLeft(s), maxDrawnMargin);
    EXPECT_EQ(marginRight(s), 4);
    EXPECT_EQ(fontSize(s), maxDrawnFontSize);
    EXPECT_LE(fontSize(s) * 14, 32767) << "the body's height in twips";
    EXPECT_EQ(fontSize(parseJson(R"({"font": {"size": 0}})")), 1);
    EXPECT_EQ(s["font"]["size"], 4294967295u);
}

TEST(SettingsSetters, ReportAChangeOnlyWhenTheValueDiffers) {
    Json s = load("{}").settings;
    EXPECT_TRUE(setMarginLeft(s, 12));
    EXPECT_FALSE(setMarginLeft(s, 12));
    EXPECT_EQ(marginLeft(s), 12);
    EXPECT_EQ(s["window"]["margin"]["left"], 12);
    EXPECT_FALSE(setMarginRight(s, 0));
    EXPECT_TRUE(setMarginRight(s, 3));
    EXPECT_EQ(marginRight(s), 3);

    EXPECT_FALSE(setImeOpen(s, true));
    EXPECT_TRUE(setImeOpen(s, false));
    EXPECT_FALSE(imeOpen(s));

    EXPECT_FALSE(setAutoSave(s, true, 5));
    EXPECT_TRUE(setAutoSave(s, false, 5));
    EXPECT_FALSE(autoSaveAvailable(s));
    EXPECT_TRUE(setAutoSave(s, false, 30));
    EXPECT_EQ(autoSaveElapse(s), 30);
    EXPECT_TRUE(setAutoSave(s, true, 10));
    EXPECT_TRUE(autoSaveAvailable(s));
    EXPECT_EQ(autoSaveElapse(s), 10);
    EXPECT_FALSE(setAutoSave(s, true, 10));

    EXPECT_FALSE(setTrashDeadline(s, 31));
    EXPECT_TRUE(setTrashDeadline(s, 7));
    EXPECT_EQ(trashDeadline(s), 7);
    EXPECT_FALSE(setFontSize(s, 16));
    EXPECT_TRUE(setFontSize(s, 4000000000u));
    EXPECT_EQ(s["font"]["size"], 4000000000u);
    EXPECT_FALSE(setFontSize(s, 4000000000u));
    EXPECT_TRUE(Checks::settingsSatisfiesTypes(s));

    // What the setters wrote reads back the same after a write and a read.
    Loaded again = load(serializeJson(s));
    EXPECT_EQ(again.settings, s);
}

TEST(SettingsSetters, IllTypedOrMissingStoredValuesAlwaysDiffer) {
    Json s = parseJson(R"({"font": {"size": 16.0}, "window": {"margin": 4}, "ime": {"open": 1}})");
    EXPECT_TRUE(setFontSize(s, 16));
    EXPECT_TRUE(s["font"]["size"].is_number_integer());
    EXPECT_TRUE(setMarginLeft(s, 0));
    EXPECT_TRUE(s["window"]["margin"].is_object());
    EXPECT_TRUE(setImeOpen(s, true));
    EXPECT_EQ(s["ime"]["open"], true);

    Json notObject = Json::array({1});
    EXPECT_TRUE(setTrashDeadline(notObject, 31));
    EXPECT_EQ(notObject, parseJson(R"({"trash": {"deadline": 31}})"));

    // A negative margin is stored as given and reads as 0, as the next load would make it.
    Json negative = Json::object();
    EXPECT_TRUE(setMarginLeft(negative, -4));
    EXPECT_EQ(negative["window"]["margin"]["left"], -4);
    EXPECT_EQ(marginLeft(negative), 0);
    EXPECT_FALSE(setMarginLeft(negative, -4));
}

TEST(SettingsCompletion, HostileTextNeverThrows) {
    std::string deep(100000, '[');
    std::string deepObject;
    for (int i = 0; i < 50000; ++i) {
        deepObject += "{\"group\":";
    }
    std::string longTerm = R"({"search": {"recently": [")" + std::string(1 << 20, 'q') + R"("]}})";
    std::string wrongEverywhere = R"({"language": [], "autoSave": {"available": {}, "elapse": []},
        "window": {"margin": {"left": {}, "right": null}}, "magnet": {"monitor": [], "note": {"x": "1", "y": true}},
        "titlebar": {"height": 3}, "tooltip": null, "ime": [], "group": [[], {"guid": [], "name": {}, "rule": 1}],
        "search": {"recentlyMax": "100", "recently": [[], {}, 1, null]}, "trash": [], "font": {"size": {}}})";
    std::string hugeNumbers = R"({"autoSave": {"elapse": 3e38}, "trash": {"deadline": -9223372036854775809},
        "font": {"size": 18446744073709551616}, "search": {"recentlyMax": 18446744073709551615}})";
    for (const std::string& text : {deep, deepObject, longTerm, wrongEverywhere, hugeNumbers}) {
        for (bool asRead : {true, false}) {
            Loaded result;
            EXPECT_NO_THROW(result = load(text, asRead ? errorSuccess : errorReadFault));
            EXPECT_TRUE(Checks::settingsSatisfiesTypes(result.settings));
            Loaded again;
            EXPECT_NO_THROW(again = load(serializeJson(result.settings)));
            EXPECT_EQ(again.settings, result.settings);
        }
    }
    EXPECT_EQ(load(longTerm).settings["search"]["recently"][0].get_ref<const std::string&>().size(),
              size_t(1) << 20);
    Json wrong = load(wrongEverywhere).settings;
    ASSERT_EQ(wrong["group"].size(), 1u);
    EXPECT_EQ(wrong["group"][0]["name"], "");
    EXPECT_EQ(wrong["search"]["recently"], Json::array());
    EXPECT_EQ(load(hugeNumbers).settings["autoSave"]["elapse"], 5);
}
