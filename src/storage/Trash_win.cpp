#include "storage/Trash_win.h"

#include "storage/File_win.h"
#include "storage/Guid.h"
#include "storage/History_win.h"

namespace Brisvane {

namespace {

constexpr wchar_t titleFileName[] = L"title.txt";
constexpr wchar_t stampFileName[] = L"delete-date.txt";

// The names of the entry folders, in enumeration order.
std::vector<std::wstring> entryNames(const std::wstring& folder, std::size_t limit) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    UniqueFind find = findFirstFile(trashFolder(folder) + L"*.*", found);
    if (!find) {
        return names;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isTrashEntryName(found.cFileName)) {
            names.emplace_back(found.cFileName);
        }
    } while (names.size() < limit && findNextFile(find.get(), found));
    return names;
}

std::wstring entryFolder(const std::wstring& folder, const std::wstring& guid) {
    return trashFolder(folder) + guid + L"\\";
}

std::wstring noteFolderOf(const std::wstring& folder, const std::wstring& guid) {
    return folder + L"notes\\" + guid;
}

void removeTrashWhenEmpty(const std::wstring& folder) {
    removeFolder(folder + L"trash"); // refused while it holds anything
}

} // namespace

std::wstring trashFolder(const std::wstring& folder) {
    return folder + L"trash\\";
}

std::vector<TrashEntry> listTrash(const std::wstring& folder, std::size_t limit) {
    std::vector<TrashEntry> entries;
    for (std::wstring& name : entryNames(folder, SIZE_MAX)) {
        if (entries.size() >= limit) {
            break;
        }
        // Recovering an entry with no note in it would only open an empty sticky.
        const std::wstring entry = entryFolder(folder, name);
        if (!isFile(entry + L"note.json") && !isFile(entry + L"text.rtf")) {
            continue;
        }
        std::wstring title;
        bool read = readTextFileAt(entryFolder(folder, name) + titleFileName, title) == errorSuccess;
        // An empty title would give a blank menu item.
        entries.push_back({name, read && !title.empty() ? std::move(title) : name});
    }
    return entries;
}

bool moveNoteFolderToTrash(const std::wstring& folder, const std::wstring& guid, const std::wstring& title,
                           const LocalTime& deletedAt) {
    const std::wstring trash = folder + L"trash";
    if (!pathExists(trash) && !createFolder(trash)) {
        return false;
    }
    const std::wstring source = noteFolderOf(folder, guid);
    // An entry of this note is there already (trashed on another machine, then
    // written back here): it stays in the trash under a guid of its own.
    const std::wstring earlier = trash + L"\\" + guid;
    if (pathExists(earlier)) {
        const std::wstring other = newGuidString();
        if (other.empty() || !moveFile(earlier, trash + L"\\" + other)) {
            return false;
        }
    }
    writeTextFile(source + L"\\" + titleFileName, title);
    writeTextFile(source + L"\\" + stampFileName, formatDate(deleteStampFormat, deletedAt));
    return moveFile(source, trash + L"\\" + guid);
}

bool moveTrashEntryBack(const std::wstring& folder, const std::wstring& guid) {
    const std::wstring notes = folder + L"notes";
    if (!pathExists(notes) && !createFolder(notes)) {
        return false;
    }
    return moveFile(trashFolder(folder) + guid, noteFolderOf(folder, guid));
}

bool returnNoteFolderToTrash(const std::wstring& folder, const std::wstring& guid) {
    return moveFile(noteFolderOf(folder, guid), trashFolder(folder) + guid);
}

void forgetTrashStamp(const std::wstring& folder, const std::wstring& guid) {
    const std::wstring note = noteFolderOf(folder, guid) + L"\\";
    deleteFile(note + titleFileName);
    deleteFile(note + stampFileName);
    removeTrashWhenEmpty(folder);
}

void purgeEntry(const std::wstring& folder, const std::wstring& guid) {
    // Whole: kept copies and interrupted saves go with the note's files, or the
    // entry would lose its stamp and stay for ever.
    // The note's earlier versions go with it, unless the note lives on (a
    // copy of it came back from another machine).
    if (removeFolderTree(trashFolder(folder) + guid) && !pathExists(folder + L"notes\\" + guid)) {
        removeHistory(folder, guid, false);
    }
    removeTrashWhenEmpty(folder);
}

void purgeExpired(const std::wstring& folder, std::int32_t deadlineDays, const LocalTime& now) {
    for (const std::wstring& name : entryNames(folder, SIZE_MAX)) {
        std::wstring stamp;
        if (readTextFileAt(entryFolder(folder, name) + stampFileName, stamp) == errorSuccess &&
            trashEntryExpired(stamp, now, deadlineDays)) {
            purgeEntry(folder, name);
        }
    }
    removeTrashWhenEmpty(folder);
}

void emptyTrash(const std::wstring& folder, bool permanent) {
    for (const std::wstring& name : entryNames(folder, SIZE_MAX)) {
        if (permanent) {
            purgeEntry(folder, name);
        } else {
            if (recycleTree(trashFolder(folder) + name) && !pathExists(folder + L"notes\\" + name)) {
                removeHistory(folder, name, true);
            }
        }
    }
    removeTrashWhenEmpty(folder);
}

} // namespace Brisvane
