// Notes in a synced folder: only what changed is written, and what a sync
// service changes underneath the running program is opened, reloaded, kept
// beside or closed, never written over.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "AppFixture.h"
#include "StoredNotes.h"
#include "note/RichEdit_win.h"
#include "storage/File_win.h"
#include "storage/TextCodec.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

std::string rtf(const std::string& text) {
    return "{\\rtf1\\ansi " + text + "\\par}";
}

struct OutsideChanges : ::testing::Test {
    AppFixture fixture;
    void SetUp() override {
        fixture.storeSettings(
            "{\"language\": \"English\", \"group\": [{\"guid\": \"g1\", \"name\": \"one\", \"rule\": []}]}");
    }
    std::wstring path(const std::wstring& guid, const std::wstring& name) const {
        return fixture.temp.path() + L"notes\\" + guid + L"\\" + name;
    }
    // As a sync client does it: the new file is written aside and renamed into place.
    void replaceFromElsewhere(const std::wstring& file, const std::string& bytes) {
        const std::wstring folder = file.substr(0, file.rfind(L'\\'));
        CreateDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str(), nullptr);
        CreateDirectoryW(folder.c_str(), nullptr);
        writeBytes(file + L".sync-tmp", bytes);
        ASSERT_TRUE(MoveFileExW((file + L".sync-tmp").c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING));
    }
    void removeFromElsewhere(const std::wstring& guid) {
        for (const wchar_t* name : {L"note.json", L"text.rtf"}) {
            DeleteFileW(path(guid, name).c_str());
        }
        ASSERT_TRUE(RemoveDirectoryW((fixture.temp.path() + L"notes\\" + guid).c_str()));
    }
    // Under Wine the watch sees changes only in folders made after it started
    // (Windows sees the whole tree): these notes arrive once it runs.
    void startAndReceive() {
        fixture.start();
        replaceFromElsewhere(path(guidA, L"note.json"), "\xEF\xBB\xBF" + noteAt(100, "A"));
        replaceFromElsewhere(path(guidA, L"text.rtf"), rtf("alpha"));
        replaceFromElsewhere(path(guidB, L"note.json"), "\xEF\xBB\xBF" + noteAt(350, "B"));
        replaceFromElsewhere(path(guidB, L"text.rtf"), rtf("beta"));
        waitForTheWatch();
        ASSERT_NE(fixture.note(guidA), nullptr);
        ASSERT_NE(fixture.note(guidB), nullptr);
    }
    void typeInto(Note& note, const wchar_t* text) {
        SetWindowTextW(note.bodyEdit, text);
        note.markChanged(SaveText);
    }
    // Longer than the watch collects changes; the program's loop polls the watch too.
    void waitForTheWatch() {
        for (int i = 0; i < 90; ++i) {
            pumpMessages(20);
            fixture.app->pollFolderWatch();
        }
    }
    std::wstring bodyOf(const std::wstring& guid) const {
        Note* note = fixture.note(guid);
        return note ? editText(note->bodyEdit, 200) : L"<closed>";
    }
    // Every file under the data folder with its last-write time.
    std::map<std::wstring, std::filesystem::file_time_type> writeTimes() const {
        std::map<std::wstring, std::filesystem::file_time_type> times;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(fixture.temp.path())) {
            if (entry.is_regular_file()) {
                times[entry.path().wstring()] = entry.last_write_time();
            }
        }
        return times;
    }
    std::vector<std::wstring>
    writtenSince(const std::map<std::wstring, std::filesystem::file_time_type>& before) const {
        std::vector<std::wstring> written;
        for (const auto& [file, time] : writeTimes()) {
            auto it = before.find(file);
            if (it == before.end() || it->second != time) {
                written.push_back(file.substr(fixture.temp.path().size()));
            }
        }
        return written;
    }
};

using Files = std::vector<std::wstring>;

} // namespace

