// Names of a sticky's parts for screen readers. Each part answers WM_GETOBJECT
// with its name and role; the sticky, its buttons and its drawing layer carry
// the name as window text too, which the system's own accessible object reads
// where the answer cannot reach the reader (another process that cannot take
// it). The title and the body keep their text as their content.
#include "note/NoteNames_win.h"

#include <oleacc.h>

#include "note/AccessibleName_win.h"
#include "note/NoteHost_win.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"

namespace Brisvane {

std::wstring NoteNames::partName(NoteRole role) const {
    if (!note_.app) {
        return {};
    }
    switch (role) {
    case RoleNewButton:
        return note_.app->lookupText("menu.titlebar.new", L"New sticky");
    case RoleTrashButton:
        return note_.app->lookupText("menu.titlebar.delete", L"Move sticky to trash");
    case RoleTitle:
        return note_.app->lookupText("accessibility.title", L"Title");
    case RoleBody:
        return note_.app->lookupText("accessibility.text", L"Text");
    case RoleScribble:
        return note_.app->lookupText("accessibility.drawing", L"Drawing");
    case RoleSticky: {
        // The sticky is announced by its title, as lists show it.
        std::wstring name = note_.app->lookupText("accessibility.sticky", L"Sticky note");
        const std::wstring title = noteTitleText(note_.titleEdit, note_.bodyEdit);
        if (!title.empty()) {
            name += L": " + title;
        }
        return name;
    }
    default:
        return {}; // the scroll bars stand in for the body's own
    }
}

bool NoteNames::accessibleObject(HWND hwnd, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const NoteRole role = note_.roleOf(hwnd);
    const std::wstring name = partName(role);
    if (name.empty()) {
        return false;
    }
    long systemRole = 0;
    if (role == RoleNewButton || role == RoleTrashButton) {
        systemRole = ROLE_SYSTEM_PUSHBUTTON;
    } else if (role == RoleTitle || role == RoleBody) {
        systemRole = ROLE_SYSTEM_TEXT;
    }
    return answerAccessibleName(hwnd, wParam, lParam, name, systemRole, result);
}

void NoteNames::nameWindows() {
    // None of these windows paints its text: the buttons paint themselves,
    // and no part of a sticky has a caption.
    for (auto [part, role] :
         {std::pair{note_.newButton, RoleNewButton}, std::pair{note_.trashButton, RoleTrashButton},
          std::pair{note_.drawing.window, RoleScribble}}) {
        if (part) {
            SetWindowTextW(part, partName(role).c_str());
        }
    }
    renewStickyName();
}

void NoteNames::renewStickyName() {
    if (!note_.window) {
        return;
    }
    const std::wstring name = partName(RoleSticky);
    std::wstring current(static_cast<std::size_t>(GetWindowTextLengthW(note_.window)) + 1, L'\0');
    current.resize(static_cast<std::size_t>(
        GetWindowTextW(note_.window, current.data(), static_cast<int>(current.size()))));
    if (name == current) {
        return;
    }
    SetWindowTextW(note_.window, name.c_str());
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, note_.window, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace Brisvane
