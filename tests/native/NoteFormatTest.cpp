#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "../../fuzz/Checks.h"
#include "storage/NoteFormat.h"
#include "storage/TextCodec.h"

using namespace Brisvane;

namespace {

const std::string testTitle = "2024/05/06 07:08";

// Every member of a note at its default, written out by hand from the format.
const char* const allDefaults = R"({
  "title": "2024/05/06 07:08",
  "group": {"guid": ""},
  "window": {
    "position": {"left": 0, "top": 0, "width": 240, "height": 300},
    "alwaysOnTop": false, "border": true, "titlebar": true, "shadow": false,
    "fold": false, "lock": false, "opacity": 1.0,
    "fix": {"position": false, "size": false},
    "magnet": {"monitor": true, "note": true, "stickNoteGuid": ""}
  },
  "mode": "text",
  "text": {
    "autoDetectURL": true, "wordwrap": true,
    "scroll": {"left": 0, "top": 0},
    "selection": {"start": 0, "end": 0}
  },
  "scribble": {
    "tool": "freeline", "eraser": false, "strokeWidth": 1, "strokeColor": "#000000",
    "strokeOpacity": 1.0, "fillColor": "#ffffff", "fillOpacity": 0.0, "figure": []
  },
  "theme": {"base": "#f8b500"}
})";

Json completed(std::string_view text) {
    Json note = parseNoteText(utf8ToWide(text));
    completeNoteJsonWithTitle(note, testTitle);
    return note;
}

// The member at a JSON pointer of a note completed from `text`.
Json completedMember(std::string_view text, const char* pointer) {
    return completed(text)[Json::json_pointer(pointer)];
}

float floatOf(const Json& value) {
    return value.is_number() ? value.get<float>() : -999.0f;
}

} // namespace

TEST(NoteCompletion, UnusableFileTextGivesEveryDefault) {
    Json expected = parseJson(allDefaults);
    ASSERT_TRUE(expected.is_object());
    for (const char* text : {"", "[]", "{\"title\": ", "null", "42", "\"note\"", "{} {}", "\xEF\xBB\xBF{}"}) {
        Json note = completed(text);
        EXPECT_EQ(note, expected) << "file text: " << text;
        EXPECT_TRUE(Checks::noteSatisfiesTypes(note)) << text;
    }
}

TEST(NoteCompletion, NonObjectValueBecomesObject) {
    for (Json value :
         {Json(nullptr), Json::array({1, 2}), Json(3.5f), Json("x"), Json(Json::value_t::discarded)}) {
        completeNoteJsonWithTitle(value, testTitle);
        EXPECT_EQ(value, parseJson(allDefaults));
    }
}

TEST(NoteCompletion, TitleDefaultOnlyWhenNotAString) {
    EXPECT_EQ(completedMember(R"({"title": "Shopping"})", "/title"), "Shopping");
    EXPECT_EQ(completedMember(R"({"title": ""})", "/title"), "");
    EXPECT_EQ(completedMember(R"({"title": 12})", "/title"), testTitle);
    EXPECT_EQ(completedMember(R"({"title": null})", "/title"), testTitle);
    EXPECT_EQ(completedMember(R"({"title": ["a"]})", "/title"), testTitle);
}

TEST(NoteCompletion, TitleFormatIsExpandedForMissingTitleOnly) {
    // A format without "$" tokens is copied, so the clock does not matter here.
    Json note = Json::object();
    completeNoteJson(note, L"New sticky \u4ed8\u7b8b");
    EXPECT_EQ(utf8ToWide(note["title"].get_ref<const std::string&>()), L"New sticky \u4ed8\u7b8b");

    Json kept = {{"title", "Mine"}};
    completeNoteJson(kept, L"$YYYY");
    EXPECT_EQ(kept["title"], "Mine");

    Json fromText = noteFromText(L"{\"mode\": \"scribble\"}", L"plain");
    EXPECT_EQ(fromText["title"], "plain");
    EXPECT_EQ(fromText["mode"], "scribble");
}

