// The sticky window: creation, the shared window procedure and the handlers of
// the sticky window, its title bar buttons, title edit and body.
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

namespace {

constexpr wchar_t noteFace[] = L"メイリオ";
constexpr size_t tipTextLimit = 80;

LPCWSTR cursorForZone(HitZone zone) {
    switch (zone) {
    case HitLeft:
    case HitRight:
        return IDC_SIZEWE;
    case HitTop:
    case HitBottom:
        return IDC_SIZENS;
    case HitTopLeft:
    case HitBottomRight:
        return IDC_SIZENWSE;
    case HitTopRight:
    case HitBottomLeft:
        return IDC_SIZENESW;
    default:
        return IDC_ARROW;
    }
}

bool isSizingZone(HitZone zone) {
    return zone != HitNowhere && zone != HitClient;
}

} // namespace

Note::Note(std::wstring noteGuid) : guid(std::move(noteGuid)), data(Json::object()) {}

Note::~Note() {
    destroyWindows();
}

bool Note::storedFlag(const char* name) const {
    return booleanAt(data, {"window", name}, false);
}

bool Note::storedFix(const char* name) const {
    return booleanAt(data, {"window", "fix", name}, false);
}

int Note::storedPosition(const char* name) const {
    return drawnPosition(name, integerAt(data, {"window", "position", name}, 0));
}

bool Note::scribbleMode() const {
    return stringAt(data, {"mode"}, "text") == "scribble";
}

bool Note::isAlwaysOnTop() const {
    return storedFlag("alwaysOnTop");
}

std::wstring Note::groupGuid() const {
    return utf8ToWide(stringAt(data, {"group", "guid"}, ""));
}

void Note::setGroupGuid(const std::wstring& groupGuid) {
    valueAt(data, {"group", "guid"}) = wideToUtf8(groupGuid);
}

float Note::storedOpacity() const {
    return numberAt(data, {"window", "opacity"}, 1.0f);
}

void Note::markChanged(std::uint32_t flags) {
    if (flags & SaveText) {
        textChanged = true;
    }
    if (app) {
        app->markStickyChanged(guid, flags);
    }
}

LRESULT CALLBACK Note::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Note* note = noteOf(hwnd);
    if (!note) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (note->lifted == Lift::reminder) {
        note->noticeInput(message, wParam);
    }
    LRESULT result = 0;
    if (note->handleResizeZone(hwnd, message, lParam, false, result) ||
        (message == WM_GETOBJECT && note->accessibleObject(hwnd, wParam, lParam, result))) {
        return result;
    }
    switch (note->roleOf(hwnd)) {
    case RoleScribble:
        return note->scribbleMessage(hwnd, message, wParam, lParam);
    case RoleHScroll:
        return note->scrollBarMessage(hwnd, true, message, wParam, lParam);
    case RoleVScroll:
        return note->scrollBarMessage(hwnd, false, message, wParam, lParam);
    case RoleScrollCorner:
        return note->cornerMessage(hwnd, message, wParam, lParam);
    case RoleNewButton:
        return note->buttonMessage(hwnd, 0, message, wParam, lParam);
    case RoleTrashButton:
        return note->buttonMessage(hwnd, 1, message, wParam, lParam);
    default:
        return note->stickyMessage(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK Note::editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Note* note = noteOf(hwnd);
    if (!note) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    bool title = hwnd == note->titleEdit;
    if (note->lifted == Lift::reminder) {
        note->noticeInput(message, wParam);
    }
    if (title && message == WM_PAINT && note->bellShown) {
        return note->paintTitleWithBell(hwnd, wParam, lParam);
    }
    LRESULT result = 0;
    if (note->handleResizeZone(hwnd, message, lParam, note->storedFlag("lock"), result) ||
        (message == WM_GETOBJECT && note->accessibleObject(hwnd, wParam, lParam, result))) {
        return result;
    }
    return title ? note->titleMessage(hwnd, message, wParam, lParam)
                 : note->bodyMessage(hwnd, message, wParam, lParam);
}

bool Note::handleResizeZone(HWND hwnd, UINT message, LPARAM lParam, bool locked, LRESULT& result) {
    if (folded || (message != WM_SETCURSOR && message != WM_LBUTTONDOWN)) {
        return false;
    }
    if (message == WM_SETCURSOR && !IsWindowEnabled(window)) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        result = 0;
        return true;
    }
    POINT point;
    if (message == WM_SETCURSOR) {
        GetCursorPos(&point);
        ScreenToClient(window, &point);
    } else {
        point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        MapWindowPoints(hwnd, window, &point, 1);
    }
    RECT client;
    GetClientRect(window, &client);
    HitZone zone = resizeZone(point.x, point.y, client.right, client.bottom, storedFix("size"), dpi);
    if (isSizingZone(zone)) {
        if (message == WM_SETCURSOR) {
            SetCursor(LoadCursorW(nullptr, cursorForZone(zone)));
        } else {
            SendMessageW(window, WM_NCLBUTTONDOWN, zone, lParam);
        }
        result = 0;
        return true;
    }
    if (locked && zone == HitClient) {
        if (message == WM_SETCURSOR) {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        } else if (!storedFix("position")) {
            SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        }
        result = 0;
        return true;
    }
    return false;
}

