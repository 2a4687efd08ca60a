// Moving stickies to the trash and back, and the purges of the application.
#include "app/TackaroonNotes_win.h"
#include "note/Note_win.h"
#include "storage/File_win.h"
#include "storage/Settings.h"

namespace Brisvane {

bool TackaroonNotes::moveToTrash(std::wstring noteGuid) {
    // A newer version that came from elsewhere is taken in first, so that the
    // trash keeps the newest text (one that clashes with edits here opens
    // beside the sticky and stays).
    checkNote(noteGuid, false);
    auto* note = static_cast<Note*>(stickyByGuid(noteGuid));
    Group* group = groupByGuid(groupGuidOfSticky(noteGuid));
    if (!note || !group) {
        return false;
    }
    // What the trash keeps must be what is on screen: a sticky whose files
    // cannot be written now stays open rather than lose its latest text.
    if (!saveNoteJson(*note, true) || !saveNoteText(*note)) {
        return false;
    }
    folderWatch_.unwatchFolder(L"notes\\" + noteGuid); // an open watch may hold the folder
    if (!moveNoteFolderToTrash(folder_, noteGuid, noteTitle(*note), currentLocalTime())) {
        watchNoteFolders();
        return false;
    }
    group->removeSticky(noteGuid);
    disk_.forgetFolder(noteFolder(noteGuid));
    if (stickyCount() == 0) {
        folderWatch_.unwatchFolder(L"notes");
        removeFolder(folder_ + L"notes"); // only when it is empty now
    }
    watchNoteFolders();
    return true;
}

void TackaroonNotes::moveAllToTrash() {
    std::vector<std::wstring> guids;
    for (Sticky* sticky : allStickies()) {
        guids.push_back(sticky->stickyGuid());
    }
    for (const std::wstring& noteGuid : guids) {
        moveToTrash(noteGuid);
    }
}

bool TackaroonNotes::recoverFromTrash(std::size_t index) {
    if (index >= trashMenuEntries.size()) {
        return false;
    }
    const std::wstring noteGuid = trashMenuEntries[index].name;
    // Two open stickies must never share one folder.
    if (stickyByGuid(noteGuid) || !moveTrashEntryBack(folder_, noteGuid)) {
        return false;
    }
    if (!loadNote(folder_ + L"notes\\" + noteGuid, noteGuid, std::nullopt, true)) {
        // Not opened (too many stickies): the entry stays recoverable.
        returnNoteFolderToTrash(folder_, noteGuid);
        return false;
    }
    if (auto* note = static_cast<Note*>(stickyByGuid(noteGuid))) {
        keepVersion(*note, Replacement::Recovery);
        saveSticky(*note);
    }
    forgetTrashStamp(folder_, noteGuid);
    watchNoteFolders();
    return true;
}

void TackaroonNotes::emptyTrash(bool permanent) {
    Brisvane::emptyTrash(folder_, permanent);
}

void TackaroonNotes::purgeExpiredTrash() {
    // Before the settings are read the deadline is not known.
    if (!settingsRead_) {
        return;
    }
    purgeExpired(folder_, trashDeadline(settings), currentLocalTime());
}

} // namespace Brisvane
