#include <gtest/gtest.h>

#include "storage/Json.h"
#include "storage/TextCodec.h"

using namespace Brisvane;

namespace {

std::wstring decoded(std::string_view bytes, ErrorCode expected = errorSuccess) {
    std::wstring text = L"stale";
    EXPECT_EQ(decodeTextFile(bytes, text), expected);
    return text;
}

} // namespace

TEST(DecodeTextFile, RefusedMarks) {
    decoded("\xFE\xFF\x00\x41", errorReadFault);
    decoded("\xFF\xFE\x41\x00", errorReadFault);
    decoded(std::string_view("\xFF\xFE\x00\x00", 4), errorReadFault);
    decoded(std::string_view("\x00\x00\xFE\xFF", 4), errorReadFault);
    decoded("+/v8-", errorReadFault);
    decoded("+/v9", errorReadFault);
    decoded("+/v+", errorReadFault);
    decoded("+/v/", errorReadFault);
}

TEST(DecodeTextFile, ShortOrUnmarkedFilesAreText) {
    EXPECT_EQ(decoded(""), L"");
    EXPECT_EQ(decoded("\xEF\xBB\xBF"), L"");
    EXPECT_EQ(decoded("+/v"), L"+/v");
    EXPECT_EQ(decoded("+/vX"), L"+/vX");
    EXPECT_EQ(decoded(std::string_view("\x00\x00\xFE", 3)), L"");
}

TEST(DecodeTextFile, Utf8AfterMarkShiftJisWithout) {
    EXPECT_EQ(decoded("\xEF\xBB\xBF\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"), L"日本語");
    EXPECT_EQ(decoded("\x93\xFA\x96\x7B\x8C\xEA"), L"日本語");
    EXPECT_EQ(decoded("\x83\x65\x83\x58\x83\x67 test"), L"テスト test");
    // Half-width katakana are single bytes in Shift_JIS.
    EXPECT_EQ(decoded("\xB1\xB2"), L"\xFF71\xFF72");
}

TEST(DecodeTextFile, UnmarkedValidUtf8IsUtf8) {
    // What most editors write: no mark, UTF-8. Shift_JIS stays the fallback.
    EXPECT_EQ(decoded("\xE6\x97\xA5"), L"日");
    EXPECT_EQ(decoded("{\"title\": \"\xC3\xA9\xE4\xB8\xAD\"}"), L"{\"title\": \"é中\"}");
    EXPECT_EQ(decoded("\x82\xA0\x82\xA2"), L"あい");
}

TEST(Utf8, ValidityFollowsTheEncodingRules) {
    struct Case {
        std::string_view bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"plain ascii", true},
        {"\xC3\xA9", true},
        {"\xF0\x9F\x98\x80", true},
        {"\xF4\x8F\xBF\xBF", true},  // U+10FFFF
        {"\xC3", false},             // cut short
        {"\xC0\xAF", false},         // overlong
        {"\xE0\x80\xAF", false},     // overlong
        {"\xED\xA0\x80", false},     // surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
        {"\x93\xFA\x96\x7B", false}, // Shift_JIS
        {"\xB1\xB2", false},         // half-width katakana in Shift_JIS
        {"\xE6\x97", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << ::testing::PrintToString(std::string(c.bytes));
    }
}

TEST(DecodeTextFile, ContentEndsAtFirstNul) {
    EXPECT_EQ(decoded(std::string_view("\xEF\xBB\xBFkeep\0drop", 12)), L"keep");
    EXPECT_EQ(decoded(std::string_view("abc\0\x93\xFA", 6)), L"abc");
}

TEST(DecodeTextFile, OnlyCarriageReturnLineFeedPairsFold) {
    EXPECT_EQ(decoded("\xEF\xBB\xBF"
                      "a\r\nb\rc\nd\r"),
              L"a\nb\rc\nd\r");
    EXPECT_EQ(decoded("\r\r\n\n"), L"\r\n\n");
}

TEST(DecodeTextFile, BadSequencesBecomeReplacementCharacters) {
    EXPECT_EQ(decoded("\xEF\xBB\xBF"
                      "a\xFF"
                      "b"),
              L"a\xFFFD"
              "b");
    EXPECT_EQ(decoded("\xEF\xBB\xBF\xE6\x97"), L"\xFFFD");
    EXPECT_EQ(decoded("\xEF\xBB\xBF\xC0\xAF"), L"\xFFFD\xFFFD") << "overlong forms are refused";
    EXPECT_EQ(decoded("\xEF\xBB\xBF\xED\xA0\x80"), L"\xFFFD") << "surrogates are not characters";
    // A Shift_JIS lead byte at the very end.
    EXPECT_EQ(decoded("ok\x93"), L"ok\xFFFD");
}

TEST(Utf8, RoundTripsEveryPlane) {
    std::wstring text = L"A\u00E9\u65E5\U0001F600z";
    std::string utf8 = wideToUtf8(text);
    EXPECT_EQ(utf8, "A\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80z");
    EXPECT_EQ(utf8ToWide(utf8), text);
}

TEST(EncodeTextFile, StartsWithMarkAndHasNoTerminator) {
    std::string bytes = encodeTextFile(L"付箋");
    EXPECT_EQ(bytes, "\xEF\xBB\xBF\xE4\xBB\x98\xE7\xAE\x8B");
    EXPECT_EQ(encodeTextFile(L""), "\xEF\xBB\xBF");
}

TEST(DecodeTextFile, OnlyAnExactReadCountsAsRead) {
    auto raw = [](auto& literal) { return std::string(literal, sizeof literal - 1); };
    struct Case {
        std::string bytes;
        bool exact, keep; // keep: kept before the first write over it
    } cases[] = {
        {"", true, false},
        {"\xEF\xBB\xBF \r\n\t", true, false}, // a mark and white space hold nothing
        {"{\"a\": 1}", true, false},
        {"[1]", true, true},                                    // not a document
        {"{\"a\": \"\x93\xFA\"}", true, false},                 // Shift_JIS without a mark
        {raw("{}\0\0\0"), true, false},                         // padding after the text
        {raw("\0\0{\"a\": 1}"), false, true},                   // NULs before valid JSON
        {raw("{\0}\0"), false, true},                           // UTF-16 without a mark
        {"\xEF\xBB\xBF{\"a\": \"\xC0\xAF\"}", false, true},     // overlong
        {"\xEF\xBB\xBF{\"a\": \"\xED\xA0\x80\"}", false, true}, // a surrogate
        {"\xEF\xBB\xBF{\"a\": \"caf\xE9\"}", false, true},      // Latin-1 after the mark
        {"{\"a\": \"\x93\"}", false, true},                     // cut-off Shift_JIS
        {raw("\xFF\xFE{\0}\0"), false, true},                   // refused
    };
    for (const Case& c : cases) {
        std::wstring text;
        TextRead read = decodeTextFile(c.bytes, text);
        EXPECT_EQ(read.exact, c.exact) << ::testing::PrintToString(c.bytes);
        bool understood = parseJson(wideToUtf8(text)).is_object();
        EXPECT_EQ(mustKeepBeforeWriting(read, text, understood), c.keep) << ::testing::PrintToString(c.bytes);
    }
    EXPECT_FALSE(mustKeepBeforeWriting({errorFileNotFound, false}, L"", false)) << "missing holds nothing";
    EXPECT_TRUE(mustKeepBeforeWriting({32, false}, L"", false)) << "locked by another program";
}