LRESULT Note::stickyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        // Destroyed while still bound (Alt+F4 ends the program): let go of the
        // children before they go, as a sticky the user closes does.
        releaseWindows();
        PostQuitMessage(0);
        return 0;
    case WM_MOVE:
        if (!suppressMoveStore) {
            storeAt(data, {"window", "position", "left"},
                    static_cast<std::int64_t>(static_cast<short>(LOWORD(lParam))));
            storeAt(data, {"window", "position", "top"},
                    static_cast<std::int64_t>(static_cast<short>(HIWORD(lParam))));
            markChanged(SaveJson);
        }
        suppressMoveStore = false;
        break;
    case WM_SIZE:
        layoutTimer.start();
        break;
    case WM_ACTIVATE:
        setRuleExempt(LOWORD(wParam) != WA_INACTIVE);
        break;
    case WM_SETFOCUS:
        if (!storedFlag("fold") && !storedFlag("lock")) {
            focusContent();
        }
        break;
    case WM_PAINT: {
        ScopedPaint paint(hwnd);
        paintBackground(paint.dc());
        resetThumbs();
        return 0;
    }
    case WM_MEASUREITEM:
        if (measureSwatch(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_DRAWITEM:
        if (drawSwatch(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
            return 0;
        }
        break;
    case WM_CLOSE:
        // Alt+F4 ends the program; what this sticky holds is written first,
        // while its windows can still be read.
        if (app) {
            app->saveSticky(*this);
        }
        DestroyWindow(hwnd);
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {px(30), foldHeight()};
        return 0;
    }
    case WM_CONTEXTMENU:
        // Shift+F10 or the Menu key on the sticky or a child that passed it on.
        if (lParam == -1) {
            keyboardMenu(reinterpret_cast<HWND>(wParam));
            return 0;
        }
        break;
    case WM_DPICHANGED:
        changeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_SYSCOMMAND:
        // Alt+Space, from whichever part has the keyboard.
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == VK_SPACE) {
            openWindowMenu();
            return 0;
        }
        break;
    case WM_KEYDOWN:
        // A locked sticky keeps the keyboard itself: Enter opens the link at the body's caret.
        if (wParam == VK_RETURN && storedFlag("lock") && openLinkAtCaret()) {
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_NOTIFY:
        return notify(reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
        if (lParam != 0) {
            if (HIWORD(wParam) == EN_CHANGE && !loading) {
                if (LOWORD(wParam) == titleControlId) {
                    markChanged(SaveJson);
                } else if (LOWORD(wParam) == bodyControlId) {
                    markChanged(SaveText);
                }
            }
            // The sticky is named by its title, or by its text while the title is empty.
            if (HIWORD(wParam) == EN_CHANGE &&
                (LOWORD(wParam) == titleControlId || GetWindowTextLengthW(titleEdit) == 0)) {
                renewStickyName();
            }
            // Rich Edit reports changes and scrolling as commands as well.
            if (LOWORD(wParam) == bodyControlId &&
                (HIWORD(wParam) == EN_CHANGE || HIWORD(wParam) == EN_HSCROLL ||
                 HIWORD(wParam) == EN_VSCROLL)) {
                bodyMoved(false);
            }
            break;
        }
        if (titleMenuCommand(LOWORD(wParam)) || command(LOWORD(wParam))) {
            return 0; // the sticky may be gone (moved to the trash)
        }
        break;
    case WM_TIMER:
        if (wParam == layoutTimerId) {
            layout();
            layoutTimer.stop();
            return 0;
        }
        break;
    case WM_ENTERSIZEMOVE:
        onEnterSizeMove();
        break;
    case WM_MOVING:
        if (onMoving(*reinterpret_cast<RECT*>(lParam))) {
            return TRUE;
        }
        break;
    case WM_ENTERMENULOOP:
    case WM_MENUSELECT:
    case WM_EXITMENULOOP:
        onMenuLoop(message, wParam, lParam);
        break;
    case WM_DWMCOMPOSITIONCHANGED:
        if (storedFlag("shadow")) {
            setShadow(true);
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Note::notify(NMHDR* header) {
    if (header->hwndFrom == bodyEdit) {
        switch (header->code) {
        case EN_SELCHANGE:
            if (!loading) {
                markChanged(SaveJson);
            }
            return 0;
        case EN_LINK: {
            auto* link = reinterpret_cast<ENLINK*>(header);
            if (link->msg == WM_LBUTTONUP) {
                openBodyLink(link->chrg.cpMin, link->chrg.cpMax);
            }
            return 0;
        }
        case EN_HSCROLL:
        case EN_VSCROLL:
        case EN_MSGFILTER:
        case 0x0300: {
            bool mouseMove =
                header->code == EN_MSGFILTER && reinterpret_cast<MSGFILTER*>(header)->msg == WM_MOUSEMOVE;
            bodyMoved(mouseMove);
            return 0; // an EN_MSGFILTER answered with anything else would swallow the input
        }
        default:
            return 0;
        }
    }
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        HWND tool = reinterpret_cast<HWND>(header->idFrom);
        info->lpszText = info->szText;
        info->szText[0] = L'\0';
        info->hinst = nullptr;
        std::wstring text;
        if (tool == titleEdit) {
            if (folded && !titleEditing) {
                // The folded sticky shows the start of its text as the title's tip.
                GetWindowTextW(bodyEdit, tipText_, 128);
                info->lpszText = tipText_;
                fitTipWidth(tipText_, 128);
                return 0;
            }
            text = reminderTip();
        } else if (tool == newButton) {
            text = app ? app->lookupText("menu.titlebar.new", L"New note") : L"New note";
        } else if (tool == trashButton) {
            text = app ? app->lookupText("menu.titlebar.delete", L"Put note in the trash")
                       : L"Put note in the trash";
        } else {
            return 0;
        }
        text.resize(std::min(text.size(), tipTextLimit - 1));
        lstrcpynW(info->szText, text.c_str(), static_cast<int>(tipTextLimit));
        fitTipWidth(info->szText, lstrlenW(info->szText));
        return 0;
    }
    return 0;
}

void Note::fitTipWidth(const wchar_t* text, int length) {
    ScopedWindowDC dc(tooltip);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text, length, &size);
    SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, size.cx);
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
        setShadow(!storedFlag("shadow"));
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
        if (storedFlag("lock")) {
            setTitleEditing(false);
            SetFocus(window);
        } else if (!folded) {
            focusContent(); // typing goes on in the body
        }
        return true;
    case CommandFold:
        setFold(!storedFlag("fold"), ruleFold, true);
        if (!folded && !storedFlag("lock")) {
            focusContent(); // the body takes the caret once it is shown again
        }
        return true;
    case CommandAlwaysOnTop:
        setAlwaysOnTop(!isAlwaysOnTop(), zOrderRequest);
        return true;
    case CommandFixPosition:
    case CommandFixSize: {
        const char* name = id == CommandFixPosition ? "position" : "size";
        storeAt(data, {"window", "fix", name}, !storedFix(name));
        markChanged(SaveJson);
        return true;
    }
    case CommandEditTitle:
        setTitleEditing(!titleEditing);
        return true;
    case CommandMode:
        setMode(!scribbleMode(), true);
        return true;
    default:
        break;
    }
    if (id >= CommandThemeFirst && id <= CommandThemeLast) {
        if (std::optional<std::wstring> base = paletteText(id - CommandThemeFirst)) {
            applyTheme(*base, true);
            storeAt(data, {"theme", "base"}, wideToUtf8(*base));
            markChanged(SaveJson);
        }
        return true;
    }
    if (id >= CommandOpacityFirst && id <= CommandOpacityLast) {
        setOpacity(static_cast<float>(id - CommandOpacityFirst + 1) / 10.0f, ruleOpacityFactor);
        return true;
    }
    return noteMenuCommand(id) || formatCommand(id);
}

