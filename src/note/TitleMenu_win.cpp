// The title menu: every window setting of a sticky, its group and the trash,
// opened by a right click on the title bar; and the theme preview and sticky
// highlight while a menu of the sticky is open.
#include "note/TitleMenu_win.h"

#include "base/PopupMenu_win.h"
#include "note/NoteHost_win.h"
#include "groups/RuleEngine.h"
#include "note/Geometry.h"
#include "note/MenuText.h"
#include "note/Note_win.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

constexpr int paletteColumn = 10;

UINT checkedIf(bool on) {
    return on ? MF_CHECKED : MF_UNCHECKED;
}

void insertSubmenu(HMENU menu, UINT position, HMENU submenu, const std::wstring& text, UINT id = 0) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU | (id ? MIIM_ID : 0);
    item.fType = MFT_STRING;
    item.dwTypeData = const_cast<wchar_t*>(text.c_str());
    item.hSubMenu = submenu;
    item.wID = id;
    InsertMenuItemW(menu, position, TRUE, &item);
}

} // namespace

void TitleMenu::build(HMENU menu, bool withCancel) {
    if (!note_.app) {
        return;
    }
    NoteHost& app = *note_.app;
    const NoteDocument& document = note_.document;
    auto text = [&app](const char* key, const wchar_t* fallback) { return app.lookupText(key, fallback); };
    auto item = [&](UINT flags, int id, const char* key, const wchar_t* fallback) {
        AppendMenuW(menu, MF_STRING | flags, static_cast<UINT_PTR>(id), text(key, fallback).c_str());
    };
    auto position = [menu] { return static_cast<UINT>(GetMenuItemCount(menu)); };

    item(0, CommandNew, "menu.titlebar.new", L"New sticky");
    item(0, CommandTrash, "menu.titlebar.delete", L"Move sticky to trash");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    item(checkedIf(document.flag("fold")), CommandFold, "menu.titlebar.fold", L"Fold");
    item(checkedIf(!booleanAt(document.json, {"window", "titlebar"}, true)), CommandTitlebar,
         "menu.titlebar.hideTitlebar", L"Hide titlebar");
    item(checkedIf(document.flag("border")), CommandBorder, "menu.titlebar.border", L"Show border");
    item(checkedIf(document.flag("shadow")), CommandShadow, "menu.titlebar.shadow", L"Show shadow");
    item(checkedIf(note_.isAlwaysOnTop()), CommandAlwaysOnTop, "menu.titlebar.alwaysOnTop", L"Always on top");

    HMENU fix = CreatePopupMenu();
    AppendMenuW(fix, MF_STRING | checkedIf(document.fix("position")), CommandFixPosition,
                text("menu.titlebar.fix.position", L"Fix position").c_str());
    AppendMenuW(fix, MF_STRING | checkedIf(document.fix("size")), CommandFixSize,
                text("menu.titlebar.fix.size", L"Fix size").c_str());
    insertSubmenu(menu, position(), fix, text("menu.titlebar.fix.name", L"Fixing position and size"));

    HMENU opacity = CreatePopupMenu();
    for (int n = 1; n <= 10; ++n) {
        const std::string level = std::to_string(10 * n);
        const std::wstring fallback = utf8ToWide(level) + L"%";
        bool marked = !opacityDiffers(note_.storedOpacity(), static_cast<float>(n) / 10.0f);
        AppendMenuW(opacity, MF_STRING | checkedIf(marked), CommandOpacityFirst + n - 1,
                    text(("menu.titlebar.opacity.level" + level).c_str(), fallback.c_str()).c_str());
    }
    insertSubmenu(menu, position(), opacity, text("menu.titlebar.opacity.name", L"Opacity"));

    const bool titleHidden = !booleanAt(document.json, {"window", "titlebar"}, true);
    item(checkedIf(note_.titleEditing) | (titleHidden || document.flag("lock") ? MF_DISABLED | MF_GRAYED : 0),
         CommandEditTitle, "menu.titlebar.editTitle", L"Edit title");
    item(checkedIf(document.flag("lock")), CommandLock, "menu.titlebar.lock", L"Locked from editing");

    HMENU theme = CreatePopupMenu();
    const Json* palette = findPath(app.palette, {"theme"});
    const std::string base = stringAt(document.json, {"theme", "base"}, "");
    if (palette && palette->is_array()) {
        for (std::size_t j = 0; j < palette->size() && j < 100; ++j) {
            const Json& colour = (*palette)[j];
            if (!colour.is_string()) {
                continue;
            }
            const std::string& colourText = colour.get_ref<const std::string&>();
            UINT flags = MF_OWNERDRAW | checkedIf(colourText == base);
            if (j > 0 && j % paletteColumn == 0) {
                flags |= MF_MENUBARBREAK;
            }
            // The palette lives for the run, so its text can travel as item data.
            AppendMenuW(theme, flags, CommandThemeFirst + j, reinterpret_cast<LPCWSTR>(colourText.c_str()));
        }
    }
    insertSubmenu(menu, position(), theme, text("menu.titlebar.theme", L"Theme color"));
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    item(checkedIf(booleanAt(document.json, {"window", "magnet", "monitor"}, true)), CommandMagnetMonitor,
         "menu.titlebar.magnetMonitor", L"Magnet monitor");
    item(checkedIf(booleanAt(document.json, {"window", "magnet", "note"}, true)), CommandMagnetSticky,
         "menu.titlebar.magnetSticky", L"Magnet sticky");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);

    HMENU groupMenu = CreatePopupMenu();
    HMENU moveMenu = CreatePopupMenu();
    const std::wstring ownGroup = app.groupGuidOfSticky(note_.guid);
    menuNotes_.clear();
    for (std::size_t g = 0; g < app.groups.size(); ++g) {
        const Group& group = app.groups[g];
        HMENU stickies = CreatePopupMenu();
        for (const auto& sticky : group.notes) {
            const std::size_t k = menuNotes_.size();
            if (k >= rangeSize) {
                break;
            }
            menuNotes_.push_back(sticky->stickyGuid());
            std::wstring title =
                menuItemText(app.noteTitle(static_cast<const Note&>(*sticky)), L"No. " + std::to_wstring(k));
            AppendMenuW(stickies, MF_STRING, showNoteFirst + k, title.c_str());
        }
        insertSubmenu(groupMenu, static_cast<UINT>(g), stickies, menuItemText(app.displayName(g)),
                      groupSubmenuFirst + static_cast<UINT>(g));
        if (static_cast<int>(g) <= moveToGroupLast - moveToGroupFirst) {
            AppendMenuW(moveMenu, MF_STRING | checkedIf(group.guid == ownGroup), moveToGroupFirst + g,
                        menuItemText(app.displayName(g)).c_str());
        }
    }
    insertSubmenu(menu, position(), groupMenu, text("menu.titlebar.group", L"Group"));
    insertSubmenu(menu, position(), moveMenu, text("menu.titlebar.moveGroup", L"Move to another group"));

    HMENU recover = CreatePopupMenu();
    app.trashMenuEntries = listTrash(app.folder());
    for (std::size_t i = 0; i < app.trashMenuEntries.size(); ++i) {
        AppendMenuW(recover, MF_STRING, recoverFirst + i,
                    menuItemText(app.trashMenuEntries[i].label, app.trashMenuEntries[i].name).c_str());
    }
    insertSubmenu(menu, position(), recover, text("menu.titlebar.recoverFromTrash", L"Recover from Trash"));
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    item(0, CommandEarlierVersions, "earlierVersions.menu", L"Earlier versions...");
    item(checkedIf(note_.bellShown), CommandRemind, "menu.titlebar.remind", L"Remind me...");
    if (withCancel) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        item(0, CommandCancel, "menu.common.cancel", L"Cancel");
    }
}

