// Sizes stored beside the DPI they were taken at, and links found at a caret.
#include <gtest/gtest.h>

#include "note/LinkAtCaret.h"
#include "note/StoredDpi.h"

using namespace Brisvane;

TEST(StoredDpi, OpeningScalesSizesTakenAtAnotherDpi) {
    const struct {
        const char* dpi;
        int screen;
        int width, height;
    } cases[] = {
        {"", 192, 300, 260},               // an older file: as it is
        {R"(, "dpi": 96)", 96, 300, 260},  // the same screen
        {R"(, "dpi": 96)", 192, 600, 520}, // undocked onto a 200 % laptop
        {R"(, "dpi": 144)", 96, 200, 173}, // 173.33 rounds down
        {R"(, "dpi": "96")", 192, 300, 260},
        {R"(, "dpi": 100000)", 192, 300, 260},
    };
    for (const auto& c : cases) {
        Json note =
            Json::parse(R"({"window": {"position": {"left": -1500, "top": 40, "width": 300, "height": 260})" +
                        std::string(c.dpi) + "}}");
        adoptScreenDpi(note, c.screen);
        EXPECT_EQ(integerAt(note, {"window", "position", "width"}, 0), c.width)
            << c.dpi << " at " << c.screen;
        EXPECT_EQ(integerAt(note, {"window", "position", "height"}, 0), c.height)
            << c.dpi << " at " << c.screen;
        EXPECT_EQ(integerAt(note, {"window", "position", "left"}, 0), -1500)
            << "the position names the screen";
        EXPECT_EQ(storedDpi(note), c.screen) << "recorded";
    }
    // Folded through a DPI change and back: both sides, without drift.
    Json note = Json::parse(R"({"window": {"position": {"width": 300, "height": 260}}})");
    EXPECT_TRUE(rescaleStoredSize(note, 96, 192));
    EXPECT_EQ(integerAt(note, {"window", "position", "width"}, 0), 600);
    EXPECT_TRUE(rescaleStoredSize(note, 192, 96));
    EXPECT_EQ(integerAt(note, {"window", "position", "width"}, 0), 300);
    EXPECT_EQ(integerAt(note, {"window", "position", "height"}, 0), 260);
}

TEST(LinkAtCaret, FindsTheLinkTheCaretStandsIn) {
    const struct {
        const wchar_t* text;
        std::size_t caret;
        bool found;
        std::size_t start, end;
    } cases[] = {
        {L"see https://example.org/a?b=1 now", 4, true, 4, 29},
        {L"see https://example.org/a?b=1 now", 29, true, 4, 29}, // just after it
        {L"(https://example.org).", 5, true, 1, 20},             // punctuation around it stays out
        {L"https://en.example.org/Sun_(star)", 3, true, 0, 33},  // its own parentheses stay in
        {L"mail me@example.org\r", 8, true, 5, 19},
        {L"C:\\notes\\todo.txt", 6, true, 0, 17},
        {L"リンク「https://例え.jp/」", 8, true, 4, 18},
        {L"time 10:30 only", 7, false, 0, 0}, // digits before ':' are no scheme
    };
    for (const auto& c : cases) {
        const std::optional<TextSpan> link = linkAround(c.text, c.caret);
        ASSERT_EQ(link.has_value(), c.found) << static_cast<int>(c.caret);
        if (link) {
            EXPECT_EQ(link->start, c.start) << static_cast<int>(c.caret);
            EXPECT_EQ(link->end, c.end) << static_cast<int>(c.caret);
        }
    }
}