void Note::toggleFlag(const char* name) {
    storeAt(data, {"window", name}, !storedFlag(name));
    markChanged(SaveJson);
}

LRESULT Note::buttonMessage(HWND hwnd, int index, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paintButton(hwnd, index);
        return 0;
    case WM_ERASEBKGND:
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd);
        InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case WM_LBUTTONUP: {
        bool hadCapture = GetCapture() == hwnd;
        ReleaseCapture();
        InvalidateRect(hwnd, nullptr, FALSE);
        POINT point;
        GetCursorPos(&point);
        ScreenToClient(window, &point);
        if (hadCapture && ChildWindowFromPoint(window, point) == hwnd) {
            command(index == 0 ? CommandNew : CommandTrash);
            return 0; // the sticky may be gone (moved to the trash)
        }
        break;
    }
    case WM_RBUTTONUP:
        openTitleMenu();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Note::titleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KILLFOCUS:
        titleEditing = false;
        break;
    case WM_SETCURSOR:
        if (!titleEditing) {
            SetCursor(LoadCursorW(nullptr, IDC_ARROW));
            return 0;
        }
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            setTitleEditing(false);
        }
        break;
    case WM_IME_STARTCOMPOSITION:
        titleComposing = true;
        break;
    case WM_IME_ENDCOMPOSITION:
        titleComposing = false;
        markChanged(SaveJson);
        break;
    case WM_MOUSEMOVE: {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, HOVER_DEFAULT};
        TrackMouseEvent(&track);
        break;
    }
    case WM_LBUTTONDOWN:
        if (!titleEditing) {
            if (!storedFix("position")) {
                SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
            }
            return 0;
        }
        break;
    case WM_LBUTTONDBLCLK:
        if (!titleEditing) {
            setFold(!storedFlag("fold"), ruleFold, true);
            return 0;
        }
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        if (!titleEditing) {
            return 0;
        }
        break;
    case WM_RBUTTONUP:
        openTitleMenu();
        return 0;
    case WM_CONTEXTMENU:
        if (lParam == -1) {
            keyboardMenu(hwnd); // the edit's own menu would offer nothing
            return 0;
        }
        break;
    default:
        break;
    }
    return CallWindowProcW(titleEditProc, hwnd, message, wParam, lParam);
}

