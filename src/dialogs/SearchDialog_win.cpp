// The search dialog: finds a text in the bodies of all open stickies, lists
// the hits in a tree and selects a chosen hit in its sticky. It is modeless;
// the message loop routes its keyboard navigation.
#include "dialogs/SearchDialog_win.h"

#include <climits>
#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>

#include "dialogs/DialogHost_win.h"
#include "dialogs/DialogCommon_win.h"
#include "dialogs/DialogIds.h"
#include "dialogs/Dialogs_win.h"
#include "dialogs/SearchModel.h"
#include "groups/RuleEngine.h"
#include "note/Note_win.h"
#include "note/RichEdit_win.h"

namespace Brisvane {

namespace {

constexpr int treeIndent = 28;

struct SearchState {
    explicit SearchState(DialogHost& application) : app(application) {}
    DialogHost& app;
    // The last search: its text, its case switch and the stickies it went
    // through, in order; a top item holds its sticky's index in that list.
    std::wstring text;
    bool matchCase = false;
    std::vector<std::wstring> guids;
    // The sticky whose hit is selected; it is shown active while it is.
    std::wstring highlighted;
    bool filling = false;
};

HWND resultTree(HWND dialog) {
    return GetDlgItem(dialog, IDC_SEARCH_RESULTS);
}

Note* highlightedNote(const SearchState& state) {
    return state.highlighted.empty() ? nullptr
                                     : static_cast<Note*>(state.app.stickyByGuid(state.highlighted));
}

void makeInactive(SearchState& state) {
    if (Note* note = highlightedNote(state)) {
        setRuleExempt(state.app, *note, false, true);
    }
    state.highlighted.clear();
}

HTREEITEM insertItem(HWND tree, HTREEITEM parent, const std::wstring& text, LPARAM value) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.lParam = value;
    return TreeView_InsertItem(tree, &insert);
}

void search(HWND dialog, SearchState& state) {
    std::wstring text = windowText(GetDlgItem(dialog, IDC_SEARCH_TEXT));
    if (text.empty()) {
        return;
    }
    addSearchTerm(state.app, text);
    HWND tree = resultTree(dialog);
    state.filling = true;
    TreeView_DeleteAllItems(tree);
    state.filling = false;
    state.text = text;
    state.matchCase = IsDlgButtonChecked(dialog, IDC_SEARCH_CASE) == BST_CHECKED;
    state.guids.clear();
    for (Sticky* sticky : state.app.allStickies()) {
        auto& note = static_cast<Note&>(*sticky);
        state.guids.push_back(note.guid);
        std::vector<std::wstring> excerpts = findInNote(note, state.text, state.matchCase);
        if (excerpts.empty()) {
            continue;
        }
        std::wstring title = state.app.noteTitle(note) + L" (" + std::to_wstring(excerpts.size()) + L")";
        HTREEITEM top = insertItem(tree, TVI_ROOT, title, static_cast<LPARAM>(state.guids.size() - 1));
        for (std::size_t hit = 0; hit < excerpts.size(); ++hit) {
            insertItem(tree, top, excerpts[hit], static_cast<LPARAM>(hit));
        }
        TreeView_Expand(tree, top, TVE_EXPAND);
    }
    if (HTREEITEM first = TreeView_GetRoot(tree)) {
        TreeView_EnsureVisible(tree, first);
    }
}

// A hit chosen in the tree: its sticky comes forward, active, with the hit selected.
void selectHit(HWND dialog, SearchState& state, HTREEITEM item, LPARAM ordinal) {
    HWND tree = resultTree(dialog);
    TVITEMW parent{};
    parent.mask = TVIF_PARAM;
    parent.hItem = TreeView_GetParent(tree, item);
    if (!TreeView_GetItem(tree, &parent) || parent.lParam < 0 ||
        static_cast<std::size_t>(parent.lParam) >= state.guids.size()) {
        return;
    }
    const std::wstring guid = state.guids[static_cast<std::size_t>(parent.lParam)];
    auto* note = static_cast<Note*>(state.app.stickyByGuid(guid));
    if (note == nullptr || !note->hasWindows()) {
        return; // closed or deleted since the search
    }
    if (state.highlighted != guid) {
        makeInactive(state);
        state.highlighted = guid;
    }
    if (!note->isActive()) {
        setRuleExempt(state.app, *note, true, true);
    }
    // Just behind the dialog, which keeps the keyboard; a sticky kept on top stays there.
    if (!(GetWindowLongW(note->window, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        SetWindowPos(note->window, dialog, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    std::vector<CHARRANGE> hits = findHits(note->bodyEdit, state.text, state.matchCase);
    if (ordinal >= 0 && static_cast<std::size_t>(ordinal) < hits.size()) {
        const CHARRANGE& hit = hits[static_cast<std::size_t>(ordinal)];
        SendMessageW(note->bodyEdit, EM_SETSEL, hit.cpMin, hit.cpMax);
        SendMessageW(note->bodyEdit, EM_SCROLLCARET, 0, 0);
        note->scrollBars.refresh();
    }
}

void onSelectionChanged(HWND dialog, SearchState& state, const NMTREEVIEWW& change) {
    if (state.filling || change.itemNew.hItem == nullptr) {
        return;
    }
    if (TreeView_GetParent(resultTree(dialog), change.itemNew.hItem) == nullptr) {
        makeInactive(state);
        return;
    }
    TVITEMW item{};
    item.mask = TVIF_PARAM;
    item.hItem = change.itemNew.hItem;
    if (TreeView_GetItem(resultTree(dialog), &item)) {
        selectHit(dialog, state, change.itemNew.hItem, item.lParam);
    }
}

// Leaving the dialog for anything but the highlighted sticky ends the sticky's
// active state quietly; coming back restores it.
void onActivate(SearchState& state, bool active, HWND other) {
    Note* note = highlightedNote(state);
    if (note == nullptr) {
        return;
    }
    if (!active) {
        if (other == nullptr || GetAncestor(other, GA_ROOT) != note->window) {
            setRuleExempt(state.app, *note, false, false);
        }
    } else if (!note->isActive()) {
        setRuleExempt(state.app, *note, true, true);
    }
}

void initialize(HWND dialog, SearchState& state) {
    const DialogHost& app = state.app;
    setDialogText(dialog, 0, app, "dialog.search.title", L"Search");
    setDialogText(dialog, IDC_SEARCH_CASE, app, "dialog.search.case", L"Case sensitive", L'C');
    setDialogText(dialog, IDC_SEARCH_SEARCH, app, "dialog.search.search", L"Search", L'S');
    setDialogText(dialog, IDC_SEARCH_CLOSE, app, "dialog.search.close", L"Close", L'L');
    HWND combo = GetDlgItem(dialog, IDC_SEARCH_TEXT);
    for (const std::wstring& term : searchTerms(app)) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(term.c_str()));
    }
    TreeView_SetIndent(resultTree(dialog), treeIndent);
}

} // namespace

std::vector<CHARRANGE> findHits(HWND body, const std::wstring& text, bool matchCase) {
    std::vector<CHARRANGE> hits;
    FINDTEXTEXW find{};
    find.chrg = {0, -1};
    find.lpstrText = text.c_str();
    WPARAM flags = FR_DOWN | (matchCase ? FR_MATCHCASE : 0);
    while (!text.empty() && SendMessageW(body, EM_FINDTEXTEXW, flags, reinterpret_cast<LPARAM>(&find)) >= 0 &&
           find.chrgText.cpMax > find.chrg.cpMin) {
        hits.push_back(find.chrgText);
        find.chrg.cpMin = find.chrgText.cpMax;
    }
    return hits;
}

std::vector<std::wstring> findInNote(const Note& note, const std::wstring& text, bool matchCase) {
    std::vector<std::wstring> excerpts;
    if (!note.hasWindows()) {
        return excerpts;
    }
    std::vector<CHARRANGE> hits = findHits(note.bodyEdit, text, matchCase);
    if (hits.empty()) {
        return excerpts;
    }
    // The text object model counts characters as the search does.
    std::wstring body = rangeText(note.bodyEdit, 0, LONG_MAX).value_or(std::wstring());
    for (const CHARRANGE& hit : hits) {
        excerpts.push_back(
            excerptText(body, static_cast<std::size_t>(hit.cpMin), static_cast<std::size_t>(hit.cpMax)));
    }
    return excerpts;
}

INT_PTR CALLBACK searchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto state = std::make_unique<SearchState>(*reinterpret_cast<DialogHost*>(lParam));
        initialize(dialog, *state);
        attachState(dialog, std::move(state));
        return TRUE;
    }
    auto* state = dialogState<SearchState>(dialog);
    if (state == nullptr) {
        return FALSE;
    }
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
        case IDC_SEARCH_SEARCH:
            search(dialog, *state);
            return TRUE;
        case IDCANCEL:
        case IDC_SEARCH_CLOSE:
            DestroyWindow(dialog);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == IDC_SEARCH_RESULTS && header->code == TVN_SELCHANGEDW) {
            onSelectionChanged(dialog, *state, *reinterpret_cast<NMTREEVIEWW*>(lParam));
            return TRUE;
        }
        return FALSE;
    }
    case WM_ACTIVATE:
        onActivate(*state, LOWORD(wParam) != WA_INACTIVE, reinterpret_cast<HWND>(lParam));
        return FALSE;
    case WM_DESTROY:
        // However the dialog goes (its button, a modal box, the program's
        // end), the sticky it highlighted is under its group's rules again.
        makeInactive(*state);
        if (state->app.searchDialog == dialog) {
            state->app.searchDialog = nullptr;
        }
        return FALSE;
    case WM_NCDESTROY:
        releaseState<SearchState>(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace Brisvane