TEST(NoteCompletion, IntegerMembersRejectFloatsAndKeepAnyInteger) {
    EXPECT_EQ(completedMember(R"({"window": {"position": {"width": 100.5}}})", "/window/position/width"),
              240);
    EXPECT_EQ(completedMember(R"({"window": {"position": {"width": -10}}})", "/window/position/width"), -10);
    EXPECT_EQ(completedMember(R"({"window": {"position": {"height": 100.0}}})", "/window/position/height"),
              300);
    EXPECT_EQ(completedMember(R"({"window": {"position": {"left": "5"}}})", "/window/position/left"), 0);
    EXPECT_EQ(completedMember(R"({"window": {"position": {"top": true}}})", "/window/position/top"), 0);
    EXPECT_EQ(completedMember(R"({"window": {"position": {"left": -3000}}})", "/window/position/left"),
              -3000);
    // Unsigned JSON integers are integers too, even beyond the signed range.
    Json big =
        completedMember(R"({"text": {"selection": {"end": 18446744073709551615}}})", "/text/selection/end");
    EXPECT_TRUE(big.is_number_unsigned());
    EXPECT_EQ(big.get<std::uint64_t>(), 18446744073709551615u);
    // One past the unsigned range is read as a float, so it is no integer.
    EXPECT_EQ(completedMember(R"({"text": {"scroll": {"top": 18446744073709551616}}})", "/text/scroll/top"),
              0);
    EXPECT_EQ(completedMember(R"({"text": {"scroll": {"left": -9223372036854775809}}})", "/text/scroll/left"),
              0);
}

TEST(NoteCompletion, OpacityIsClampedAndNonNumbersGetOne) {
    EXPECT_FLOAT_EQ(floatOf(completedMember(R"({"window": {"opacity": 1.7}})", "/window/opacity")), 1.0f);
    EXPECT_FLOAT_EQ(floatOf(completedMember(R"({"window": {"opacity": -0.2}})", "/window/opacity")), 0.0f);
    EXPECT_FLOAT_EQ(floatOf(completedMember(R"({"window": {"opacity": 0.35}})", "/window/opacity")), 0.35f);
    EXPECT_FLOAT_EQ(floatOf(completedMember(R"({"window": {"opacity": "0.5"}})", "/window/opacity")), 1.0f);
    EXPECT_FLOAT_EQ(floatOf(completedMember(R"({"window": {"opacity": 0}})", "/window/opacity")), 0.0f);
    EXPECT_FLOAT_EQ(floatOf(completedMember(R"({"window": {"opacity": 7}})", "/window/opacity")), 1.0f);
    EXPECT_FLOAT_EQ(floatOf(completedMember(R"({"window": {"opacity": null}})", "/window/opacity")), 1.0f);
}

TEST(NoteCompletion, ModeMustBeExactlyTextOrScribble) {
    EXPECT_EQ(completedMember(R"({"mode": "scribble"})", "/mode"), "scribble");
    EXPECT_EQ(completedMember(R"({"mode": "text"})", "/mode"), "text");
    EXPECT_EQ(completedMember(R"({"mode": "Scribble"})", "/mode"), "text");
    EXPECT_EQ(completedMember(R"({"mode": "scribble "})", "/mode"), "text");
    EXPECT_EQ(completedMember(R"({"mode": 1})", "/mode"), "text");
}

TEST(NoteCompletion, ScribbleNumbersFollowTheirOwnRules) {
    auto scribble = [](const char* member, const char* value) {
        std::string text = std::string(R"({"scribble": {")") + member + "\": " + value + "}}";
        return floatOf(completedMember(text, (std::string("/scribble/") + member).c_str()));
    };
    EXPECT_FLOAT_EQ(scribble("strokeWidth", "3.5"), 3.5f);
    EXPECT_FLOAT_EQ(scribble("strokeWidth", "0"), 1.0f);
    EXPECT_FLOAT_EQ(scribble("strokeWidth", "-2"), 1.0f);
    EXPECT_FLOAT_EQ(scribble("strokeWidth", "\"4\""), 1.0f);
    EXPECT_FLOAT_EQ(scribble("strokeWidth", "100000"), 100000.0f);

    EXPECT_FLOAT_EQ(scribble("strokeOpacity", "0.5"), 0.5f);
    EXPECT_FLOAT_EQ(scribble("strokeOpacity", "1.5"), 1.0f);
    EXPECT_FLOAT_EQ(scribble("strokeOpacity", "-1"), 0.0f);
    EXPECT_FLOAT_EQ(scribble("strokeOpacity", "false"), 1.0f);

    EXPECT_FLOAT_EQ(scribble("fillOpacity", "0.25"), 0.25f);
    EXPECT_FLOAT_EQ(scribble("fillOpacity", "2"), 1.0f);
    EXPECT_FLOAT_EQ(scribble("fillOpacity", "-1"), 0.0f);
    EXPECT_FLOAT_EQ(scribble("fillOpacity", "\"x\""), 0.0f);

    EXPECT_EQ(completedMember(R"({"scribble": {"tool": "rectangle"}})", "/scribble/tool"), "rectangle");
    EXPECT_EQ(completedMember(R"({"scribble": {"tool": 3}})", "/scribble/tool"), "freeline");
    EXPECT_EQ(completedMember(R"({"scribble": {"figure": {}}})", "/scribble/figure"), Json::array());
}

