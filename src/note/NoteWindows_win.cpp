// Making a sticky's windows: the window classes, the binding of every window to
// its note, the children placed where the layout puts them before they are
// made, each scroll bar made the first time the body needs it, and the tools
// each sticky keeps in the program's one tooltip.
#include "note/Note_win.h"

#include <utility>

#include <richedit.h>

#include "note/NoteHost_win.h"
#include "base/Timer_win.h"
#include "note/Layout.h"
#include "note/RichEdit_win.h"
#include "note/ScreenPlacement_win.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

constexpr wchar_t stickyClass[] = L"TackaroonNotesWindowClass";
constexpr wchar_t scribbleClass[] = L"TackaroonNotesScribbleWindowClass";
constexpr wchar_t buttonClass[] = L"TackaroonNotesTitlebarButtonWindowClass";
// The pen cursor, missing from some headers.
const LPCWSTR penCursor = MAKEINTRESOURCEW(32631);

HINSTANCE moduleInstance() {
    return GetModuleHandleW(nullptr);
}

bool registerNoteClasses() {
    static bool registered = false;
    if (registered) {
        return true;
    }
    struct ClassInfo {
        const wchar_t* name;
        UINT style;
        LPCWSTR cursor;
        HBRUSH background;
    };
    const ClassInfo classes[] = {
        {stickyClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, IDC_ARROW,
         reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)},
        {scribbleClass, CS_OWNDC | CS_DBLCLKS, penCursor, nullptr},
        {buttonClass, CS_DBLCLKS, IDC_ARROW, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)},
        {hScrollClass, CS_DBLCLKS, IDC_ARROW, nullptr},
        {vScrollClass, CS_DBLCLKS, IDC_ARROW, nullptr},
        {cornerClass, CS_DBLCLKS, IDC_ARROW, nullptr},
    };
    for (const ClassInfo& info : classes) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = info.style;
        windowClass.lpfnWndProc = Note::sharedWindowProc();
        windowClass.hInstance = moduleInstance();
        windowClass.hCursor = LoadCursorW(nullptr, info.cursor);
        windowClass.hbrBackground = info.background;
        windowClass.lpszClassName = info.name;
        if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            return false;
        }
    }
    registered = true;
    return true;
}

// The body shows a bar of its own: its client area is narrower or lower than its window.
bool showsOwnBars(HWND body) {
    RECT client{}, frame{};
    GetClientRect(body, &client);
    GetWindowRect(body, &frame);
    return client.right < frame.right - frame.left || client.bottom < frame.bottom - frame.top;
}

} // namespace

WNDPROC Note::sharedWindowProc() {
    return windowProc;
}

Note* Note::noteOf(HWND hwnd) {
    return reinterpret_cast<Note*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

NoteRole Note::roleOf(HWND hwnd) const {
    const std::pair<HWND, NoteRole> roles[] = {
        {drawing.window, RoleScribble},
        {newButton, RoleNewButton},
        {trashButton, RoleTrashButton},
        {titleEdit, RoleTitle},
        {bodyEdit, RoleBody},
        {scrollBars.hWindow(), RoleHScroll},
        {scrollBars.vWindow(), RoleVScroll},
        {scrollBars.cornerWindow(), RoleScrollCorner},
    };
    for (const auto& [child, role] : roles) {
        if (child == hwnd) {
            return role;
        }
    }
    return RoleSticky;
}

void Note::bind(HWND hwnd, NoteRole role) {
    SetPropW(hwnd, notePropName, this);
    SetPropW(hwnd, roleProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(role)));
    // The window procedures read the note from here: a property look-up is a
    // round trip to the window server on some systems, the user data is not.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Note::unbind(HWND hwnd) {
    if (hwnd) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        RemovePropW(hwnd, notePropName);
        RemovePropW(hwnd, roleProp);
    }
}

HWND Note::createChild(const wchar_t* className, DWORD style, int controlId, NoteRole role, const Rect& at,
                       bool visible) {
    DWORD exStyle = role == RoleScribble ? WS_EX_NOREDIRECTIONBITMAP : 0;
    HWND child =
        CreateWindowExW(exStyle, className, L"", WS_CHILD | (visible ? WS_VISIBLE : 0) | style, at.left,
                        at.top, at.width(), at.height(), window,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), moduleInstance(), nullptr);
    if (child) {
        bind(child, role);
    }
    return child;
}

