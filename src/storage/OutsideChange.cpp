#include "storage/OutsideChange.h"

#include <algorithm>

#include "storage/Strings.h"

namespace Brisvane {

namespace {

bool isHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

} // namespace

bool isNoteFolderName(std::wstring_view name) {
    if (name.size() != 36) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        bool hyphen = i == 8 || i == 13 || i == 18 || i == 23;
        if (hyphen ? name[i] != L'-' : !isHexDigit(name[i])) {
            return false;
        }
    }
    return true;
}

ChangedPath classifyChangedPath(std::wstring_view relative) {
    std::vector<std::wstring> pieces = splitAny(std::wstring(relative), L"\\/");
    if (pieces.size() == 1 && equalsIgnoreCase(pieces[0], L"settings.json")) {
        return {ChangedPath::Settings, {}};
    }
    if (pieces.empty() || !equalsIgnoreCase(pieces[0], L"notes")) {
        return {};
    }
    if (pieces.size() == 1) {
        return {ChangedPath::Everything, {}};
    }
    if (!isNoteFolderName(pieces[1]) || pieces.size() > 3) {
        return {};
    }
    // Only the note's two files count: temporaries, kept copies and a sync
    // service's conflict copies beside them are not the note.
    if (pieces.size() == 3 && !equalsIgnoreCase(pieces[2], L"note.json") &&
        !equalsIgnoreCase(pieces[2], L"text.rtf")) {
        return {};
    }
    return {ChangedPath::Note, pieces[1]};
}

void FolderChanges::add(const ChangedPath& path) {
    switch (path.kind) {
    case ChangedPath::Settings:
        settings = true;
        break;
    case ChangedPath::Everything:
        everything = true;
        break;
    case ChangedPath::Note:
        if (std::find(notes.begin(), notes.end(), path.guid) == notes.end()) {
            notes.push_back(path.guid);
        }
        break;
    case ChangedPath::Ignore:
        break;
    }
}

Outside compareStamps(const FileStamp* last, const FileStamp& now) {
    if (!last || !last->present) {
        return now.present ? Outside::Added : Outside::Unchanged;
    }
    if (!now.present) {
        return Outside::Removed;
    }
    if (sameOnDisk(*last, now)) {
        return Outside::Unchanged;
    }
    // Rewritten with the same bytes (a sync service touching the file) is no change.
    bool sameBytes = last->hashed && now.hashed && last->size == now.size && last->hash == now.hash;
    return sameBytes ? Outside::Unchanged : Outside::Changed;
}

OutsideAction decideOutsideChange(bool unsavedHere, Outside outside, WatchedFile file) {
    if (outside == Outside::Unchanged) {
        return OutsideAction::Nothing;
    }
    if (file == WatchedFile::Settings) {
        if (outside == Outside::Removed) {
            return OutsideAction::SaveHere; // the groups and rules live in it
        }
        return unsavedHere ? OutsideAction::KeepCopyAndSave : OutsideAction::KeepBeforeWrite;
    }
    if (outside == Outside::Removed) {
        // Without note.json the note was trashed elsewhere; a body file alone
        // gone is written back rather than emptied.
        if (file == WatchedFile::NoteJson && !unsavedHere) {
            return OutsideAction::Close;
        }
        return OutsideAction::SaveHere;
    }
    return unsavedHere ? OutsideAction::Fork : OutsideAction::Load;
}

OutsideAction combineNoteActions(OutsideAction json, OutsideAction text) {
    auto either = [&](OutsideAction a) { return json == a || text == a; };
    if (either(OutsideAction::Close)) {
        return OutsideAction::Close;
    }
    // Loading the one file would drop what the other still holds here.
    if (either(OutsideAction::Fork) || (either(OutsideAction::Load) && either(OutsideAction::SaveHere))) {
        return OutsideAction::Fork;
    }
    if (either(OutsideAction::Load)) {
        return OutsideAction::Load;
    }
    return either(OutsideAction::SaveHere) ? OutsideAction::SaveHere : OutsideAction::Nothing;
}

} // namespace Brisvane