TEST(NoteCompletion, NumbersBeyondFloatRangeAreOutOfRangeForTheirMemberOnly) {
    // One such number leaves every other member of the file as it was.
    const char* text = R"({"title": "kept", "window": {"opacity": 1e400, "position": {"width": 1e39}},
                           "scribble": {"strokeWidth": 1e39, "fillOpacity": -1e300}, "extra": 1e300})";
    Json note = completed(text);
    EXPECT_EQ(note["title"], "kept");
    EXPECT_FLOAT_EQ(floatOf(note["window"]["opacity"]), 1.0f);
    EXPECT_EQ(note["window"]["position"]["width"], 240);
    EXPECT_FLOAT_EQ(floatOf(note["scribble"]["strokeWidth"]), 1.0f);
    EXPECT_FLOAT_EQ(floatOf(note["scribble"]["fillOpacity"]), 0.0f);
    EXPECT_EQ(note["extra"].get<double>(), 1e300);
    EXPECT_FLOAT_EQ(
        floatOf(completedMember(R"({"scribble": {"strokeWidth": 3e38}})", "/scribble/strokeWidth")), 3e38f);
}

TEST(JsonNumbers, UnknownMembersKeepTheirFullValueAndOwnFloatsStayShort) {
    struct Case {
        const char* text;
        const char* written;
    } cases[] = {
        {R"({"pi": 3.141592653589793})", "3.141592653589793"},
        {R"({"tiny": 1e-50})", "1e-50"},
        {R"({"huge": 1e300})", "1e+300"},
        {R"({"beyond": 1e999})", "1.7976931348623157e+308"},
        {R"({"beyond": -1e999})", "-1.7976931348623157e+308"},
        {R"({"plain": 0.35})", "0.35"},
        {R"({"whole": 100.0})", "100.0"},
        {R"({"integer": 18446744073709551615})", "18446744073709551615"},
        {R"({"text": "1e999 and 0.2"})", "\"1e999 and 0.2\""},
    };
    for (const Case& c : cases) {
        Json value = parseJson(c.text);
        ASSERT_TRUE(value.is_object()) << c.text;
        std::string written = serializeJson(value);
        EXPECT_NE(written.find(c.written), std::string::npos) << c.text << " -> " << written;
        EXPECT_EQ(parseJson(written), value) << c.text;
    }
    // What the program stores as a float is written in the float's digits.
    Json own = Json::object();
    own["opacity"] = 0.2f;
    own["width"] = 2.5f;
    EXPECT_EQ(serializeJson(own), "{\n  \"opacity\": 0.2,\n  \"width\": 2.5\n}");
}

TEST(NoteCompletion, NonFiniteNumbersStoredByTheProgramAreRepaired) {
    const float infinity = std::numeric_limits<float>::infinity();
    Json note = Json::object();
    note["window"]["opacity"] = -infinity;
    note["scribble"]["strokeWidth"] = infinity; // would be written as null
    note["scribble"]["strokeOpacity"] = std::numeric_limits<float>::quiet_NaN();
    note["scribble"]["fillOpacity"] = infinity;
    completeNoteJsonWithTitle(note, testTitle);
    EXPECT_FLOAT_EQ(floatOf(note["window"]["opacity"]), 0.0f);
    EXPECT_FLOAT_EQ(floatOf(note["scribble"]["strokeWidth"]), 1.0f);
    EXPECT_FLOAT_EQ(floatOf(note["scribble"]["strokeOpacity"]), 1.0f);
    EXPECT_FLOAT_EQ(floatOf(note["scribble"]["fillOpacity"]), 1.0f);
    EXPECT_FALSE(Checks::holdsNonFinite(note));
}

TEST(ColourText, AcceptsHashOptionalThreeOrSixHexDigits) {
    for (const char* good : {"#f8b500", "F8B500", "fff", "#ABC", "#aBc123", "000"}) {
        EXPECT_TRUE(isColourText(good)) << good;
    }
    for (const char* bad : {"", "#", "orange", "#ff", "#ffff", "#fffff", "#fffffff", "##fff", "ffg",
                            "#12 456", " fff", "#f8b500 ", "0x123"}) {
        EXPECT_FALSE(isColourText(bad)) << bad;
    }
}

