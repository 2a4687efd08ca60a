#include <gtest/gtest.h>

#include "storage/DiskState.h"
#include "storage/OutsideChange.h"

using namespace Brisvane;

namespace {

using A = OutsideAction;
using O = Outside;
using F = WatchedFile;

const wchar_t guid[] = L"0d0d0d0d-0000-4000-8000-00000000000d";

} // namespace

// {unsaved changes here} x {what changed elsewhere} x {which file} -> what the program does.
TEST(OutsideChange, DecisionTable) {
    struct Case {
        bool unsaved;
        Outside outside;
        WatchedFile file;
        OutsideAction action;
    };
    const Case cases[] = {
        {false, O::Unchanged, F::NoteJson, A::Nothing},
        {true, O::Unchanged, F::NoteJson, A::Nothing},
        {false, O::Changed, F::NoteJson, A::Load},
        {true, O::Changed, F::NoteJson, A::Fork},
        {false, O::Added, F::NoteJson, A::Load},
        {true, O::Added, F::NoteJson, A::Fork},
        {false, O::Removed, F::NoteJson, A::Close},
        {true, O::Removed, F::NoteJson, A::SaveHere},
        {false, O::Unchanged, F::TextRtf, A::Nothing},
        {true, O::Unchanged, F::TextRtf, A::Nothing},
        {false, O::Changed, F::TextRtf, A::Load},
        {true, O::Changed, F::TextRtf, A::Fork},
        {false, O::Added, F::TextRtf, A::Load},
        {true, O::Added, F::TextRtf, A::Fork},
        {false, O::Removed, F::TextRtf, A::SaveHere},
        {true, O::Removed, F::TextRtf, A::SaveHere},
        {false, O::Unchanged, F::Settings, A::Nothing},
        {true, O::Unchanged, F::Settings, A::Nothing},
        {false, O::Changed, F::Settings, A::KeepBeforeWrite},
        {true, O::Changed, F::Settings, A::KeepCopyAndSave},
        {false, O::Added, F::Settings, A::KeepBeforeWrite},
        {true, O::Added, F::Settings, A::KeepCopyAndSave},
        {false, O::Removed, F::Settings, A::SaveHere},
        {true, O::Removed, F::Settings, A::SaveHere},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decideOutsideChange(c.unsaved, c.outside, c.file), c.action)
            << c.unsaved << " " << static_cast<int>(c.outside) << " " << static_cast<int>(c.file);
    }
}

// A note's two files give one action: a whole folder removed closes the
// sticky, and loading one file while the other must be written back would
// drop the one here, so both versions are kept.
TEST(OutsideChange, NoteActionFromBothFiles) {
    struct Case {
        OutsideAction json, text, note;
    };
    const Case cases[] = {
        {A::Nothing, A::Nothing, A::Nothing}, {A::Load, A::Nothing, A::Load},
        {A::Nothing, A::Load, A::Load},       {A::Close, A::SaveHere, A::Close},
        {A::Close, A::Load, A::Close},        {A::SaveHere, A::SaveHere, A::SaveHere},
        {A::Load, A::SaveHere, A::Fork},      {A::Fork, A::Nothing, A::Fork},
        {A::SaveHere, A::Fork, A::Fork},      {A::Nothing, A::SaveHere, A::SaveHere},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(combineNoteActions(c.json, c.text), c.note)
            << static_cast<int>(c.json) << " " << static_cast<int>(c.text);
    }
}

// A stamp differing only in time but holding the same bytes is no change.
TEST(OutsideChange, StampsTellWhatHappened) {
    const FileStamp seen = stampOfBytes(100, "one");
    const FileStamp missing;
    FileStamp unhashed{true, 3, 200, 0, false};
    struct Case {
        const FileStamp* last;
        FileStamp now;
        Outside outside;
    };
    const Case cases[] = {
        {nullptr, missing, O::Unchanged},
        {nullptr, seen, O::Added},
        {&missing, seen, O::Added},
        {&seen, missing, O::Removed},
        {&seen, seen, O::Unchanged},
        {&seen, stampOfBytes(200, "one"), O::Unchanged},
        {&seen, stampOfBytes(200, "two"), O::Changed},
        {&seen, stampOfBytes(100, "three"), O::Changed},
        {&seen, unhashed, O::Changed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compareStamps(c.last, c.now), c.outside) << c.now.writeTime << " " << c.now.size;
    }
}

