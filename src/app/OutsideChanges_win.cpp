// Changes made to the data folder from elsewhere: notes added, changed or
// removed by a sync service or on another machine, and settings.json
// rewritten. Neither version of a note is ever lost: what the program holds
// unsaved is saved, and what came from elsewhere opens as a note of its own.
#include <algorithm>

#include "app/TackaroonNotes_win.h"
#include "note/Geometry.h"
#include "note/Note_win.h"
#include "note/ScreenPlacement_win.h"
#include "storage/DiskState_win.h"
#include "storage/Guid.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

constexpr wchar_t noteJsonName[] = L"note.json";
constexpr wchar_t textName[] = L"text.rtf";

// The disk's stamp of a file, hashed when it is not what was last seen.
FileStamp currentStamp(const DiskState& disk, const std::wstring& path) {
    FileStamp now = stampOnDisk(path);
    if (now.present && disk.changedSince(path, now)) {
        std::string bytes;
        readBytesAt(path, bytes, now);
    }
    return now;
}

// A stamp read anew replaces the one that held the same bytes.
void recordIfRead(DiskState& disk, const std::wstring& path, const FileStamp& now) {
    if (now.hashed) {
        disk.record(path, now);
    }
}

} // namespace

void TackaroonNotes::startWatching() {
    folderWatch_.start(folder_, mainWindow, TIMER_FOLDER_WATCH);
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
}

void TackaroonNotes::checkSettings() {
    const std::wstring path = folder_ + L"settings.json";
    FileStamp now = currentStamp(disk_, path);
    switch (
        decideOutsideChange(settingsUnsaved, compareStamps(disk_.find(path), now), WatchedFile::Settings)) {
    case OutsideAction::KeepBeforeWrite:
        settingsElsewhere_ = true;
        disk_.record(path, now);
        break;
    case OutsideAction::KeepCopyAndSave:
        if (!keepOutsideCopy(path).empty()) {
            disk_.record(path, now);
            settingsElsewhere_ = false;
            saveSettings();
        } else {
            settingsElsewhere_ = true; // kept before the next write instead
        }
        break;
    case OutsideAction::SaveHere:
        disk_.record(path, now);
        settingsElsewhere_ = false;
        settingsUnsaved = true;
        saveSettings();
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
        // A note from elsewhere opens once its note.json has arrived.
        if (openAdded && isFile(jsonPath)) {
            loadNote(folder_ + L"notes\\" + noteGuid, noteGuid, std::nullopt, false);
        }
        return;
    }
    FileStamp json = currentStamp(disk_, jsonPath);
    FileStamp text = currentStamp(disk_, textPath);
    const bool unsaved = note->unsavedFlags != 0;
    OutsideAction action = combineNoteActions(
        decideOutsideChange(unsaved, compareStamps(disk_.find(jsonPath), json), WatchedFile::NoteJson),
        decideOutsideChange(unsaved, compareStamps(disk_.find(textPath), text), WatchedFile::TextRtf));
    switch (action) {
    case OutsideAction::Load:
        reloadNote(noteGuid);
        break;
    case OutsideAction::Fork:
        forkOutsideVersion(*note);
        break;
    case OutsideAction::Close:
        closeRemovedNote(noteGuid);
        break;
    case OutsideAction::SaveHere:
        disk_.record(jsonPath, json);
        disk_.record(textPath, text);
        note->unsavedFlags |= SaveJson | SaveText | SaveFigures;
        saveSticky(*note);
        break;
    default:
        recordIfRead(disk_, jsonPath, json);
        recordIfRead(disk_, textPath, text);
        break;
    }
}

void TackaroonNotes::closeRemovedNote(const std::wstring& noteGuid) {
    Group* group = groupByGuid(groupGuidOfSticky(noteGuid));
    if (group) {
        group->removeSticky(noteGuid);
    }
    disk_.forgetFolder(noteFolder(noteGuid));
    std::erase_if(pendingSaves, [&](const PendingSave& pending) { return pending.guid == noteGuid; });
}

void TackaroonNotes::reloadNote(const std::wstring& noteGuid) {
    closeRemovedNote(noteGuid);
    loadNote(folder_ + L"notes\\" + noteGuid, noteGuid, std::nullopt, false);
}

void TackaroonNotes::forkOutsideVersion(Note& note) {
    const std::wstring folder = noteFolder(note.guid);
    std::string jsonBytes, textBytes;
    FileStamp jsonSeen, textSeen;
    const bool jsonRead = readBytesAt(folder + noteJsonName, jsonBytes, jsonSeen) == errorSuccess;
    const bool textRead = readBytesAt(folder + textName, textBytes, textSeen) == errorSuccess;

    // The version from elsewhere, titled so that the user sees where it came
    // from, next to the sticky it parted from.
    std::wstring decoded;
    Json outside = jsonRead && decodeTextFile(jsonBytes, decoded) == errorSuccess
                       ? parseJson(wideToUtf8(decoded))
                       : Json(Json::object());
    if (outside.is_object()) {
        const std::string marker = wideToUtf8(lookupText("title.changedElsewhere", L"(changed elsewhere)"));
        auto title = outside.find("title");
        std::string titled = title != outside.end() && title->is_string() ? title->get<std::string>() : "";
        if (titled.size() < marker.size() ||
            titled.compare(titled.size() - marker.size(), marker.size(), marker)) {
            titled += titled.empty() ? marker : " " + marker;
        }
        outside["title"] = titled;
        Json beside = note.document.json;
        copyNoteDefaults(beside, note.document.json, monitorNearest);
        valueAt(outside, {"window", "position"}) = beside["window"]["position"];
        jsonBytes = utf8TextFileBytes(serializeJson(outside));
    }
    const std::wstring forkGuid = newGuidString();
    const std::wstring forkFolder = noteFolder(forkGuid);
    bool copied = !forkGuid.empty() && writeFileBytes(forkFolder + noteJsonName, jsonBytes) == errorSuccess &&
                  (!textRead || writeFileBytes(forkFolder + textName, textBytes) == errorSuccess);
    if (!copied) {
        // No new note could be made: the files from elsewhere stay beside the note.
        copied = (!jsonRead || !keepOutsideCopy(folder + noteJsonName).empty()) &&
                 (!textRead || !keepOutsideCopy(folder + textName).empty());
        if (!copied) {
            return; // nothing could be kept: the sticky waits and tries again at the next look
        }
    } else {
        loadNote(folder_ + L"notes\\" + forkGuid, forkGuid, std::nullopt, false);
    }
    // The sticky keeps its guid and saves all it holds over what is kept now.
    disk_.record(folder + noteJsonName, jsonSeen);
    disk_.record(folder + textName, textSeen);
    note.unsavedFlags |= SaveJson | SaveText | SaveFigures;
    saveSticky(note);
}

} // namespace Brisvane
