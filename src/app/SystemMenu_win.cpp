// The notification-area icon's menu, its commands and the modal bracket that
// every window it opens runs in.
#include <richedit.h>
#include <shellapi.h>

#include "app/Activity.h"
#include "app/TackaroonNotes_win.h"
#include "base/PopupMenu_win.h"
#include "dialogs/Dialogs_win.h"
#include "groups/RuleEngine.h"
#include "note/MenuText.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"
#include "storage/Guid.h"
#include "storage/Settings.h"

namespace Brisvane {

namespace {

enum SystemCommand : UINT {
    CommandTrashAll = 20000,
    CommandEmptyTrash = 20001,
    CommandGroupManager = 20002,
    CommandSearch = 20003,
    CommandGeneralSettings = 20004,
    CommandVersion = 20005,
    CommandHelp = 20006,
    CommandCloseApp = 20007,
    CommandNewInGroup = 21000,
    CommandShowSticky = 22000,
    CommandRecover = 23000,
    CommandRangeSize = 1000,
};

constexpr float dimmedHighlight = 0.01f;

void appendItem(HMENU menu, UINT id, const std::wstring& text) {
    AppendMenuW(menu, MF_STRING, id, text.c_str());
}

void appendSubmenu(HMENU menu, HMENU submenu, const std::wstring& text) {
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), text.c_str());
}

// A sticky's entry: its title, the start of its text, or its running number.
std::wstring stickyLabel(const Note& note, std::size_t number) {
    return menuItemText(note.hasWindows() ? noteTitleText(note.titleEdit, note.bodyEdit) : std::wstring(),
                        L"No. " + std::to_wstring(number));
}

} // namespace

UniqueMenu TackaroonNotes::buildSystemMenu() {
    UniqueMenu bar = createMenuBarWithPopup();
    if (!bar) {
        return bar;
    }
    HMENU popup = GetSubMenu(bar.get(), 0);

    HMENU create = CreatePopupMenu();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        appendItem(create, CommandNewInGroup + static_cast<UINT>(g), menuItemText(displayName(g)));
    }
    appendSubmenu(popup, create,
                  lookupText("menu.system.createNewStickyWithGroup", L"Select group and Create new Sticky"));

    HMENU all = CreatePopupMenu();
    menuStickies.clear();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        HMENU groupMenu = CreatePopupMenu();
        for (const auto& sticky : groups[g].notes) {
            const std::size_t i = menuStickies.size();
            if (i >= CommandRangeSize) {
                break;
            }
            menuStickies.push_back(sticky->stickyGuid());
            appendItem(groupMenu, CommandShowSticky + static_cast<UINT>(i),
                       stickyLabel(static_cast<const Note&>(*sticky), i));
        }
        appendSubmenu(all, groupMenu, menuItemText(displayName(g)));
    }
    appendSubmenu(popup, all, lookupText("menu.system.groupsAndStickies", L"Groups and Stickies"));
    appendItem(popup, CommandGroupManager, lookupText("menu.system.groupManager", L"Group manager..."));
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);

    HMENU recover = CreatePopupMenu();
    trashMenuEntries = listTrash(folder_);
    for (std::size_t t = 0; t < trashMenuEntries.size(); ++t) {
        appendItem(recover, CommandRecover + static_cast<UINT>(t),
                   menuItemText(trashMenuEntries[t].label, trashMenuEntries[t].name));
    }
    appendSubmenu(popup, recover, lookupText("menu.system.recoverFromTrash", L"Recover from Trash"));
    appendItem(popup, CommandTrashAll,
               lookupText("menu.system.trashAllStickies", L"Move all stickies to trash..."));
    appendItem(popup, CommandEmptyTrash, lookupText("menu.system.clearTrash", L"Empty the trash now..."));
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    appendItem(popup, CommandSearch, lookupText("menu.system.search", L"Search..."));
    appendItem(popup, CommandGeneralSettings,
               lookupText("menu.system.generalSettings", L"General settings..."));
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    appendItem(popup, CommandVersion, lookupText("menu.system.versionInfo", L"Version information..."));
    appendItem(popup, CommandHelp, lookupText("menu.system.help", L"Help"));
    AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
    appendItem(popup, CommandCloseApp, lookupText("menu.system.closeApp", L"Close application"));
    return bar;
}