TEST_F(OutsideChanges, OnlyWhatChangedIsWrittenAndASessionEndWritesOnce) {
    fixture.storeNote(guidA, noteAt(100, "A"), rtf("alpha"));
    fixture.storeNote(guidB, noteAt(350, "B"), rtf("beta"));
    fixture.start();
    fixture.restart(); // the first close writes the files in the program's own form
    auto before = writeTimes();
    Sleep(50);
    fixture.restart();
    EXPECT_EQ(writtenSince(before), Files{}) << "a close with nothing changed";

    before = writeTimes();
    Sleep(50);
    typeInto(*fixture.note(guidB), L"beta, typed");
    SendMessageW(fixture.app->mainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    // The typed text, and the selection it moved, in the one sticky typed into.
    Files written = writtenSince(before);
    EXPECT_NE(std::find(written.begin(), written.end(), L"notes\\" + guidB + L"\\text.rtf"), written.end());
    for (const std::wstring& file : written) {
        // Besides its files, the earlier version its save keeps.
        EXPECT_TRUE(file.rfind(L"notes\\" + guidB + L"\\", 0) == 0 ||
                    file.rfind(L"history\\" + guidB + L"\\", 0) == 0)
            << "written: " << wideToUtf8(file);
    }
    before = writeTimes();
    Sleep(50);
    SendMessageW(fixture.app->mainWindow, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    fixture.stop();
    EXPECT_EQ(writtenSince(before), Files{}) << "the session end and the close after it write nothing more";
    EXPECT_NE(readBytes(path(guidB, L"text.rtf")).find("beta, typed"), std::string::npos);
}

TEST_F(OutsideChanges, NotesAddedAndChangedElsewhereOpenReloadOrForkWithoutLosingEither) {
    ASSERT_NO_FATAL_FAILURE(startAndReceive());
    EXPECT_EQ(bodyOf(guidA), L"alpha");

    // Our own saves are not changes from elsewhere.
    typeInto(*fixture.note(guidA), L"alpha, saved here");
    fixture.app->flushAutoSave();
    waitForTheWatch();
    EXPECT_EQ(fixture.app->stickyCount(), 2u);
    EXPECT_EQ(bodyOf(guidA), L"alpha, saved here");

    // A new note folder opens in its stored group where it was stored.
    replaceFromElsewhere(path(guidC, L"note.json"), "\xEF\xBB\xBF" + noteAt(620, "C", "g1"));
    replaceFromElsewhere(path(guidC, L"text.rtf"), rtf("gamma from elsewhere"));
    waitForTheWatch();
    ASSERT_NE(fixture.note(guidC), nullptr);
    EXPECT_EQ(fixture.app->groupGuidOfSticky(guidC), L"g1");
    EXPECT_EQ(rectOf(fixture.note(guidC)->window).left, 620);
    EXPECT_EQ(bodyOf(guidC), L"gamma from elsewhere");

    // Changed with nothing unsaved here: reloaded in place.
    replaceFromElsewhere(path(guidB, L"note.json"), "\xEF\xBB\xBF" + noteAt(400, "B edited elsewhere"));
    replaceFromElsewhere(path(guidB, L"text.rtf"), rtf("beta edited elsewhere"));
    waitForTheWatch();
    ASSERT_NE(fixture.note(guidB), nullptr);
    EXPECT_EQ(bodyOf(guidB), L"beta edited elsewhere");
    EXPECT_EQ(editText(fixture.note(guidB)->titleEdit, 100), L"B edited elsewhere");
    EXPECT_EQ(rectOf(fixture.note(guidB)->window).left, 400);

    // Changed while the sticky holds an unsaved change: both versions stay.
    typeInto(*fixture.note(guidA), L"alpha, typed here");
    replaceFromElsewhere(path(guidA, L"text.rtf"), rtf("alpha, typed elsewhere"));
    waitForTheWatch();
    EXPECT_EQ(bodyOf(guidA), L"alpha, typed here");
    EXPECT_NE(readBytes(path(guidA, L"text.rtf")).find("alpha, typed here"), std::string::npos);
    ASSERT_EQ(fixture.app->stickyCount(), 4u);
    Note* fork = nullptr;
    for (Sticky* sticky : fixture.app->allStickies()) {
        if (sticky->stickyGuid() != guidA && sticky->stickyGuid() != guidB && sticky->stickyGuid() != guidC) {
            fork = static_cast<Note*>(sticky);
        }
    }
    ASSERT_NE(fork, nullptr);
    EXPECT_EQ(bodyOf(fork->guid), L"alpha, typed elsewhere");
    EXPECT_EQ(editText(fork->titleEdit, 100), L"A (changed elsewhere)");
    EXPECT_EQ(rectOf(fork->window).left, rectOf(fixture.note(guidA)->window).right) << "opened beside it";
    const std::wstring forkGuid = fork->guid;
    fixture.stop();
    EXPECT_NE(fixture.readNoteFile(forkGuid, L"text.rtf").find("typed elsewhere"), std::string::npos);
}

TEST_F(OutsideChanges, NotesRemovedElsewhereCloseUnlessTheyHoldUnsavedChanges) {
    ASSERT_NO_FATAL_FAILURE(startAndReceive());
    typeInto(*fixture.note(guidB), L"beta, typed here");
    removeFromElsewhere(guidA);
    removeFromElsewhere(guidB);
    waitForTheWatch();
    waitForTheWatch(); // a removal is looked at twice before anything is written back
    EXPECT_EQ(fixture.note(guidA), nullptr);
    ASSERT_NE(fixture.note(guidB), nullptr);
    EXPECT_NE(readBytes(path(guidB, L"text.rtf")).find("beta, typed here"), std::string::npos);
    fixture.stop();
    EXPECT_FALSE(pathExists(fixture.temp.path() + L"notes\\" + guidA)) << "a trashed note never comes back";
}

TEST_F(OutsideChanges, SettingsChangedElsewhereAreNeverWrittenOver) {
    fixture.start();
    const std::string elsewhere = "{\"language\": \"English\", \"trash\": {\"deadline\": 7}}";
    replaceFromElsewhere(fixture.temp.path() + L"settings.json", elsewhere);
    waitForTheWatch();
    fixture.stop();
    EXPECT_EQ(readBytes(fixture.temp.path() + L"settings.json"), elsewhere) << "nothing changed here";

    fixture.restart();
    const std::string again = "{\"language\": \"English\", \"trash\": {\"deadline\": 9}}";
    replaceFromElsewhere(fixture.temp.path() + L"settings.json", again);
    fixture.app->settings["trash"]["deadline"] = 12;
    fixture.app->markSettingsChanged();
    waitForTheWatch();
    fixture.stop();
    EXPECT_EQ(readBytes(fixture.temp.path() + L"settings.changed-elsewhere.json"), again);
    EXPECT_NE(readBytes(fixture.temp.path() + L"settings.json").find("12"), std::string::npos);
}

// A sync service's own folders and its copies of whole note folders are left
// alone. Syncthing's conflict copy of a note's file opens once as a sticky of
// its own on the machine whose version it holds, at once, and on any machine
// at the next start.
TEST_F(OutsideChanges, WhatASyncServiceLeavesIsLeftAloneOrShown) {
    fixture.storeNote(guidA, noteAt(100, "A"), rtf("alpha"));
    const std::wstring conflictFolder = fixture.temp.path() + L"notes\\" + guidA + L" (conflicted copy)\\";
    const std::wstring hidden = fixture.temp.path() + L"notes\\.stfolder\\";
    const std::string conflictJson = "\xEF\xBB\xBF" + noteAt(500, "conflict");
    replaceFromElsewhere(conflictFolder + L"note.json", conflictJson);
    replaceFromElsewhere(hidden + L"note.json", "{}");
    writeBytes(fixture.temp.path() + L".stignore", "*.exe\n");
    fixture.start();
    // This side lost: its text becomes the copy, the other side's takes its place.
    const std::wstring ours = path(guidA, L"text.sync-conflict-20261208-101010-ABCDEF7.rtf");
    ASSERT_TRUE(MoveFileW(path(guidA, L"text.rtf").c_str(), ours.c_str()));
    replaceFromElsewhere(path(guidA, L"text.rtf"), rtf("winner"));
    const std::wstring theirs = path(guidA, L"text.sync-conflict-20261208-101011-BCDEFA8.rtf");
    replaceFromElsewhere(theirs, rtf("the other side's loser"));
    replaceFromElsewhere(fixture.temp.path() + L"notes\\" + guidA + L".sync-conflict\\note.json", "{}");
    waitForTheWatch();
    ASSERT_EQ(fixture.app->stickyCount(), 2u);
    EXPECT_EQ(bodyOf(guidA), L"winner");
    Note* shown = nullptr;
    for (Sticky* sticky : fixture.app->allStickies()) {
        if (sticky->stickyGuid() != guidA) {
            shown = static_cast<Note*>(sticky);
        }
    }
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(bodyOf(shown->guid), L"alpha");
    EXPECT_EQ(editText(shown->titleEdit, 100), L"A (changed elsewhere)");
    EXPECT_FALSE(pathExists(ours)) << "moved into the new sticky's folder";
    EXPECT_TRUE(pathExists(theirs)) << "the other machine shows it";
    fixture.restart();
    EXPECT_EQ(fixture.app->stickyCount(), 3u) << "each shown once";
    EXPECT_FALSE(pathExists(theirs));
    fixture.stop();
    EXPECT_EQ(readBytes(conflictFolder + L"note.json"), conflictJson);
    EXPECT_EQ(readBytes(hidden + L"note.json"), "{}");
    EXPECT_EQ(readBytes(fixture.temp.path() + L".stignore"), "*.exe\n");
}

// Notes stored before the start, as users have them: under Wine too a change,
// a new folder renamed in and a removal all show while the program runs.
TEST_F(OutsideChanges, ChangesInFoldersThatExistedAtTheStartShow) {
    fixture.storeNote(guidA, noteAt(100, "A"), rtf("alpha"));
    fixture.storeNote(guidB, noteAt(350, "B"), rtf("beta"));
    fixture.start();
    replaceFromElsewhere(path(guidA, L"text.rtf"), rtf("alpha from elsewhere"));
    const std::wstring arriving = fixture.temp.path() + L"arriving";
    writeFileBytes(arriving + L"\\note.json", "\xEF\xBB\xBF" + noteAt(600, "C"));
    writeFileBytes(arriving + L"\\text.rtf", rtf("gamma"));
    ASSERT_TRUE(MoveFileW(arriving.c_str(), (fixture.temp.path() + L"notes\\" + guidC).c_str()));
    removeFromElsewhere(guidB);
    waitForTheWatch();
    EXPECT_EQ(bodyOf(guidA), L"alpha from elsewhere");
    EXPECT_EQ(bodyOf(guidC), L"gamma");
    EXPECT_EQ(fixture.note(guidB), nullptr);
}

// Selection, scroll and a position the program fixed are no edit: what comes
// from elsewhere is loaded, not forked, and another machine's selection
// alone changes nothing here.
TEST_F(OutsideChanges, ViewStateIsNoEdit) {
    fixture.storeNote(guidA, noteAt(100, "A"), rtf("alpha and more"));
    fixture.storeNote(guidB, noteAt(-5000, "B far off screen"), rtf("beta"));
    fixture.start();
    Note* note = fixture.note(guidA);
    SendMessageW(note->bodyEdit, EM_SETSEL, 2, 5);
    EXPECT_EQ(note->unsavedFlags & SaveEdits, 0u);
    EXPECT_EQ(fixture.note(guidB)->unsavedFlags & SaveEdits, 0u) << "put back on screen";

    Json json = fixture.note(guidA)->document.seenJson;
    json["text"]["selection"] = Json{{"start", 7}, {"end", 9}};
    replaceFromElsewhere(path(guidA, L"note.json"), "\xEF\xBB\xBF" + serializeJson(json));
    waitForTheWatch();
    EXPECT_EQ(fixture.note(guidA), note) << "another machine's selection: not reloaded";

    replaceFromElsewhere(path(guidA, L"text.rtf"), rtf("alpha edited elsewhere"));
    replaceFromElsewhere(path(guidB, L"text.rtf"), rtf("beta edited elsewhere"));
    waitForTheWatch();
    EXPECT_EQ(fixture.app->stickyCount(), 2u) << "no fork";
    EXPECT_EQ(bodyOf(guidA), L"alpha edited elsewhere");
    EXPECT_EQ(bodyOf(guidB), L"beta edited elsewhere");
    EXPECT_EQ(fixture.note(guidA)->unsavedFlags & SaveEdits, 0u) << "reloaded";
    typeInto(*fixture.note(guidA), L"typed");
    SendMessageW(fixture.app->mainWindow, WM_TIMER, TIMER_AUTOSAVE, 0);
    EXPECT_EQ(fixture.note(guidA)->unsavedFlags & SaveEdits, 0u) << "saved";
}

// A file that is there but cannot be read now is not removed: nothing is
// written over it, and it is loaded once it can be read.
TEST_F(OutsideChanges, AFileHeldOpenElsewhereIsWaitedFor) {
    fixture.storeNote(guidA, noteAt(100, "A"), rtf("alpha"));
    fixture.start();
    replaceFromElsewhere(path(guidA, L"text.rtf"), rtf("alpha from elsewhere"));
    HANDLE held =
        CreateFileW(path(guidA, L"text.rtf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    waitForTheWatch();
    fixture.app->flushAutoSave();
    EXPECT_EQ(bodyOf(guidA), L"alpha") << "nothing loaded yet";
    CloseHandle(held);
    waitForTheWatch();
    EXPECT_EQ(bodyOf(guidA), L"alpha from elsewhere");

    // Held at the close, with typing here: neither an empty sticky nor a write over it.
    typeInto(*fixture.note(guidA), L"typed here");
    replaceFromElsewhere(path(guidA, L"text.rtf"), rtf("second from elsewhere"));
    held = CreateFileW(path(guidA, L"text.rtf").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    fixture.stop();
    CloseHandle(held);
    EXPECT_EQ(readBytes(path(guidA, L"text.rtf")), rtf("second from elsewhere"));
    std::size_t folders = 0;
    for (const auto& entry : std::filesystem::directory_iterator(fixture.temp.path() + L"notes")) {
        folders += entry.is_directory();
    }
    EXPECT_EQ(folders, 1u);
}

// A newer version that arrived before the watch told of it: typing here forks
// rather than writes over it, and trashing takes it in first.
TEST_F(OutsideChanges, ArrivedVersionsAreNeverWrittenOver) {
    fixture.storeNote(guidA, noteAt(100, "A"), rtf("alpha"));
    fixture.storeNote(guidB, noteAt(350, "B"), rtf("beta"));
    fixture.start();
    typeInto(*fixture.note(guidA), L"alpha, typed here");
    replaceFromElsewhere(path(guidA, L"text.rtf"), rtf("alpha, typed elsewhere"));
    SendMessageW(fixture.app->mainWindow, WM_TIMER, TIMER_AUTOSAVE, 0);
    EXPECT_EQ(fixture.app->stickyCount(), 3u) << "forked";
    EXPECT_NE(readBytes(path(guidA, L"text.rtf")).find("alpha, typed here"), std::string::npos);

    replaceFromElsewhere(path(guidB, L"text.rtf"), rtf("beta, typed elsewhere"));
    ASSERT_TRUE(fixture.app->moveToTrash(guidB));
    EXPECT_EQ(readBytes(fixture.temp.path() + L"trash\\" + guidB + L"\\text.rtf"),
              rtf("beta, typed elsewhere"));
    fixture.stop();
    std::string bodies;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(fixture.temp.path() + L"notes")) {
        if (entry.path().filename() == "text.rtf") {
            bodies += readBytes(entry.path().wstring());
        }
        EXPECT_EQ(entry.path().wstring().find(L"changed-elsewhere"), std::wstring::npos) << "nothing hidden";
    }
    EXPECT_NE(bodies.find("alpha, typed elsewhere"), std::string::npos);
}

// A title arriving while the user types: the sticky is reloaded, and the
// keyboard and the caret stay where the typing was.
TEST_F(OutsideChanges, TypingGoesOnWhereItWasThroughAReload) {
    ASSERT_NO_FATAL_FAILURE(startAndReceive());
    Note* note = fixture.note(guidA);
    SetFocus(note->bodyEdit);
    typeInto(*note, L"alpha typed here");
    SendMessageW(note->bodyEdit, EM_SETSEL, 16, 16);
    fixture.app->flushAutoSave();
    waitForTheWatch();
    pumpMessages(Note::recentEditMilliseconds); // a pause in the typing

    replaceFromElsewhere(path(guidA, L"note.json"), "\xEF\xBB\xBF" + noteAt(100, "A retitled elsewhere"));
    PostMessageW(note->bodyEdit, WM_CHAR, L'!', 0); // typed, not yet read, as the change is seen
    fixture.app->checkEverything();
    waitForTheWatch();
    note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(editText(note->titleEdit, 100), L"A retitled elsewhere");
    EXPECT_EQ(GetFocus(), note->bodyEdit);
    CHARRANGE caret{};
    SendMessageW(note->bodyEdit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    EXPECT_EQ(bodyOf(guidA), L"alpha typed here!");
    EXPECT_EQ(caret.cpMin, 17);
    EXPECT_EQ(caret.cpMax, 17);
    EXPECT_EQ(fixture.app->stickyCount(), 2u) << "a title alone forks nothing";
}

// A text arriving for the sticky being typed into streams into its own
// windows: the keyboard, the caret and a key on its way stay with it.
TEST_F(OutsideChanges, ATextFromElsewhereLoadsIntoTheStickysOwnWindows) {
    ASSERT_NO_FATAL_FAILURE(startAndReceive());
    Note* note = fixture.note(guidA);
    const HWND window = note->window;
    const HWND body = note->bodyEdit;
    SetFocus(body);
    SendMessageW(body, EM_SETSEL, 3, 3);

    replaceFromElsewhere(path(guidA, L"text.rtf"), rtf("alpha and more from elsewhere"));
    PostMessageW(body, WM_CHAR, L'!', 0); // typed, not yet read, as the change is seen
    fixture.app->checkEverything();
    waitForTheWatch();
    ASSERT_EQ(fixture.note(guidA), note);
    EXPECT_EQ(note->window, window);
    EXPECT_EQ(note->bodyEdit, body);
    EXPECT_EQ(GetFocus(), body);
    EXPECT_EQ(bodyOf(guidA), L"alp!ha and more from elsewhere");
    CHARRANGE caret{};
    SendMessageW(body, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    EXPECT_EQ(caret.cpMin, 4);
    EXPECT_EQ(caret.cpMax, 4);
    EXPECT_EQ(fixture.app->stickyCount(), 2u) << "what came is no edit here: nothing forks";
}
