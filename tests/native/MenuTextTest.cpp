// User texts as menu items.
#include <gtest/gtest.h>

#include "note/MenuText.h"

using namespace Brisvane;

TEST(MenuText, OneLineWithoutTabsOrMnemonics) {
    struct Case {
        const wchar_t* text;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"Shopping", L"Shopping"},
        {L"Tom & Jerry", L"Tom && Jerry"},
        {L"first line\rsecond", L"first line"},
        {L"first\nsecond", L"first"},
        {L"soft\vbreak", L"soft"},
        {L"a\tb", L"a b"},
        {L"\rstarts with a break", L""},
        {L"", L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(menuItemText(c.text), c.shown) << testing::PrintToString(std::wstring(c.text));
    }
    EXPECT_EQ(menuItemText(L"\r\nbody after an empty line", L"No. 3"), L"No. 3");
    EXPECT_EQ(menuItemText(L"Title", L"No. 3"), L"Title");
    EXPECT_EQ(menuItemText(std::wstring(100000, L'x')).size(), maxMenuItemChars);
}
