#include <gtest/gtest.h>

#include "CoreFakes.h"
#include "app/FirstStart.h"

using namespace Brisvane;

TEST(FirstStart, WelcomeWithoutTheTableIsTheTablesEnglish) {
    Json english = Json::object();
    english["language"] = "English";
    const std::wstring folder = L"C:\\Notes\\notes\\";
    const std::wstring text = welcomeText(CoreFakes::languageTable(), english, folder);
    EXPECT_EQ(welcomeText(Json::object(), english, folder), text);
    EXPECT_EQ(text.find(L"${folder}"), std::wstring::npos);
    EXPECT_EQ(text.substr(text.size() - folder.size()), folder);
}

TEST(FirstStart, CentredInTheWorkArea) {
    struct Case {
        Rect area;
        int width, height;
        Rect expected;
    };
    const Case cases[] = {
        {{0, 0, 1280, 760}, 320, 420, {480, 170, 800, 590}},
        // Beside a task bar on the left; a monitor left of the primary.
        {{48, 0, 1920, 1080}, 320, 420, {824, 330, 1144, 750}},
        {{-1600, 100, 0, 1000}, 641, 421, {-1121, 339, -480, 760}},
        // Larger than the area: the size stays and the top-left corner shows.
        {{0, 0, 300, 400}, 320, 420, {0, 0, 320, 420}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(centredIn(c.area, c.width, c.height), c.expected) << c.area.left << "," << c.area.top;
    }
}
