// The trash on disk: a sticky moved there and back, the purges and emptying,
// and a move that fails leaving the sticky where it was.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppFixture.h"
#include "storage/File_win.h"
#include "storage/TextCodec.h"
#include "storage/Trash.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

const std::wstring guidA = L"7a7a7a7a-0000-4000-8000-00000000000a";
const std::wstring guidB = L"7b7b7b7b-0000-4000-8000-00000000000b";
const std::string someNote =
    "{\"title\": \"Shopping\", \"window\": {\"position\": {\"left\": 100, \"top\": 100, \"width\": 200, "
    "\"height\": 150}}}";

// Writes a file, making its folders.
void put(const std::wstring& path, const std::string& bytes) {
    EXPECT_EQ(writeFileBytes(path, bytes), errorSuccess);
}

struct Trash : ::testing::Test {
    AppFixture fixture;
    void SetUp() override { fixture.storeSettings("{}"); }
    std::wstring trashPath(const std::wstring& rest = L"") const {
        return fixture.temp.path() + L"trash\\" + rest;
    }
    std::wstring notesPath(const std::wstring& rest = L"") const {
        return fixture.temp.path() + L"notes\\" + rest;
    }
    void storeEntry(const std::wstring& name, const std::string& stamp, const std::string& title = "Old") {
        put(trashPath(name + L"\\note.json"), someNote);
        put(trashPath(name + L"\\text.rtf"), "{\\rtf1 kept}");
        if (!title.empty()) {
            put(trashPath(name + L"\\title.txt"), title);
        }
        if (!stamp.empty()) {
            put(trashPath(name + L"\\delete-date.txt"), stamp);
        }
    }
};

} // namespace

TEST_F(Trash, StickyGoesToTheTrashAndComesBack) {
    fixture.storeNote(guidA, someNote, "{\\rtf1 milk}");
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    SetWindowTextW(note->bodyEdit, L"milk and eggs");

    SendMessageW(note->window, WM_COMMAND, CommandTrash, 0);
    EXPECT_EQ(fixture.app->stickyCount(), 0u);
    EXPECT_FALSE(pathExists(notesPath())) << "the last sticky gone: no empty notes folder";
    EXPECT_NE(readBytes(trashPath(guidA + L"\\text.rtf")).find("milk and eggs"), std::string::npos)
        << "what was on screen is what the trash keeps";
    EXPECT_NE(readBytes(trashPath(guidA + L"\\title.txt")).find("Shopping"), std::string::npos);
    std::wstring stamp;
    ASSERT_EQ(readTextFileAt(trashPath(guidA + L"\\delete-date.txt"), stamp), errorSuccess);
    std::optional<LocalTime> deleted = parseDeleteStamp(stamp);
    ASSERT_TRUE(deleted);
    EXPECT_EQ(elapsedWholeDays(*deleted, currentLocalTime()), 0);

    // With settings present an empty notes folder is no first run.
    fixture.restart();
    EXPECT_EQ(fixture.app->stickyCount(), 0u);

    fixture.app->buildSystemMenu();
    ASSERT_EQ(fixture.app->trashMenuEntries.size(), 1u);
    EXPECT_EQ(fixture.app->trashMenuEntries[0].label, L"Shopping");
    ASSERT_TRUE(fixture.app->recoverFromTrash(0));
    note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(pathExists(trashPath())) << "the trash emptied by the recovery goes";
    EXPECT_FALSE(fixture.noteFileExists(guidA, L"title.txt"));
    EXPECT_FALSE(fixture.noteFileExists(guidA, L"delete-date.txt"));
    EXPECT_NE(fixture.readNoteFile(guidA, L"text.rtf").find("milk and eggs"), std::string::npos);
}

TEST_F(Trash, RecoveryIntoAGroupThatIsGoneUsesTheUncategorizedGroup) {
    fixture.storeSettings("{\"group\": [{\"guid\": \"g1\", \"name\": \"Work\"}]}");
    put(trashPath(guidB + L"\\note.json"),
        "{\"group\": {\"guid\": \"removed-group\"}, \"title\": \"Lost group\"}");
    fixture.start();
    fixture.app->buildSystemMenu();
    ASSERT_EQ(fixture.app->trashMenuEntries.size(), 1u);
    EXPECT_EQ(fixture.app->trashMenuEntries[0].label, guidB) << "no title.txt: listed by its folder name";
    ASSERT_TRUE(fixture.app->recoverFromTrash(0));
    EXPECT_EQ(fixture.app->groupGuidOfSticky(guidB), L"");
    EXPECT_FALSE(fixture.app->recoverFromTrash(0)) << "the entry is gone from the trash";
    EXPECT_EQ(fixture.app->stickyCount(), 1u);
}

