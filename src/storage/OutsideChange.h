#pragma once
// Changes made to the data folder from elsewhere (a folder-sync service, a
// second machine): which paths matter, what changed, and what the program
// does about it so that neither version of a note is lost.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storage/DiskState.h"

namespace Brisvane {

// 36 hexadecimal digits and hyphens in groups of 8-4-4-4-12. Anything else a
// sync service leaves under "notes" (conflict copies of a whole folder, its
// own hidden folders) is not a note.
bool isNoteFolderName(std::wstring_view name);

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

enum class Outside { Unchanged, Changed, Added, Removed };
enum class WatchedFile { NoteJson, TextRtf, Settings };

enum class OutsideAction {
    Nothing,
    Load,            // open the note, or reload its sticky in place
    Fork,            // the outside version opens as a new note beside the sticky, which saves
    Close,           // close the sticky without writing anything
    SaveHere,        // the sticky saves, bringing the files back
    KeepBeforeWrite, // leave the outside file; keep its bytes before the program writes over it
    KeepCopyAndSave, // keep the outside bytes now, then save what is here
};

// `last` is what the program last saw (null when never), `now` the disk's
// stamp, hashed when the bytes were read because size or time differ.
Outside compareStamps(const FileStamp* last, const FileStamp& now);

OutsideAction decideOutsideChange(bool unsavedHere, Outside outside, WatchedFile file);

// One action for a note from the actions for its two files.
OutsideAction combineNoteActions(OutsideAction json, OutsideAction text);

} // namespace Brisvane
