// Earlier versions: every way the program replaces a note's content keeps
// what it replaces; the dialog restores one or opens it as a new sticky; the
// trash keeps a note's versions until it purges the note.
#include <gtest/gtest.h>

#include <algorithm>

#include <commctrl.h>

#include "AppFixture.h"
#include "StoredNotes.h"
#include "dialogs/DialogIds.h"
#include "note/RichEdit_win.h"
#include "scribble/DrawingMenu.h"
#include "storage/File_win.h"
#include "storage/History_win.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

std::string rtf(const std::string& text) {
    return "{\\rtf1\\ansi " + text + "\\par}";
}

// The keys typed into the dialog from inside its modal loop, and the rows it listed.
struct DialogKeys {
    std::vector<WPARAM> keys;
    int rows = -1;
};
DialogKeys* driving = nullptr;
// A key with Alt held, as an access key arrives.
constexpr WPARAM withAlt = 0x10000;

void CALLBACK driveDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowW(L"#32770", L"Earlier versions");
    HWND list = dialog ? GetDlgItem(dialog, IDC_HISTORY_LIST) : nullptr;
    if (list && driving) {
        KillTimer(nullptr, timer);
        driving->rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        // The list has the focus; the dialog's loop reads the keys.
        for (WPARAM key : driving->keys) {
            PostMessageW(list, key & withAlt ? WM_SYSCHAR : WM_KEYDOWN, key & 0xFFFF,
                         key & withAlt ? 0x20000000 : 0);
        }
    }
}

struct History : ::testing::Test {
    AppFixture fixture;
    void SetUp() override {
        fixture.storeSettings("{\"language\": \"English\", \"group\": []}");
        fixture.storeNote(guidA, noteAt(100, "A"), rtf("first text"));
    }
    std::wstring folder() const { return fixture.temp.path(); }
    // Each version's note.json and text.rtf together, newest first.
    std::vector<std::string> versionTexts(const std::wstring& guid) const {
        std::vector<std::string> texts;
        for (const VersionEntry& entry : listVersions(folder(), guid)) {
            std::string json, text;
            EXPECT_TRUE(readVersion(folder(), guid, entry.name, json, text)) << entry.name;
            texts.push_back(json + text);
        }
        return texts;
    }
    bool kept(const std::wstring& guid, const std::string& part) const {
        const std::vector<std::string> texts = versionTexts(guid);
        return std::any_of(texts.begin(), texts.end(),
                           [&](const std::string& text) { return text.find(part) != std::string::npos; });
    }
    void type(const wchar_t* text) {
        Note* note = fixture.note(guidA);
        ASSERT_NE(note, nullptr);
        SetWindowTextW(note->bodyEdit, text);
        note->markChanged(SaveText);
        fixture.app->flushAutoSave();
    }
    void replaceText(const std::string& bytes) {
        const std::wstring path = folder() + L"notes\\" + guidA + L"\\text.rtf";
        ASSERT_EQ(writeFileBytes(path + L".x", bytes), errorSuccess);
        ASSERT_TRUE(MoveFileExW((path + L".x").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
        fixture.app->checkNote(guidA, false);
    }
    std::wstring body(const std::wstring& guid) const {
        Note* note = fixture.note(guid);
        return note ? editText(note->bodyEdit, 200) : L"<closed>";
    }
    // Opens the dialog from the title menu's command and types `keys` into it.
    DialogKeys runDialog(std::vector<WPARAM> keys) {
        DialogKeys run{std::move(keys)};
        driving = &run;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, driveDialog);
        SendMessageW(fixture.note(guidA)->window, WM_COMMAND, CommandEarlierVersions, 0);
        KillTimer(nullptr, timer);
        driving = nullptr;
        return run;
    }
};

} // namespace

