// The sticky's window menu, opened with Alt+Space as on any window, and the
// keyboard move and size it starts: the arrow keys move or size the sticky
// (snapping as a mouse drag does), Enter keeps it there, Esc puts it back.
#include "note/NoteKeyboard_win.h"

#include <algorithm>

#include "base/UniqueHandle_win.h"
#include "note/ButtonPress_win.h"
#include "note/KeyboardMove.h"
#include "note/NoteHost_win.h"
#include "note/Note_win.h"
#include "note/StoredBounds.h"

namespace Brisvane {

namespace {

// Outside the ids of the title and context menus.
enum WindowMenuCommand : int { WindowMove = 90, WindowSize = 91, WindowClose = 92 };

MoveKey moveKeyOf(WPARAM key) {
    switch (key) {
    case VK_LEFT:
        return MoveKey::left;
    case VK_RIGHT:
        return MoveKey::right;
    case VK_UP:
        return MoveKey::up;
    case VK_DOWN:
        return MoveKey::down;
    case VK_RETURN:
        return MoveKey::enter;
    case VK_ESCAPE:
        return MoveKey::escape;
    default:
        return MoveKey::other;
    }
}

Rect toRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

bool isKeyMessage(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

} // namespace

void NoteKeyboard::openWindowMenu() {
    if (!note_.window || !note_.app) {
        return;
    }
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) {
        return;
    }
    auto add = [&](int id, bool enabled, bool checked, const char* key, const wchar_t* english) {
        const UINT flags = MF_STRING | (enabled ? 0 : MF_GRAYED) | (checked ? MF_CHECKED : 0);
        AppendMenuW(menu.get(), flags, static_cast<UINT_PTR>(id),
                    note_.app->lookupText(key, english).c_str());
    };
    const bool fold = note_.document.flag("fold");
    add(WindowMove, !note_.document.fix("position"), false, "menu.window.move", L"&Move");
    add(WindowSize, !note_.folded && !note_.document.fix("size"), false, "menu.window.size", L"&Size");
    if (fold) {
        add(CommandFold, true, false, "menu.window.unfold", L"&Unfold");
    } else {
        add(CommandFold, true, false, "menu.window.fold", L"&Fold");
    }
    add(CommandAlwaysOnTop, true, note_.isAlwaysOnTop(), "menu.window.alwaysOnTop", L"Always on &top");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    add(WindowClose, true, false, "menu.window.close", L"&Close\tAlt+F4");

    // Under the sticky's top-left corner, where a window keeps its own menu.
    POINT at{};
    ClientToScreen(note_.window, &at);
    const int id = static_cast<int>(TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD,
                                                   at.x, at.y, 0, note_.window, nullptr));
    switch (id) {
    case WindowMove:
    case WindowSize:
        moveByKeyboard(id == WindowSize);
        break;
    case WindowClose:
        // As Alt+F4, once this menu's message has returned.
        PostMessageW(note_.window, WM_CLOSE, 0, 0);
        break;
    case CommandFold:
    case CommandAlwaysOnTop:
        note_.command(id);
        break;
    default:
        break;
    }
}

void NoteKeyboard::moveByKeyboard(bool size) {
    if (!note_.window ||
        (size ? note_.folded || note_.document.fix("size") : note_.document.fix("position"))) {
        return;
    }
    HWND self = note_.window;
    RECT startRect{};
    GetWindowRect(self, &startRect);
    note_.magnet.onEnterSizeMove(); // every sticky's start rectangle, for the magnet
    const Json startLink = valueAt(note_.document.json, {"window", "magnet", "stickNoteGuid"});
    KeyboardMove move(size ? KeyboardMove::Kind::size : KeyboardMove::Kind::move, toRect(startRect),
                      note_.px(keyboardStep, 1), note_.px(keyboardLargeStep, 1), note_.px(30),
                      note_.foldHeight(), static_cast<int>(maxStickySide));
    std::vector<HWND> carried;
    auto place = [&] {
        RECT r{};
        const Rect proposed = move.proposed();
        r = {proposed.left, proposed.top, proposed.right, proposed.bottom};
        if (size) {
            SetWindowPos(self, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
        note_.magnet.snapMoving(r, move.dx(), move.dy(), &carried);
        SetWindowPos(self, nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };

    // A loop of its own, as the system's move loop: the keys go to the move
    // whichever part has the focus, and a click or the loss of the capture
    // keeps the sticky where it is.
    SetCapture(self);
    bool cancelled = false;
    MSG message{};
    while (GetCapture() == self && !move.finished()) {
        if (!GetMessageW(&message, nullptr, 0, 0)) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
            const KeyboardMove::Outcome outcome =
                move.key(moveKeyOf(message.wParam), GetKeyState(VK_SHIFT) < 0);
            cancelled = outcome == KeyboardMove::Outcome::cancelled;
            if (outcome == KeyboardMove::Outcome::changed || cancelled) {
                place();
            }
            continue;
        }
        if (isKeyMessage(message.message) || message.message == WM_MOUSEMOVE) {
            continue;
        }
        if (isButtonPress(message.message)) {
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
        if (!IsWindow(self)) {
            return; // the sticky went (moved to the trash elsewhere): nothing of it is left to touch
        }
    }
    if (GetCapture() == self) {
        ReleaseCapture();
    }
    if (!cancelled || size) {
        return;
    }
    // Cancelled: the stickies carried along go back too, and the link as it was.
    if (note_.app) {
        for (Sticky* sticky : note_.app->allStickies()) {
            auto* note = static_cast<Note*>(sticky);
            if (note != &note_ && note->window &&
                std::find(carried.begin(), carried.end(), note->window) != carried.end()) {
                SetWindowPos(note->window, nullptr, note->moveStartRect.left, note->moveStartRect.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    if (storeAt(note_.document.json, {"window", "magnet", "stickNoteGuid"}, startLink)) {
        note_.markChanged(SaveJson);
    }
}

void NoteKeyboard::contextKey(HWND source) {
    // The menu a right click on the same part opens: the text and drawing menu
    // on the body and the drawing unless locked, the title menu elsewhere.
    const bool content = source == note_.bodyEdit || source == note_.drawing.window;
    const bool titleFirst = !content || note_.document.flag("lock");
    // At the caret when the body shows it, otherwise at the sticky's top-left corner.
    POINT at{};
    RECT visible{};
    GetClientRect(note_.bodyEdit, &visible);
    if (source == note_.bodyEdit && GetFocus() == note_.bodyEdit && GetCaretPos(&at) &&
        PtInRect(&visible, at)) {
        ClientToScreen(note_.bodyEdit, &at);
    } else {
        at = {};
        ClientToScreen(note_.window, &at);
    }
    if (titleFirst) {
        note_.titleMenu.open(at);
    } else {
        note_.contextMenu.show(at);
    }
}

} // namespace Brisvane
