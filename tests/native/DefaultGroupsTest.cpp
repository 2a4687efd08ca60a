#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "../../fuzz/Checks.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

using namespace Brisvane;

namespace {

std::string readResourceBytes() {
    std::ifstream file(std::string(TACKAROON_RESOURCE_DIR) + "/defaultGroups.json", std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

Json readDefaultGroups() {
    std::wstring text;
    if (decodeTextFile(readResourceBytes(), text) != errorSuccess) {
        return Json(Json::value_t::discarded);
    }
    return parseJson(wideToUtf8(text));
}

// One rule of the ready-made groups; an empty optional means the key is absent.
struct ExpectedRule {
    const char* action;
    bool exceptHover;
    std::optional<float> opacity;
    std::optional<bool> fold;
    std::optional<int> zOrder;
    std::optional<bool> transparent;
    int delay;
    std::optional<bool> reset;
};

constexpr auto none = std::nullopt;

// The ready-made groups, transcribed rule by rule from the groups table.
std::vector<std::vector<ExpectedRule>> expectedGroups() {
    auto fadeAndFold = [](int lastDelay) {
        return std::vector<ExpectedRule>{
            {"input", true, 0.2f, true, none, none, 0, false},
            {"mouse-hover", false, 1.0f, false, none, none, 1000, none},
            {"input", true, 1.0f, false, none, none, lastDelay, true},
        };
    };
    auto fade = [](int lastDelay) {
        return std::vector<ExpectedRule>{
            {"input", true, 0.2f, none, none, none, 200, false},
            {"mouse-hover", false, 1.0f, none, none, none, 400, none},
            {"input", true, 1.0f, none, none, none, lastDelay, true},
        };
    };
    auto toBack = [](int lastDelay) {
        return std::vector<ExpectedRule>{
            {"input", false, none, none, -1, none, 0, false},
            {"input", false, none, none, 1, none, lastDelay, true},
        };
    };
    auto fold = [](int lastDelay) {
        return std::vector<ExpectedRule>{
            {"input", true, none, true, none, none, 0, false},
            {"mouse-hover", false, 1.0f, false, none, none, 400, none},
            {"input", true, none, false, none, none, lastDelay, true},
        };
    };
    auto hide = [](int lastDelay) {
        return std::vector<ExpectedRule>{
            {"input", true, 0.0f, none, none, none, 1000, false},
            {"mouse-hover", false, 1.0f, none, none, none, 0, none},
            {"input", true, 1.0f, none, none, none, lastDelay, true},
        };
    };
    return {
        fadeAndFold(30000),
        fadeAndFold(180000),
        fade(30000),
        fade(180000),
        toBack(30000),
        toBack(180000),
        fold(30000),
        fold(180000),
        hide(30000),
        hide(180000),
        {
            {"input", true, 0.2f, none, none, true, 0, false},
            {"mouse-hover", false, 1.0f, none, none, false, 400, none},
        },
        {
            {"input", true, none, true, none, true, 0, false},
            {"mouse-hover", false, none, false, none, false, 400, none},
        },
        {},
    };
}

void expectRule(const Json& rule, const ExpectedRule& expected, const std::string& where) {
    SCOPED_TRACE(where);
    ASSERT_TRUE(rule.is_object());
    std::set<std::string> keys;
    for (auto it = rule.begin(); it != rule.end(); ++it) {
        keys.insert(it.key());
    }
    std::set<std::string> wanted{"action", "delay"};
    EXPECT_EQ(rule.value("action", ""), expected.action);
    ASSERT_TRUE(rule.contains("delay") && rule["delay"].is_number_integer());
    EXPECT_EQ(integerValue(rule["delay"]), expected.delay);
    if (expected.exceptHover) {
        wanted.insert("except");
        EXPECT_EQ(rule.value("except", Json()), Json::array({"mouse-hover"}));
    }
    if (expected.opacity) {
        wanted.insert("opacity");
        ASSERT_TRUE(rule.contains("opacity") && rule["opacity"].is_number());
        EXPECT_FLOAT_EQ(static_cast<float>(numberValue(rule["opacity"])), *expected.opacity);
    }
    if (expected.zOrder) {
        wanted.insert("zOrder");
        ASSERT_TRUE(rule.contains("zOrder") && rule["zOrder"].is_number_integer());
        EXPECT_EQ(integerValue(rule["zOrder"]), *expected.zOrder);
    }
    auto expectBoolean = [&](const char* key, std::optional<bool> value) {
        if (value) {
            wanted.insert(key);
            EXPECT_EQ(rule.value(key, Json()), Json(*value)) << key;
        }
    };
    expectBoolean("fold", expected.fold);
    expectBoolean("transparent", expected.transparent);
    expectBoolean("reset", expected.reset);
    EXPECT_EQ(keys, wanted); // absent cells are absent keys
}

} // namespace

TEST(DefaultGroupsResource, IsUtf8WithByteOrderMark) {
    std::string bytes = readResourceBytes();
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_TRUE(parseJson(std::string_view(bytes).substr(3)).is_array());
}

TEST(DefaultGroupsResource, HoldsThe13GroupsOfTheTable) {
    Json groups = readDefaultGroups();
    ASSERT_TRUE(groups.is_array());
    auto expected = expectedGroups();
    ASSERT_EQ(groups.size(), 13u);
    ASSERT_EQ(expected.size(), 13u);
    for (size_t g = 0; g < groups.size(); ++g) {
        const Json& group = groups[g];
        ASSERT_TRUE(group.is_object()) << g;
        EXPECT_EQ(group.size(), 2u) << "group " << g << " holds only name and rule, no guid";
        EXPECT_EQ(group.value("name", ""), "${name" + std::to_string(g) + "}");
        ASSERT_TRUE(group.contains("rule") && group["rule"].is_array()) << g;
        ASSERT_EQ(group["rule"].size(), expected[g].size()) << "group " << g;
        for (size_t r = 0; r < expected[g].size(); ++r) {
            expectRule(group["rule"][r], expected[g][r],
                       "group " + std::to_string(g) + " rule " + std::to_string(r + 1));
        }
    }
}

TEST(DefaultGroupsResource, SpotChecksAgainstTheTable) {
    Json groups = readDefaultGroups();
    ASSERT_TRUE(groups.is_array() && groups.size() == 13u);
    EXPECT_EQ(groups[1]["rule"][2]["delay"], 180000);
    EXPECT_EQ(groups[0]["rule"][2]["delay"], 30000);
    EXPECT_EQ(groups[4]["rule"][0]["zOrder"], -1);
    EXPECT_EQ(groups[4]["rule"][1]["zOrder"], 1);
    EXPECT_EQ(groups[5]["rule"][1]["delay"], 180000);
    EXPECT_EQ(groups[8]["rule"][0]["opacity"], 0);
    EXPECT_EQ(groups[12]["rule"], Json::array());
    EXPECT_FALSE(groups[4]["rule"][0].contains("except"));
    EXPECT_FALSE(groups[0]["rule"][1].contains("reset"));
}

TEST(DefaultGroupsResource, FirstStartInstallsThemWithFreshDistinctGuids) {
    Json defaults = readDefaultGroups();
    ASSERT_TRUE(defaults.is_array());
    for (const wchar_t* text : {L"", L"{broken", L"null"}) {
        bool loaded = true;
        Json settings = settingsFromText(errorSuccess, text, loaded);
        ASSERT_FALSE(loaded);
        completeSettings(settings, loaded, defaults, 0x0409);
        EXPECT_TRUE(Checks::settingsSatisfiesTypes(settings));
        const Json& groups = settings["group"];
        ASSERT_EQ(groups.size(), 13u);
        std::set<std::string> guids;
        for (size_t g = 0; g < groups.size(); ++g) {
            Json withoutGuid = groups[g];
            ASSERT_TRUE(withoutGuid["guid"].is_string());
            guids.insert(withoutGuid["guid"].get<std::string>());
            EXPECT_EQ(withoutGuid["guid"].get_ref<const std::string&>().size(), 36u);
            withoutGuid.erase("guid");
            EXPECT_EQ(withoutGuid, defaults[g]) << g;
        }
        EXPECT_EQ(guids.size(), 13u);
    }
}
