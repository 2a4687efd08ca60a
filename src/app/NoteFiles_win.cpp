// The notes on disk: found and loaded at start-up, opened as stickies, and
// their text and documents saved.
#include "app/TackaroonNotes_win.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/Activity.h"
#include "app/SingleInstance_win.h"
#include "base/SystemLibrary_win.h"
#include "base/Timer_win.h"
#include "note/Geometry.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"
#include "note/ScreenPlacement_win.h"
#include "scribble/FigureLibrary_win.h"
#include "storage/DiskState_win.h"
#include "storage/File_win.h"
#include "storage/Guid.h"
#include "storage/Language.h"
#include "storage/NoteFormat.h"
#include "storage/OutsideChange.h"
#include "storage/Resource_win.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

// The document already holds the title and the body's state as they are now.
bool holdsBodyState(const Json& data, const std::string& title, const BodyState& state) {
    return stringAt(data, {"title"}, "") == title &&
           integerAt(data, {"text", "selection", "start"}, -1) == state.selectionStart &&
           integerAt(data, {"text", "selection", "end"}, -1) == state.selectionEnd &&
           integerAt(data, {"text", "scroll", "left"}, -1) == state.scrollLeft &&
           integerAt(data, {"text", "scroll", "top"}, -1) == state.scrollTop;
}

} // namespace

bool TackaroonNotes::writeSeen(const std::wstring& path, std::string_view bytes) {
    if (disk_.holds(path, stampOnDisk(path), bytes)) {
        return true;
    }
    return keptCopies_.beforeWrite(path) && writeIfChanged(disk_, path, bytes) == errorSuccess;
}

std::wstring TackaroonNotes::noteFolder(const std::wstring& noteGuid) const {
    return folder_ + L"notes\\" + noteGuid + L"\\";
}

bool TackaroonNotes::scanNotes() {
    WIN32_FIND_DATAW entry;
    UniqueFind find = findFirstFile(folder_ + L"notes\\*", entry);
    if (!find) {
        if (pathExists(folder_ + settingsFileName)) {
            return false;
        }
        // First run: one sticky in the first group, in front with the focus.
        return openWelcomeSticky();
    }
    std::vector<std::wstring> names;
    do {
        std::wstring name = entry.cFileName;
        // A sync service's own folders and its conflict copies of a note's
        // folder are not notes.
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isNoteFolderName(name)) {
            names.push_back(std::move(name));
        }
    } while (names.size() < MaxNotes && findNextFile(find.get(), entry));
    find.reset();
    for (const std::wstring& name : names) {
        // A folder holding neither file (a sync client still making it, the
        // rest of a note moved away) is no note yet.
        if (isFile(noteFolder(name) + L"note.json") || isFile(noteFolder(name) + L"text.rtf")) {
            loadNote(folder_ + L"notes\\" + name, name, std::nullopt, false);
        }
    }
    for (const std::wstring& name : names) {
        if (stickyByGuid(name)) {
            showSideVersions(name, true, {});
        }
    }
    return true;
}

bool TackaroonNotes::loadNote(const std::optional<std::wstring>& noteFolderPath, const std::wstring& noteGuid,
                              const std::optional<std::wstring>& groupGuid, bool activate) {
    if (stickyCount() >= MaxNotes) {
        return false;
    }
    std::wstring text;
    Json parsed = Json::object();
    if (noteFolderPath) {
        removeLeftoverTemporaries(*noteFolderPath);
        TextRead read = readTextSeen(disk_, *noteFolderPath + L"\\note.json", text);
        parsed = parseJson(wideToUtf8(text));
        if (mustKeepBeforeWriting(read, text, parsed.is_object())) {
            keptCopies_.remember(noteFolder(noteGuid) + L"note.json");
        }
    }
    auto note = std::make_unique<Note>(noteGuid);
    note->document.seenJson = parsed;
    note->document.json = parsed.is_object() ? std::move(parsed) : Json::object();
    const Json asRead = note->document.json;
    completeNoteJson(note->document.json, titleFormat(languages, settings));
    // What the defaults added (a title, members of a newer or older version)
    // is written at the next save, though the user changed nothing.
    note->document.jsonUnsaved = note->document.json != asRead;
    if (groupGuid) {
        note->setGroupGuid(*groupGuid);
    }
    // A group guid that names no group puts the sticky in the uncategorized group.
    Group* group = groupByGuid(note->groupGuid());
    if (!group) {
        group = groupByGuid(L"");
    }
    return group && openNote(std::move(note), *group,
                             noteFolderPath ? *noteFolderPath + L"\\text.rtf" : std::wstring(), activate);
}

bool TackaroonNotes::openNote(std::unique_ptr<Note> note, Group& group, const std::wstring& rtfPath,
                              bool activate) {
    Note* created = note.get();
    group.notes.push_back(std::move(note));
    if (!created->createWindows(this, rtfPath)) {
        group.removeSticky(created->guid);
        return false;
    }
    if (!rtfPath.empty()) {
        tookInBody(*created, rtfPath);
    }
    if (!created->document.figuresReadWhole) {
        keptCopies_.remember(noteFolder(created->guid) + L"note.json");
    }
    created->setOpacity(created->storedOpacity(), group.appliedOpacity);
    created->showMade(activate);
    scheduleReminderCheck(); // it may bring a reminder
    return true;
}

