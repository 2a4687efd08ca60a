// Other versions of a note: what came from elsewhere while the sticky held
// edits, and the conflict copies a sync service leaves beside a note's files.
// Each opens as a sticky of its own, titled "... (changed elsewhere)", next
// to the sticky it parted from, so that no version is only kept out of sight.
#include <algorithm>
#include <map>

#include "app/TackaroonNotes_win.h"
#include "note/Geometry.h"
#include "note/Note_win.h"
#include "note/ScreenPlacement_win.h"
#include "storage/DiskState_win.h"
#include "storage/Guid.h"
#include "storage/OutsideChange.h"
#include "storage/RtfCheck.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

struct SideFiles {
    std::wstring json; // file names in the note folder, empty when none
    std::wstring text;
};

std::map<std::wstring, SideFiles> sideFilesIn(const std::wstring& folder) {
    std::map<std::wstring, SideFiles> found;
    WIN32_FIND_DATAW entry;
    if (UniqueFind find = findFirstFile(folder + L"*", entry)) {
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                continue;
            }
            if (std::optional<SideVersion> side = sideVersionOf(entry.cFileName)) {
                (side->noteJson ? found[side->tag].json : found[side->tag].text) = entry.cFileName;
            }
        } while (findNextFile(find.get(), entry));
    }
    return found;
}

bool isOwnCopy(const std::wstring& tag) {
    return tag.rfind(L".changed-elsewhere", 0) == 0;
}

} // namespace

std::wstring TackaroonNotes::openVersionBeside(const Note& note, const std::string& jsonBytes,
                                               const std::string* textBytes, std::wstring guid) {
    std::wstring decoded;
    Json version = !jsonBytes.empty() && decodeTextFile(jsonBytes, decoded) == errorSuccess
                       ? parseJson(wideToUtf8(decoded))
                       : Json();
    if (!version.is_object()) {
        version = note.document.seenJson.is_object() ? note.document.seenJson : note.document.json;
    }
    // Titled so that the user sees where it came from, next to its sticky.
    const std::string marker = wideToUtf8(lookupText("title.changedElsewhere", L"(changed elsewhere)"));
    auto title = version.find("title");
    std::string titled = title != version.end() && title->is_string() ? title->get<std::string>() : "";
    if (titled.size() < marker.size() ||
        titled.compare(titled.size() - marker.size(), marker.size(), marker)) {
        titled += titled.empty() ? marker : " " + marker;
    }
    version["title"] = titled;
    Json beside = note.document.json;
    copyNoteDefaults(beside, note.document.json, monitorNearest);
    valueAt(version, {"window", "position"}) = beside["window"]["position"];

    if (guid.empty()) {
        guid = newGuidString();
    }
    if (!guid.empty() && stickyByGuid(guid)) {
        return guid; // made already (it came from the other machine)
    }
    const std::wstring folder = noteFolder(guid);
    if (guid.empty() ||
        writeFileBytes(folder + L"note.json", utf8TextFileBytes(serializeJson(version))) != errorSuccess ||
        (textBytes && writeFileBytes(folder + L"text.rtf", *textBytes) != errorSuccess)) {
        removeFolderTree(folder);
        return {};
    }
    loadNote(folder_ + L"notes\\" + guid, guid, std::nullopt, false);
    return guid;
}

void TackaroonNotes::showSideVersions(const std::wstring& noteGuid, bool all,
                                      const std::vector<std::uint64_t>& ownHashes) {
    auto* note = static_cast<Note*>(stickyByGuid(noteGuid));
    if (!note) {
        return;
    }
    const std::wstring folder = noteFolder(noteGuid);
    for (const auto& [tag, files] : sideFilesIn(folder)) {
        std::string jsonBytes, textBytes;
        FileStamp stamp;
        if ((!files.json.empty() && readBytesAt(folder + files.json, jsonBytes, stamp) != errorSuccess) ||
            (!files.text.empty() &&
             readBytesAt(folder + files.text, textBytes, stamp, maxBodyFileBytes) != errorSuccess)) {
            folderWatch_.postpone(noteGuid); // still being written: later
            continue;
        }
        const bool syncthing = tag.rfind(L".sync-conflict-", 0) == 0;
        auto own = [&](const std::wstring& name, const std::string& bytes) {
            return !name.empty() &&
                   std::find(ownHashes.begin(), ownHashes.end(), hashBytes(bytes)) != ownHashes.end();
        };
        if (syncthing && !all && !own(files.json, jsonBytes) && !own(files.text, textBytes)) {
            continue; // the other machine's version: that machine shows it
        }
        // Without a text of its own the version shows the note's current one.
        if (files.text.empty()) {
            readBytesAt(folder + L"text.rtf", textBytes, stamp, maxBodyFileBytes);
        }
        if (isOwnCopy(tag)) {
            // A copy the program kept that differs from the note only in view
            // state, or not at all, holds nothing to show.
            std::string current;
            const bool sameText = files.text.empty() || (readBytesAt(folder + L"text.rtf", current, stamp,
                                                                     maxBodyFileBytes) == errorSuccess &&
                                                         current == textBytes);
            std::wstring decoded;
            const bool sameJson =
                files.json.empty() ||
                (decodeTextFile(jsonBytes, decoded) == errorSuccess &&
                 (changedJsonParts(note->document.seenJson, parseJson(wideToUtf8(decoded))) &
                  (PartMembers | PartFigures)) == 0);
            if (sameText && sameJson) {
                for (const std::wstring& name : {files.json, files.text}) {
                    if (!name.empty()) {
                        deleteFile(folder + name);
                    }
                }
                continue;
            }
        }
        // Named after the copy, so that two machines showing it make one sticky.
        if (openVersionBeside(*note, jsonBytes, &textBytes, guidFromName(noteGuid + tag)).empty()) {
            continue;
        }
        // Shown now: the copies leave the note's folder (their bytes are in the new sticky's).
        for (const std::wstring& name : {files.json, files.text}) {
            if (!name.empty()) {
                deleteFile(folder + name);
            }
        }
        note = static_cast<Note*>(stickyByGuid(noteGuid));
        if (!note) {
            return;
        }
    }
}

} // namespace Brisvane
