#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "note/LinkTarget.h"
#include "note/StoredBounds.h"
#include "storage/PathRoot.h"
#include "storage/RtfCheck.h"
#include "storage/Strings.h"

using namespace Brisvane;

TEST(PathRoot, DrivesSharesAndLongPathRootsAreNotCreated) {
    struct Case {
        const wchar_t* path;
        std::size_t root;
    } cases[] = {
        {L"C:\\data\\notes\\x\\note.json", 1},
        {L"\\\\server\\share\\data\\settings.json", 4},
        {L"\\\\?\\C:\\data\\settings.json", 4},
        {L"\\\\?\\UNC\\server\\share\\data\\settings.json", 6},
        {L"\\\\.\\C:\\data\\settings.json", 4},
        {L"\\data\\settings.json", 1},
        {L"data\\settings.json", 0},
        {L"\\\\server", 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rootPieceCount(splitAny(c.path, L"\\")), c.root) << c.path;
    }
}

TEST(PathRoot, LongPathFormOfDrivesSharesAndPrefixedPaths) {
    EXPECT_EQ(longPathForm(L"C:\\a\\b"), L"\\\\?\\C:\\a\\b");
    EXPECT_EQ(longPathForm(L"\\\\server\\share\\a"), L"\\\\?\\UNC\\server\\share\\a");
    EXPECT_EQ(longPathForm(L"\\\\?\\C:\\a"), L"\\\\?\\C:\\a");
    EXPECT_EQ(longPathForm(L"\\\\.\\C:\\a"), L"\\\\.\\C:\\a");
}

TEST(RtfCheck, CompleteDocumentsCloseTheirOutermostGroup) {
    struct Case {
        std::string bytes;
        bool rtf;
        bool complete;
    } cases[] = {
        {"{\\rtf1\\ansi {\\b bold} text\\par\n}\r\n", true, true},
        {"{\\rtf1\\deflang1033\\sl-240 \\u20184?\\par\r\n}\r\n" + std::string(1, '\0'), true, true},
        {"{\\rtf1 braces \\{ and \\} escaped}", true, true},
        {"{\\rtf1 {\\*\\generator x;}text}", true, true},
        {std::string("{\\rtf1 {\\pict\\bin3 }}}} tail}") + "", true, true},
        {"{\\rtf1\\ansi {\\b cut off", true, false},
        {"{\\rtf1 text} trailing words", true, false},
        {"{\\rtf1 {\\pict\\bin999 ab}}", true, false},
        {"{\\rtf1 }", true, true},
        {"{\\rtf1 }}", true, false},
        {"plain text note", false, false},
        {"{\\rt", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(looksLikeRtf(c.bytes), c.rtf) << c.bytes;
        EXPECT_EQ(isCompleteRtf(c.bytes), c.complete) << c.bytes;
    }
    // What is written ends with the document; a NUL inside stays.
    EXPECT_EQ(withoutTrailingNuls(std::string("{\\rtf1 a}\r\n\0\0", 13)), "{\\rtf1 a}\r\n");
    EXPECT_EQ(withoutTrailingNuls(std::string("{\\rtf1 \0a}", 10)), std::string("{\\rtf1 \0a}", 10));
    EXPECT_EQ(withoutTrailingNuls(std::string(2, '\0')), "");
}

TEST(LinkTarget, OnlyWebAndMailLinksOpenWithoutAsking) {
    for (const wchar_t* direct :
         {L"http://example.com", L"HTTPS://example.com/a?b", L"mailto:a@b.c", L" http://x"}) {
        EXPECT_TRUE(opensWithoutAsking(direct)) << direct;
    }
    for (const wchar_t* asked :
         {L"C:\\Windows\\system32\\calc.exe", L"\\\\server\\share\\run.bat", L"file:///C:/x.exe",
          L"ftp://example.com", L"http:", L"javascript:alert(1)", L"", L"shell:startup"}) {
        EXPECT_FALSE(opensWithoutAsking(asked)) << asked;
    }
}

TEST(StoredBounds, StoredPositionsAreBoundedToWhatAWindowTakes) {
    EXPECT_EQ(drawnPosition("width", -10), minStickySide);
    EXPECT_EQ(drawnPosition("height", 0), minStickySide);
    EXPECT_EQ(drawnPosition("width", 240), 240);
    EXPECT_EQ(drawnPosition("height", 4294967295LL), maxStickySide);
    EXPECT_EQ(drawnPosition("left", -5000), -5000);
    EXPECT_EQ(drawnPosition("top", 1LL << 40), maxStickyCoordinate);
    EXPECT_EQ(drawnPosition("left", -(1LL << 40)), -maxStickyCoordinate);
}
