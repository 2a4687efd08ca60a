// Stickies on screen: stored notes come up as live windows whose state can be
// read back from the system, and what they hold goes back to their files.
#include <gtest/gtest.h>

#include <richedit.h>

#include "AppFixture.h"
#include "note/RichEdit_win.h"
#include "storage/File_win.h"
#include "storage/TextCodec.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

const std::wstring guidA = L"0a0a0a0a-0000-4000-8000-00000000000a";
const std::wstring guidB = L"0b0b0b0b-0000-4000-8000-00000000000b";

std::string noteAt(int left, int top, int width, int height, const std::string& window = "") {
    return "{\"window\": {\"position\": {\"left\": " + std::to_string(left) +
           ", \"top\": " + std::to_string(top) + ", \"width\": " + std::to_string(width) +
           ", \"height\": " + std::to_string(height) + "}" + window + "}, \"title\": \"stored\"}";
}

struct Stickies : ::testing::Test {
    AppFixture fixture;
    // Settings present and no default groups: every note goes to the uncategorized group.
    void SetUp() override { fixture.storeSettings("{}"); }
};

} // namespace

TEST_F(Stickies, StoredGeometryAndOpacityComeBack) {
    fixture.storeNote(guidA, noteAt(100, 120, 200, 150, ", \"opacity\": 0.5"));
    fixture.storeNote(guidB, noteAt(400, 100, 220, 260, ", \"fold\": true"));
    fixture.start();
    ASSERT_EQ(fixture.app->stickyCount(), 2u);

    Note* a = fixture.note(guidA);
    ASSERT_NE(a, nullptr);
    RECT r = rectOf(a->window);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 120);
    EXPECT_EQ(r.right - r.left, 200);
    EXPECT_EQ(r.bottom - r.top, 150);
    EXPECT_EQ(alphaOf(a->window), 127) << "0.5 x 255, truncated";
    EXPECT_TRUE(exStyleOf(a->window) & WS_EX_LAYERED);
    EXPECT_TRUE(exStyleOf(a->window) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(IsWindowVisible(a->window));

    Note* b = fixture.note(guidB);
    ASSERT_NE(b, nullptr);
    r = rectOf(b->window);
    EXPECT_EQ(r.bottom - r.top, 18) << "folded to the title bar";
    EXPECT_EQ(r.right - r.left, 220);
    EXPECT_FALSE(IsWindowVisible(b->bodyEdit));
    EXPECT_EQ(integerAt(b->document.json, {"window", "position", "height"}, 0), 260)
        << "the unfolded height is kept";
}