void TitleMenu::open(std::optional<POINT> at) {
    UniqueMenu bar = createMenuBarWithPopup();
    if (!bar) {
        return;
    }
    HMENU popup = GetSubMenu(bar.get(), 0);
    build(popup, true);
    const POINT place = menuPlace(at);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, place.x, place.y, 0, note_.window, nullptr);
}

bool TitleMenu::command(int id) {
    if (!note_.app) {
        return false;
    }
    NoteHost& app = *note_.app;
    NoteDocument& document = note_.document;
    if (id == CommandEarlierVersions) {
        app.showEarlierVersions(note_);
        return true;
    }
    if (id == CommandRemind) {
        const std::wstring own = note_.guid;
        app.openReminderDialog(own); // the sticky may go meanwhile (a change from elsewhere)
        return true;
    }
    if (id == CommandMagnetMonitor) {
        storeAt(document.json, {"window", "magnet", "monitor"},
                !booleanAt(document.json, {"window", "magnet", "monitor"}, true));
        note_.markChanged(SaveJson);
        return true;
    }
    if (id == CommandMagnetSticky) {
        const bool on = !booleanAt(document.json, {"window", "magnet", "note"}, true);
        storeAt(document.json, {"window", "magnet", "note"}, on);
        if (!on) {
            storeAt(document.json, {"window", "magnet", "stickNoteGuid"}, "");
        }
        note_.markChanged(SaveJson);
        return true;
    }
    if (id >= showNoteFirst && id < showNoteFirst + rangeSize) {
        const std::size_t k = static_cast<std::size_t>(id - showNoteFirst);
        if (k < menuNotes_.size()) {
            if (auto* note = static_cast<Note*>(app.stickyByGuid(menuNotes_[k]))) {
                note->showNote();
            }
        }
        return true;
    }
    if (id >= moveToGroupFirst && id <= moveToGroupLast) {
        const std::wstring target = app.groupGuidAt(static_cast<std::size_t>(id - moveToGroupFirst));
        const std::size_t index = static_cast<std::size_t>(id - moveToGroupFirst);
        if (index < app.groupCount() && target != app.groupGuidOfSticky(note_.guid)) {
            const std::wstring own = note_.guid;
            moveStickyToGroup(*note_.app, own, target);
        }
        return true;
    }
    if (id >= recoverFirst && id < recoverFirst + rangeSize) {
        app.recoverFromTrash(static_cast<std::size_t>(id - recoverFirst));
        return true;
    }
    return false;
}

