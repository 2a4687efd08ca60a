// The group manager: a working copy of the groups and their rules, written
// back only on OK.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "base/UniqueHandle_win.h"
#include "dialogs/DialogHost_win.h"
#include "dialogs/DialogCommon_win.h"
#include "dialogs/DialogIds.h"
#include "dialogs/Dialogs_win.h"
#include "dialogs/GroupManagerModel.h"
#include "storage/Guid.h"

namespace Brisvane {

namespace {

// Ids of the keyboard's cell menu, which offers every column at once: the
// column's own menu ids moved into a range per column.
constexpr int keyboardMenuStride = 40000;

struct GroupManagerState {
    explicit GroupManagerState(DialogHost& application) : app(application), model(application) {}
    DialogHost& app;
    GroupManagerModel model;
    bool filling = false; // the dialog itself is changing the name field
};

HWND rulesList(HWND dialog) {
    return GetDlgItem(dialog, IDC_GROUPS_RULES);
}

// Wide enough for the widest cell and for the header, whose text the list
// view's own header sizing may clip.
void fitColumns(HWND list) {
    constexpr int headerPadding = 16;
    for (int column = 0; column < RuleColumnCount; ++column) {
        wchar_t header[128] = {};
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT;
        info.pszText = header;
        info.cchTextMax = 128;
        ListView_GetColumn(list, column, &info);
        ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE);
        int width = std::max(ListView_GetColumnWidth(list, column),
                             ListView_GetStringWidth(list, header) + headerPadding);
        ListView_SetColumnWidth(list, column, width);
    }
}

void setCellText(HWND list, int item, int column, const std::wstring& text) {
    ListView_SetItemText(list, item, column, const_cast<wchar_t*>(text.c_str()));
}

void showRules(HWND dialog, GroupManagerState& state) {
    HWND list = rulesList(dialog);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    if (const GroupRow* row = state.model.selectedRow()) {
        for (int i = 0; i < static_cast<int>(row->rules.size()); ++i) {
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<wchar_t*>(row->rules[i][ColumnAction].text.c_str());
            ListView_InsertItem(list, &item);
            for (int column = 1; column < RuleColumnCount; ++column) {
                setCellText(list, i, column, row->rules[i][column].text);
            }
        }
    }
    fitColumns(list);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

// Group names are long: the list scrolls sideways to the widest.
void fitGroupList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_GROUPS_LIST);
    ScopedWindowDC dc(list);
    ScopedSelect font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    int widest = 0;
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        int length =
            static_cast<int>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data())));
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), std::max(length, 0), &size);
        widest = std::max(widest, static_cast<int>(size.cx));
    }
    SendMessageW(list, LB_SETHORIZONTALEXTENT, widest + 8, 0);
}

void showSelectedGroup(HWND dialog, GroupManagerState& state) {
    fitGroupList(dialog);
    SendDlgItemMessageW(dialog, IDC_GROUPS_LIST, LB_SETCURSEL, state.model.selected, 0);
    const GroupRow* row = state.model.selectedRow();
    state.filling = true;
    SetDlgItemTextW(dialog, IDC_GROUPS_NAME_EDIT, row ? row->name.c_str() : L"");
    state.filling = false;
    showRules(dialog, state);
}

void showCell(HWND dialog, GroupManagerState& state, int rule, int column) {
    const GroupRow* row = state.model.selectedRow();
    if (row && rule >= 0 && rule < static_cast<int>(row->rules.size())) {
        HWND list = rulesList(dialog);
        setCellText(list, rule, column, row->rules[rule][column].text);
        fitColumns(list);
    }
}