bool TackaroonNotes::createNoteNextTo(const std::wstring& sourceGuid) {
    if (stickyCount() >= MaxNotes) {
        return false;
    }
    const std::wstring noteGuid = newGuidString();
    auto note = std::make_unique<Note>(noteGuid);
    completeNoteJson(note->document.json, titleFormat(languages, settings));
    auto* source = static_cast<Note*>(stickyByGuid(sourceGuid));
    if (source) {
        copyNoteDefaults(note->document.json, source->document.json, monitorNearest);
    }
    Group* group = groupByGuid(source ? groupGuidOfSticky(sourceGuid) : std::wstring());
    if (!group || !openNote(std::move(note), *group, std::wstring(), true)) {
        return false;
    }
    markStickyChanged(noteGuid, SaveJson);
    markSettingsChanged();
    return true;
}

std::wstring TackaroonNotes::noteTitle(const Note& note) const {
    return note.hasWindows() ? noteTitleText(note.titleEdit, note.bodyEdit) : std::wstring();
}

bool TackaroonNotes::saveNoteText(Note& note, bool atExit) {
    if (note.bodyComposing && !atExit) {
        return false;
    }
    const std::wstring path = noteFolder(note.guid) + L"text.rtf";
    if (note.hasWindows()) {
        // A body that did not load holds nothing of the file: it is not written
        // until the user changes the text.
        if (note.bodyLoad == BodyLoad::Unreadable && !note.document.textChanged) {
            note.unsavedFlags &= ~SaveText;
            return true;
        }
        // A text unchanged since it was read or written is what the file holds
        // (plain text read is written once in the program's own form).
        const FileStamp* last = disk_.find(path);
        if (!(note.unsavedFlags & SaveText) && note.bodyLoad != BodyLoad::PlainText && last &&
            last->present && sameOnDisk(*last, stampOnDisk(path))) {
            return true;
        }
        note.document.unsavedRtf = streamOutRtf(note.bodyEdit);
    }
    // Without its windows (closed by Alt+F4) a sticky writes what an earlier
    // save could not, kept until a write succeeds.
    if (!note.document.unsavedRtf) {
        return false;
    }
    keepBeforeWrite(note, path, *note.document.unsavedRtf);
    if (!writeSeen(path, *note.document.unsavedRtf)) {
        return false;
    }
    note.document.unsavedRtf.reset();
    note.unsavedFlags &= ~SaveText;
    return true;
}

bool TackaroonNotes::saveNoteJson(Note& note, bool withFigures) {
    if (note.titleComposing) {
        return false;
    }
    const std::wstring path = noteFolder(note.guid) + L"note.json";
    if (note.hasWindows()) {
        BodyState state = readBodyState(note.bodyEdit);
        std::string title = wideToUtf8(noteTitle(note));
        // Nothing unsaved and the file as last read or written: nothing to
        // rebuild, serialize or write (a close with many stickies).
        const FileStamp* last = disk_.find(path);
        if (!(note.unsavedFlags & (SaveJson | SaveFigures | SaveView)) && !note.document.jsonUnsaved &&
            holdsBodyState(note.document.json, title, state) && last && last->present &&
            sameOnDisk(*last, stampOnDisk(path))) {
            return true;
        }
        note.document.json["title"] = std::move(title);
        valueAt(note.document.json, {"text", "selection", "start"}) =
            static_cast<std::int64_t>(state.selectionStart);
        valueAt(note.document.json, {"text", "selection", "end"}) =
            static_cast<std::int64_t>(state.selectionEnd);
        valueAt(note.document.json, {"text", "scroll", "left"}) = static_cast<std::int64_t>(state.scrollLeft);
        valueAt(note.document.json, {"text", "scroll", "top"}) = static_cast<std::int64_t>(state.scrollTop);
        if (withFigures) {
            saveFigures(note.drawing.scribble, valueAt(note.document.json, {"scribble", "figure"}));
        }
        note.document.jsonUnsaved = true;
    }
    // Without its windows the document holds what they last showed.
    if (!note.document.jsonUnsaved) {
        return false;
    }
    const std::string bytes = utf8TextFileBytes(serializeJson(note.document.json));
    keepBeforeWrite(note, path, bytes);
    if (!writeSeen(path, bytes)) {
        return false;
    }
    note.document.jsonUnsaved = false;
    note.document.seenJson = note.document.json;
    note.unsavedFlags &= ~(withFigures ? SaveJson | SaveFigures | SaveView : SaveJson | SaveView);
    return true;
}

void TackaroonNotes::saveSticky(Note& note) {
    std::uint32_t failed = saveNoteText(note) ? 0 : SaveText;
    if (!saveNoteJson(note, true)) {
        failed |= SaveJson | SaveFigures;
    }
    if (failed) {
        queueFailedSave(note.guid, failed);
    }
}

bool TackaroonNotes::saveEverything() {
    // What changed elsewhere since the last look is dealt with first, so that
    // no save writes over it.
    checkEverything();
    bool saved = saveSettings();
    for (Group& group : groups) {
        for (auto& sticky : group.notes) {
            auto& note = static_cast<Note&>(*sticky);
            saved = saveNoteText(note, true) && saved;
            saved = saveNoteJson(note, true) && saved;
        }
    }
    return saved;
}

bool TackaroonNotes::saveStickyText(Sticky& sticky) {
    return saveNoteText(static_cast<Note&>(sticky));
}

bool TackaroonNotes::saveStickyJson(Sticky& sticky, bool withFigures) {
    return saveNoteJson(static_cast<Note&>(sticky), withFigures);
}

} // namespace Brisvane