void TackaroonNotes::showSystemMenu(POINT at) {
    UniqueMenu bar = buildSystemMenu();
    if (!bar) {
        return;
    }
    // Without the foreground the menu would not close on a click elsewhere,
    // and without the null message it would not open a second time.
    SetForegroundWindow(mainWindow);
    // Wine activates nothing when this thread has the foreground already, and
    // after a dialog closed with every sticky disabled the thread has no
    // active window: keys would reach no one and the menu would take none.
    if (GetActiveWindow() != mainWindow) {
        SetActiveWindow(mainWindow);
    }
    trayMenuGate_.opened();
    const UINT id = static_cast<UINT>(TrackPopupMenu(
        GetSubMenu(bar.get(), 0), TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, mainWindow, nullptr));
    PostMessageW(mainWindow, WM_NULL, 0, 0);
    trayMenuGate_.closed(GetTickCount());
    if (id != 0) {
        onCommand(id);
    }
    // Closed with Esc, or by a command that opened no window of its own: the
    // keyboard goes back to the notification area, where the user left it.
    if (mainWindow && GetForegroundWindow() == mainWindow) {
        NOTIFYICONDATAW icon{};
        icon.cbSize = sizeof icon;
        icon.hWnd = mainWindow;
        icon.uID = trayIconId;
        Shell_NotifyIconW(NIM_SETFOCUS, &icon);
    }
}

void TackaroonNotes::onTrayIcon(UINT event, UINT iconId, POINT at) {
    if (iconId != trayIconId) {
        return;
    }
    // A right click and Shift+F10 both arrive as WM_CONTEXTMENU; Enter and
    // Space on the selected icon as NIN_KEYSELECT.
    if (event == WM_CONTEXTMENU || (event == NIN_KEYSELECT && trayMenuGate_.keySelectOpens(GetTickCount()))) {
        showSystemMenu(at);
    } else if (event == WM_LBUTTONDBLCLK && !modalOpen) {
        onCommand(CommandNewInGroup); // a new sticky in the first group
    }
}

void TackaroonNotes::onMenuSelect(WPARAM wParam, LPARAM lParam) {
    const UINT item = LOWORD(wParam);
    const UINT flags = HIWORD(wParam);
    const bool closing = flags == 0xFFFF && lParam == 0;
    if (!closing && !(flags & MF_POPUP) && item >= CommandShowSticky &&
        item - CommandShowSticky < menuStickies.size()) {
        highlightSticky(menuStickies[item - CommandShowSticky]);
    } else {
        clearHighlight();
    }
}

void TackaroonNotes::highlightSticky(const std::wstring& noteGuid) {
    for (Sticky* sticky : allStickies()) {
        static_cast<Note*>(sticky)->setHighlightFactor(sticky->stickyGuid() == noteGuid ? 1.0f
                                                                                        : dimmedHighlight);
    }
}

void TackaroonNotes::highlightGroup(const std::wstring& groupGuid) {
    for (Group& group : groups) {
        for (const auto& sticky : group.notes) {
            static_cast<Note*>(sticky.get())
                ->setHighlightFactor(group.guid == groupGuid ? 1.0f : dimmedHighlight);
        }
    }
}

void TackaroonNotes::clearHighlight() {
    for (Sticky* sticky : allStickies()) {
        static_cast<Note*>(sticky)->setHighlightFactor(1.0f);
    }
}

void TackaroonNotes::setStickiesEnabled(bool enabled) {
    for (Sticky* sticky : allStickies()) {
        if (HWND window = static_cast<Note*>(sticky)->window) {
            EnableWindow(window, enabled);
        }
    }
}

void TackaroonNotes::enterModal() {
    if (searchDialog) {
        DestroyWindow(searchDialog);
        searchDialog = nullptr;
    }
    for (Group& group : groups) {
        resetRuleEffects(group);
    }
    rulesSuspended = true;
    setStickiesEnabled(false);
    modalOpen = true;
}

void TackaroonNotes::leaveModal() {
    modalOpen = false;
    setStickiesEnabled(true);
    rulesSuspended = false;
}

