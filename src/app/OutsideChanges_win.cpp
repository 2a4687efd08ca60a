// Changes made to the data folder from elsewhere: notes added, changed or
// removed by a sync service or on another machine, and settings.json
// rewritten. Neither version of a note is ever lost: what the program holds
// unsaved is saved, and what came from elsewhere opens as a note of its own.
#include <algorithm>
#include <optional>

#include "app/TackaroonNotes_win.h"
#include "note/BodyFile_win.h"
#include "note/Geometry.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"
#include "note/ScreenPlacement_win.h"
#include "storage/DiskState_win.h"
#include "storage/Guid.h"
#include "storage/RtfCheck.h"
#include "storage/TextCodec.h"

#include <richedit.h>

namespace Brisvane {

namespace {

constexpr wchar_t noteJsonName[] = L"note.json";
constexpr wchar_t textName[] = L"text.rtf";

// A stamp read anew replaces the one that held the same bytes.
void recordIfRead(DiskState& disk, const std::wstring& path, const FileStamp& now) {
    if (now.hashed) {
        disk.record(path, now);
    }
}

Json parseJsonBytes(const std::string& bytes) {
    std::wstring decoded;
    return decodeTextFile(bytes, decoded) == errorSuccess ? parseJson(wideToUtf8(decoded)) : Json();
}

bool runningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool news(Outside outside) {
    return outside == Outside::Changed || outside == Outside::Added;
}

} // namespace

void TackaroonNotes::startWatching() {
    folderWatch_.start(folder_, mainWindow, TIMER_FOLDER_WATCH);
}

void TackaroonNotes::watchNoteFolders() {
    static const bool wine = runningUnderWine();
    if (!wine || !folderWatch_.watching()) {
        return;
    }
    if (!folderWatch_.watchesFolder(L"notes") && folderWatch_.watchFolder(L"notes")) {
        // Whatever came into it before its watch began is looked at once.
        folderWatch_.postpone(FolderChanges{false, true, {}});
    }
    for (const std::wstring& relative : folderWatch_.extraFolders()) {
        if (relative != L"notes" && !stickyByGuid(relative.substr(6))) {
            folderWatch_.unwatchFolder(relative);
        }
    }
    for (Sticky* sticky : allStickies()) {
        const std::wstring relative = L"notes\\" + sticky->stickyGuid();
        if (!folderWatch_.watchesFolder(relative) && folderWatch_.watchFolder(relative)) {
            folderWatch_.postpone(sticky->stickyGuid());
        }
    }
}

HANDLE TackaroonNotes::folderWatchEvent() const {
    return folderWatch_.event();
}

void TackaroonNotes::pollFolderWatch() {
    folderWatch_.poll();
}

bool TackaroonNotes::userBusy() const {
    GUITHREADINFO info{sizeof info};
    GetGUIThreadInfo(GetCurrentThreadId(), &info);
    const DWORD holding = GUI_INMENUMODE | GUI_INMOVESIZE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE;
    return modalOpen || (info.flags & holding) != 0;
}

void TackaroonNotes::onFolderWatchTimer() {
    FolderChanges changes = folderWatch_.take();
    if (userBusy()) {
        folderWatch_.postpone(changes);
        return;
    }
    applyOutsideChanges(changes, true);
}

void TackaroonNotes::checkEverything() {
    FolderChanges all;
    all.everything = true;
    applyOutsideChanges(all, false);
}

void TackaroonNotes::checkBeforeSaving() {
    if (folderWatch_.holdsChanges()) {
        // What came in while a menu or a drag held on is dealt with first.
        pollFolderWatch();
        onFolderWatchTimer();
    }
    // A change not reported yet is caught here, before a save could write over it.
    std::vector<std::wstring> changed;
    for (const PendingSave& pending : pendingSaves) {
        const std::wstring folder = noteFolder(pending.guid);
        for (const wchar_t* name : {noteJsonName, textName}) {
            if (disk_.changedSince(folder + name, stampOnDisk(folder + name))) {
                changed.push_back(pending.guid);
                break;
            }
        }
    }
    for (const std::wstring& noteGuid : changed) {
        checkNote(noteGuid, false);
    }
}

void TackaroonNotes::applyOutsideChanges(const FolderChanges& changes, bool openAdded) {
    if (changes.settings || changes.everything) {
        checkSettings();
    }
    std::vector<std::wstring> guids = changes.notes;
    if (changes.everything) {
        for (Sticky* sticky : allStickies()) {
            guids.push_back(sticky->stickyGuid());
        }
        WIN32_FIND_DATAW entry;
        if (UniqueFind find = findFirstFile(folder_ + L"notes\\*", entry)) {
            do {
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                    isNoteFolderName(entry.cFileName)) {
                    guids.push_back(entry.cFileName);
                }
            } while (findNextFile(find.get(), entry));
        }
        std::sort(guids.begin(), guids.end());
        guids.erase(std::unique(guids.begin(), guids.end()), guids.end());
    }
    for (const std::wstring& noteGuid : guids) {
        checkNote(noteGuid, openAdded);
    }
    watchNoteFolders();
}