TEST(NoteCompletion, ColourMembersKeepTheirSpellingOrGetDefaults) {
    EXPECT_EQ(completedMember(R"({"theme": {"base": "F8B500"}})", "/theme/base"), "F8B500");
    EXPECT_EQ(completedMember(R"({"theme": {"base": "fff"}})", "/theme/base"), "fff");
    EXPECT_EQ(completedMember(R"({"theme": {"base": "#ABC"}})", "/theme/base"), "#ABC");
    EXPECT_EQ(completedMember(R"({"theme": {"base": "orange"}})", "/theme/base"), "#f8b500");
    EXPECT_EQ(completedMember(R"({"theme": {"base": 16777215}})", "/theme/base"), "#f8b500");
    EXPECT_EQ(completedMember(R"({"scribble": {"strokeColor": "#12345"}})", "/scribble/strokeColor"),
              "#000000");
    EXPECT_EQ(completedMember(R"({"scribble": {"strokeColor": "#FF0000"}})", "/scribble/strokeColor"),
              "#FF0000");
    EXPECT_EQ(completedMember(R"({"scribble": {"fillColor": "red"}})", "/scribble/fillColor"), "#ffffff");
    EXPECT_EQ(completedMember(R"({"scribble": {"fillColor": "0f0"}})", "/scribble/fillColor"), "0f0");
}

TEST(NoteCompletion, WrongTypesAtEveryDepthAreReplaced) {
    const char* cases[] = {
        R"({"group": [], "window": 1, "text": "x", "scribble": null, "theme": true})",
        R"({"window": {"position": [], "fix": 2, "magnet": "yes"}, "text": {"scroll": 1, "selection": []}})",
        R"({"window": {"position": {"left": {}, "top": [], "width": null, "height": "1"},
            "alwaysOnTop": 1, "border": 0, "titlebar": "true", "shadow": [], "fold": {}, "lock": null,
            "fix": {"position": 1, "size": "no"}, "magnet": {"monitor": 0, "note": null, "stickNoteGuid": 5}},
            "group": {"guid": 7}, "text": {"autoDetectURL": 1, "wordwrap": "n"},
            "scribble": {"eraser": 0, "figure": "none", "strokeColor": 0}})",
    };
    for (const char* text : cases) {
        Json note = completed(text);
        EXPECT_TRUE(Checks::noteSatisfiesTypes(note)) << text;
    }
    Json note = completed(cases[2]);
    EXPECT_EQ(note["window"]["border"], true);
    EXPECT_EQ(note["window"]["magnet"]["note"], true);
    EXPECT_EQ(note["window"]["position"]["height"], 300);
    EXPECT_EQ(note["group"]["guid"], "");
}

TEST(NoteCompletion, StoredValuesOfTheRightTypeAreKept) {
    const char* text = R"({"title": "T", "group": {"guid": "g"},
        "window": {"position": {"left": -5, "top": 7, "width": 320, "height": 44},
                   "alwaysOnTop": true, "border": false, "titlebar": false, "shadow": true, "fold": true,
                   "lock": true, "opacity": 0.5, "fix": {"position": true, "size": true},
                   "magnet": {"monitor": false, "note": false, "stickNoteGuid": "s"}},
        "mode": "scribble",
        "text": {"autoDetectURL": false, "wordwrap": false, "scroll": {"left": 3, "top": 4},
                 "selection": {"start": 5, "end": 9}},
        "scribble": {"tool": "pen", "eraser": true, "strokeWidth": 2.5, "strokeColor": "#010203",
                     "strokeOpacity": 0.75, "fillColor": "#040506", "fillOpacity": 0.125, "figure": [{"a": 1}]},
        "theme": {"base": "#123456"}})";
    Json stored = parseJson(text);
    EXPECT_EQ(completed(text), stored);
}