void initialize(HWND dialog, GroupManagerState& state) {
    const DialogHost& app = state.app;
    setDialogText(dialog, 0, app, "dialog.groupManager.title", L"Group manager");
    setDialogText(dialog, IDC_GROUPS_LIST_LABEL, app, "dialog.groupManager.group.name", L"Group", L'G');
    setDialogText(dialog, IDC_GROUPS_NEW, app, "dialog.groupManager.group.newGroup", L"New", L'N');
    setDialogText(dialog, IDC_GROUPS_REMOVE, app, "dialog.groupManager.group.removeGroup", L"Remove", L'V');
    setDialogText(dialog, IDC_GROUPS_NAME_LABEL, app, "dialog.groupManager.group.groupName", L"Group name",
                  L'M');
    setDialogText(dialog, IDC_GROUPS_RULES_LABEL, app, "dialog.groupManager.rule.name",
                  L"Rule (Right-click menu on each item)", L'U');
    setDialogText(dialog, IDC_GROUPS_ADD_RULE, app, "dialog.groupManager.rule.addRule", L"Add rule", L'A');
    setDialogText(dialog, IDC_GROUPS_REMOVE_RULE, app, "dialog.groupManager.rule.removeRule", L"Remove",
                  L'E');
    setDialogText(dialog, IDOK, app, "dialog.ok", L"OK");
    setDialogText(dialog, IDCANCEL, app, "dialog.cancel", L"Cancel");

    HWND list = rulesList(dialog);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (int column = 0; column < RuleColumnCount; ++column) {
        std::wstring header = state.model.columnHeader(column);
        LVCOLUMNW info{};
        info.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        info.fmt = column == ColumnDelay ? LVCFMT_RIGHT : LVCFMT_CENTER;
        info.cx = 60;
        info.pszText = header.data();
        ListView_InsertColumn(list, column, &info);
    }
    for (const GroupRow& row : state.model.rows) {
        SendDlgItemMessageW(dialog, IDC_GROUPS_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(row.name.c_str()));
    }
    showSelectedGroup(dialog, state);
}

// The list box line of the selected group follows its name as it is typed.
void renameSelected(HWND dialog, GroupManagerState& state) {
    if (state.filling || !state.model.rename(windowText(GetDlgItem(dialog, IDC_GROUPS_NAME_EDIT)))) {
        return;
    }
    HWND groups = GetDlgItem(dialog, IDC_GROUPS_LIST);
    int at = state.model.selected;
    SendMessageW(groups, LB_DELETESTRING, at, 0);
    SendMessageW(groups, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(state.model.rows[at].name.c_str()));
    SendMessageW(groups, LB_SETCURSEL, at, 0);
    fitGroupList(dialog);
}

HMENU buildCellMenu(const GroupManagerModel& model, int column, int idOffset) {
    HMENU menu = CreatePopupMenu();
    for (const CellMenuItem& item : model.cellMenu(column)) {
        if (item.id == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING | (item.newColumn ? MF_MENUBARBREAK : 0), item.id + idOffset,
                        item.text.c_str());
        }
    }
    return menu;
}

// Right click on a cell: its column's menu; the choice arrives as WM_COMMAND.
void showCellMenu(HWND dialog, GroupManagerState& state, const NMITEMACTIVATE& click) {
    if (click.iItem < 0 || click.iSubItem < 0 || click.iSubItem >= RuleColumnCount) {
        return;
    }
    state.model.clickedRule = click.iItem;
    state.model.clickedColumn = click.iSubItem;
    POINT at = click.ptAction;
    ClientToScreen(click.hdr.hwndFrom, &at);
    UniqueMenu menu(buildCellMenu(state.model, click.iSubItem, 0));
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, dialog, nullptr);
}

// The menu key or Shift+F10 on the rules: one sub-menu per column for the
// selected rule, so every cell can be set without a mouse.
void showKeyboardCellMenu(HWND dialog, GroupManagerState& state) {
    HWND list = rulesList(dialog);
    int rule = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (rule < 0) {
        return;
    }
    UniqueMenu menu(CreatePopupMenu());
    for (int column = 0; column < RuleColumnCount; ++column) {
        HMENU sub = buildCellMenu(state.model, column, (column + 1) * keyboardMenuStride - CellNoValue);
        AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub),
                    state.model.columnHeader(column).c_str());
    }
    RECT item{};
    ListView_GetItemRect(list, rule, &item, LVIR_BOUNDS);
    POINT at{item.left, item.bottom};
    ClientToScreen(list, &at);
    int chosen = TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, dialog, nullptr);
    if (chosen <= 0) {
        return;
    }
    state.model.clickedRule = rule;
    state.model.clickedColumn = chosen / keyboardMenuStride - 1;
    if (state.model.choose(chosen % keyboardMenuStride + CellNoValue)) {
        showCell(dialog, state, rule, state.model.clickedColumn);
    }
}