void TackaroonNotes::checkSettings() {
    const std::wstring path = folder_ + L"settings.json";
    std::string bytes;
    FileStamp now = currentStamp(disk_, path, &bytes);
    switch (decideSettingsChange(settingsUnsaved, compareStamps(disk_.find(path), now))) {
    case OutsideAction::Wait:
        folderWatch_.postponeSettings();
        break;
    case OutsideAction::KeepBeforeWrite:
    case OutsideAction::KeepCopyAndSave: {
        // Groups made or changed there are taken in; the rest of this side's
        // settings is written over theirs only with a change here, their
        // version kept beside first.
        const Json theirs = parseJsonBytes(bytes);
        const bool groupsHere = theirs.is_object() && mergeGroupsFrom(settingsSeen_, theirs);
        if (theirs.is_object()) {
            settingsSeen_ = theirs;
        }
        settingsElsewhere_ = true;
        disk_.record(path, now);
        if (groupsHere || settingsUnsaved) {
            markSettingsChanged();
            if (!saveSettings()) {
                queueFailedSettingsSave();
            }
        }
        break;
    }
    case OutsideAction::SaveHere:
        disk_.record(path, now);
        settingsElsewhere_ = false;
        settingsUnsaved = true;
        if (!saveSettings()) {
            queueFailedSettingsSave();
        }
        break;
    default:
        recordIfRead(disk_, path, now);
        break;
    }
}

void TackaroonNotes::checkNote(const std::wstring& noteGuid, bool openAdded) {
    const std::wstring folder = noteFolder(noteGuid);
    const std::wstring jsonPath = folder + noteJsonName;
    const std::wstring textPath = folder + textName;
    auto* note = static_cast<Note*>(stickyByGuid(noteGuid));
    if (!note) {
        // A note from elsewhere opens once its note.json has arrived; a body
        // alone when it is news (typing elsewhere into a note trashed here),
        // not the rest of a note being removed.
        const FileStamp* lastText = disk_.find(textPath);
        const FileStamp text = stampOnDisk(textPath);
        const bool newText = text.present && !(lastText && sameOnDisk(*lastText, text));
        if (openAdded && (isFile(jsonPath) || newText)) {
            loadNote(folder_ + L"notes\\" + noteGuid, noteGuid, std::nullopt, false);
            showSideVersions(noteGuid, true, {});
        }
        return;
    }
    // What this side last saw of the files: a conflict copy holding it is ours to show.
    std::vector<std::uint64_t> ownHashes;
    for (const std::wstring& file : {jsonPath, textPath}) {
        if (const FileStamp* seen = disk_.find(file); seen && seen->hashed) {
            ownHashes.push_back(seen->hash);
        }
    }
    std::string jsonBytes;
    FileStamp json = currentStamp(disk_, jsonPath, &jsonBytes);
    FileStamp text = currentStamp(disk_, textPath);
    const Outside jsonOutside = compareStamps(disk_.find(jsonPath), json);
    const Outside textOutside = compareStamps(disk_.find(textPath), text);
    Json outside;
    std::uint32_t parts = 0;
    if (news(jsonOutside)) {
        outside = parseJsonBytes(jsonBytes);
        parts = changedJsonParts(note->document.seenJson, outside);
    }
    OutsideAction action = decideNoteChange(note->editsInProgress(), jsonOutside, parts, textOutside);
    const bool removal = jsonOutside == Outside::Removed || textOutside == Outside::Removed;
    const bool seenBefore = std::erase(removalsSeen_, noteGuid) > 0;
    if (action == OutsideAction::SaveHere && removal && !seenBefore) {
        // A sync client removes a note's files one by one: look once more
        // before writing anything back.
        removalsSeen_.push_back(noteGuid);
        folderWatch_.postpone(noteGuid);
        return;
    }
    const bool membersNews = news(jsonOutside) && (parts & (PartMembers | PartFigures)) != 0;
    switch (action) {
    case OutsideAction::Load:
        if (membersNews) {
            reloadNote(noteGuid);
            break;
        }
        // Only the text is news: it streams into the sticky as it stands, and
        // another machine's selection or scroll in note.json counts as seen.
        if (news(jsonOutside)) {
            disk_.record(jsonPath, json);
            note->document.seenJson = std::move(outside);
        } else {
            recordIfRead(disk_, jsonPath, json);
        }
        reloadBody(*note);
        break;
    case OutsideAction::Fork:
        forkOutsideVersion(*note);
        break;
    case OutsideAction::Close:
        closeRemovedNote(noteGuid);
        return;
    case OutsideAction::SaveHere:
        disk_.record(jsonPath, json);
        disk_.record(textPath, text);
        markStickyChanged(noteGuid, SaveEdits);
        saveSticky(*note);
        break;
    case OutsideAction::SaveThenLoad:
        saveThenReload(*note, news(textOutside), text, (parts & (PartMembers | PartFigures)) != 0, json);
        break;
    case OutsideAction::Accept:
        // Another machine's selection or scroll: this one keeps its own.
        disk_.record(jsonPath, json);
        note->document.seenJson = std::move(outside);
        recordIfRead(disk_, textPath, text);
        break;
    case OutsideAction::Wait:
        folderWatch_.postpone(noteGuid);
        return;
    default:
        recordIfRead(disk_, jsonPath, json);
        recordIfRead(disk_, textPath, text);
        break;
    }
    showSideVersions(noteGuid, false, ownHashes);
}