void TitleMenu::onMenuLoop(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!note_.app) {
        return;
    }
    NoteHost& app = *note_.app;
    if (message == WM_ENTERMENULOOP) {
        savedThemeBase_ = note_.themeBase();
        return;
    }
    if (message == WM_EXITMENULOOP) {
        app.clearHighlight();
        // A previewed theme goes unless a colour was chosen (its command follows).
        note_.applyTheme(savedThemeBase_, true);
        return;
    }
    const int id = LOWORD(wParam);
    const bool isItem = !(HIWORD(wParam) & MF_POPUP) && !(HIWORD(wParam) == 0xFFFF && lParam == 0);
    std::wstring wanted = savedThemeBase_;
    if (isItem && id >= CommandThemeFirst && id <= CommandThemeLast) {
        if (std::optional<std::wstring> previewed = paletteText(id - CommandThemeFirst)) {
            wanted = *previewed;
        }
    }
    note_.applyTheme(wanted, true); // nothing happens when it is on already
    const std::size_t k = static_cast<std::size_t>(id - showNoteFirst);
    if (isItem && id >= showNoteFirst && id < showNoteFirst + rangeSize && k < menuNotes_.size()) {
        app.highlightSticky(menuNotes_[k]);
    } else if (isItem && id >= moveToGroupFirst && id <= moveToGroupLast) {
        app.highlightGroup(app.groupGuidAt(static_cast<std::size_t>(id - moveToGroupFirst)));
    } else {
        app.clearHighlight();
    }
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