TEST(OutsideChange, OnlyNoteFilesSettingsAndTheNotesFolderCount) {
    const std::wstring g = guid;
    struct Case {
        std::wstring path;
        ChangedPath::Kind kind;
    };
    const Case cases[] = {
        {L"settings.json", ChangedPath::Settings},
        {L"Settings.JSON", ChangedPath::Settings},
        {L"settings.json.saving", ChangedPath::Ignore},
        {L"settings.changed-elsewhere.json", ChangedPath::Ignore},
        {L"notes", ChangedPath::Everything},
        {L"notes\\" + g, ChangedPath::Note},
        {L"notes\\" + g + L"\\note.json", ChangedPath::Note},
        {L"notes\\" + g + L"\\TEXT.RTF", ChangedPath::Note},
        {L"notes\\" + g + L"\\text.rtf.saving", ChangedPath::Ignore},
        {L"notes\\" + g + L"\\text (conflicted copy).rtf", ChangedPath::Ignore},
        {L"notes\\" + g + L"\\note.sync-conflict-20261208.json", ChangedPath::Ignore},
        {L"notes\\" + g + L" (conflicted copy)\\note.json", ChangedPath::Ignore},
        {L"notes\\.stfolder", ChangedPath::Ignore},
        {L"notes\\" + g + L"\\sub\\note.json", ChangedPath::Ignore},
        {L"trash\\" + g + L"\\note.json", ChangedPath::Ignore},
        {L"help.html", ChangedPath::Ignore},
    };
    for (const Case& c : cases) {
        ChangedPath classified = classifyChangedPath(c.path);
        EXPECT_EQ(classified.kind, c.kind) << std::string(c.path.begin(), c.path.end());
        if (c.kind == ChangedPath::Note) {
            EXPECT_EQ(classified.guid, g);
        }
    }
    EXPECT_TRUE(isNoteFolderName(L"0D0D0D0D-0000-4000-8000-00000000000D"));
    EXPECT_FALSE(isNoteFolderName(L"0d0d0d0d00000-4000-8000-00000000000d"));
    EXPECT_FALSE(isNoteFolderName(L"0d0d0d0d-0000-4000-8000-00000000000g"));
}

TEST(OutsideChange, DiskStateHoldsOnlyTheBytesLastSeenThere) {
    DiskState disk;
    const std::wstring path = L"C:\\data\\notes\\a\\note.json";
    const FileStamp seen = stampOfBytes(100, "bytes");
    EXPECT_FALSE(disk.holds(path, seen, "bytes")) << "never seen";
    EXPECT_FALSE(disk.changedSince(path, seen));
    disk.record(path, seen);
    EXPECT_TRUE(disk.holds(path, FileStamp{true, 5, 100, 0, false}, "bytes"));
    EXPECT_FALSE(disk.holds(path, FileStamp{true, 5, 100, 0, false}, "other"));
    EXPECT_FALSE(disk.holds(path, FileStamp{true, 5, 101, 0, false}, "bytes")) << "rewritten since";
    EXPECT_TRUE(disk.changedSince(path, FileStamp{true, 5, 101, 0, false}));
    EXPECT_TRUE(disk.changedSince(path, FileStamp{}));
    disk.record(L"C:\\data\\notes\\ab\\note.json", seen);
    disk.forgetFolder(L"C:\\data\\notes\\a\\");
    EXPECT_EQ(disk.find(path), nullptr);
    EXPECT_NE(disk.find(L"C:\\data\\notes\\ab\\note.json"), nullptr);
}
