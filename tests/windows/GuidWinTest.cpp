#include <gtest/gtest.h>

#include <set>

#include "storage/Guid.h"

using namespace Brisvane;

TEST(GuidWin, NewGuidsAreLowercaseAndDistinct) {
    std::set<std::wstring> seen;
    for (int i = 0; i < 100; ++i) {
        std::wstring guid = newGuidString();
        ASSERT_EQ(guid.size(), 36u);
        EXPECT_EQ(guid.find_first_of(L"ABCDEF{}"), std::wstring::npos) << guid;
        seen.insert(guid);
    }
    EXPECT_EQ(seen.size(), 100u);
}