bool onCommand(HWND dialog, GroupManagerState& state, int id, int code) {
    GroupManagerModel& model = state.model;
    switch (id) {
    case IDOK:
        applyGroupManager(state.app, model);
        EndDialog(dialog, 1);
        return true;
    case IDCANCEL:
        EndDialog(dialog, 2);
        return true;
    case IDC_GROUPS_LIST:
        if (code == LBN_SELCHANGE) {
            model.select(static_cast<int>(SendDlgItemMessageW(dialog, IDC_GROUPS_LIST, LB_GETCURSEL, 0, 0)));
            showSelectedGroup(dialog, state);
        }
        return true;
    case IDC_GROUPS_NAME_EDIT:
        if (code == EN_CHANGE) {
            renameSelected(dialog, state);
        }
        return true;
    case IDC_GROUPS_NEW:
        if (model.newGroup(newGuidString())) {
            SendDlgItemMessageW(dialog, IDC_GROUPS_LIST, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(model.rows.back().name.c_str()));
            showSelectedGroup(dialog, state);
        }
        return true;
    case IDC_GROUPS_REMOVE: {
        int at = model.selected;
        if (model.removeGroup()) {
            SendDlgItemMessageW(dialog, IDC_GROUPS_LIST, LB_DELETESTRING, at, 0);
            showSelectedGroup(dialog, state);
        }
        return true;
    }
    case IDC_GROUPS_ADD_RULE:
        if (model.addRule()) {
            showRules(dialog, state);
            int last = static_cast<int>(model.selectedRow()->rules.size()) - 1;
            ListView_SetItemState(rulesList(dialog), last, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
            ListView_EnsureVisible(rulesList(dialog), last, FALSE);
        }
        return true;
    case IDC_GROUPS_REMOVE_RULE:
        if (model.removeRule(ListView_GetNextItem(rulesList(dialog), -1, LVNI_SELECTED))) {
            showRules(dialog, state);
        }
        return true;
    default:
        // A cell menu's choice for the remembered cell.
        if (id >= CellNoValue && model.choose(id)) {
            showCell(dialog, state, model.clickedRule, model.clickedColumn);
            return true;
        }
        return false;
    }
}

bool onNotify(HWND dialog, GroupManagerState& state, NMHDR* header) {
    if (header->idFrom != IDC_GROUPS_RULES) {
        return false;
    }
    auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
    if (header->code == NM_RCLICK) {
        showCellMenu(dialog, state, *click);
        return true;
    }
    if (header->code == NM_DBLCLK && state.model.toggle(click->iItem, click->iSubItem)) {
        showCell(dialog, state, click->iItem, click->iSubItem);
        return true;
    }
    return false;
}

} // namespace

INT_PTR CALLBACK groupManagerDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto state = std::make_unique<GroupManagerState>(*reinterpret_cast<DialogHost*>(lParam));
        GroupManagerState& ref = *state;
        attachState(dialog, std::move(state));
        initialize(dialog, ref);
        return TRUE;
    }
    auto* state = dialogState<GroupManagerState>(dialog);
    if (state == nullptr) {
        return FALSE;
    }
    switch (message) {
    case WM_COMMAND:
        return onCommand(dialog, *state, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return onNotify(dialog, *state, reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == rulesList(dialog) && lParam == -1) {
            showKeyboardCellMenu(dialog, *state);
            return TRUE;
        }
        return FALSE;
    case WM_NCDESTROY:
        releaseState<GroupManagerState>(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace Brisvane