bool Note::createWindows(NoteHost* application, const std::wstring& rtfPath) {
    app = application;
    if (!registerNoteClasses() || !loadRichEditLibrary()) {
        return false;
    }
    StartupSteps& steps = app->startupSteps;
    StartupSteps::Clock::time_point began = StartupSteps::Clock::now();
    applyTheme(themeBase(), false);
    const Json& settings = app->settings;

    // Every window is made where it belongs, so none is moved after it is made.
    folded = document.flag("fold") || ruleFold;
    // The monitor the sticky goes to gives the measures of its title bar.
    dpi = monitorDpi(rectFromSize(document.position("left"), document.position("top"),
                                  document.position("width"), document.position("height")));
    density.adoptStored();
    const int width = document.position("width");
    const int height = folded ? foldHeight() : document.position("height");
    bool corrected = false;
    const Rect frame = keptOnScreen(
        rectFromSize(document.position("left"), document.position("top"), width, height), corrected);
    if (corrected) {
        storeAt(document.json, {"window", "position", "left"}, static_cast<std::int64_t>(frame.left));
        storeAt(document.json, {"window", "position", "top"}, static_cast<std::int64_t>(frame.top));
        markChanged(SaveView);
    }
    const DWORD exStyle = WS_EX_LAYERED | WS_EX_TOOLWINDOW | (isAlwaysOnTop() ? WS_EX_TOPMOST : 0);
    window = CreateWindowExW(exStyle, stickyClass, L"", WS_POPUP, frame.left, frame.top, width, height,
                             nullptr, nullptr, moduleInstance(), nullptr);
    if (!window) {
        return false;
    }
    bind(window, RoleSticky);
    SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
    layoutTimer.prepare(&windowTimers(), window, layoutTimerId, layoutDelay, true);

    const NoteLayout parts = computeLayout(width, height, folded, document.flag("titlebar"),
                                           document.flag("border"), titleHeight(), foldHeight());
    const bool buttonsShown = !folded && parts.titlebarShown;
    // Before the bars are needed the body and the drawing share the whole text area.
    const Rect text = folded ? Rect{} : parts.textArea;
    drawing.window = createChild(scribbleClass, 0, 0, RoleScribble, text, !folded);
    newButton = createChild(buttonClass, 0, 0, RoleNewButton, parts.newButton, buttonsShown);
    trashButton = createChild(buttonClass, 0, 0, RoleTrashButton, parts.trashButton, buttonsShown);
    titleEdit = createChild(MSFTEDIT_CLASS, WS_CLIPSIBLINGS | ES_AUTOHSCROLL, titleControlId, RoleTitle,
                            parts.titleEdit, parts.titleEdit.width() > 0);
    if (!drawing.window || !newButton || !trashButton || !titleEdit) {
        return false;
    }
    setTitleRegion(parts.titleRegionUsed, parts.titleRegion);
    setUpTitleEdit(titleEdit, utf8ToWide(stringAt(document.json, {"title"}, "")),
                   titlebarHeightDefault(settings), themeColour(themeColours, L"title-background"),
                   themeColour(themeColours, L"title-color"));
    titleEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(titleEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc)));

    bodyEdit = createChild(MSFTEDIT_CLASS,
                           WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                               ES_NOHIDESEL | ES_WANTRETURN | ES_SAVESEL,
                           bodyControlId, RoleBody, text, !folded);
    if (!bodyEdit) {
        return false;
    }
    setUpBody(bodyEdit, booleanAt(document.json, {"text", "wordwrap"}, true),
              booleanAt(document.json, {"text", "autoDetectURL"}, true),
              themeColour(themeColours, L"background"));
    bodyEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(bodyEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc)));
    applyBodyFormat(bodyEdit, fontSize(settings), themeColour(themeColours, L"text-color"),
                    px(marginLeft(settings)), px(marginRight(settings)));
    density.applyTextZoom(); // while the body is empty, so nothing needs wrapping again
    steps.windows += StartupSteps::since(began);

    began = StartupSteps::Clock::now();
    if (!rtfPath.empty()) {
        bodyLoad = loadBodyFile(bodyEdit, rtfPath, &bodyStamp);
    }
    drawingHost.load();
    steps.text += StartupSteps::since(began);

    began = StartupSteps::Clock::now();
    SetWindowPos(drawing.window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    // A body that fits its text area needs no bars (it fits at every trial size
    // too, each being larger); only an overflowing one goes through the trials.
    const int cx = GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(dpi));
    const int cy = GetSystemMetricsForDpi(SM_CYHSCROLL, static_cast<UINT>(dpi));
    const int thickness = px(scrollBarThickness, 1);
    if (!folded) {
        if (showsOwnBars(bodyEdit) || cx < thickness || cy < thickness) {
            scrollBars.layout(text.left, text.top, text.width(), text.height());
        } else {
            scrollBars.keepBodySize();
        }
    }
    restoreLoadedState();
    steps.layout += StartupSteps::since(began);

    began = StartupSteps::Clock::now();
    if (document.scribbleMode()) {
        setMode(true, false);
    }
    if (document.flag("shadow")) {
        setShadow(true);
    }
    tooltip = app->sharedTooltip.ensure(tooltipInitial(settings), tooltipAutoPopup(settings));
    app->sharedTooltip.addTools(window, {titleEdit, newButton, trashButton});
    names.nameWindows();
    steps.windows += StartupSteps::since(began);
    return true;
}