TEST_F(Stickies, WindowStatesFollowCommandsAndRules) {
    fixture.storeNote(guidA, noteAt(100, 100, 240, 300, ", \"opacity\": 0.5"));
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);

    note->applyOpacityFactor(0.2f);
    EXPECT_EQ(alphaOf(note->window), 25) << "0.5 x 0.2 x 255 = 25.5, truncated";
    note->applyOpacityFactor(1.0f);
    SendMessageW(note->window, WM_COMMAND, CommandOpacityFirst + 7, 0); // 80 %
    EXPECT_EQ(alphaOf(note->window), 204);
    EXPECT_FLOAT_EQ(numberAt(note->document.json, {"window", "opacity"}, 0), 0.8f);

    note->setClickThrough(true);
    EXPECT_TRUE(exStyleOf(note->window) & WS_EX_TRANSPARENT);
    note->setClickThrough(false);
    EXPECT_FALSE(exStyleOf(note->window) & WS_EX_TRANSPARENT);

    SendMessageW(note->window, WM_COMMAND, CommandFold, 0);
    EXPECT_EQ(rectOf(note->window).bottom - rectOf(note->window).top, 18);
    EXPECT_TRUE(booleanAt(note->document.json, {"window", "fold"}, false));
    SendMessageW(note->window, WM_COMMAND, CommandFold, 0);
    EXPECT_EQ(rectOf(note->window).bottom - rectOf(note->window).top, 300);

    note->applyRuleFold(true);
    EXPECT_TRUE(note->folded);
    EXPECT_FALSE(booleanAt(note->document.json, {"window", "fold"}, true)) << "a rule fold is not stored";
    note->applyRuleFold(false);
    EXPECT_FALSE(note->folded);

    SendMessageW(note->window, WM_COMMAND, CommandAlwaysOnTop, 0);
    EXPECT_TRUE(exStyleOf(note->window) & WS_EX_TOPMOST);
    note->setZOrderLevel(ZOrder::bottom);
    EXPECT_FALSE(exStyleOf(note->window) & WS_EX_TOPMOST) << "a rule's bottom level overrides always on top";
    note->setZOrderLevel(ZOrder::top);
    EXPECT_TRUE(exStyleOf(note->window) & WS_EX_TOPMOST);
    SendMessageW(note->window, WM_COMMAND, CommandAlwaysOnTop, 0);
    EXPECT_FALSE(exStyleOf(note->window) & WS_EX_TOPMOST);

    SendMessageW(note->window, WM_COMMAND, CommandTitlebar, 0);
    pumpMessages(50);
    EXPECT_FALSE(IsWindowVisible(note->titleEdit));
    RECT body{};
    GetWindowRect(note->bodyEdit, &body);
    EXPECT_EQ(body.top - rectOf(note->window).top, 2) << "one pixel inside the border";

    for (int id : {CommandLock, CommandFixPosition, CommandFixSize, CommandBorder}) {
        SendMessageW(note->window, WM_COMMAND, id, 0);
    }
    EXPECT_TRUE(booleanAt(note->document.json, {"window", "lock"}, false));
    EXPECT_TRUE(booleanAt(note->document.json, {"window", "fix", "position"}, false));
    EXPECT_TRUE(booleanAt(note->document.json, {"window", "fix", "size"}, false));
    EXPECT_FALSE(booleanAt(note->document.json, {"window", "border"}, true));
    EXPECT_EQ(fixture.app->pendingSaves.size(), 1u) << "one pending entry for all these changes";
}

TEST_F(Stickies, OffScreenStickyComesBackAndItsPositionIsStored) {
    fixture.storeNote(guidA, noteAt(20000, 20000, 200, 150));
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    RECT r = rectOf(note->window);
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_EQ(r.right, screen.right);
    EXPECT_EQ(r.bottom, screen.bottom);
    EXPECT_EQ(integerAt(note->document.json, {"window", "position", "left"}, 0), r.left);
    EXPECT_EQ(integerAt(note->document.json, {"window", "position", "top"}, 0), r.top);
}

