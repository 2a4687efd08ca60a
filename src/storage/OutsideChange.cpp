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

std::optional<SideVersion> sideVersionOf(std::wstring_view fileName) {
    for (bool json : {true, false}) {
        const std::wstring_view stem = json ? L"note" : L"text";
        const std::wstring_view extension = json ? L".json" : L".rtf";
        if (fileName.size() <= stem.size() + extension.size() ||
            !equalsIgnoreCase(fileName.substr(0, stem.size()), stem) ||
            !equalsIgnoreCase(fileName.substr(fileName.size() - extension.size()), extension)) {
            continue;
        }
        std::wstring_view middle =
            fileName.substr(stem.size(), fileName.size() - stem.size() - extension.size());
        const bool syncthing = middle.substr(0, 15) == L".sync-conflict-";
        const bool ours = middle.substr(0, 18) == L".changed-elsewhere";
        const bool dropbox = middle.substr(0, 2) == L" (" && middle.back() == L')' &&
                             middle.find(L"conflicted copy") != std::wstring_view::npos;
        // OneDrive adds the machine's name; a dot would be another program's temporary.
        const bool oneDrive =
            middle.size() > 1 && middle[0] == L'-' && middle.find(L'.') == std::wstring_view::npos;
        if (syncthing || ours || dropbox || oneDrive) {
            return SideVersion{json, std::wstring(middle)};
        }
    }
    return std::nullopt;
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
    // The note's two files and other versions of them count; temporaries and
    // copies of unreadable files are not the note.
    if (pieces.size() == 3 && !equalsIgnoreCase(pieces[2], L"note.json") &&
        !equalsIgnoreCase(pieces[2], L"text.rtf") && !sideVersionOf(pieces[2])) {
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
        if (!now.present) {
            return Outside::Unchanged;
        }
        return now.hashed ? Outside::Added : Outside::Unavailable;
    }
    if (!now.present) {
        return Outside::Removed;
    }
    if (!last->hashed) {
        // Never read: whatever it holds is news once it can be read.
        return now.hashed ? Outside::Changed : Outside::Unavailable;
    }
    if (sameOnDisk(*last, now)) {
        return Outside::Unchanged;
    }
    if (!now.hashed) {
        return Outside::Unavailable;
    }
    // Rewritten with the same bytes (a sync service touching the file) is no change.
    bool sameBytes = last->hashed && now.hashed && last->size == now.size && last->hash == now.hash;
    return sameBytes ? Outside::Unchanged : Outside::Changed;
}

OutsideAction decideSettingsChange(bool unsavedHere, Outside outside) {
    switch (outside) {
    case Outside::Unchanged:
        return OutsideAction::Nothing;
    case Outside::Unavailable:
        return OutsideAction::Wait;
    case Outside::Removed:
        return OutsideAction::SaveHere; // the groups and rules live in it
    default:
        return unsavedHere ? OutsideAction::KeepCopyAndSave : OutsideAction::KeepBeforeWrite;
    }
}

namespace {

// Takes the member at `path` (two names deep) out of `note`: null when it was not there.
Json takeMember(Json& note, JsonPath path) {
    const Json* found = findPath(note, path);
    if (!found) {
        return Json();
    }
    Json taken = *found;
    // Two levels: the member, and its parent when nothing else is left in it.
    Json& parent = note[path.begin()[0]];
    parent.erase(path.begin()[1]);
    if (parent.empty()) {
        note.erase(path.begin()[0]);
    }
    return taken;
}

} // namespace

std::uint32_t changedJsonParts(const Json& before, const Json& after) {
    if (!before.is_object() || !after.is_object()) {
        return before == after ? 0 : PartMembers | PartFigures;
    }
    Json a = before;
    Json b = after;
    std::uint32_t parts = 0;
    if (takeMember(a, {"scribble", "figure"}) != takeMember(b, {"scribble", "figure"})) {
        parts |= PartFigures;
    }
    for (const char* view : {"selection", "scroll"}) {
        if (takeMember(a, {"text", view}) != takeMember(b, {"text", view})) {
            parts |= PartView;
        }
    }
    if (a != b) {
        parts |= PartMembers;
    }
    return parts;
}

OutsideAction decideNoteChange(std::uint32_t unsavedHere, Outside json, std::uint32_t jsonParts,
                               Outside text) {
    if (json == Outside::Unavailable || text == Outside::Unavailable) {
        return OutsideAction::Wait;
    }
    const std::uint32_t edited = unsavedHere & (PartMembers | PartBody | PartFigures);
    if (json == Outside::Removed) {
        // Without note.json the note was trashed elsewhere; an edit here brings it back.
        return edited ? OutsideAction::SaveHere : OutsideAction::Close;
    }
    const bool jsonNews = (json == Outside::Changed || json == Outside::Added) &&
                          (jsonParts & (PartMembers | PartFigures)) != 0;
    const bool textNews = text == Outside::Changed || text == Outside::Added;
    if ((jsonNews && (edited & (PartMembers | PartFigures))) || (textNews && (edited & PartBody))) {
        return OutsideAction::Fork;
    }
    if (text == Outside::Removed) {
        // A body file alone gone is most often the rest of a note being removed
        // elsewhere, file by file: the sticky keeps its text, written back with
        // an edit here or at the close; what came with note.json is taken in first.
        if (jsonNews) {
            return OutsideAction::SaveThenLoad;
        }
        return edited ? OutsideAction::SaveHere : OutsideAction::Nothing;
    }
    if (jsonNews || textNews) {
        return edited ? OutsideAction::SaveThenLoad : OutsideAction::Load;
    }
    if (json == Outside::Changed || json == Outside::Added) {
        return OutsideAction::Accept; // selection or scroll of another machine
    }
    return OutsideAction::Nothing;
}

} // namespace Brisvane
