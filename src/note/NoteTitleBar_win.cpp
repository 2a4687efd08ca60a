// The look of a sticky: theme colours, layout of the children, background and
// border, the title bar buttons and title editing, and the text/drawing mode.
#include <richedit.h>

#include "app/TackaroonNotes_win.h"
#include "note/Layout.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

void place(HWND child, const Rect& r, bool visible) {
    MoveWindow(child, r.left, r.top, r.width(), r.height(), FALSE);
    ShowWindow(child, visible ? SW_SHOWNA : SW_HIDE);
}

void centreTitle(HWND title) {
    PARAFORMAT2 format{};
    format.cbSize = sizeof format;
    format.dwMask = PFM_ALIGNMENT;
    format.wAlignment = PFA_CENTER;
    SendMessageW(title, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

} // namespace

std::wstring Note::themeBase() const {
    return utf8ToWide(stringAt(data, {"theme", "base"}, "#f8b500"));
}

void Note::applyTheme(const std::wstring& base, bool repaint) {
    std::optional<Colour> colour = parseColour(base);
    if (!colour || formatColour(themeColour(themeColours, L"background")) == base) {
        return;
    }
    themeColours = deriveTheme(*colour);
    if (!repaint || !window) {
        return;
    }
    SendMessageW(titleEdit, EM_SETBKGNDCOLOR, 0, themeColour(themeColours, L"title-background"));
    SendMessageW(bodyEdit, EM_SETBKGNDCOLOR, 0, themeColour(themeColours, L"background"));
    CHARRANGE selection{};
    SendMessageW(titleEdit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    CHARRANGE all{0, -1};
    SendMessageW(titleEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR;
    format.crTextColor = themeColour(themeColours, L"title-color");
    SendMessageW(titleEdit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    SendMessageW(titleEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    for (HWND part : {newButton, trashButton, hScroll, vScroll, scrollCorner, window}) {
        InvalidateRect(part, nullptr, FALSE);
    }
}

void Note::layout() {
    if (!window || !app) {
        return;
    }
    if (titleRegion) {
        SetWindowRgn(titleEdit, nullptr, FALSE); // the system deletes the region it held
        titleRegion = nullptr;
    }
    RECT client;
    GetClientRect(window, &client);
    const Json& settings = app->settings;
    NoteLayout parts =
        computeLayout(client.right, client.bottom, folded, storedFlag("titlebar"), storedFlag("border"),
                      titlebarHeightDefault(settings), titlebarHeightFold(settings));
    if (parts.titleRegionUsed) {
        const Rect& r = parts.titleRegion;
        titleRegion = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        SetWindowRgn(titleEdit, titleRegion, FALSE);
    }
    place(titleEdit, parts.titleEdit, parts.titleEdit.width() > 0);
    place(newButton, parts.newButton, !folded && parts.titlebarShown);
    place(trashButton, parts.trashButton, !folded && parts.titlebarShown);
    if (!folded && parts.titlebarShown) {
        InvalidateRect(newButton, nullptr, FALSE);
        InvalidateRect(trashButton, nullptr, FALSE);
    }
    // The text area goes to the body and the drawing layer; the scroll windows stay empty.
    place(bodyEdit, parts.textArea, !folded);
    place(scribbleWindow, parts.textArea, !folded);
    for (HWND scroll : {hScroll, vScroll, scrollCorner}) {
        place(scroll, Rect{}, false);
    }
    renewToolRects();

    if (loading) {
        BodyState state;
        state.selectionStart = static_cast<long>(integerAt(data, {"text", "selection", "start"}, 0));
        state.selectionEnd = static_cast<long>(integerAt(data, {"text", "selection", "end"}, 0));
        state.scrollLeft = static_cast<int>(integerAt(data, {"text", "scroll", "left"}, 0));
        state.scrollTop = static_cast<int>(integerAt(data, {"text", "scroll", "top"}, 0));
        restoreBodyState(bodyEdit, state, imeOpen(settings));
        loading = false;
    }
    if (!programmaticResize && !folded) {
        bool changed =
            storeAt(data, {"window", "position", "width"}, static_cast<std::int64_t>(client.right));
        changed = storeAt(data, {"window", "position", "height"}, static_cast<std::int64_t>(client.bottom)) ||
                  changed;
        if (changed) {
            markChanged(SaveJson);
        }
    }
    programmaticResize = false;
    if (focusPending) {
        HWND target = scribbleMode() ? scribbleWindow : bodyEdit;
        if (IsWindowVisible(target)) {
            focusPending = false;
            SetFocus(target);
        }
    }
    InvalidateRect(window, nullptr, FALSE);
}

void Note::paintBackground(HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    UniqueBrush brush(CreateSolidBrush(themeColour(themeColours, L"background")));
    if (storedFlag("border")) {
        UniquePen pen(CreatePen(PS_SOLID, 1, themeColour(themeColours, L"border")));
        ScopedSelect selectPen(dc, pen.get());
        ScopedSelect selectBrush(dc, brush.get());
        Rectangle(dc, client.left, client.top, client.right, client.bottom);
    } else {
        FillRect(dc, &client, brush.get());
    }
}

void Note::paintButton(HWND button, int) {
    ScopedPaint paint(button);
    RECT client;
    GetClientRect(button, &client);
    const wchar_t* name = GetCapture() == button ? L"title-active" : L"title-background";
    UniqueBrush brush(CreateSolidBrush(themeColour(themeColours, name)));
    FillRect(paint.dc(), &client, brush.get());
}

void Note::setTitleEditing(bool on) {
    titleEditing = on;
    centreTitle(titleEdit);
    SendMessageW(titleEdit, EM_SETREADONLY, !on, 0);
    centreTitle(titleEdit);
    if (on) {
        SetFocus(titleEdit);
    } else if (storedFlag("fold") || storedFlag("lock")) {
        SetFocus(window);
    } else {
        SetFocus(scribbleMode() ? scribbleWindow : bodyEdit);
    }
}

void Note::setMode(bool scribble, bool takeFocus) {
    if (storeAt(data, {"mode"}, scribble ? "scribble" : "text")) {
        markChanged(SaveJson);
    }
    SetWindowPos(bodyEdit, scribble ? HWND_BOTTOM : HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    if (takeFocus) {
        SetFocus(scribble ? scribbleWindow : bodyEdit);
    }
}

} // namespace Brisvane
