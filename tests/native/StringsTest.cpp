#include <gtest/gtest.h>

#include "storage/Guid.h"
#include "storage/Strings.h"

using namespace Brisvane;

TEST(SplitAny, CutsAtEverySeparator) {
    using V = std::vector<std::wstring>;
    EXPECT_EQ(splitAny(L"one\\\\two", L"\\"), (V{L"one", L"", L"two"}));
    EXPECT_EQ(splitAny(L"word\\", L"\\"), (V{L"word"}));
    EXPECT_EQ(splitAny(L"", L"\\"), (V{L""}));
    EXPECT_EQ(splitAny(L"\\lead", L"\\"), (V{L"", L"lead"}));
    EXPECT_EQ(splitAny(L"C:\\Users\\me\\note.json", L"\\"), (V{L"C:", L"Users", L"me", L"note.json"}));
    EXPECT_EQ(splitAny(L"a,b;c", L",;"), (V{L"a", L"b", L"c"}));
}

TEST(EqualsIgnoreCase, FoldsOnlyAsciiAndFullwidthCapitals) {
    EXPECT_TRUE(equalsIgnoreCase(L"MOUSE-HOVER", L"mouse-hover"));
    EXPECT_TRUE(equalsIgnoreCase(L"\xFF21\xFF22\xFF3A", L"\xFF41\xFF42\xFF5A"));
    EXPECT_FALSE(equalsIgnoreCase(L"\u00C4", L"\u00E4")); // A with diaeresis is not folded
    EXPECT_FALSE(equalsIgnoreCase(L"abc", L"abcd"));
    EXPECT_FALSE(equalsIgnoreCase(L"[", L"{")); // folding must not reach past Z
    EXPECT_TRUE(equalsIgnoreCase(L"", L""));
}

TEST(Guid, FormatsLittleEndianFieldsAsText) {
    std::array<std::uint8_t, 16> bytes{0x78, 0x56, 0x34, 0x12, 0x34, 0x12, 0xCD, 0xAB,
                                       0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF};
    EXPECT_EQ(formatGuid(bytes), L"12345678-1234-abcd-0123-456789abcdef");
}

TEST(Guid, NewGuidsAreWellFormedAndDistinct) {
    std::wstring a = newGuidString();
    std::wstring b = newGuidString();
    ASSERT_EQ(a.size(), 36u);
    EXPECT_NE(a, b);
    for (size_t i = 0; i < a.size(); ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            EXPECT_EQ(a[i], L'-');
        } else {
            EXPECT_TRUE((a[i] >= L'0' && a[i] <= L'9') || (a[i] >= L'a' && a[i] <= L'f')) << i;
        }
    }
}
