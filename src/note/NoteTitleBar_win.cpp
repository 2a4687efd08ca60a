// The look of a sticky: theme colours, layout of the children, background and
// border, the title bar buttons and title editing, and the text/drawing mode.
#include <array>

#include <richedit.h>

#include "note/NoteHost_win.h"
#include "note/Layout.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"
#include "note/TitleButtons.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

void placeChild(HWND child, const Rect& r, bool visible) {
    if (!child) {
        return; // a part not made yet, such as the scroll bars of a body that never overflowed
    }
    MoveWindow(child, r.left, r.top, r.width(), r.height(), FALSE);
    ShowWindow(child, visible ? SW_SHOWNA : SW_HIDE);
}

namespace {

void centreTitle(HWND title) {
    PARAFORMAT2 format{};
    format.cbSize = sizeof format;
    format.dwMask = PFM_ALIGNMENT;
    format.wAlignment = PFA_CENTER;
    SendMessageW(title, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
}

} // namespace

std::wstring Note::themeBase() const {
    return utf8ToWide(stringAt(document.json, {"theme", "base"}, "#f8b500"));
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
    InvalidateRect(newButton, nullptr, FALSE);
    InvalidateRect(trashButton, nullptr, FALSE);
    scrollBars.resetThumbs();
    if (HWND corner = scrollBars.cornerWindow()) {
        InvalidateRect(corner, nullptr, FALSE);
    }
    InvalidateRect(window, nullptr, FALSE);
}

int Note::titleHeight() const {
    return px(app ? titlebarHeightDefault(app->settings) : 20);
}

int Note::foldHeight() const {
    return px(app ? titlebarHeightFold(app->settings) : 18);
}

void Note::layout() {
    if (!window || !app) {
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    NoteLayout parts = computeLayout(client.right, client.bottom, folded, document.flag("titlebar"),
                                     document.flag("border"), titleHeight(), foldHeight());
    setTitleRegion(parts.titleRegionUsed, parts.titleRegion);
    placeChild(titleEdit, parts.titleEdit, parts.titleEdit.width() > 0);
    placeChild(newButton, parts.newButton, !folded && parts.titlebarShown);
    placeChild(trashButton, parts.trashButton, !folded && parts.titlebarShown);
    if (!folded && parts.titlebarShown) {
        InvalidateRect(newButton, nullptr, FALSE);
        InvalidateRect(trashButton, nullptr, FALSE);
    }
    if (folded) {
        for (HWND part : {bodyEdit, drawing.window, scrollBars.hWindow(), scrollBars.vWindow(),
                          scrollBars.cornerWindow()}) {
            placeChild(part, Rect{}, false);
        }
    } else {
        const Rect& text = parts.textArea;
        scrollBars.layout(text.left, text.top, text.width(), text.height());
    }
    tips.renewRects();

    restoreLoadedState();
    // A size that is the stored one as drawn is not the user's: a stored size
    // beyond what a window takes stays as it is.
    bool storedSize =
        client.right == document.position("width") && client.bottom == document.position("height");
    if (!programmaticResize && !folded && !storedSize) {
        bool changed =
            storeAt(document.json, {"window", "position", "width"}, static_cast<std::int64_t>(client.right));
        changed = storeAt(document.json, {"window", "position", "height"},
                          static_cast<std::int64_t>(client.bottom)) ||
                  changed;
        if (changed) {
            markChanged(SaveJson);
        }
    }
    programmaticResize = false;
    takePendingFocus();
    InvalidateRect(window, nullptr, FALSE);
}

void Note::paintBackground(HDC dc) {
    if (!dc) {
        ScopedWindowDC own(window);
        if (own.get()) {
            paintBackground(own.get());
        }
        return;
    }
    RECT client;
    GetClientRect(window, &client);
    UniqueBrush brush(CreateSolidBrush(themeColour(themeColours, L"background")));
    if (document.flag("border")) {
        UniquePen pen(CreatePen(PS_SOLID, 1, themeColour(themeColours, L"border")));
        ScopedSelect selectPen(dc, pen.get());
        ScopedSelect selectBrush(dc, brush.get());
        Rectangle(dc, client.left, client.top, client.right, client.bottom);
    } else {
        FillRect(dc, &client, brush.get());
    }
}

void Note::paintButton(HWND button, int index) {
    ScopedPaint paint(button);
    RECT client;
    GetClientRect(button, &client);
    const wchar_t* name = GetCapture() == button ? L"title-active" : L"title-background";
    UniqueBrush rest(CreateSolidBrush(themeColour(themeColours, name)));
    UniqueBrush ink(CreateSolidBrush(themeColour(themeColours, L"title-color")));
    const double unit = static_cast<double>(dpi) / baseDpi;
    ButtonGlyph glyph = index == 0 ? plusGlyph(client.right, client.bottom, unit)
                                   : crossGlyph(client.right, client.bottom, unit);
    std::array<POINT, std::tuple_size_v<ButtonGlyph>> points{};
    for (size_t i = 0; i < glyph.size(); ++i) {
        points[i] = {glyph[i].x, glyph[i].y};
    }
    UniqueRegion glyphRegion(CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING));
    UniqueRegion around(CreateRectRgn(0, 0, client.right, client.bottom));
    if (!glyphRegion || !around || !rest || !ink) {
        FillRect(paint.dc(), &client, rest.get());
        return;
    }
    // Glyph and background never overlap, so nothing flickers between them.
    CombineRgn(around.get(), around.get(), glyphRegion.get(), RGN_DIFF);
    FillRgn(paint.dc(), glyphRegion.get(), ink.get());
    FillRgn(paint.dc(), around.get(), rest.get());
}

void Note::setTitleEditing(bool on) {
    titleEditing = on;
    centreTitle(titleEdit);
    SendMessageW(titleEdit, EM_SETREADONLY, !on, 0);
    centreTitle(titleEdit);
    if (on) {
        SetFocus(titleEdit);
    } else if (document.flag("fold") || document.flag("lock")) {
        SetFocus(window);
    } else {
        SetFocus(document.scribbleMode() ? drawing.window : bodyEdit);
    }
}

void Note::setMode(bool scribble, bool takeFocus) {
    if (storeAt(document.json, {"mode"}, scribble ? "scribble" : "text")) {
        markChanged(SaveJson);
    }
    // Reordering the children must not activate the sticky: a sticky opened in
    // scribble mode would otherwise take the focus from the one in use.
    SetWindowPos(bodyEdit, scribble ? HWND_BOTTOM : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    if (scribble) {
        drawing.createDevice();
        drawing.render();
    }
    if (takeFocus) {
        SetFocus(scribble ? drawing.window : bodyEdit);
    }
}

} // namespace Brisvane
