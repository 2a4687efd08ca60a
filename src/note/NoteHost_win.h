#pragma once
// What a sticky (its windows, its menus and its drawing layer) needs of the
// application: the documents and groups of GroupHost, the shared tooltip,
// the trash, the highlight and the note storage. The application object
// implements it; a sticky holds it as `app`.
#include <cstddef>
#include <string>
#include <vector>

#include "base/SharedTooltip_win.h"
#include "base/StartupSteps.h"
#include "groups/GroupHost.h"
#include "scribble/DrawingSystem_win.h"
#include "storage/History.h"
#include "storage/Trash_win.h"

namespace Brisvane {

class Note;

class NoteHost : public virtual GroupHost {
public:
    // The data folder, ending in "\".
    virtual const std::wstring& folder() const = 0;

    // Note storage.
    virtual bool createNoteNextTo(const std::wstring& sourceGuid) = 0;
    // Writes both files of a sticky now (its windows are about to go).
    virtual void saveSticky(Note& note) = 0;
    virtual std::wstring noteTitle(const Note& note) const = 0;

    // Trash: a move never loses a note; one that fails leaves it open.
    virtual bool moveToTrash(std::wstring noteGuid) = 0;
    // Entry `index` of trashMenuEntries back into its group (or the uncategorized one).
    virtual bool recoverFromTrash(std::size_t index) = 0;

    // "Remind me...": the reminder dialog for the sticky, whose choice the
    // application stores and schedules.
    virtual void openReminderDialog(const std::wstring& noteGuid) = 0;

    // Earlier versions: the content as it stands is kept before `replacement`
    // replaces it; the dialog lists the versions to restore or open.
    virtual void keepVersion(Note& note, Replacement replacement) = 0;
    virtual void showEarlierVersions(Note& note) = 0;

    // The highlight shown while a menu item names a sticky or a group.
    virtual void highlightSticky(const std::wstring& noteGuid) = 0;
    virtual void highlightGroup(const std::wstring& groupGuid) = 0;
    virtual void clearHighlight() = 0;

    // Built on first use and kept for the run: the colour menus' 130 colour
    // texts and the installed font family names.
    virtual const std::vector<std::wstring>& colourList() = 0;
    virtual const std::vector<std::wstring>& fontFamilyNames() = 0;

    // The trash entries of the last menu's commands.
    std::vector<TrashEntry> trashMenuEntries;
    StartupSteps startupSteps;
    // Holds the title and button tools of every sticky.
    SharedTooltip sharedTooltip;
    // How every sticky's drawing is shown, and the GDI+ session they share.
    DrawingSystem drawingSystem;
};

} // namespace Brisvane