TEST(NoteCompletion, UnknownMembersSurviveAtEveryLevel) {
    const char* text = R"({"zeta": {"deep": [1, {"x": null}]}, "group": {"colour": "red"},
        "window": {"extra": 1, "position": {"depth": 2.5}, "fix": {"z": []}, "magnet": {"k": "v"}},
        "text": {"font": "Meiryo", "scroll": {"x": true}, "selection": {"y": {}}},
        "scribble": {"figure": [{"type": "line", "x": 1}], "unknown": "u"}, "theme": {"accent": "#000"}})";
    Json source = parseJson(text);
    Json note = parseNoteText(noteToText(completed(text)));
    for (const char* pointer :
         {"/zeta", "/group/colour", "/window/extra", "/window/position/depth", "/window/fix/z",
          "/window/magnet/k", "/text/font", "/text/scroll/x", "/text/selection/y", "/scribble/figure",
          "/scribble/unknown", "/theme/accent"}) {
        Json::json_pointer p(pointer);
        ASSERT_TRUE(note.contains(p)) << pointer;
        EXPECT_EQ(note[p], source[p]) << pointer;
    }
}

TEST(NoteWrittenForm, MembersInByteOrderWithTwoSpaceIndent) {
    Json note = completed(R"({"window": {"opacity": 0.35}, "title": "\u4ed8\u7b8b \u65e5\u672c"})");
    std::wstring text = noteToText(note);
    // Top-level members, in the order they must appear.
    size_t previous = 0;
    for (const wchar_t* name : {L"group", L"mode", L"scribble", L"text", L"theme", L"title", L"window"}) {
        size_t at = text.find(std::wstring(L"\n  \"") + name + L"\": ");
        ASSERT_NE(at, std::wstring::npos) << name;
        EXPECT_GT(at, previous) << name;
        previous = at;
    }
    EXPECT_EQ(text.front(), L'{');
    EXPECT_NE(text.find(L"\n    \"position\": {\n      \"height\": 300,"), std::wstring::npos);
    // Japanese written as it is, not as \u escapes.
    EXPECT_NE(text.find(L"\"title\": \"\u4ed8\u7b8b \u65e5\u672c\""), std::wstring::npos);
    EXPECT_EQ(text.find(L"\\u"), std::wstring::npos);
    // Floats in their shortest form that reads back; whole floats keep a ".0".
    EXPECT_NE(text.find(L"\"opacity\": 0.35,"), std::wstring::npos);
    EXPECT_NE(text.find(L"\"strokeOpacity\": 1.0,"), std::wstring::npos);
    EXPECT_NE(text.find(L"\"fillOpacity\": 0.0,"), std::wstring::npos);
    EXPECT_EQ(text.find(L'\r'), std::wstring::npos);
}

TEST(NoteWrittenForm, ReadingTheWrittenFormGivesTheSameNote) {
    Json note =
        completed(R"({"title": "\u4ed8\u7b8b", "window": {"opacity": 0.1}, "scribble": {"strokeWidth": 0.3},
                              "extra": [1.5, -2, 3e30]})");
    Json again = parseNoteText(noteToText(note));
    EXPECT_EQ(again, note);
    completeNoteJsonWithTitle(again, "other");
    EXPECT_EQ(again, note);
}

TEST(NoteCompletion, HostileTextNeverThrows) {
    std::string deep(100000, '[');
    std::string deepObject;
    for (int i = 0; i < 50000; ++i) {
        deepObject += "{\"a\":";
    }
    std::string huge = "{\"title\": \"" + std::string(1 << 20, 'x') + "\", \"scribble\": {\"tool\": \"" +
                       std::string(1 << 20, '\xE3') + "\"}}";
    std::string nested300 = "{\"window\": " + std::string(300, '[') + std::string(300, ']') + "}";
    std::string nested250 = "{\"zz\": " + std::string(250, '[') + std::string(250, ']') + "}";
    for (const std::string& text :
         {deep, deepObject, huge, nested300, nested250, std::string("{\"a\": \"\\ud800\"}"),
          std::string("{\"title\": \"a\\u0000b\"}"), std::string("\xFF\xFE{}")}) {
        Json note;
        EXPECT_NO_THROW(note = completed(text));
        EXPECT_TRUE(Checks::noteSatisfiesTypes(note));
        std::wstring written;
        EXPECT_NO_THROW(written = noteToText(note));
        EXPECT_EQ(parseNoteText(written), note);
    }
    Json note = completed(huge);
    EXPECT_EQ(note["title"].get_ref<const std::string&>().size(), size_t(1) << 20);
    // Invalid UTF-8 was replaced while reading; the tool is still a string.
    EXPECT_TRUE(note["scribble"]["tool"].is_string());
    EXPECT_EQ(completed(nested250)["zz"].size(), 1u);
    EXPECT_EQ(completed("{\"title\": \"a\\u0000b\"}")["title"], std::string("a\0b", 3));
}
