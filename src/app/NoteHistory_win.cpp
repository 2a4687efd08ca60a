// Earlier versions of the notes: kept before the program writes over or
// replaces a note's content, thinned in slices after start-up and after
// saves, and offered back through the "Earlier versions..." dialog.
#include "app/TackaroonNotes_win.h"
#include "dialogs/EarlierVersionsDialog_win.h"
#include "note/Geometry.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"
#include "note/ScreenPlacement_win.h"
#include "scribble/Scribble.h"
#include "storage/DiskState_win.h"
#include "storage/Guid.h"
#include "storage/RtfCheck.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

constexpr UINT_PTR TIMER_HISTORY = 510;
// Thinning works in short slices while the program runs on.
constexpr UINT thinningPeriod = 200;
constexpr std::uint64_t thinningSlice = 15;
// The first pass waits until the stickies are up; later ones come at most hourly.
constexpr UINT thinningFirstDelay = 10'000;
constexpr std::uint64_t thinningInterval = 60 * millisecondsPerMinute;

Json parsedBytes(const std::string& bytes) {
    std::wstring text;
    if (bytes.empty() || decodeTextFile(bytes, text) != errorSuccess) {
        return Json();
    }
    return parseJson(wideToUtf8(text));
}

void CALLBACK historyTimerProc(HWND window, UINT, UINT_PTR, DWORD) {
    auto* app = reinterpret_cast<TackaroonNotes*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (app && app->stepHistoryThinning()) {
        SetTimer(window, TIMER_HISTORY, thinningPeriod, historyTimerProc);
    } else {
        KillTimer(window, TIMER_HISTORY);
    }
}

} // namespace

void TackaroonNotes::keepVersion(Note& note, Replacement replacement) {
    if (!historyAvailable(settings)) {
        return;
    }
    const VersionRule rule = versionRule(replacement);
    const std::uint64_t now = utcMillisecondsNow();
    auto last = versionsKept_.find(note.guid);
    if (rule.spanLimited &&
        !spanOpen(last == versionsKept_.end() ? std::nullopt : std::optional<std::uint64_t>(last->second),
                  now, historySpanMilliseconds(settings))) {
        return;
    }
    std::string json, text;
    if (rule.fromSticky && note.hasWindows()) {
        Json data = note.document.json;
        data["title"] = wideToUtf8(noteTitle(note));
        saveFigures(note.drawing.scribble, valueAt(data, {"scribble", "figure"}));
        json = utf8TextFileBytes(serializeJson(data));
        text = streamOutRtf(note.bodyEdit).value_or(std::string());
    } else {
        const std::wstring folder = noteFolder(note.guid);
        FileStamp stamp;
        // A file that cannot be read now is not kept half: the version waits.
        if (readBytesAt(folder + L"note.json", json, stamp) != errorSuccess && stamp.present) {
            return;
        }
        if (readBytesAt(folder + L"text.rtf", text, stamp, maxBodyFileBytes) != errorSuccess &&
            stamp.present) {
            return;
        }
    }
    if ((json.empty() && text.empty()) || !Brisvane::keepVersion(folder_, note.guid, json, text, now)) {
        return;
    }
    // Only saves start a span: what another replacement brought in is kept
    // by the next save that writes over it.
    if (rule.spanLimited) {
        versionsKept_[note.guid] = now;
    }
    scheduleHistoryThinning(false);
}

void TackaroonNotes::keepBeforeWrite(Note& note, const std::wstring& path, std::string_view bytes) {
    const FileStamp now = stampOnDisk(path);
    if (now.present && !disk_.holds(path, now, bytes)) {
        keepVersion(note, Replacement::Save);
    }
}

void TackaroonNotes::scheduleHistoryThinning(bool atStart) {
    if (!mainWindow || thinningPending_ || thinning_.running()) {
        return;
    }
    const std::uint64_t now = GetTickCount64();
    if (!atStart && thinningStarted_ && now - thinningStarted_ < thinningInterval) {
        return;
    }
    thinningStarted_ = now;
    thinningPending_ = true;
    SetTimer(mainWindow, TIMER_HISTORY, atStart ? thinningFirstDelay : thinningPeriod, historyTimerProc);
}

