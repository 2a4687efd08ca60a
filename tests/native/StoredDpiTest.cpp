// Sizes stored beside the DPI they were taken at, and links found at a caret.
#include <gtest/gtest.h>

#include "note/LinkAtCaret.h"
#include "note/StoredDpi.h"

using namespace Brisvane;

namespace {

Json noteAt(const std::string& dpi) {
    return Json::parse(R"({"window": {"position": {"left": -1500, "top": 40, "width": 300, "height": 260})" +
                       dpi + "}}");
}

} // namespace

TEST(StoredDpi, OpeningScalesSizesTakenAtAnotherDpi) {
    const struct {
        const char* dpi;
        int screen;
        bool resized;
        int width, height;
        std::int64_t recorded;
    } cases[] = {
        {"", 192, false, 300, 260, 192},              // an older file: as it is
        {R"(, "dpi": 96)", 96, false, 300, 260, 96},  // same screen
        {R"(, "dpi": 96)", 192, true, 600, 520, 192}, // undocked onto a 200 % laptop
        {R"(, "dpi": 192)", 96, true, 150, 130, 96},  // and back
        {R"(, "dpi": 144)", 96, true, 200, 173, 96},  // 173.33 rounds down
        {R"(, "dpi": 96)", 120, true, 375, 325, 120},
        {R"(, "dpi": "96")", 192, false, 300, 260, 192}, // the wrong type is no DPI
        {R"(, "dpi": 96.5)", 192, false, 300, 260, 192},
        {R"(, "dpi": 0)", 192, false, 300, 260, 192},
        {R"(, "dpi": 100000)", 192, false, 300, 260, 192},
    };
    for (const auto& c : cases) {
        Json note = noteAt(c.dpi);
        EXPECT_EQ(adoptScreenDpi(note, c.screen), c.resized) << c.dpi << " at " << c.screen;
        EXPECT_EQ(integerAt(note, {"window", "position", "width"}, 0), c.width)
            << c.dpi << " at " << c.screen;
        EXPECT_EQ(integerAt(note, {"window", "position", "height"}, 0), c.height)
            << c.dpi << " at " << c.screen;
        EXPECT_EQ(integerAt(note, {"window", "position", "left"}, 0), -1500)
            << "the position names the screen";
        EXPECT_EQ(storedDpi(note), c.recorded);
    }
}

TEST(StoredDpi, FoldedSizeFollowsADpiChangeOnBothSides) {
    Json note = noteAt("");
    EXPECT_TRUE(rescaleStoredSize(note, 96, 192));
    EXPECT_EQ(integerAt(note, {"window", "position", "width"}, 0), 600);
    EXPECT_EQ(integerAt(note, {"window", "position", "height"}, 0), 520);
    EXPECT_TRUE(rescaleStoredSize(note, 192, 96));
    EXPECT_EQ(integerAt(note, {"window", "position", "width"}, 0), 300) << "and back without drift";
    EXPECT_EQ(integerAt(note, {"window", "position", "height"}, 0), 260);
    EXPECT_FALSE(rescaleStoredSize(note, 96, 96));
    EXPECT_FALSE(rescaleStoredSize(note, 0, 96)) << "no DPI to scale from";
    Json huge = Json::parse(R"({"window": {"position": {"width": 9000000000000000000}}})");
    EXPECT_FALSE(rescaleStoredSize(huge, 96, 192)) << "damaged values stay as they are";
}

TEST(LinkAtCaret, FindsTheLinkTheCaretStandsIn) {
    const struct {
        const wchar_t* text;
        std::size_t caret;
        bool found;
        std::size_t start, end;
    } cases[] = {
        {L"see https://example.org/a?b=1 now", 10, true, 4, 29},
        {L"see https://example.org/a?b=1 now", 4, true, 4, 29},  // at its start
        {L"see https://example.org/a?b=1 now", 29, true, 4, 29}, // just after it
        {L"see https://example.org/a?b=1 now", 31, false, 0, 0}, // in the next word
        {L"(https://example.org).", 5, true, 1, 20},             // punctuation around it stays out
        {L"https://en.example.org/Sun_(star)", 3, true, 0, 33},  // its own parentheses stay in
        {L"mail me@example.org\r", 8, true, 5, 19},
        {L"www.example.org", 0, true, 0, 15},
        {L"C:\\notes\\todo.txt", 6, true, 0, 17},
        {L"\\\\server\\share", 2, true, 0, 14},
        {L"file:///C:/x", 12, true, 0, 12},
        {L"リンク「https://例え.jp/」", 8, true, 4, 18},
        {L"time 10:30 only", 7, false, 0, 0}, // one letter or digits before ':' is no scheme
        {L"a: b", 0, false, 0, 0},
        {L"plain words", 3, false, 0, 0},
        {L"at@ or @x.y", 1, false, 0, 0},
        {L"", 0, false, 0, 0},
        {L"short", 9, false, 0, 0}, // a caret past the text
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
