// Magnet snapping inside the system's move loop of a sticky window.
#include "note/NoteMagnet_win.h"

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

void NoteMagnet::onEnterSizeMove() {
    GetCursorPos(&note_.moveStartCursor);
    if (!note_.app) {
        return;
    }
    for (Sticky* sticky : note_.app->allStickies()) {
        auto* note = static_cast<Note*>(sticky);
        if (note->window) {
            GetWindowRect(note->window, &note->moveStartRect);
        }
    }
}

bool NoteMagnet::onMoving(RECT& rect) {
    POINT cursor{};
    GetCursorPos(&cursor);
    return snapMoving(rect, cursor.x - note_.moveStartCursor.x, cursor.y - note_.moveStartCursor.y, nullptr);
}

bool NoteMagnet::snapMoving(RECT& rect, int dx, int dy, std::vector<HWND>* carried) {
    if (!note_.app || !booleanAt(note_.document.json, {"window", "magnet", "monitor"}, true) ||
        IsRectEmpty(&note_.moveStartRect)) {
        return false;
    }
    std::vector<Note*> notes;
    std::vector<MagnetNote> magnets;
    std::size_t self = 0;
    for (Sticky* sticky : note_.app->allStickies()) {
        auto* note = static_cast<Note*>(sticky);
        RECT current{};
        if (note->window) {
            GetWindowRect(note->window, &current);
        }
        if (note == &note_) {
            self = notes.size();
        }
        notes.push_back(note);
        magnets.push_back(
            {note->guid, booleanAt(note->document.json, {"window", "magnet", "note"}, true),
             utf8ToWide(stringAt(note->document.json, {"window", "magnet", "stickNoteGuid"}, "")),
             toRect(note->moveStartRect), toRect(current)});
    }
    if (notes.empty() || notes[self] != &note_) {
        return false;
    }
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &monitor);
    const Json& settings = note_.app->settings;
    MagnetDistances distances{note_.px(magnetMonitorX(settings)), note_.px(magnetMonitorY(settings)),
                              note_.px(magnetNoteX(settings)), note_.px(magnetNoteY(settings))};
    MagnetOutcome outcome = snapMove(magnets, self, toRect(rect), dx, dy, toRect(monitor.rcWork), distances);
    storeAt(note_.document.json, {"window", "magnet", "stickNoteGuid"}, wideToUtf8(outcome.stickGuid));
    note_.markChanged(SaveJson);
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
