// The sticky's Rich Edit pieces against real RICHEDIT50W controls living in a
// hidden window.
#include <gtest/gtest.h>

#include "EditHelpers.h"

#include <vector>

#include "TempFolder.h"
#include "base/UniqueHandle_win.h"
#include "note/BodyFile_win.h"
#include "note/RichEdit_win.h"
#include "storage/File_win.h"

#include <imm.h>
#include <winioctl.h>

using namespace Brisvane;
using Brisvane::testing::readBytes;
using Brisvane::testing::select;
using Brisvane::testing::selection;
using Brisvane::testing::TempFolder;
using Brisvane::testing::writeBytes;

namespace {

constexpr DWORD bodyStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                            ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN | ES_SAVESEL;
constexpr DWORD titleStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_AUTOHSCROLL;

// What a save of the body does: its RTF written in one step.
bool saveRtf(HWND body, const std::wstring& path) {
    std::optional<std::string> rtf = streamOutRtf(body);
    return rtf && writeFileBytes(path, *rtf) == errorSuccess;
}

// Read straight from the control, not through the helpers under test.
std::wstring fullText(HWND edit) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

CHARFORMATW formatOf(HWND edit, long from, long to, DWORD mask) {
    select(edit, from, to);
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}

void setEffect(HWND edit, long from, long to, DWORD mask, DWORD effect) {
    select(edit, from, to);
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    format.dwEffects = effect;
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

// True when every character of the range has the effect; false when none has.
// A mixed range fails the test.
bool uniformEffect(HWND edit, long from, long to, DWORD mask, DWORD effect) {
    CHARFORMATW format = formatOf(edit, from, to, mask);
    EXPECT_TRUE(format.dwMask & mask) << "the range is mixed";
    return (format.dwEffects & effect) != 0;
}

// The previous background comes back from EM_SETBKGNDCOLOR; it is put back.
COLORREF backgroundOf(HWND edit) {
    auto previous = static_cast<COLORREF>(SendMessageW(edit, EM_SETBKGNDCOLOR, 0, 0));
    SendMessageW(edit, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(previous));
    return previous;
}

std::wstring manyLines(int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        text += L"line " + std::to_wstring(i) + L" of a body that needs scrolling\r";
    }
    return text;
}

struct RichEditWin : ::testing::Test {
    TempFolder temp;
    UniqueWindow parent;