std::optional<std::wstring> TitleMenu::paletteText(int index) const {
    if (!note_.app || index < 0) {
        return std::nullopt;
    }
    const Json* theme = findPath(note_.app->palette, {"theme"});
    if (!theme || !theme->is_array() || static_cast<size_t>(index) >= theme->size() ||
        !(*theme)[static_cast<size_t>(index)].is_string()) {
        return std::nullopt;
    }
    return utf8ToWide((*theme)[static_cast<size_t>(index)].get<std::string>());
}

bool TitleMenu::measureSwatch(MEASUREITEMSTRUCT* item) {
    if (!item || item->CtlType != ODT_MENU) {
        return false;
    }
    const bool theme = item->itemID >= CommandThemeFirst && item->itemID <= CommandThemeLast;
    item->itemWidth = static_cast<UINT>(note_.px(theme ? 58 : 34));
    item->itemHeight = static_cast<UINT>(note_.px(theme ? 22 : 19));
    return true;
}

bool TitleMenu::drawSwatch(const DRAWITEMSTRUCT* item) {
    if (!item || item->CtlType != ODT_MENU || !note_.app) {
        return false;
    }
    const int id = static_cast<int>(item->itemID);
    std::optional<std::wstring> text;
    if (id >= CommandThemeFirst && id <= CommandThemeLast) {
        text = paletteText(id - CommandThemeFirst);
    } else {
        // Text, back, pen and figure colours share the colour list.
        const int bases[] = {CommandTextColourFirst, CommandBackColourFirst, CommandStrokeColourFirst,
                             CommandFillColourFirst};
        for (int base : bases) {
            if (id >= base && id <= base + 300) {
                const std::vector<std::wstring>& colours = note_.app->colourList();
                if (static_cast<size_t>(id - base) < colours.size()) {
                    text = colours[static_cast<size_t>(id - base)];
                }
                break;
            }
        }
    }
    std::optional<Colour> colour = text ? parseColour(*text) : std::nullopt;
    if (!colour) {
        return false;
    }
    HDC dc = item->hDC;
    RECT swatch = item->rcItem;
    InflateRect(&swatch, -note_.px(4), -note_.px(4));
    const bool checked = item->itemState & ODS_CHECKED;
    const int corner = note_.px(8);
    UniquePen pen(CreatePen(PS_SOLID, note_.px(1, 1), GetSysColor(COLOR_MENUTEXT)));
    UniqueBrush fill(CreateSolidBrush(*colour));
    UniqueRegion swatchRegion;
    if (checked) {
        InflateRect(&swatch, -note_.px(2), -note_.px(1));
        swatchRegion.reset(
            CreateRoundRectRgn(swatch.left, swatch.top, swatch.right, swatch.bottom, corner, corner));
    } else {
        swatchRegion.reset(CreateRectRgn(swatch.left, swatch.top, swatch.right, swatch.bottom));
    }
    {
        ScopedSelect selectPen(dc, pen.get());
        ScopedSelect selectBrush(dc, fill.get());
        if (checked) {
            RoundRect(dc, swatch.left, swatch.top, swatch.right - 1, swatch.bottom - 1, corner, corner);
        } else {
            Rectangle(dc, swatch.left, swatch.top, swatch.right, swatch.bottom);
        }
    }
    const RECT& r = item->rcItem;
    UniqueRegion rest(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    if (rest && swatchRegion) {
        CombineRgn(rest.get(), rest.get(), swatchRegion.get(), RGN_DIFF);
        FillRgn(dc, rest.get(),
                GetSysColorBrush((item->itemState & ODS_SELECTED) ? COLOR_MENUHILIGHT : COLOR_MENUBAR));
    }
    return true;
}

} // namespace Brisvane