TEST_F(History, EveryReplacementKeepsWhatItReplaces) {
    fixture.storeNote(
        guidA,
        R"({"title": "A", "window": {"position": {"left": 100, "top": 100}}, "scribble": {"figure": [
                          {"tool": "rhombus", "strokeColor": "#ff0000", "fillColor": "#ffffff", "eraser": false,
                           "strokeWidth": 2, "strokeOpacity": 1, "fillOpacity": 0,
                           "rect": {"left": 5, "top": 5, "right": 40, "bottom": 40}}]}})",
        rtf("first text"));
    const std::uint64_t now = utcMillisecondsNow();
    ASSERT_TRUE(keepVersion(folder(), guidB, "{}", rtf("last year"), now - 400 * millisecondsPerDay));
    ASSERT_TRUE(keepVersion(folder(), guidB, "{}", rtf("yesterday"), now - millisecondsPerDay));
    fixture.start();
    EXPECT_TRUE(versionTexts(guidA).empty()) << "opening writes nothing";
    while (fixture.app->stepHistoryThinning()) {
    }
    EXPECT_EQ(versionTexts(guidB), std::vector<std::string>{"{}" + rtf("yesterday")})
        << "thinned after start-up";

    type(L"second text");
    ASSERT_EQ(versionTexts(guidA).size(), 1u);
    EXPECT_TRUE(kept(guidA, "first text")) << "the state before the first save of a span";
    type(L"third text");
    EXPECT_EQ(versionTexts(guidA).size(), 1u) << "one version per span while typing";

    Note* note = fixture.note(guidA);
    ASSERT_EQ(note->drawing.scribble.figures.size(), 1u);
    const std::size_t before = versionTexts(guidA).size();
    SendMessageW(note->window, WM_COMMAND, CommandClear, 0);
    ASSERT_EQ(versionTexts(guidA).size(), before + 1);
    EXPECT_NE(versionTexts(guidA)[0].find("third text"), std::string::npos) << "clearing the drawing";
    EXPECT_TRUE(kept(guidA, "rhombus"));
    SendMessageW(note->window, WM_COMMAND, CommandClear, 0);
    EXPECT_EQ(versionTexts(guidA).size(), before + 1) << "clearing nothing replaces nothing";

    type(L"fourth text");
    fixture.note(guidA)->recentEdits = 0; // as once the typing has paused
    ASSERT_NO_FATAL_FAILURE(replaceText(rtf("fifth, from elsewhere")));
    EXPECT_EQ(body(guidA), L"fifth, from elsewhere");
    EXPECT_TRUE(kept(guidA, "fourth text")) << "reloading a version from elsewhere";

    SetWindowTextW(fixture.note(guidA)->bodyEdit, L"sixth, unsaved here");
    fixture.note(guidA)->markChanged(SaveText);
    ASSERT_NO_FATAL_FAILURE(replaceText(rtf("seventh, from elsewhere")));
    EXPECT_EQ(body(guidA), L"sixth, unsaved here");
    EXPECT_TRUE(kept(guidA, "seventh, from elsewhere")) << "the sticky writing over a version from elsewhere";

    // The trash keeps the versions, recovery keeps one more, a purge takes them.
    const std::size_t versions = versionTexts(guidA).size();
    ASSERT_TRUE(fixture.app->moveToTrash(guidA));
    EXPECT_EQ(versionTexts(guidA).size(), versions);
    fixture.app->trashMenuEntries = listTrash(folder());
    ASSERT_TRUE(fixture.app->recoverFromTrash(0));
    EXPECT_GE(versionTexts(guidA).size(), versions);
    ASSERT_TRUE(fixture.app->moveToTrash(guidA));
    fixture.app->emptyTrash(true);
    EXPECT_FALSE(pathExists(folder() + L"history\\" + guidA));

    // Folders there that are no versions are skipped.
    createFolder(folder() + L"history");
    createFolder(folder() + L"history\\" + guidC);
    createFolder(folder() + L"history\\" + guidC + L"\\not a version");
    EXPECT_TRUE(listVersions(folder(), guidC).empty());
}

TEST_F(History, TheDialogRestoresOrOpensAVersionByKeyboard) {
    // A version from another machine shows as well.
    const std::uint64_t earlier = utcMillisecondsNow() - 60'000;
    ASSERT_TRUE(keepVersion(folder(), guidA, noteAt(300, "A"), rtf("from the laptop"), earlier));
    fixture.start();
    type(L"current text");

    // Newest first: "first text" (before this run's first save), the laptop's.
    DialogKeys run = runDialog({VK_DOWN, VK_RETURN});
    EXPECT_EQ(run.rows, 2);
    EXPECT_EQ(body(guidA), L"from the laptop");
    EXPECT_NE(fixture.readNoteFile(guidA, L"text.rtf").find("from the laptop"), std::string::npos);
    EXPECT_TRUE(kept(guidA, "current text")) << "the content restored over is kept first";
    EXPECT_EQ(rectOf(fixture.note(guidA)->window).left, 100) << "the sticky stays where it is";

    // Alt+O opens the selected version beside it; the sticky keeps its text.
    run = runDialog({VK_DOWN, withAlt | 'o'});
    Note* opened = nullptr;
    for (Sticky* sticky : fixture.app->allStickies()) {
        if (sticky->stickyGuid() != guidA) {
            opened = static_cast<Note*>(sticky);
        }
    }
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(editText(opened->titleEdit, 100), L"A (earlier version)");
    EXPECT_EQ(body(guidA), L"from the laptop");
    EXPECT_FALSE(body(opened->guid).empty());
}