    void SetUp() override {
        ASSERT_TRUE(loadRichEditLibrary());
        parent.reset(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
        ASSERT_TRUE(parent);
    }

    // Destroyed with the parent.
    HWND makeEdit(DWORD style = bodyStyle, int id = 6) {
        HWND edit = CreateWindowExW(0, L"RICHEDIT50W", L"", style, 0, 0, 300, 200, parent.get(),
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(edit, nullptr);
        return edit;
    }

    // Starts with no bold anywhere: some default fonts are bold.
    HWND makeBody(const std::wstring& text) {
        HWND body = makeEdit();
        setUpBody(body, true, false, 0xFFFFFF);
        SetWindowTextW(body, text.c_str());
        setEffect(body, 0, -1, CFM_BOLD, 0);
        select(body, 0, 0);
        return body;
    }

    std::wstring at(const std::wstring& name) const { return temp.path() + name; }
};

} // namespace

TEST_F(RichEditWin, RtfRoundTripKeepsJapaneseTextAndBold) {
    HWND body = makeBody(L"付箋のテスト");
    setEffect(body, 0, 2, CFM_BOLD, CFE_BOLD);

    std::optional<std::string> rtf = streamOutRtf(body);
    ASSERT_TRUE(rtf);
    EXPECT_EQ(rtf->rfind("{\\rtf", 0), 0u) << *rtf;

    // Missing folders on the way are made.
    std::wstring path = at(L"notes\\0123\\text.rtf");
    ASSERT_TRUE(saveRtf(body, path));
    EXPECT_EQ(readBytes(path), *rtf);
    EXPECT_FALSE(pathExists(path + L".saving"));

    HWND fresh = makeEdit();
    ASSERT_EQ(loadBodyFile(fresh, path), BodyLoad::Loaded) << *rtf;
    EXPECT_EQ(fullText(fresh), L"付箋のテスト");
    EXPECT_TRUE(uniformEffect(fresh, 0, 2, CFM_BOLD, CFE_BOLD));
    EXPECT_FALSE(uniformEffect(fresh, 2, 6, CFM_BOLD, CFE_BOLD));
}

TEST_F(RichEditWin, LongBodyStreamsThroughManyChunks) {
    // Far more than one callback's worth in either direction.
    HWND body = makeBody(manyLines(3000));
    std::wstring path = at(L"text.rtf");
    ASSERT_TRUE(saveRtf(body, path));
    ASSERT_GT(readBytes(path).size(), 100000u);

    HWND fresh = makeEdit();
    ASSERT_EQ(loadBodyFile(fresh, path), BodyLoad::Loaded);
    EXPECT_EQ(fullText(fresh), fullText(body));
}

TEST_F(RichEditWin, LoadRtfReplacesContentAndRefusesWhatItCannotRead) {
    HWND empty = makeEdit();
    EXPECT_EQ(loadBodyFile(empty, at(L"missing.rtf")), BodyLoad::Missing);
    EXPECT_EQ(fullText(empty), L"");

    HWND body = makeBody(L"kept");
    EXPECT_EQ(loadBodyFile(body, at(L"missing.rtf")), BodyLoad::Missing);
    EXPECT_EQ(fullText(body), L"kept");

    writeBytes(at(L"text.rtf"), "{\\rtf1\\ansi {\\b loaded} text}");
    ASSERT_EQ(loadBodyFile(body, at(L"text.rtf")), BodyLoad::Loaded);
    EXPECT_EQ(fullText(body), L"loaded text");
    EXPECT_TRUE(uniformEffect(body, 0, 6, CFM_BOLD, CFE_BOLD));

    // An empty file is read as an empty body.
    writeBytes(at(L"empty.rtf"), "");
    EXPECT_EQ(loadBodyFile(body, at(L"empty.rtf")), BodyLoad::Loaded);
    EXPECT_EQ(fullText(body), L"");
}

TEST_F(RichEditWin, LoadRtfRefusesFilesOfFourGibibytes) {
    std::wstring path = at(L"huge.rtf");
    {
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        DWORD returned = 0;
        // Sparse where the file system allows it, so no space is used.
        DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), "{\\rtf1 huge}", 12, &written, nullptr));
        LARGE_INTEGER end{};
        end.QuadPart = 0x100000000LL;
        if (!SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) || !SetEndOfFile(file.get())) {
            GTEST_SKIP() << "no room for a 4 GiB file here";
        }
    }
    HWND body = makeBody(L"kept");
    EXPECT_EQ(loadBodyFile(body, path), BodyLoad::Unreadable);
    EXPECT_EQ(fullText(body), L"kept");
}