void TackaroonNotes::runModalDialog(int templateId, DLGPROC procedure) {
    enterModal();
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), nullptr, procedure,
                    dialogParameter(*this));
    leaveModal();
}

void TackaroonNotes::onCommand(UINT id) {
    auto confirm = [this](const char* textKey, const wchar_t* text, const char* titleKey,
                          const wchar_t* title) {
        std::wstring message = lookupText(textKey, text);
        std::wstring caption = lookupText(titleKey, title);
        enterModal();
        int answer = MessageBoxW(nullptr, message.c_str(), caption.c_str(),
                                 MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
        leaveModal();
        return answer == IDOK;
    };
    switch (id) {
    case CommandTrashAll:
        if (!modalOpen && confirm("dialog.trashAll.text",
                                  L"Are you sure you want to move all your sticky notes to the trash? \n"
                                  L"You can restore moved sticky notes at any time within the time limit.",
                                  "dialog.trashAll.title", L"Move all stickies to trash")) {
            moveAllToTrash();
        }
        return;
    case CommandEmptyTrash:
        if (!modalOpen && confirm("dialog.clearTrash.text",
                                  L"Would you like to move all sticky notes in the application trash to the "
                                  L"Windows trash?\n\nPress Shift and OK to delete them immediately without "
                                  L"going through the trash.",
                                  "dialog.clearTrash.title", L"Empty the trash now")) {
            // Read at the moment the box is accepted: a Shift pressed earlier
            // (a capital letter typed) must not make the deletion final.
            emptyTrash(keyDownNow(GetAsyncKeyState(VK_SHIFT)));
        }
        return;
    case CommandGroupManager:
        if (!modalOpen) {
            runModalDialog(groupManagerDialogId, groupManagerDialogProc);
        }
        return;
    case CommandSearch:
        if (!searchDialog) {
            searchDialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(searchDialogId),
                                              nullptr, searchDialogProc, dialogParameter(*this));
            if (searchDialog) {
                ShowWindow(searchDialog, SW_SHOW);
            }
        }
        return;
    case CommandGeneralSettings: {
        if (modalOpen) {
            return;
        }
        const int left = marginLeft(settings);
        const int right = marginRight(settings);
        runModalDialog(generalSettingsDialogId, generalSettingsDialogProc);
        for (Sticky* sticky : allStickies()) {
            static_cast<Note*>(sticky)->names.nameWindows(); // in the language chosen
        }
        if (left == marginLeft(settings) && right == marginRight(settings)) {
            return;
        }
        for (Sticky* sticky : allStickies()) {
            auto* note = static_cast<Note*>(sticky);
            if (!note->bodyEdit) {
                continue;
            }
            note->density.applyMargins();
            InvalidateRect(note->bodyEdit, nullptr, TRUE);
            UpdateWindow(note->bodyEdit);
            note->scrollBars.refresh();
        }
        return;
    }
    case CommandVersion:
        if (!modalOpen) {
            runModalDialog(versionDialogId, versionDialogProc);
        }
        return;
    case CommandHelp: {
        const std::wstring help = folder_ + L"help.html";
        ShellExecuteW(GetDesktopWindow(), L"open", help.c_str(), L"", L"", SW_SHOW);
        return;
    }
    case CommandCloseApp:
        DestroyWindow(mainWindow);
        return;
    default:
        break;
    }
    if (id >= CommandNewInGroup && id < CommandNewInGroup + CommandRangeSize) {
        const std::size_t g = id - CommandNewInGroup;
        const std::wstring noteGuid = newGuidString();
        if (g < groups.size() && loadNote(std::nullopt, noteGuid, groups[g].guid, true)) {
            markStickyChanged(noteGuid, SaveJson);
            markSettingsChanged();
        }
    } else if (id >= CommandShowSticky && id < CommandShowSticky + CommandRangeSize) {
        const std::size_t i = id - CommandShowSticky;
        if (i < menuStickies.size()) {
            if (auto* note = static_cast<Note*>(stickyByGuid(menuStickies[i]))) {
                note->showNote();
            }
        }
    } else if (id >= CommandRecover && id < CommandRecover + CommandRangeSize) {
        recoverFromTrash(id - CommandRecover);
    }
}

} // namespace Brisvane