LRESULT Note::bodyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    bool locked = storedFlag("lock");
    switch (message) {
    case WM_SETCURSOR:
        if (locked) {
            return 0;
        }
        break;
    case WM_IME_STARTCOMPOSITION:
        bodyComposing = true;
        break;
    case WM_IME_ENDCOMPOSITION:
        bodyComposing = false;
        markChanged(SaveText);
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        if (locked) {
            return 0;
        }
        break;
    case WM_RBUTTONDOWN:
        return 0;
    case WM_KEYDOWN:
        // Ctrl+Enter opens the link at the caret; without one it goes to the body.
        if (wParam == VK_RETURN && !locked && GetKeyState(VK_CONTROL) < 0 && openLinkAtCaret()) {
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        if (lParam == -1) {
            keyboardMenu(hwnd);
            return 0;
        }
        break;
    case WM_PAINT:
        if (drawingDevice.paintsOver()) {
            return paintBodyAndDrawing(hwnd);
        }
        break;
    case WM_RBUTTONUP:
        // Locked: the title menu; otherwise the text and drawing menu.
        if (locked) {
            openTitleMenu();
        } else {
            showNoteMenu();
        }
        return 0;
    case WM_MOUSEHWHEEL: {
        short delta = GET_WHEEL_DELTA_WPARAM(wParam);
        if (delta != 0) {
            SendMessageW(hwnd, WM_HSCROLL, delta > 0 ? SB_LINERIGHT : SB_LINELEFT, 0);
            hBar.thumbRect = {};
            if (hScroll) {
                InvalidateRect(hScroll, nullptr, FALSE);
            }
            renderScribble();
        }
        return 0;
    }
    default:
        break;
    }
    return CallWindowProcW(bodyEditProc, hwnd, message, wParam, lParam);
}

void Note::keyboardMenu(HWND source) {
    // The menu a right click on the same part opens: the text and drawing menu
    // on the body and the drawing unless locked, the title menu elsewhere.
    const bool content = source == bodyEdit || source == scribbleWindow;
    const bool titleMenu = !content || storedFlag("lock");
    // At the caret when the body shows it, otherwise at the sticky's top-left corner.
    POINT at{};
    RECT visible{};
    GetClientRect(bodyEdit, &visible);
    if (source == bodyEdit && GetFocus() == bodyEdit && GetCaretPos(&at) && PtInRect(&visible, at)) {
        ClientToScreen(bodyEdit, &at);
    } else {
        at = {};
        ClientToScreen(window, &at);
    }
    if (titleMenu) {
        openTitleMenu(at);
    } else {
        showNoteMenu(at);
    }
}

void Note::focusContent() {
    HWND target = titleEditing ? titleEdit : (scribbleMode() ? scribbleWindow : bodyEdit);
    if (target && IsWindowVisible(target)) {
        SetFocus(target);
    } else {
        focusPending = true;
    }
}

void Note::armFocus() {
    if (storedFlag("titlebar") && !storedFlag("fold") && !storedFlag("lock")) {
        focusPending = true;
    }
}

} // namespace Brisvane
