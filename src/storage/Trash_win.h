#pragma once
// The trash folder on disk: "trash\<guid>\" under the data folder holds a
// deleted note's files with its title and deletion time.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "storage/DateFormat.h"
#include "storage/Trash.h"

namespace Brisvane {

struct TrashEntry {
    std::wstring name;  // the folder name, the note's guid
    std::wstring label; // the title at deletion, or the folder name
};

// `folder` is the data folder, ending in "\".
std::wstring trashFolder(const std::wstring& folder);

// The entries that hold a note (its note.json or text.rtf), in enumeration
// order, at most `limit`.
std::vector<TrashEntry> listTrash(const std::wstring& folder, std::size_t limit = maxTrashMenuEntries);

// Writes title.txt and delete-date.txt into "notes\<guid>\" and moves that
// folder into the trash. False when the trash folder cannot be made or the
// move fails: the note's folder is then still where it was.
bool moveNoteFolderToTrash(const std::wstring& folder, const std::wstring& guid, const std::wstring& title,
                           const LocalTime& deletedAt);
// Moves "trash\<guid>" back to "notes\<guid>"; false leaves the entry in the trash.
bool moveTrashEntryBack(const std::wstring& folder, const std::wstring& guid);
// Moves "notes\<guid>" into the trash again without touching its files (a
// recovered note that could not be opened).
bool returnNoteFolderToTrash(const std::wstring& folder, const std::wstring& guid);
// Deletes the two trash files of a recovered note, then the trash folder when empty.
void forgetTrashStamp(const std::wstring& folder, const std::wstring& guid);

// Deletes the entry's folder with everything in it, then the trash folder when empty.
void purgeEntry(const std::wstring& folder, const std::wstring& guid);
// Purges every entry whose deadline has passed at `now`.
void purgeExpired(const std::wstring& folder, std::int32_t deadlineDays, const LocalTime& now);
// Purges every entry, or sends each to the recycle bin.
void emptyTrash(const std::wstring& folder, bool permanent);

} // namespace Brisvane