bool TackaroonNotes::stepHistoryThinning() {
    if (thinningPending_) {
        // The listing itself waits for the first slice, never start-up.
        thinningPending_ = false;
        thinning_.start(folder_, {utcMillisecondsNow(), historySizeLimitBytes(settings)});
    }
    return thinning_.step(GetTickCount64() + thinningSlice);
}

void TackaroonNotes::showEarlierVersions(Note& note) {
    if (modalOpen) {
        return;
    }
    EarlierVersionsRequest request{this, folder_, note.guid, {}};
    const std::wstring noteGuid = note.guid;
    enterModal();
    const INT_PTR chosen =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(earlierVersionsDialogId), mainWindow,
                        earlierVersionsDialogProc, reinterpret_cast<LPARAM>(&request));
    leaveModal();
    // The sticky may have gone while the dialog was open (removed elsewhere).
    if (request.chosen.empty() || !stickyByGuid(noteGuid)) {
        return;
    }
    if (chosen == IDC_HISTORY_RESTORE) {
        restoreVersion(noteGuid, request.chosen);
    } else if (chosen == IDC_HISTORY_OPEN) {
        openVersionAsNew(noteGuid, request.chosen);
    }
}

bool TackaroonNotes::restoreVersion(const std::wstring& noteGuid, const std::wstring& entry) {
    auto* note = static_cast<Note*>(stickyByGuid(noteGuid));
    std::string json, text;
    if (!note || !readVersion(folder_, noteGuid, entry, json, text)) {
        return false;
    }
    // What the sticky shows now becomes a version first, so a restore can be undone.
    keepVersion(*note, Replacement::Restore);
    // The old content takes the sticky's place on screen as it is now.
    Json restored = parsedBytes(json);
    if (!restored.is_object()) {
        restored = note->document.json;
    }
    restored["window"] = note->document.json["window"];
    const std::wstring folder = noteFolder(noteGuid);
    if (!writeSeen(folder + L"note.json", utf8TextFileBytes(serializeJson(restored))) ||
        !writeSeen(folder + L"text.rtf", text)) {
        return false;
    }
    reloadNote(noteGuid);
    if (auto* reloaded = static_cast<Note*>(stickyByGuid(noteGuid))) {
        reloaded->showNote();
    }
    return true;
}

std::wstring TackaroonNotes::openVersionAsNew(const std::wstring& noteGuid, const std::wstring& entry) {
    auto* note = static_cast<Note*>(stickyByGuid(noteGuid));
    std::string json, text;
    if (!note || stickyCount() >= MaxNotes || !readVersion(folder_, noteGuid, entry, json, text)) {
        return {};
    }
    Json version = parsedBytes(json);
    if (!version.is_object()) {
        version = note->document.json;
    }
    const std::string marker = wideToUtf8(lookupText("earlierVersions.marker", L"(earlier version)"));
    auto title = version.find("title");
    std::string titled = title != version.end() && title->is_string() ? title->get<std::string>() : "";
    version["title"] = titled.empty() ? marker : titled + " " + marker;
    Json beside = note->document.json;
    copyNoteDefaults(beside, note->document.json, monitorNearest);
    valueAt(version, {"window", "position"}) = beside["window"]["position"];
    const std::wstring guid = newGuidString();
    const std::wstring folder = noteFolder(guid);
    if (guid.empty() ||
        writeFileBytes(folder + L"note.json", utf8TextFileBytes(serializeJson(version))) != errorSuccess ||
        (!text.empty() && writeFileBytes(folder + L"text.rtf", text) != errorSuccess)) {
        removeFolderTree(folder);
        return {};
    }
    if (!loadNote(folder_ + L"notes\\" + guid, guid, std::nullopt, true)) {
        removeFolderTree(folder);
        return {};
    }
    markSettingsChanged();
    watchNoteFolders();
    return guid;
}

} // namespace Brisvane
