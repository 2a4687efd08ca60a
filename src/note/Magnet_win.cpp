// Magnet snapping inside the system's move loop of a sticky window.
#include "note/NoteHost_win.h"
#include "note/Magnet.h"
#include "note/Note_win.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

Rect toRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

void Note::onEnterSizeMove() {
    GetCursorPos(&moveStartCursor);
    if (!app) {
        return;
    }
    for (Sticky* sticky : app->allStickies()) {
        auto* note = static_cast<Note*>(sticky);
        if (note->window) {
            GetWindowRect(note->window, &note->moveStartRect);
        }
    }
}

bool Note::onMoving(RECT& rect) {
    POINT cursor{};
    GetCursorPos(&cursor);
    return snapMoving(rect, cursor.x - moveStartCursor.x, cursor.y - moveStartCursor.y, nullptr);
}

bool Note::snapMoving(RECT& rect, int dx, int dy, std::vector<HWND>* carried) {
    if (!app || !booleanAt(document.json, {"window", "magnet", "monitor"}, true) ||
        IsRectEmpty(&moveStartRect)) {
        return false;
    }
    std::vector<Note*> notes;
    std::vector<MagnetNote> magnets;
    std::size_t self = 0;
    for (Sticky* sticky : app->allStickies()) {
        auto* note = static_cast<Note*>(sticky);
        RECT current{};
        if (note->window) {
            GetWindowRect(note->window, &current);
        }
        if (note == this) {
            self = notes.size();
        }
        notes.push_back(note);
        magnets.push_back(
            {note->guid, booleanAt(note->document.json, {"window", "magnet", "note"}, true),
             utf8ToWide(stringAt(note->document.json, {"window", "magnet", "stickNoteGuid"}, "")),
             toRect(note->moveStartRect), toRect(current)});
    }
    if (notes.empty() || notes[self] != this) {
        return false;
    }
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor);
    const Json& settings = app->settings;
    MagnetDistances distances{px(magnetMonitorX(settings)), px(magnetMonitorY(settings)),
                              px(magnetNoteX(settings)), px(magnetNoteY(settings))};
    MagnetOutcome outcome = snapMove(magnets, self, toRect(rect), dx, dy, toRect(monitor.rcWork), distances);
    storeAt(document.json, {"window", "magnet", "stickNoteGuid"}, wideToUtf8(outcome.stickGuid));
    markChanged(SaveJson);
    if (!outcome.replaced) {
        return false;
    }
    rect = {outcome.rect.left, outcome.rect.top, outcome.rect.right, outcome.rect.bottom};
    for (const CarriedMove& move : outcome.carried) {
        // Each stores its new position through its own WM_MOVE.
        SetWindowPos(notes[move.index]->window, nullptr, move.left, move.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (carried) {
            carried->push_back(notes[move.index]->window);
        }
    }
    return true;
}

} // namespace Brisvane
