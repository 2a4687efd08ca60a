#include <gtest/gtest.h>

#include "storage/DiskState.h"
#include "storage/Guid.h"
#include "storage/OutsideChange.h"

using namespace Brisvane;

namespace {

using A = OutsideAction;
using O = Outside;

const wchar_t guid[] = L"0d0d0d0d-0000-4000-8000-00000000000d";

} // namespace

// {parts edited here} x {what changed elsewhere in note.json, and which parts} x
// {what changed in text.rtf} -> what the program does with the sticky.
TEST(OutsideChange, NoteDecisionTable) {
    const std::uint32_t none = 0, body = PartBody, members = PartMembers, figures = PartFigures,
                        view = PartView;
    struct Case {
        std::uint32_t unsaved;
        Outside json;
        std::uint32_t parts;
        Outside text;
        OutsideAction action;
    };
    const Case cases[] = {
        {none, O::Unchanged, 0, O::Unchanged, A::Nothing},
        {body | members, O::Unchanged, 0, O::Unchanged, A::Nothing},
        // Only an edit is an edit: view state here never forks.
        {view, O::Unchanged, 0, O::Changed, A::Load},
        {view, O::Changed, members, O::Unchanged, A::Load},
        {none, O::Added, members | figures, O::Added, A::Load},
        // The same part edited on both sides: both versions stay.
        {body, O::Unchanged, 0, O::Changed, A::Fork},
        {body, O::Unchanged, 0, O::Added, A::Fork},
        {members, O::Changed, members, O::Unchanged, A::Fork},
        {figures, O::Changed, figures, O::Unchanged, A::Fork},
        {figures, O::Changed, members, O::Unchanged, A::Fork},
        // Different parts: the part edited here is written, the rest loaded.
        {members, O::Unchanged, 0, O::Changed, A::SaveThenLoad},
        {body, O::Changed, members, O::Unchanged, A::SaveThenLoad},
        {body | view, O::Changed, figures | view, O::Unchanged, A::SaveThenLoad},
        // Another machine's selection or scroll changes nothing here.
        {none, O::Changed, view, O::Unchanged, A::Accept},
        {body | members, O::Changed, view, O::Unchanged, A::Accept},
        {members, O::Changed, 0, O::Unchanged, A::Accept},
        // Removed elsewhere.
        {none, O::Removed, 0, O::Removed, A::Close},
        {view, O::Removed, 0, O::Unchanged, A::Close},
        {body, O::Removed, 0, O::Removed, A::SaveHere},
        {none, O::Unchanged, 0, O::Removed, A::Nothing},
        {members, O::Unchanged, 0, O::Removed, A::SaveHere},
        {none, O::Changed, members, O::Removed, A::SaveThenLoad},
        {members, O::Changed, members, O::Removed, A::Fork},
        // Unavailable is not removed: nothing happens until it can be read.
        {none, O::Unavailable, 0, O::Unchanged, A::Wait},
        {body, O::Unchanged, 0, O::Unavailable, A::Wait},
        {body, O::Removed, 0, O::Unavailable, A::Wait},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decideNoteChange(c.unsaved, c.json, c.parts, c.text), c.action)
            << c.unsaved << " " << static_cast<int>(c.json) << " " << c.parts << " "
            << static_cast<int>(c.text);
    }
}

TEST(OutsideChange, SettingsDecisionTable) {
    struct Case {
        bool unsaved;
        Outside outside;
        OutsideAction action;
    };
    const Case cases[] = {
        {false, O::Unchanged, A::Nothing},       {true, O::Unchanged, A::Nothing},
        {false, O::Changed, A::KeepBeforeWrite}, {true, O::Changed, A::KeepCopyAndSave},
        {false, O::Added, A::KeepBeforeWrite},   {true, O::Added, A::KeepCopyAndSave},
        {false, O::Removed, A::SaveHere},        {true, O::Removed, A::SaveHere},
        {false, O::Unavailable, A::Wait},        {true, O::Unavailable, A::Wait},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decideSettingsChange(c.unsaved, c.outside), c.action)
            << c.unsaved << " " << static_cast<int>(c.outside);
    }
}