TEST_F(Stickies, ActivationLiftsRuleEffects) {
    fixture.storeNote(guidA, noteAt(100, 100, 240, 300));
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    Group& uncategorized = fixture.app->groups.back();
    uncategorized.appliedOpacity = 0.2f;
    uncategorized.appliedTransparent = true;
    note->setRuleExempt(false);
    EXPECT_EQ(alphaOf(note->window), 255) << "not exempt before either: nothing to do";
    SendMessageW(note->window, WM_ACTIVATE, WA_ACTIVE, 0);
    SendMessageW(note->window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(alphaOf(note->window), 51) << "deactivation takes the group's applied state";
    EXPECT_TRUE(exStyleOf(note->window) & WS_EX_TRANSPARENT);
    SendMessageW(note->window, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(note->isActive());
    EXPECT_EQ(alphaOf(note->window), 255);
    EXPECT_FALSE(exStyleOf(note->window) & WS_EX_TRANSPARENT);
    SendMessageW(note->window, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(alphaOf(note->window), 51);
}

TEST_F(Stickies, TextAndTitleRoundTripThroughTheFiles) {
    fixture.storeNote(guidA, noteAt(100, 100, 240, 300));
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    SetWindowTextW(note->bodyEdit, L"付箋の本文 first line\nsecond");
    CHARRANGE range{0, 5};
    SendMessageW(note->bodyEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    toggleCharEffect(note->bodyEdit, CFM_BOLD, CFE_BOLD);
    SetWindowTextW(note->titleEdit, L"日本語のタイトル");
    fixture.stop();

    std::string rtf = fixture.readNoteFile(guidA, L"text.rtf");
    EXPECT_EQ(rtf.rfind("{\\rtf", 0), 0u) << "the body is stored as RTF without a byte-order mark";
    Json stored = fixture.readNoteJson(guidA);
    EXPECT_EQ(stringAt(stored, {"title"}, ""),
              "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE3\x82\xBF\xE3\x82"
              "\xA4\xE3\x83\x88\xE3\x83\xAB");
    EXPECT_EQ(integerAt(stored, {"text", "selection", "end"}, -1), 5);

    fixture.restart();
    note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(editText(note->bodyEdit, 1000), L"付箋の本文 first line\r\nsecond");
    EXPECT_EQ(editText(note->titleEdit, 1000), L"日本語のタイトル");
    CHARRANGE bold{1, 2};
    SendMessageW(note->bodyEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&bold));
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    SendMessageW(note->bodyEdit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_TRUE(format.dwEffects & CFE_BOLD);
    CHARRANGE selection{};
    SendMessageW(note->bodyEdit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
}

TEST(FirstRun, CreatesOneStickyInTheFirstGroupWithFocus) {
    AppFixture fixture;
    fixture.start();
    ASSERT_EQ(fixture.app->stickyCount(), 1u);
    ASSERT_GE(fixture.app->groups.size(), 14u) << "thirteen default groups and the uncategorized group";
    EXPECT_EQ(fixture.app->stickyCountAt(0), 1u);
    Note* note = fixture.firstNote();
    EXPECT_EQ(GetFocus(), note->bodyEdit);
    EXPECT_FALSE(stringAt(note->document.json, {"title"}, "").empty());
}

TEST_F(Stickies, SettingsWithoutNotesFolderCreateNothing) {
    fixture.start();
    EXPECT_EQ(fixture.app->stickyCount(), 0u);
}

// A folder holding neither file (a sync client still making it) is no note yet.
TEST_F(Stickies, NoteFolderWithoutNoteJsonOpensWithTimeTitle) {
    ASSERT_EQ(writeFileBytes(fixture.temp.path() + L"notes\\" + guidA + L"\\text.rtf", "{\\rtf1 body}"),
              errorSuccess);
    ASSERT_TRUE(createFolder(fixture.temp.path() + L"notes\\" + guidB));
    fixture.start();
    EXPECT_EQ(fixture.note(guidB), nullptr);
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    std::string title = stringAt(note->document.json, {"title"}, "");
    EXPECT_NE(title.find('/'), std::string::npos) << title;
    EXPECT_NE(title.find(':'), std::string::npos) << title;
    EXPECT_FALSE(fixture.noteFileExists(guidA, L"note.json")) << "files appear at the next save";
}

TEST_F(Stickies, AutoSaveWritesExactlyThePendingFiles) {
    fixture.storeNote(guidA, noteAt(100, 100, 240, 300));
    fixture.storeNote(guidB, noteAt(400, 100, 240, 300));
    fixture.start();
    deleteFile(fixture.temp.path() + L"notes\\" + guidA + L"\\note.json");
    deleteFile(fixture.temp.path() + L"notes\\" + guidB + L"\\note.json");
    fixture.app->markStickyChanged(guidA, SaveText);
    fixture.app->flushAutoSave();
    EXPECT_TRUE(fixture.noteFileExists(guidA, L"text.rtf"));
    EXPECT_FALSE(fixture.noteFileExists(guidA, L"note.json"));
    EXPECT_FALSE(fixture.noteFileExists(guidB, L"text.rtf"));
    EXPECT_FALSE(fixture.noteFileExists(guidB, L"note.json"));
    EXPECT_FALSE(fixture.app->autoSaveTimer.running);
}

TEST_F(Stickies, ClosingTheMainWindowSavesEverything) {
    fixture.storeNote(guidA, noteAt(100, 100, 240, 300));
    fixture.storeNote(guidB, noteAt(400, 100, 240, 300));
    fixture.start();
    SendMessageW(fixture.app->mainWindow, WM_CLOSE, 0, 0);
    pumpMessages(20);
    for (const std::wstring& guid : {guidA, guidB}) {
        EXPECT_TRUE(fixture.noteFileExists(guid, L"text.rtf"));
        EXPECT_EQ(stringAt(fixture.readNoteJson(guid), {"title"}, ""), "stored");
    }
    EXPECT_TRUE(isFile(fixture.temp.path() + L"settings.json"));
}

TEST_F(Stickies, AltF4OnAStickySavesItAndEndsTheLoop) {
    fixture.storeNote(guidA, noteAt(100, 100, 240, 300));
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    SetWindowTextW(note->bodyEdit, L"typed just before Alt+F4");
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    SendMessageW(note->window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the message loop ends";
    EXPECT_FALSE(note->hasWindows());
    EXPECT_NE(fixture.readNoteFile(guidA, L"text.rtf").find("typed just before"), std::string::npos);
    // The shutdown that follows keeps what was saved instead of reading the gone windows.
    fixture.stop();
    EXPECT_NE(fixture.readNoteFile(guidA, L"text.rtf").find("typed just before"), std::string::npos);
}

TEST_F(Stickies, NewStickyNextToTheSource) {
    fixture.storeNote(guidA, noteAt(100, 100, 200, 150, ", \"opacity\": 0.5"));
    fixture.start();
    Note* source = fixture.note(guidA);
    ASSERT_NE(source, nullptr);
    SendMessageW(source->window, WM_COMMAND, CommandNew, 0);
    ASSERT_EQ(fixture.app->stickyCount(), 2u);
    Note* created = static_cast<Note*>(fixture.app->allStickies().back());
    RECT r = rectOf(created->window);
    EXPECT_EQ(r.left, 300);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(alphaOf(created->window), 127) << "the source's opacity is copied";
    EXPECT_TRUE(fixture.app->settingsDirty);
}

TEST(ManyNotes, AtMostAThousandOpen) {
    AppFixture fixture;
    fixture.storeSettings("{}");
    for (int i = 0; i < 1001; ++i) {
        ASSERT_TRUE(createFolder(fixture.temp.path() + L"notes") || i > 0);
        wchar_t name[40];
        swprintf(name, 40, L"%08d-0000-4000-8000-000000000000", i);
        // A folder holding neither file is no note.
        ASSERT_TRUE(createFolder(fixture.temp.path() + L"notes\\" + name));
        writeBytes(fixture.temp.path() + L"notes\\" + name + L"\\note.json", "{}");
    }
    fixture.start();
    EXPECT_EQ(fixture.app->stickyCount(), 1000u);
}

TEST_F(Stickies, SessionEndWritesWhatWaitsForAutoSave) {
    fixture.storeNote(guidA, noteAt(100, 100, 240, 300));
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    SetWindowTextW(note->bodyEdit, L"written at log-off");
    fixture.app->markStickyChanged(guidA, SaveText);
    fixture.app->markSettingsChanged();
    SendMessageW(fixture.app->mainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    EXPECT_NE(fixture.readNoteFile(guidA, L"text.rtf").find("written at log-off"), std::string::npos);
    EXPECT_TRUE(isFile(fixture.temp.path() + L"settings.json"));
    EXPECT_TRUE(fixture.app->pendingSaves.empty());
}

TEST_F(Stickies, UnknownGroupPutsTheStickyInTheUncategorizedGroup) {
    fixture.storeNote(guidA, "{\"group\": {\"guid\": \"no-such-group\"}}");
    fixture.start();
    ASSERT_NE(fixture.note(guidA), nullptr);
    EXPECT_EQ(fixture.app->groups.back().notes.size(), 1u);
    EXPECT_EQ(fixture.app->groupGuidOfSticky(guidA), L"");
}