void Note::destroyWindows() {
    HWND sticky = window;
    if (!sticky) {
        return;
    }
    releaseWindows();
    // Without its properties the window's WM_DESTROY no longer ends the program.
    DestroyWindow(sticky);
}

void Note::releaseWindows() {
    tips.release();
    if (titleRegion) {
        SetWindowRgn(titleEdit, nullptr, FALSE); // the system deletes the region it held
    }
    if (bodyEdit) {
        SetWindowRgn(bodyEdit, nullptr, FALSE);
    }
    layoutTimer.stop();
    scrollBars.stopTimers();
    if (titleEdit && titleEditProc) {
        SetWindowLongPtrW(titleEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(titleEditProc));
    }
    if (bodyEdit && bodyEditProc) {
        SetWindowLongPtrW(bodyEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(bodyEditProc));
    }
    for (HWND hwnd : {scrollBars.cornerWindow(), scrollBars.vWindow(), scrollBars.hWindow(), bodyEdit,
                      titleEdit, trashButton, newButton, drawing.window, window}) {
        unbind(hwnd);
    }
    window = newButton = trashButton = titleEdit = bodyEdit = drawing.window = nullptr;
    tooltip = nullptr;
    scrollBars.forgetWindows();
    titleEditProc = bodyEditProc = nullptr;
    titleRegion = nullptr;
}

void Note::showMade(bool activate) {
    StartupSteps& steps = app->startupSteps;
    StartupSteps::Clock::time_point began = StartupSteps::Clock::now();
    if (activate) {
        armFocus();
    }
    ShowWindow(window, activate ? SW_SHOW : SW_SHOWNOACTIVATE);
    takePendingFocus();
    // Painted now, so each sticky shows as it is made rather than all of them
    // once the last is done.
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    steps.show += StartupSteps::since(began);
    if (steps.firstShown < 0) {
        steps.firstShown = StartupSteps::since(steps.begun);
    }
}

void Note::setTitleRegion(bool used, const Rect& r) {
    if (titleRegion) {
        SetWindowRgn(titleEdit, nullptr, FALSE); // the system deletes the region it held
        titleRegion = nullptr;
    }
    if (!used) {
        return;
    }
    titleRegion = CreateRectRgn(r.left, r.top, r.right, r.bottom);
    if (titleRegion && !SetWindowRgn(titleEdit, titleRegion, FALSE)) {
        DeleteObject(titleRegion); // not taken by the system
        titleRegion = nullptr;
    }
}

void Note::restoreLoadedState() {
    if (!loading) {
        return;
    }
    BodyState state;
    state.selectionStart = static_cast<long>(integerAt(document.json, {"text", "selection", "start"}, 0));
    state.selectionEnd = static_cast<long>(integerAt(document.json, {"text", "selection", "end"}, 0));
    state.scrollLeft = static_cast<int>(integerAt(document.json, {"text", "scroll", "left"}, 0));
    state.scrollTop = static_cast<int>(integerAt(document.json, {"text", "scroll", "top"}, 0));
    restoreBodyState(bodyEdit, state, imeOpen(app->settings));
    loading = false;
}

void Note::takePendingFocus() {
    if (!focusPending) {
        return;
    }
    HWND target = document.scribbleMode() ? drawing.window : bodyEdit;
    if (IsWindowVisible(target)) {
        focusPending = false;
        SetFocus(target);
    }
}

} // namespace Brisvane
