// The title menu: every window setting of a sticky, its group and the trash,
// opened by a right click on the title bar; and the theme preview and sticky
// highlight while a menu of the sticky is open.
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

void Note::buildTitleMenu(HMENU menu, bool withCancel) {
    if (!app) {
        return;
    }
    auto text = [this](const char* key, const wchar_t* fallback) { return app->lookupText(key, fallback); };
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
    item(checkedIf(isAlwaysOnTop()), CommandAlwaysOnTop, "menu.titlebar.alwaysOnTop", L"Always on top");

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
        bool marked = !opacityDiffers(storedOpacity(), static_cast<float>(n) / 10.0f);
        AppendMenuW(opacity, MF_STRING | checkedIf(marked), CommandOpacityFirst + n - 1,
                    text(("menu.titlebar.opacity.level" + level).c_str(), fallback.c_str()).c_str());
    }
    insertSubmenu(menu, position(), opacity, text("menu.titlebar.opacity.name", L"Opacity"));

    const bool titleHidden = !booleanAt(document.json, {"window", "titlebar"}, true);
    item(checkedIf(titleEditing) | (titleHidden || document.flag("lock") ? MF_DISABLED | MF_GRAYED : 0),
         CommandEditTitle, "menu.titlebar.editTitle", L"Edit title");
    item(checkedIf(document.flag("lock")), CommandLock, "menu.titlebar.lock", L"Locked from editing");

    HMENU theme = CreatePopupMenu();
    const Json* palette = findPath(app->palette, {"theme"});
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
    const std::wstring ownGroup = app->groupGuidOfSticky(guid);
    menuNotes.clear();
    for (std::size_t g = 0; g < app->groups.size(); ++g) {
        const Group& group = app->groups[g];
        HMENU stickies = CreatePopupMenu();
        for (const auto& sticky : group.notes) {
            const std::size_t k = menuNotes.size();
            if (k >= rangeSize) {
                break;
            }
            menuNotes.push_back(sticky->stickyGuid());
            std::wstring title =
                menuItemText(app->noteTitle(static_cast<const Note&>(*sticky)), L"No. " + std::to_wstring(k));
            AppendMenuW(stickies, MF_STRING, showNoteFirst + k, title.c_str());
        }
        insertSubmenu(groupMenu, static_cast<UINT>(g), stickies, menuItemText(app->displayName(g)),
                      groupSubmenuFirst + static_cast<UINT>(g));
        if (static_cast<int>(g) <= moveToGroupLast - moveToGroupFirst) {
            AppendMenuW(moveMenu, MF_STRING | checkedIf(group.guid == ownGroup), moveToGroupFirst + g,
                        menuItemText(app->displayName(g)).c_str());
        }
    }
    insertSubmenu(menu, position(), groupMenu, text("menu.titlebar.group", L"Group"));
    insertSubmenu(menu, position(), moveMenu, text("menu.titlebar.moveGroup", L"Move to another group"));

    HMENU recover = CreatePopupMenu();
    app->trashMenuEntries = listTrash(app->folder());
    for (std::size_t i = 0; i < app->trashMenuEntries.size(); ++i) {
        AppendMenuW(recover, MF_STRING, recoverFirst + i,
                    menuItemText(app->trashMenuEntries[i].label, app->trashMenuEntries[i].name).c_str());
    }
    insertSubmenu(menu, position(), recover, text("menu.titlebar.recoverFromTrash", L"Recover from Trash"));
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    item(0, CommandEarlierVersions, "earlierVersions.menu", L"Earlier versions...");
    item(checkedIf(bellShown), CommandRemind, "menu.titlebar.remind", L"Remind me...");
    if (withCancel) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        item(0, CommandCancel, "menu.common.cancel", L"Cancel");
    }
}

void Note::openTitleMenu(std::optional<POINT> at) {
    UniqueMenu bar = createMenuBarWithPopup();
    if (!bar) {
        return;
    }
    HMENU popup = GetSubMenu(bar.get(), 0);
    buildTitleMenu(popup, true);
    const POINT place = menuPlace(at);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, place.x, place.y, 0, window, nullptr);
}

bool Note::titleMenuCommand(int id) {
    if (!app) {
        return false;
    }
    if (id == CommandEarlierVersions) {
        app->showEarlierVersions(*this);
        return true;
    }
    if (id == CommandRemind) {
        const std::wstring own = guid;
        app->openReminderDialog(own); // the sticky may go meanwhile (a change from elsewhere)
        return true;
    }
    if (id == CommandMagnetMonitor) {
        storeAt(document.json, {"window", "magnet", "monitor"},
                !booleanAt(document.json, {"window", "magnet", "monitor"}, true));
        markChanged(SaveJson);
        return true;
    }
    if (id == CommandMagnetSticky) {
        const bool on = !booleanAt(document.json, {"window", "magnet", "note"}, true);
        storeAt(document.json, {"window", "magnet", "note"}, on);
        if (!on) {
            storeAt(document.json, {"window", "magnet", "stickNoteGuid"}, "");
        }
        markChanged(SaveJson);
        return true;
    }
    if (id >= showNoteFirst && id < showNoteFirst + rangeSize) {
        const std::size_t k = static_cast<std::size_t>(id - showNoteFirst);
        if (k < menuNotes.size()) {
            if (auto* note = static_cast<Note*>(app->stickyByGuid(menuNotes[k]))) {
                note->showNote();
            }
        }
        return true;
    }
    if (id >= moveToGroupFirst && id <= moveToGroupLast) {
        const std::wstring target = app->groupGuidAt(static_cast<std::size_t>(id - moveToGroupFirst));
        const std::size_t index = static_cast<std::size_t>(id - moveToGroupFirst);
        if (index < app->groupCount() && target != app->groupGuidOfSticky(guid)) {
            const std::wstring own = guid;
            moveStickyToGroup(*app, own, target);
        }
        return true;
    }
    if (id >= recoverFirst && id < recoverFirst + rangeSize) {
        app->recoverFromTrash(static_cast<std::size_t>(id - recoverFirst));
        return true;
    }
    return false;
}

void Note::onMenuLoop(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!app) {
        return;
    }
    if (message == WM_ENTERMENULOOP) {
        savedThemeBase = themeBase();
        return;
    }
    if (message == WM_EXITMENULOOP) {
        app->clearHighlight();
        // A previewed theme goes unless a colour was chosen (its command follows).
        applyTheme(savedThemeBase, true);
        return;
    }
    const int id = LOWORD(wParam);
    const bool isItem = !(HIWORD(wParam) & MF_POPUP) && !(HIWORD(wParam) == 0xFFFF && lParam == 0);
    std::wstring wanted = savedThemeBase;
    if (isItem && id >= CommandThemeFirst && id <= CommandThemeLast) {
        if (std::optional<std::wstring> previewed = paletteText(id - CommandThemeFirst)) {
            wanted = *previewed;
        }
    }
    applyTheme(wanted, true); // nothing happens when it is on already
    const std::size_t k = static_cast<std::size_t>(id - showNoteFirst);
    if (isItem && id >= showNoteFirst && id < showNoteFirst + rangeSize && k < menuNotes.size()) {
        app->highlightSticky(menuNotes[k]);
    } else if (isItem && id >= moveToGroupFirst && id <= moveToGroupLast) {
        app->highlightGroup(app->groupGuidAt(static_cast<std::size_t>(id - moveToGroupFirst)));
    } else {
        app->clearHighlight();
    }
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

} // namespace Brisvane
