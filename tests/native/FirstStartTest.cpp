#include <gtest/gtest.h>

#include "CoreFakes.h"
#include "app/FirstStart.h"
#include "storage/Language.h"

using namespace Brisvane;
using CoreFakes::languageTable;

namespace {

Json settingsIn(const char* language) {
    Json settings = Json::object();
    settings["language"] = language;
    return settings;
}

} // namespace

TEST(FirstStart, WelcomeInTheUsersLanguageNamesTheNotesFolder) {
    const std::wstring folder = L"C:\\Users\\Ann\\Tackaroon notes\\notes\\";
    const std::wstring english = welcomeText(languageTable(), settingsIn("English"), folder);
    const std::wstring japanese = welcomeText(languageTable(), settingsIn("日本語"), folder);
    EXPECT_EQ(english.rfind(L"Welcome to Tackaroon notes!", 0), 0u);
    EXPECT_EQ(japanese.rfind(L"Tackaroon notes へようこそ", 0), 0u);
    for (const std::wstring& text : {english, japanese}) {
        EXPECT_NE(text.find(folder), std::wstring::npos);
        EXPECT_EQ(text.find(L"${folder}"), std::wstring::npos);
    }
    // What the table says in English is what the program says without it.
    EXPECT_EQ(welcomeText(Json::object(), settingsIn("English"), folder), english);
    EXPECT_EQ(welcomeText(languageTable(), settingsIn("Klingon"), folder), english);
}

TEST(FirstStart, CentredInTheWorkArea) {
    struct Case {
        Rect area;
        int width, height;
        Rect expected;
    };
    const Case cases[] = {
        {{0, 0, 1280, 760}, 320, 420, {480, 170, 800, 590}},
        // A work area beside a task bar on the left, and one of a monitor left of the primary.
        {{48, 0, 1920, 1080}, 320, 420, {824, 330, 1144, 750}},
        {{-1600, 100, 0, 1000}, 641, 421, {-1121, 339, -480, 760}},
        // Larger than the area: the size stays and the top-left corner shows.
        {{0, 0, 300, 400}, 320, 420, {0, 0, 320, 420}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(centredIn(c.area, c.width, c.height), c.expected) << c.area.left << "," << c.area.top;
    }
}