void TackaroonNotes::saveThenReload(Note& note, bool textNews, const FileStamp& text, bool jsonNews,
                                    const FileStamp& json) {
    const std::wstring folder = noteFolder(note.guid);
    // The part that changed only here is written, the other taken from disk.
    bool saved = true;
    if (!textNews) {
        disk_.record(folder + textName, text);
        note.unsavedFlags |= SaveText;
        saved = saveNoteText(note);
    }
    if (!jsonNews) {
        disk_.record(folder + noteJsonName, json);
        saved = saveNoteJson(note, true) && saved;
    }
    if (!saved) {
        folderWatch_.postpone(note.guid); // nothing is dropped: the look comes again
        return;
    }
    if (jsonNews) {
        reloadNote(note.guid);
    } else {
        reloadBody(note);
    }
}

void TackaroonNotes::closeRemovedNote(const std::wstring& noteGuid) {
    Group* group = groupByGuid(groupGuidOfSticky(noteGuid));
    if (group) {
        group->removeSticky(noteGuid);
    }
    // The body's stamp stays: its leftover is no news when it lingers.
    const std::wstring textPath = noteFolder(noteGuid) + textName;
    const FileStamp* text = disk_.find(textPath);
    const std::optional<FileStamp> body = text ? std::optional<FileStamp>(*text) : std::nullopt;
    disk_.forgetFolder(noteFolder(noteGuid));
    if (body) {
        disk_.record(textPath, *body);
    }
    std::erase_if(pendingSaves, [&](const PendingSave& pending) { return pending.guid == noteGuid; });
}

