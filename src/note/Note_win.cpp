// A sticky: its stored flags, the shared window procedures that route each
// message to its handler, the command chain and the focus policy.
#include "note/Note_win.h"

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

#include "base/Timer_win.h"
#include "note/NoteHost_win.h"
#include "note/Geometry.h"
#include "note/RichEdit_win.h"
#include "note/StoredBounds.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

Note::Note(std::wstring noteGuid) : guid(std::move(noteGuid)) {}

Note::~Note() {
    destroyWindows();
}

bool Note::isAlwaysOnTop() const {
    return document.flag("alwaysOnTop");
}

std::wstring Note::groupGuid() const {
    return document.groupGuid();
}

void Note::setGroupGuid(const std::wstring& groupGuid) {
    document.setGroupGuid(groupGuid);
}

float Note::storedOpacity() const {
    return document.opacity();
}

void Note::markChanged(std::uint32_t flags) {
    document.markChanged(flags);
    if (flags & SaveEdits) {
        const DWORD now = GetTickCount();
        recentEdits = (now - lastEditTick < recentEditMilliseconds ? recentEdits : 0) | (flags & SaveEdits);
        lastEditTick = now;
    }
    if (app) {
        app->markStickyChanged(guid, flags);
    }
}

std::uint32_t Note::editsInProgress() const {
    return unsavedFlags | (GetTickCount() - lastEditTick < recentEditMilliseconds ? recentEdits : 0);
}

LRESULT CALLBACK Note::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Note* note = noteOf(hwnd);
    if (!note) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (note->lifted == Lift::reminder) {
        note->lifter.noticeInput(message, wParam);
    }
    LRESULT result = 0;
    if (note->frameHandler.handleResizeZone(hwnd, message, lParam, false, result) ||
        (message == WM_GETOBJECT && note->names.accessibleObject(hwnd, wParam, lParam, result))) {
        return result;
    }
    switch (note->roleOf(hwnd)) {
    case RoleScribble:
        return note->drawing.message(hwnd, message, wParam, lParam);
    case RoleHScroll:
        return note->scrollBars.barMessage(hwnd, true, message, wParam, lParam);
    case RoleVScroll:
        return note->scrollBars.barMessage(hwnd, false, message, wParam, lParam);
    case RoleScrollCorner:
        return note->scrollBars.cornerMessage(hwnd, message, wParam, lParam);
    case RoleNewButton:
        return note->titleHandler.buttonMessage(hwnd, 0, message, wParam, lParam);
    case RoleTrashButton:
        return note->titleHandler.buttonMessage(hwnd, 1, message, wParam, lParam);
    default:
        return note->frameHandler.message(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK Note::editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Note* note = noteOf(hwnd);
    if (!note) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    bool title = hwnd == note->titleEdit;
    if (note->lifted == Lift::reminder) {
        note->lifter.noticeInput(message, wParam);
    }
    if (title && message == WM_PAINT && note->bellShown) {
        return note->lifter.paintTitleWithBell(hwnd, wParam, lParam);
    }
    LRESULT result = 0;
    if (note->frameHandler.handleResizeZone(hwnd, message, lParam, note->document.flag("lock"), result) ||
        (message == WM_GETOBJECT && note->names.accessibleObject(hwnd, wParam, lParam, result))) {
        return result;
    }
    return title ? note->titleHandler.titleMessage(hwnd, message, wParam, lParam)
                 : note->bodyHandler.message(hwnd, message, wParam, lParam);
}

bool Note::command(int id) {
    switch (id) {
    case CommandCancel:
        return true;
    case CommandNew:
        if (app) {
            app->createNoteNextTo(guid);
        }
        return true;
    case CommandTrash:
        if (app) {
            // A copy: the sticky and its guid are gone once the move succeeds.
            app->moveToTrash(std::wstring(guid));
        }
        return true;
    case CommandShadow:
        setShadow(!document.flag("shadow"));
        return true;
    case CommandTitlebar:
    case CommandBorder:
        toggleFlag(id == CommandTitlebar ? "titlebar" : "border");
        paintBackground(nullptr);
        layout();
        InvalidateRect(window, nullptr, TRUE);
        return true;
    case CommandLock:
        toggleFlag("lock");
        if (document.flag("lock")) {
            setTitleEditing(false);
            SetFocus(window);
        } else if (!folded) {
            focusContent(); // typing goes on in the body
        }
        return true;
    case CommandFold:
        setFold(!document.flag("fold"), ruleFold, true);
        if (!folded && !document.flag("lock")) {
            focusContent(); // the body takes the caret once it is shown again
        }
        return true;
    case CommandAlwaysOnTop:
        setAlwaysOnTop(!isAlwaysOnTop(), zOrderRequest);
        return true;
    case CommandFixPosition:
    case CommandFixSize: {
        const char* name = id == CommandFixPosition ? "position" : "size";
        storeAt(document.json, {"window", "fix", name}, !document.fix(name));
        markChanged(SaveJson);
        return true;
    }
    case CommandEditTitle:
        setTitleEditing(!titleEditing);
        return true;
    case CommandMode:
        setMode(!document.scribbleMode(), true);
        return true;
    default:
        break;
    }
    if (id >= CommandThemeFirst && id <= CommandThemeLast) {
        if (std::optional<std::wstring> base = titleMenu.paletteText(id - CommandThemeFirst)) {
            applyTheme(*base, true);
            storeAt(document.json, {"theme", "base"}, wideToUtf8(*base));
            markChanged(SaveJson);
        }
        return true;
    }
    if (id >= CommandOpacityFirst && id <= CommandOpacityLast) {
        setOpacity(static_cast<float>(id - CommandOpacityFirst + 1) / 10.0f, ruleOpacityFactor);
        return true;
    }
    return contextMenu.command(id) || formatCommand(id);
}

void Note::toggleFlag(const char* name) {
    storeAt(document.json, {"window", name}, !document.flag(name));
    markChanged(SaveJson);
}

void Note::focusContent() {
    HWND target = titleEditing ? titleEdit : (document.scribbleMode() ? drawing.window : bodyEdit);
    if (target && IsWindowVisible(target)) {
        SetFocus(target);
    } else {
        focusPending = true;
    }
}

void Note::armFocus() {
    if (document.flag("titlebar") && !document.flag("fold") && !document.flag("lock")) {
        focusPending = true;
    }
}

} // namespace Brisvane
