#pragma once
// Changes made to the data folder from elsewhere (a folder-sync service, a
// second machine): which paths matter, what changed, and what the program
// does about it so that neither version of a note is lost.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/DiskState.h"
#include "storage/Json.h"

namespace Brisvane {

// 36 hexadecimal digits and hyphens in groups of 8-4-4-4-12. Anything else a
// sync service leaves under "notes" (conflict copies of a whole folder, its
// own hidden folders) is not a note.
bool isNoteFolderName(std::wstring_view name);

// Another version of one of a note's two files, left beside them in the note
// folder: a sync service's conflict copy (Syncthing's ".sync-conflict-",
// Dropbox's "(... conflicted copy ...)", OneDrive's "-<machine>") or the
// program's own "changed-elsewhere" copy. `tag` tells the versions apart; a
// note.json and a text.rtf of one tag belong together.
struct SideVersion {
    bool noteJson = false;
    std::wstring tag;
};
std::optional<SideVersion> sideVersionOf(std::wstring_view fileName);

// What a path the folder watch reported, relative to the data folder, names.
struct ChangedPath {
    enum Kind { Ignore, Settings, Note, Everything } kind = Ignore;
    std::wstring guid; // for Note
};
ChangedPath classifyChangedPath(std::wstring_view relative);

// The paths collected while changes come in.
struct FolderChanges {
    bool settings = false;
    bool everything = false; // "notes" itself changed, or events were lost
    std::vector<std::wstring> notes;

    void add(const ChangedPath& path);
    bool empty() const { return !settings && !everything && notes.empty(); }
};

// Unavailable: the file is there but could not be read now (a sync client
// writing it in place, a virus scanner, a placeholder not downloaded). It is
// tried again a little later and counts as unchanged meanwhile.
enum class Outside { Unchanged, Changed, Added, Removed, Unavailable };

enum class OutsideAction {
    Nothing,
    Load,            // open the note, or reload its sticky in place
    Fork,            // the outside version opens as a new note beside the sticky, which saves
    Close,           // close the sticky without writing anything
    SaveHere,        // the sticky saves, bringing the files back
    KeepBeforeWrite, // leave the outside file; keep its bytes before the program writes over it
    KeepCopyAndSave, // keep the outside bytes now, then save what is here
    SaveThenLoad,    // write the part edited here (untouched elsewhere), then load the rest
    Accept,          // only view state changed elsewhere: take note of the file, change nothing
    Wait,            // a file could not be read now: look again a little later
};

// The parts of a note, as bits. The same bits mark what is unsaved here:
// the body, the title and the members the user set, the drawing, and the
// view (selection, scroll, a position the program fixed), which is written
// along but is never an edit.
enum NotePart : std::uint32_t { PartMembers = 1, PartBody = 2, PartFigures = 4, PartView = 8 };

// The parts of note.json (members, figures, view) in which two versions differ.
std::uint32_t changedJsonParts(const Json& before, const Json& after);

// What to do with a sticky when its files changed elsewhere. `unsavedHere`
// holds NotePart bits; `jsonParts` the parts the outside note.json changed
// (for Changed or Added). Only a part edited here and changed elsewhere forks.
OutsideAction decideNoteChange(std::uint32_t unsavedHere, Outside json, std::uint32_t jsonParts,
                               Outside text);

// `last` is what the program last saw (null when never), `now` the disk's
// stamp, hashed when the bytes were read because size or time differ; a
// present `now` without a hash means they could not be read. A last stamp
// without a hash is a file the program never read.
Outside compareStamps(const FileStamp* last, const FileStamp& now);

// What to do when settings.json changed elsewhere.
OutsideAction decideSettingsChange(bool unsavedHere, Outside outside);

} // namespace Brisvane