TEST_F(Trash, FailedMoveLeavesTheStickyOpenAndInPlace) {
    fixture.storeNote(guidA, someNote, "{\\rtf1 milk}");
    // A file where the trash folder belongs blocks the move.
    put(fixture.temp.path() + L"trash", "x");
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(fixture.app->moveToTrash(guidA));
    ASSERT_EQ(fixture.note(guidA), note);
    EXPECT_TRUE(IsWindowVisible(note->window));
    EXPECT_TRUE(fixture.noteFileExists(guidA, L"note.json"));
    EXPECT_TRUE(fixture.noteFileExists(guidA, L"text.rtf"));

    // A sticky whose text cannot be written first stays open with its text.
    ASSERT_TRUE(DeleteFileW((fixture.temp.path() + L"trash").c_str()));
    const std::wstring rtf = notesPath(guidA + L"\\text.rtf");
    ASSERT_TRUE(SetFileAttributesW(rtf.c_str(), FILE_ATTRIBUTE_READONLY));
    SetWindowTextW(note->bodyEdit, L"typed since the last save");
    EXPECT_FALSE(fixture.app->moveToTrash(guidA));
    EXPECT_EQ(fixture.note(guidA), note);
    EXPECT_FALSE(pathExists(trashPath(guidA)));
    SetFileAttributesW(rtf.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// The note trashed on another machine, then written back here: trashing it
// again keeps both entries.
TEST_F(Trash, AnEarlierEntryOfTheSameNoteStaysBesideTheNewOne) {
    fixture.storeNote(guidA, someNote, "{\\rtf1 milk}");
    storeEntry(guidA, wideToUtf8(formatNow(deleteStampFormat)), "Older");
    fixture.start();
    ASSERT_TRUE(fixture.app->moveToTrash(guidA));
    EXPECT_NE(readBytes(trashPath(guidA + L"\\text.rtf")).find("milk"), std::string::npos);
    fixture.app->buildSystemMenu();
    ASSERT_EQ(fixture.app->trashMenuEntries.size(), 2u);
    std::vector<std::wstring> labels{fixture.app->trashMenuEntries[0].label,
                                     fixture.app->trashMenuEntries[1].label};
    std::sort(labels.begin(), labels.end());
    EXPECT_EQ(labels, (std::vector<std::wstring>{L"Older", L"Shopping"}));
}

TEST_F(Trash, PurgesKeepWhatIsNotDueAndEmptyingTakesTheRest) {
    storeEntry(guidA, "2000,1,1,0,0,0");                           // long past the deadline
    storeEntry(guidB, wideToUtf8(formatNow(deleteStampFormat)));   // deleted now
    storeEntry(L"7c7c7c7c-0000-4000-8000-00000000000c", "2000,1"); // damaged stamp
    storeEntry(L"7d7d7d7d-0000-4000-8000-00000000000d", "");       // no stamp
    storeEntry(L".hidden", "2000,1,1,0,0,0");                      // not an entry
    fixture.start();                                               // purges at start-up
    EXPECT_FALSE(pathExists(trashPath(guidA)));
    EXPECT_TRUE(pathExists(trashPath(guidB)));
    EXPECT_TRUE(pathExists(trashPath(L"7c7c7c7c-0000-4000-8000-00000000000c")));
    EXPECT_TRUE(pathExists(trashPath(L"7d7d7d7d-0000-4000-8000-00000000000d")));
    EXPECT_TRUE(pathExists(trashPath(L".hidden")));
    fixture.app->buildSystemMenu();
    EXPECT_EQ(fixture.app->trashMenuEntries.size(), 3u);

    fixture.app->emptyTrash(true);
    EXPECT_FALSE(pathExists(trashPath(guidB)));
    EXPECT_FALSE(pathExists(trashPath(L"7c7c7c7c-0000-4000-8000-00000000000c")));
    EXPECT_TRUE(pathExists(trashPath(L".hidden")));

    // Deadline 0 purges everything at the next purge.
    storeEntry(L"7e7e7e7e-0000-4000-8000-00000000000e", wideToUtf8(formatNow(deleteStampFormat)));
    fixture.app->settings["trash"] = Json{{"deadline", 0}};
    fixture.app->purgeExpiredTrash();
    EXPECT_FALSE(pathExists(trashPath(L"7e7e7e7e-0000-4000-8000-00000000000e")));
}

TEST_F(Trash, OnlyARunThatReadItsSettingsPurgesAndItPurgesWhole) {
    fixture.storeSettings("{\"trash\": {\"deadline\": 365}}");
    const std::string settings = readBytes(fixture.temp.path() + L"settings.json");
    LocalTime monthsAgo = currentLocalTime(); // four months back: inside 365 days, past 31
    monthsAgo.year -= monthsAgo.month <= 4 ? 1 : 0;
    monthsAgo.month = (monthsAgo.month + 7) % 12 + 1;
    monthsAgo.day = std::min(monthsAgo.day, 28);
    storeEntry(guidA, wideToUtf8(formatDate(deleteStampFormat, monthsAgo)));
    storeEntry(guidB, "2000,1,1,0,0,0"); // due, with kept copies, a leftover and a folder
    for (const wchar_t* extra : {L"note.json.unreadable", L"text.rtf.saving", L"folder\\inside.txt"}) {
        put(trashPath(guidB + L"\\" + extra), "x");
    }
    const std::wstring leftover = L"7c7c7c7c-0000-4000-8000-00000000000c"; // no note, no stamp
    put(trashPath(leftover + L"\\note.json.unreadable"), "{broken");

    // A second launch (or no edit library) ends before reading its settings.
    fixture.app = std::make_unique<TackaroonNotes>(fixture.temp.path());
    ASSERT_NE(fixture.app->createMainWindow(GetModuleHandleW(nullptr)), nullptr);
    fixture.stop();
    fixture.app.reset();
    EXPECT_TRUE(pathExists(trashPath(guidA)) && pathExists(trashPath(guidB)));
    EXPECT_EQ(readBytes(fixture.temp.path() + L"settings.json"), settings);

    fixture.app = std::make_unique<TackaroonNotes>(fixture.temp.path());
    fixture.start();
    EXPECT_TRUE(pathExists(trashPath(guidA + L"\\note.json")));
    EXPECT_FALSE(pathExists(trashPath(guidB)));
    fixture.app->buildSystemMenu();
    ASSERT_EQ(fixture.app->trashMenuEntries.size(), 1u) << "an entry with no note is not offered";
    EXPECT_EQ(fixture.app->trashMenuEntries[0].name, guidA);
}