TEST_F(RichEditWin, SaveRtfLeavesReadOnlyFileWhole) {
    HWND body = makeBody(L"first version");
    std::wstring path = at(L"text.rtf");
    ASSERT_TRUE(saveRtf(body, path));
    const std::string before = readBytes(path);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));

    SetWindowTextW(body, L"second version, never written");
    EXPECT_FALSE(saveRtf(body, path));
    EXPECT_EQ(readBytes(path), before);
    EXPECT_FALSE(pathExists(path + L".saving"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    HWND fresh = makeEdit();
    ASSERT_EQ(loadBodyFile(fresh, path), BodyLoad::Loaded);
    EXPECT_EQ(fullText(fresh), L"first version");
}

TEST_F(RichEditWin, ToggleCharEffectFollowsTheReportedBit) {
    HWND body = makeBody(L"bold plain");
    setEffect(body, 0, 4, CFM_BOLD, CFE_BOLD);

    // Half bold: the whole selection takes the opposite of the reported bit.
    select(body, 0, 10);
    CHARFORMATW reported = formatOf(body, 0, 10, CFM_BOLD);
    ASSERT_FALSE(reported.dwMask & CFM_BOLD) << "the selection should read as mixed";
    const bool wasBold = reported.dwEffects & CFE_BOLD;
    select(body, 0, 10);
    toggleCharEffect(body, CFM_BOLD, CFE_BOLD);
    EXPECT_EQ(uniformEffect(body, 0, 10, CFM_BOLD, CFE_BOLD), !wasBold);
    select(body, 0, 10);
    toggleCharEffect(body, CFM_BOLD, CFE_BOLD);
    EXPECT_EQ(uniformEffect(body, 0, 10, CFM_BOLD, CFE_BOLD), wasBold);

    // Other effects are left alone.
    select(body, 5, 10);
    toggleCharEffect(body, CFM_ITALIC, CFE_ITALIC);
    EXPECT_TRUE(uniformEffect(body, 5, 10, CFM_ITALIC, CFE_ITALIC));
    EXPECT_FALSE(uniformEffect(body, 0, 4, CFM_ITALIC, CFE_ITALIC));
    EXPECT_EQ(uniformEffect(body, 5, 10, CFM_BOLD, CFE_BOLD), wasBold);
    select(body, 0, 10);
    toggleCharEffect(body, CFM_STRIKEOUT, CFE_STRIKEOUT);
    EXPECT_TRUE(uniformEffect(body, 0, 10, CFM_STRIKEOUT, CFE_STRIKEOUT));
}

TEST_F(RichEditWin, BodyStateRoundTrips) {
    HWND body = makeBody(manyLines(200));
    restoreBodyState(body, BodyState{12, 40, 0, 300}, false);
    BodyState state = readBodyState(body);
    EXPECT_EQ(state.selectionStart, 12);
    EXPECT_EQ(state.selectionEnd, 40);
    EXPECT_EQ(state.scrollLeft, 0);
    EXPECT_EQ(state.scrollTop, 300);

    // Restoring what was read changes nothing.
    HWND other = makeBody(manyLines(200));
    restoreBodyState(other, state, false);
    BodyState again = readBodyState(other);
    EXPECT_EQ(again.selectionStart, state.selectionStart);
    EXPECT_EQ(again.selectionEnd, state.selectionEnd);
    EXPECT_EQ(again.scrollTop, state.scrollTop);
}

TEST_F(RichEditWin, RestoreBodyStateOpensTheInputMethodOnRequest) {
    HWND body = makeBody(L"text");
    HIMC context = ImmGetContext(body);
    if (!context) {
        GTEST_SKIP() << "no input context for the window";
    }
    ImmSetOpenStatus(context, FALSE);
    restoreBodyState(body, BodyState{1, 2, 0, 0}, false);
    EXPECT_FALSE(ImmGetOpenStatus(context));
    restoreBodyState(body, BodyState{1, 2, 0, 0}, true);
    EXPECT_TRUE(ImmGetOpenStatus(context));
    ImmReleaseContext(body, context);
}

TEST_F(RichEditWin, NoteTitleTextFallsBackToTheBody) {
    HWND title = makeEdit(titleStyle, 5);
    std::wstring long300;
    for (int i = 0; i < 300; ++i) {
        long300 += static_cast<wchar_t>(L'a' + i % 26);
    }
    HWND body = makeBody(long300);

    EXPECT_EQ(noteTitleText(title, body), long300.substr(0, 255));

    SetWindowTextW(title, L"買い物");
    EXPECT_EQ(noteTitleText(title, body), L"買い物");

    SetWindowTextW(title, (L"T" + long300).c_str());
    EXPECT_EQ(noteTitleText(title, body), (L"T" + long300).substr(0, 255));

    // A pair cut in half is dropped whole.
    SetWindowTextW(title, L"");
    SetWindowTextW(body, (std::wstring(254, L'x') + L"\U0001F600 after").c_str());
    EXPECT_EQ(noteTitleText(title, body), std::wstring(254, L'x'));
    SetWindowTextW(body, (std::wstring(253, L'x') + L"\U0001F600 after").c_str());
    EXPECT_EQ(noteTitleText(title, body), std::wstring(253, L'x') + L"\U0001F600");

    SetWindowTextW(body, L"");
    EXPECT_EQ(noteTitleText(title, body), L"");
    EXPECT_EQ(editText(body, 10), L"");
    SetWindowTextW(body, L"short");
    EXPECT_EQ(editText(body, 10), L"short");
    EXPECT_EQ(editText(body, 3), L"sho");
    EXPECT_EQ(editText(body, 0), L"");
}

TEST_F(RichEditWin, ApplyBodyFormatSetsSizeColourFaceAndCaret) {
    HWND body = makeBody(L"some body text");
    select(body, 3, 8);
    applyBodyFormat(body, 16, 0x00336699, 7, 9);

    CHARFORMATW format = formatOf(body, 0, -1, CFM_SIZE | CFM_COLOR | CFM_FACE);
    EXPECT_EQ(format.dwMask & (CFM_SIZE | CFM_COLOR | CFM_FACE), CFM_SIZE | CFM_COLOR | CFM_FACE);
    EXPECT_EQ(format.yHeight, 224);
    EXPECT_EQ(format.crTextColor, 0x00336699u);
    EXPECT_FALSE(format.dwEffects & CFE_AUTOCOLOR);
    EXPECT_STREQ(format.szFaceName, L"メイリオ");

    applyBodyFormat(body, 16, 0x00336699, 7, 9);
    CHARRANGE caret = selection(body);
    EXPECT_EQ(caret.cpMin, 0);
    EXPECT_EQ(caret.cpMax, 0);
}

TEST_F(RichEditWin, StoredFormattingSurvivesARoundTripAndTheRestIsPlainBodyText) {
    const struct Case {
        const char* rtf;
        std::string styles; // per character: bold, italic or plain
        LONG twips;         // and the size and face of the 13th
        const wchar_t* face;
    } cases[] = {
        {"{\\rtf1\\ansi {\\b bold words} and plain words\\par}", "bbbbbbbbbb                ", 210,
         L"メイリオ"},
        // As a word processor writes it: a font table, a size, lines in three styles.
        {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\\f0\\fs24 normal line\\par "
         "\\i italic line\\i0\\par \\b bold line\\b0\\par}",
         "            iiiiiiiiiii bbbbbbbbb", 240, L"Times New Roman"},
    };
    for (const Case& c : cases) {
        writeBytes(at(L"text.rtf"), c.rtf);
        for (int pass = 0; pass < 2; ++pass) { // as stored, then as written back
            HWND body = makeEdit();
            applyBodyFormat(body, 15, 0x00336699, 0, 0); // 210 twips, whole half-points in RTF
            ASSERT_EQ(loadBodyFile(body, at(L"text.rtf")), BodyLoad::Loaded);
            for (long i = 0; i < static_cast<long>(c.styles.size()); ++i) {
                DWORD effects =
                    formatOf(body, i, i + 1, CFM_BOLD | CFM_ITALIC).dwEffects & (CFE_BOLD | CFE_ITALIC);
                EXPECT_EQ(effects, c.styles[i] == 'b'   ? CFE_BOLD
                                   : c.styles[i] == 'i' ? CFE_ITALIC
                                                        : 0u)
                    << c.rtf << " pass " << pass << " at " << i;
            }
            CHARFORMATW format = formatOf(body, 12, 13, CFM_SIZE | CFM_FACE);
            EXPECT_EQ(format.yHeight, c.twips);
            if (pass == 0) { // Wine writes a face name its code page cannot hold as "?"
                EXPECT_STREQ(format.szFaceName, c.face);
            }
            std::optional<std::string> written = streamOutRtf(body);
            ASSERT_TRUE(written && !written->empty() && written->back() != '\0') << "ends with the document";
            writeBytes(at(L"text.rtf"), *written);
        }
    }
}

TEST_F(RichEditWin, TitleEditIsCentredReadOnlyAndReportsChanges) {
    HWND title = makeEdit(titleStyle, 5);
    setUpTitleEdit(title, L"6/1/2025(Sun) 9:05:00", 24, 0x00AABBCC, 0x00102030);

    EXPECT_EQ(fullText(title), L"6/1/2025(Sun) 9:05:00");
    EXPECT_TRUE(GetWindowLongW(title, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(backgroundOf(title), 0x00AABBCCu);
    EXPECT_TRUE(SendMessageW(title, EM_GETEVENTMASK, 0, 0) & ENM_CHANGE);
    CHARRANGE caret = selection(title);
    EXPECT_EQ(caret.cpMin, caret.cpMax);

    CHARFORMATW format = formatOf(title, 0, -1, CFM_SIZE | CFM_COLOR | CFM_FACE);
    EXPECT_EQ(format.yHeight, 24 * 9);
    EXPECT_EQ(format.crTextColor, 0x00102030u);
    EXPECT_STREQ(format.szFaceName, L"メイリオ");
    PARAFORMAT paragraph{};
    paragraph.cbSize = sizeof paragraph;
    SendMessageW(title, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    EXPECT_TRUE(paragraph.dwMask & PFM_ALIGNMENT);
    EXPECT_EQ(paragraph.wAlignment, PFA_CENTER);
}

TEST_F(RichEditWin, BodySetUpTakesColourAndAddsEvents) {
    EXPECT_EQ(bodyEventMask, 0x041F0015u);

    HWND detecting = makeEdit();
    SendMessageW(detecting, EM_SETEVENTMASK, 0, ENM_UPDATE);
    setUpBody(detecting, true, true, 0x00E0F0FF);
    // Which URL kinds are detected cannot be read back here: Wine takes only
    // TRUE or FALSE for EM_AUTOURLDETECT.
    EXPECT_EQ(backgroundOf(detecting), 0x00E0F0FFu);
    EXPECT_EQ(static_cast<DWORD>(SendMessageW(detecting, EM_GETEVENTMASK, 0, 0)), bodyEventMask | ENM_UPDATE)
        << "the mask is added to, not replaced";
}

TEST_F(RichEditWin, WordWrapFollowsTheSetting) {
    const std::wstring longLine(400, L'w');
    HWND body = makeEdit();
    setUpBody(body, false, false, 0xFFFFFF);
    SetWindowTextW(body, (L"w " + longLine + L" w " + longLine).c_str());
    EXPECT_EQ(SendMessageW(body, EM_GETLINECOUNT, 0, 0), 1);
    setWordWrap(body, true);
    EXPECT_GT(SendMessageW(body, EM_GETLINECOUNT, 0, 0), 1);
    setWordWrap(body, false);
    EXPECT_EQ(SendMessageW(body, EM_GETLINECOUNT, 0, 0), 1);

    HWND wrapping = makeEdit();
    setUpBody(wrapping, true, false, 0xFFFFFF);
    SetWindowTextW(wrapping, (L"w " + longLine + L" w " + longLine).c_str());
    EXPECT_GT(SendMessageW(wrapping, EM_GETLINECOUNT, 0, 0), 1);
}

TEST_F(RichEditWin, RangeTextReadsThroughTheTextObjectModel) {
    HWND body = makeBody(L"see https://example.com/付箋 now");
    EXPECT_EQ(rangeText(body, 4, 26), std::optional<std::wstring>(L"https://example.com/付箋"));
    EXPECT_EQ(rangeText(body, 26, 4), std::optional<std::wstring>(L"https://example.com/付箋"));
    EXPECT_EQ(rangeText(body, 0, 3), std::optional<std::wstring>(L"see"));
    EXPECT_TRUE(textDocument(body));

    // A window without the object model gives nothing and opens nothing.
    EXPECT_FALSE(textDocument(parent.get()));
    EXPECT_EQ(rangeText(parent.get(), 0, 3), std::nullopt);
    auto never = [](const std::wstring&) {
        ADD_FAILURE() << "nothing to ask about";
        return false;
    };
    EXPECT_FALSE(openLinkAt(parent.get(), 0, 3, never));
    // An empty range is not handed to the shell.
    EXPECT_FALSE(openLinkAt(body, 5, 5, never));
}

TEST_F(RichEditWin, LinksOtherThanWebOrMailAreOpenedOnlyWhenTheUserSaysSo) {
    // Opening it would start a program: the question names the target, and
    // a No leaves the shell alone.
    const std::wstring target = L"C:\\windows\\system32\\notepad.exe";
    HWND body = makeBody(L"run " + target + L" now");
    std::vector<std::wstring> asked;
    EXPECT_FALSE(openLinkAt(body, 4, 4 + static_cast<long>(target.size()), [&](const std::wstring& t) {
        asked.push_back(t);
        return false;
    }));
    EXPECT_EQ(asked, std::vector<std::wstring>{target});
}