// Which parts of note.json two versions differ in: the drawing, the view
// (selection, scroll) and everything else the user set.
TEST(OutsideChange, ChangedPartsOfNoteJson) {
    const Json base = parseJson(R"({"title": "t", "window": {"fold": false},
        "text": {"wordwrap": true, "selection": {"start": 1, "end": 1}, "scroll": {"top": 0}},
        "scribble": {"figure": [{"type": "line"}], "pen": 2}})");
    auto changed = [&](const char* path, const Json& value) {
        Json other = base;
        std::string text = path;
        Json* at = &other;
        for (std::size_t dot; (dot = text.find('.')) != std::string::npos; text = text.substr(dot + 1)) {
            at = &(*at)[text.substr(0, dot)];
        }
        (*at)[text] = value;
        return changedJsonParts(base, other);
    };
    EXPECT_EQ(changedJsonParts(base, base), 0u);
    EXPECT_EQ(changed("title", "u"), PartMembers);
    EXPECT_EQ(changed("window.fold", true), PartMembers);
    EXPECT_EQ(changed("text.wordwrap", false), PartMembers);
    EXPECT_EQ(changed("scribble.pen", 3), PartMembers);
    EXPECT_EQ(changed("text.selection", Json::object({{"start", 2}, {"end", 5}})), PartView);
    EXPECT_EQ(changed("text.scroll.top", 40), PartView);
    EXPECT_EQ(changed("scribble.figure", Json::array()), PartFigures);
    Json missingFigures = base;
    missingFigures["scribble"].erase("figure");
    EXPECT_EQ(changedJsonParts(base, missingFigures), PartFigures);
    EXPECT_EQ(changedJsonParts(parseJson(R"({"title": "t"})"),
                               parseJson(R"({"title": "t", "text": {"scroll": {}}})")),
              PartView)
        << "a view member where the note had none";
    EXPECT_EQ(changedJsonParts(Json(), base), PartMembers | PartFigures) << "a note.json never read";
    EXPECT_EQ(changedJsonParts(base, Json()), PartMembers | PartFigures) << "one that does not parse";
}

// A stamp differing only in time but holding the same bytes is no change.
TEST(OutsideChange, StampsTellWhatHappened) {
    const FileStamp seen = stampOfBytes(100, "one");
    const FileStamp missing;
    FileStamp unhashed{true, 3, 200, 0, false};
    FileStamp neverRead{true, 3, 100, 0, false};
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
        // There but not readable now is not removed, and counts once it can be read.
        {&seen, unhashed, O::Unavailable},
        {nullptr, unhashed, O::Unavailable},
        {&missing, unhashed, O::Unavailable},
        {&neverRead, neverRead, O::Unavailable},
        {&neverRead, stampOfBytes(100, "one"), O::Changed},
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
        {L"notes\\" + g + L"\\text.rtf.unreadable", ChangedPath::Ignore},
        {L"notes\\" + g + L"\\.syncthing.text.rtf.tmp", ChangedPath::Ignore},
        {L"notes\\" + g + L"\\~text.rtf.tmp", ChangedPath::Ignore},
        {L"notes\\" + g + L"\\text (conflicted copy).rtf", ChangedPath::Note},
        {L"notes\\" + g + L"\\note.sync-conflict-20261208-101010-ABCDEF7.json", ChangedPath::Note},
        {L".stignore", ChangedPath::Ignore},
        {L".stfolder", ChangedPath::Ignore},
        {L"notes\\.stversions\\" + g + L"\\note.json", ChangedPath::Ignore},
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

// Other versions of a note's files left beside them, and what is not one.
TEST(OutsideChange, SideVersionsOfANotesFiles) {
    struct Case {
        const wchar_t* name;
        bool side;
        bool json;
        const wchar_t* tag;
    };
    const Case cases[] = {
        {L"text.sync-conflict-20261208-101010-ABCDEF7.rtf", true, false,
         L".sync-conflict-20261208-101010-ABCDEF7"},
        {L"note.sync-conflict-20261208-101010-ABCDEF7.json", true, true,
         L".sync-conflict-20261208-101010-ABCDEF7"},
        {L"text.changed-elsewhere.rtf", true, false, L".changed-elsewhere"},
        {L"note.changed-elsewhere-2.json", true, true, L".changed-elsewhere-2"},
        {L"text (Ann's conflicted copy 2026-12-08).rtf", true, false, L" (Ann's conflicted copy 2026-12-08)"},
        {L"note-LAPTOP.json", true, true, L"-LAPTOP"},
        {L"text.rtf", false, false, L""},
        {L"note.json", false, false, L""},
        {L"text.rtf.unreadable", false, false, L""},
        {L"text.rtf.saving", false, false, L""},
        {L".syncthing.text.rtf.tmp", false, false, L""},
        {L"text.rtf.tmp-1.rtf", false, false, L""},
        {L"note.rtf", false, false, L""},
        {L"text (copy).rtf", false, false, L""},
        {L"title.txt", false, false, L""},
    };
    for (const Case& c : cases) {
        std::optional<SideVersion> side = sideVersionOf(c.name);
        ASSERT_EQ(side.has_value(), c.side) << std::wstring_view(c.name).size();
        if (side) {
            EXPECT_EQ(side->noteJson, c.json);
            EXPECT_EQ(side->tag, c.tag);
        }
    }
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

// The sticky two machines make of one conflict copy has one name on both.
TEST(OutsideChange, GuidsNamedAfterACopyAreTheSameOnEveryMachine) {
    const std::wstring name = std::wstring(guid) + L".sync-conflict-20261208-101010-ABCDEF7";
    EXPECT_EQ(guidFromName(name), guidFromName(name));
    EXPECT_NE(guidFromName(name), guidFromName(name + L"x"));
    EXPECT_NE(guidFromName(L"ab"), guidFromName(L"ba"));
    EXPECT_TRUE(isNoteFolderName(guidFromName(name)));
    EXPECT_EQ(guidFromName(name)[14], L'5') << "a name-based guid";
}