void TackaroonNotes::reloadNote(const std::wstring& noteGuid) {
    // A sticky reloaded while it has the keyboard keeps it: what is typed next goes on into it.
    auto* note = static_cast<Note*>(stickyByGuid(noteGuid));
    HWND focus = GetFocus();
    const bool focused =
        note && note->window && focus && (focus == note->window || IsChild(note->window, focus));
    // The caret stays where it was and the typing still counts as recent, so
    // the next keys go on where the last ones went rather than at the start.
    CHARRANGE caret{};
    DWORD lastEditTick = 0;
    std::uint32_t recentEdits = 0;
    if (focused && note->bodyEdit) {
        SendMessageW(note->bodyEdit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        lastEditTick = note->lastEditTick;
        recentEdits = note->recentEdits;
    }
    // Keys already queued for the old windows would go with them: they are
    // turned into characters now, while the keyboard state is theirs, and
    // handed to the new body.
    std::vector<MSG> keys;
    for (MSG key; focused && PeekMessageW(&key, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE);) {
        if (key.hwnd != note->window && !IsChild(note->window, key.hwnd)) {
            keys.push_back(key); // another window's, put back as it was
            continue;
        }
        MSG character;
        const bool down = key.message == WM_KEYDOWN || key.message == WM_SYSKEYDOWN;
        if (down && TranslateMessage(&key) &&
            PeekMessageW(&character, key.hwnd, WM_CHAR, WM_DEADCHAR, PM_NOREMOVE)) {
            continue; // its character follows in the queue
        }
        key.hwnd = nullptr; // for the new body
        keys.push_back(key);
    }
    if (note) {
        keepVersion(*note, Replacement::Reload);
    }
    closeRemovedNote(noteGuid);
    loadNote(folder_ + L"notes\\" + noteGuid, noteGuid, std::nullopt, focused);
    auto* reloaded = static_cast<Note*>(stickyByGuid(noteGuid));
    if (focused && reloaded && reloaded->bodyEdit) {
        SendMessageW(reloaded->bodyEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
        reloaded->lastEditTick = lastEditTick;
        reloaded->recentEdits = recentEdits;
    }
    for (const MSG& key : keys) {
        HWND target = key.hwnd ? key.hwnd : (reloaded ? reloaded->bodyEdit : nullptr);
        if (target) {
            PostMessageW(target, key.message, key.wParam, key.lParam);
        }
    }
}

void TackaroonNotes::tookInBody(const Note& note, const std::wstring& textPath) {
    disk_.record(textPath, note.bodyStamp);
    // A body not read as RTF is written only after its bytes are kept.
    if (note.bodyLoad == BodyLoad::Unreadable || note.bodyLoad == BodyLoad::PlainText) {
        keptCopies_.remember(textPath);
    }
}

void TackaroonNotes::reloadBody(Note& note) {
    // New windows would drop the keyboard and the keys on their way to the
    // old ones, and a click landing while they are made would fall through to
    // whatever lies behind.
    const std::wstring textPath = noteFolder(note.guid) + textName;
    keepVersion(note, Replacement::Reload);
    const BodyState view = readBodyState(note.bodyEdit);
    note.loading = true; // what streams in is no edit
    note.bodyLoad = loadBodyFile(note.bodyEdit, textPath, &note.bodyStamp);
    note.loading = false;
    SendMessageW(note.bodyEdit, EM_EMPTYUNDOBUFFER, 0, 0);
    restoreBodyState(note.bodyEdit, view, false);
    tookInBody(note, textPath);
    note.unsavedFlags &= ~SaveText;
    note.document.textChanged = false;
    note.scrollBars.resetThumbs();
    note.layout();
    note.scrollBars.refresh();
    note.names.renewStickyName();
    note.drawing.render();
}

void TackaroonNotes::forkOutsideVersion(Note& note) {
    const std::wstring folder = noteFolder(note.guid);
    std::string jsonBytes, textBytes;
    FileStamp jsonSeen, textSeen;
    const bool jsonRead = readBytesAt(folder + noteJsonName, jsonBytes, jsonSeen) == errorSuccess;
    const bool textRead =
        readBytesAt(folder + textName, textBytes, textSeen, maxBodyFileBytes) == errorSuccess;
    if ((!jsonRead && jsonSeen.present) || (!textRead && textSeen.present)) {
        // Never a sticky from a version not read whole: look again later.
        folderWatch_.postpone(note.guid);
        return;
    }

    if (openVersionBeside(note, jsonRead ? jsonBytes : std::string(), textRead ? &textBytes : nullptr)
            .empty()) {
        // No new note could be made: the files from elsewhere stay beside the note.
        const bool kept = (!jsonRead || !keepOutsideCopy(folder + noteJsonName).empty()) &&
                          (!textRead || !keepOutsideCopy(folder + textName).empty());
        if (!kept) {
            folderWatch_.postpone(note.guid); // nothing could be kept: the sticky waits
            return;
        }
    }
    // The sticky keeps its guid and saves all it holds over what is kept now.
    disk_.record(folder + noteJsonName, jsonSeen);
    disk_.record(folder + textName, textSeen);
    keepVersion(note, Replacement::Fork);
    markStickyChanged(note.guid, SaveEdits);
    saveSticky(note);
}

} // namespace Brisvane
