// The first start's sticky: a welcome in the user's language, in the middle of
// the primary monitor's work area, in the first group.
#include <windows.h>

#include "app/FirstStart.h"
#include "app/TackaroonNotes_win.h"
#include "note/DpiScale.h"
#include "note/Note_win.h"
#include "note/ScreenPlacement_win.h"
#include "storage/Guid.h"
#include "storage/Language.h"
#include "storage/NoteFormat.h"

namespace Brisvane {

namespace {

Rect primaryWorkArea() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return Rect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

} // namespace

bool TackaroonNotes::openWelcomeSticky() {
    const std::wstring noteGuid = newGuidString();
    auto note = std::make_unique<Note>(noteGuid);
    completeNoteJson(note->document.json, titleFormat(languages, settings));
    note->setGroupGuid(groupGuidAt(0));
    Group* group = groupByGuid(note->groupGuid());
    if (!group) {
        group = groupByGuid(L"");
    }
    if (!group) {
        return false;
    }
    const Rect work = primaryWorkArea();
    const int dpi = monitorDpi(work);
    const Rect at = centredIn(work, scaleToDpi(welcomeWidth, dpi), scaleToDpi(welcomeHeight, dpi));
    storeAt(note->document.json, {"window", "position", "left"}, static_cast<std::int64_t>(at.left));
    storeAt(note->document.json, {"window", "position", "top"}, static_cast<std::int64_t>(at.top));
    storeAt(note->document.json, {"window", "position", "width"}, static_cast<std::int64_t>(at.width()));
    storeAt(note->document.json, {"window", "position", "height"}, static_cast<std::int64_t>(at.height()));

    // As a new sticky opens, with the welcome in its body before it shows.
    Note* created = note.get();
    group->notes.push_back(std::move(note));
    if (!created->createWindows(this, std::wstring())) {
        group->removeSticky(noteGuid);
        return false;
    }
    SetWindowTextW(created->bodyEdit, welcomeText(languages, settings, folder_ + L"notes\\").c_str());
    created->setOpacity(created->storedOpacity(), group->appliedOpacity);
    created->showMade(true);
    // Written at the next auto-save, not only at exit.
    markStickyChanged(noteGuid, SaveText | SaveJson);
    return true;
}

} // namespace Brisvane
