// The dialogs built from their templates, opened the way the system menu opens
// them (the application object as parameter) and driven with messages.
#include <gtest/gtest.h>

#include <cwctype>

#include <windows.h>

#include <commctrl.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "AppFixture.h"
#include "StoredNotes.h"
#include "dialogs/DialogIds.h"
#include "dialogs/Dialogs_win.h"
#include "dialogs/SearchDialog_win.h"
#include "dialogs/SearchModel.h"
#include "storage/File_win.h"
#include "storage/Settings.h"
#include "storage/Startup_win.h"
#include "storage/TextCodec.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

// A shortcut in the Startup folder to any target, as another copy would leave it.
void writeShortcut(const std::wstring& target) {
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    ASSERT_TRUE(
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))));
    Microsoft::WRL::ComPtr<IPersistFile> file;
    ASSERT_TRUE(SUCCEEDED(link->SetPath(target.c_str())));
    ASSERT_TRUE(SUCCEEDED(link.As(&file)));
    ASSERT_TRUE(SUCCEEDED(file->Save(startupShortcutPath().c_str(), TRUE)));
}

std::wstring itemText(HWND dialog, int id) {
    wchar_t text[512] = {};
    GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

// A control's rectangle in the dialog's units.
RECT dialogUnits(HWND dialog, int id) {
    RECT r = rectOf(GetDlgItem(dialog, id));
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    RECT unit{0, 0, 400, 800};
    MapDialogRect(dialog, &unit);
    return {MulDiv(r.left, 400, unit.right), MulDiv(r.top, 800, unit.bottom),
            MulDiv(r.right - r.left, 400, unit.right), MulDiv(r.bottom - r.top, 800, unit.bottom)};
}

void expectPlaced(HWND dialog, int id, int x, int y, int w, int h) {
    RECT r = dialogUnits(dialog, id);
    EXPECT_NEAR(r.left, x, 1) << id;
    EXPECT_NEAR(r.top, y, 1) << id;
    EXPECT_NEAR(r.right, w, 1) << id;
    EXPECT_NEAR(r.bottom, h, 1) << id;
}

struct Dialogs : ::testing::Test {
    AppFixture fixture;
    HWND dialog = nullptr;

    void TearDown() override {
        if (dialog && IsWindow(dialog)) {
            DestroyWindow(dialog);
        }
    }

    // The modal dialogs are opened modeless here, so the test can drive them.
    HWND open(int id, DLGPROC procedure) {
        dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), nullptr, procedure,
                                    dialogParameter(*fixture.app));
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }

    void press(int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

    std::string settingsFile() const { return readBytes(fixture.temp.path() + L"settings.json"); }
};

} // namespace

TEST_F(Dialogs, VersionShowsFixedValuesAndLinks) {
    fixture.storeSettings(R"({"language": "English"})");
    fixture.start();
    open(versionDialogId, versionDialogProc);
    wchar_t caption[100];
    GetWindowTextW(dialog, caption, 100);
    EXPECT_STREQ(caption, L"Version information");
    EXPECT_EQ(itemText(dialog, IDC_VERSION_NAME), L"Tackaroon notes");
    EXPECT_EQ(itemText(dialog, IDC_VERSION_VERSION), L"1.16.1");
    EXPECT_EQ(itemText(dialog, IDC_VERSION_AUTHOR), L"Brisvane Software");
    EXPECT_EQ(itemText(dialog, IDC_VERSION_MAIL_LABEL), L"Mail address:");
    LITEM link{};
    link.mask = LIF_ITEMINDEX | LIF_URL;
    ASSERT_TRUE(
        SendDlgItemMessageW(dialog, IDC_VERSION_MAIL, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&link)));
    EXPECT_STREQ(link.szUrl, L"mailto:support@brisvane.example");
    expectPlaced(dialog, IDC_VERSION_NAME, 137, 7, 123, 14);
    expectPlaced(dialog, IDC_VERSION_SITE, 136, 68, 200, 11);
    expectPlaced(dialog, IDOK, 271, 7, 65, 14);
    EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, IDC_VERSION_NAME), GWL_STYLE) & ES_READONLY);
}

TEST_F(Dialogs, SettingsOkWritesOnlyWhatChanged) {
    fixture.storeSettings(R"({"language": "English", "autoSave": {"available": true, "elapse": 1}})");
    fixture.start();
    std::string before = settingsFile();

    open(generalSettingsDialogId, generalSettingsDialogProc);
    EXPECT_EQ(itemText(dialog, IDC_SETTINGS_LANGUAGE), L"English");
    EXPECT_EQ(itemText(dialog, IDC_SETTINGS_FONT), L"16");
    EXPECT_EQ(itemText(dialog, IDC_SETTINGS_LEFT_LABEL), L"L&eft");
    expectPlaced(dialog, IDC_SETTINGS_STARTUP, 245, 22, 113, 14);
    press(IDOK);
    EXPECT_FALSE(fixture.app->settingsDirty);
    DestroyWindow(dialog);

    open(generalSettingsDialogId, generalSettingsDialogProc);
    // Typed into the field: the spin control reads its buddy.
    SetDlgItemTextW(dialog, IDC_SETTINGS_FONT, L"24");
    SendDlgItemMessageW(dialog, IDC_SETTINGS_TRASH_SPIN, UDM_SETPOS32, 0, 5000); // beyond the range
    press(IDOK);
    EXPECT_TRUE(fixture.app->settingsDirty);
    EXPECT_EQ(fontSize(fixture.app->settings), 24);
    EXPECT_EQ(trashDeadline(fixture.app->settings), 1000);
    pumpMessages(1300);
    Json stored = parseJson(settingsFile());
    EXPECT_EQ(integerAt(stored, {"font", "size"}, 0), 24) << "written by auto-save";
    EXPECT_NE(settingsFile(), before);
}

TEST_F(Dialogs, StartupButtonTogglesTheShortcut) {
    fixture.start();
    std::wstring shortcut = startupShortcutPath();
    ASSERT_FALSE(shortcut.empty());
    setStartupRegistered(false);
    ASSERT_FALSE(isStartupRegistered());

    open(generalSettingsDialogId, generalSettingsDialogProc);
    std::wstring initial = itemText(dialog, IDC_SETTINGS_STARTUP);
    EXPECT_EQ(initial, L"Register for &Startup");
    press(IDC_SETTINGS_STARTUP);
    EXPECT_TRUE(isFile(shortcut));
    EXPECT_TRUE(isStartupRegistered());
    EXPECT_EQ(itemText(dialog, IDC_SETTINGS_STARTUP), L"Unregister for &Startup");
    press(IDC_SETTINGS_STARTUP);
    EXPECT_FALSE(isStartupRegistered());
    EXPECT_FALSE(isFile(shortcut));
    EXPECT_EQ(itemText(dialog, IDC_SETTINGS_STARTUP), initial);
}

TEST_F(Dialogs, OnlyAShortcutToThisCopyIsARegistration) {
    fixture.start();
    std::wstring target = startupTarget();
    ASSERT_GT(target.size(), 4u);
    writeShortcut(L"C:\\elsewhere\\Tackaroon notes.exe");
    EXPECT_FALSE(isStartupRegistered());
    for (wchar_t& c : target) {
        c = static_cast<wchar_t>(towupper(c));
    }
    writeShortcut(target);
    EXPECT_TRUE(isStartupRegistered()) << "letter case aside";
    setStartupRegistered(false);
    EXPECT_FALSE(isStartupRegistered());
}

TEST_F(Dialogs, GroupManagerShowsGroupsAndRulesAndAppliesOnOk) {
    fixture.storeSettings(R"({"language": "English", "group": [
        {"guid": "g1", "name": "Work", "rule": [{"action": "input", "delay": 1200000, "reset": true, "fold": true}]},
        {"guid": "g2", "name": "${name0}", "rule": []}]})");
    fixture.start();
    open(groupManagerDialogId, groupManagerDialogProc);
    HWND groups = GetDlgItem(dialog, IDC_GROUPS_LIST);
    EXPECT_EQ(SendMessageW(groups, LB_GETCOUNT, 0, 0), 2) << "the uncategorized group is not listed";
    EXPECT_EQ(itemText(dialog, IDC_GROUPS_NAME_EDIT), L"Work");
    RECT visible{};
    GetClientRect(groups, &visible);
    EXPECT_GT(SendMessageW(groups, LB_GETHORIZONTALEXTENT, 0, 0), visible.right)
        << "a long default name scrolls";
    expectPlaced(dialog, IDC_GROUPS_RULES, 109, 54, 313, 104);
    HWND rules = GetDlgItem(dialog, IDC_GROUPS_RULES);
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(rules)), 8);
    wchar_t cell[100] = {};
    ListView_GetItemText(rules, 0, 1, cell, 100);
    EXPECT_STREQ(cell, L"20 m");
    ListView_GetItemText(rules, 0, 5, cell, 100);
    EXPECT_STREQ(cell, L"True");
    EXPECT_GT(ListView_GetColumnWidth(rules, 2), 20) << "sized to its header";

    press(IDC_GROUPS_ADD_RULE);
    EXPECT_EQ(ListView_GetItemCount(rules), 2);
    // A cell menu's choice, as the dialog receives it.
    NMITEMACTIVATE click{};
    click.hdr = {rules, IDC_GROUPS_RULES, static_cast<UINT>(NM_DBLCLK)};
    click.iItem = 1;
    click.iSubItem = 6;
    SendMessageW(dialog, WM_NOTIFY, IDC_GROUPS_RULES, reinterpret_cast<LPARAM>(&click));
    ListView_GetItemText(rules, 1, 6, cell, 100);
    EXPECT_STREQ(cell, L"True");

    SetDlgItemTextW(dialog, IDC_GROUPS_NAME_EDIT, L"Work two");
    press(IDC_GROUPS_NEW);
    EXPECT_EQ(SendMessageW(groups, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(itemText(dialog, IDC_GROUPS_NAME_EDIT), L"(Untitled)");
    press(IDOK);
    ASSERT_EQ(fixture.app->groups.size(), 4u);
    EXPECT_EQ(fixture.app->groups[0].name, L"Work two");
    EXPECT_EQ(fixture.app->groups[0].rules.size(), 2u);
    EXPECT_EQ(fixture.app->groups[1].name, L"${name0}");
    EXPECT_EQ(fixture.app->groups[2].name, L"(Untitled)");
    EXPECT_TRUE(fixture.app->settingsDirty);
}

TEST_F(Dialogs, GroupManagerCancelChangesNothing) {
    fixture.storeSettings(
        R"({"language": "English", "group": [{"guid": "g1", "name": "Work", "rule": []}]})");
    fixture.start();
    open(groupManagerDialogId, groupManagerDialogProc);
    press(IDC_GROUPS_REMOVE);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_GROUPS_LIST, LB_GETCOUNT, 0, 0), 0);
    press(IDCANCEL);
    ASSERT_EQ(fixture.app->groups.size(), 2u);
    EXPECT_EQ(fixture.app->groups[0].guid, L"g1");
    EXPECT_FALSE(fixture.app->settingsDirty);
}

TEST_F(Dialogs, SearchListsHitsPerStickyAndSelectsThem) {
    fixture.storeSettings(R"({"language": "English", "search": {"recently": ["older"]}})");
    fixture.storeNote(guidA, noteAt(100, "First"), "{\\rtf1 apple pie and apple tart}");
    fixture.storeNote(guidB, noteAt(350, "Second"), "{\\rtf1 Apple juice}");
    fixture.storeNote(guidC, noteAt(600, "Third"), "{\\rtf1 pears only}");
    fixture.start();
    dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(searchDialogId), nullptr,
                                searchDialogProc, dialogParameter(*fixture.app));
    ASSERT_NE(dialog, nullptr);
    fixture.app->searchDialog = dialog;
    EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongW(dialog, GWL_STYLE) & WS_SYSMENU);
    expectPlaced(dialog, IDC_SEARCH_RESULTS, 7, 42, 277, 75);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_SEARCH_TEXT, CB_GETCOUNT, 0, 0), 1) << "the history";

    SetDlgItemTextW(dialog, IDC_SEARCH_TEXT, L"apple");
    press(IDC_SEARCH_SEARCH);
    HWND tree = GetDlgItem(dialog, IDC_SEARCH_RESULTS);
    EXPECT_EQ(TreeView_GetCount(tree), 5u) << "two stickies with hits, three hits";
    HTREEITEM first = TreeView_GetRoot(tree);
    wchar_t text[200] = {};
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 200;
    item.hItem = first;
    TreeView_GetItem(tree, &item);
    EXPECT_STREQ(text, L"First (2)");
    item.hItem = TreeView_GetChild(tree, first);
    TreeView_GetItem(tree, &item);
    EXPECT_STREQ(text, L"apple pie") << "a hit at the start of the body";
    EXPECT_EQ(searchTerms(*fixture.app).front(), L"apple");

    // The second hit of the first sticky: selected in its body, the sticky active.
    TreeView_SelectItem(tree, TreeView_GetNextSibling(tree, TreeView_GetChild(tree, first)));
    Note* a = fixture.note(guidA);
    CHARRANGE selection{};
    SendMessageW(a->bodyEdit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    EXPECT_EQ(selection.cpMin, 14);
    EXPECT_EQ(selection.cpMax, 19);
    EXPECT_TRUE(a->isActive());
    // Another window takes over: the flag goes quietly, and comes back with the dialog.
    SendMessageW(dialog, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(a->isActive());
    SendMessageW(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(a->isActive());
    TreeView_SelectItem(tree, first);
    EXPECT_FALSE(a->isActive()) << "a sticky's own item ends the highlight";

    CheckDlgButton(dialog, IDC_SEARCH_CASE, BST_CHECKED);
    press(IDC_SEARCH_SEARCH);
    EXPECT_EQ(TreeView_GetCount(tree), 3u) << "case sensitive: only the first sticky";
    SetDlgItemTextW(dialog, IDC_SEARCH_TEXT, L"missing");
    press(IDC_SEARCH_SEARCH);
    EXPECT_EQ(TreeView_GetCount(tree), 0u);
    EXPECT_EQ(searchTerms(*fixture.app).front(), L"missing");

    press(IDC_SEARCH_CLOSE);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(fixture.app->searchDialog, nullptr);

    // A modal box closes the dialog: the highlighted sticky is under its
    // group's rules again at once.
    dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(searchDialogId), nullptr,
                                searchDialogProc, dialogParameter(*fixture.app));
    fixture.app->searchDialog = dialog;
    SetDlgItemTextW(dialog, IDC_SEARCH_TEXT, L"apple");
    press(IDC_SEARCH_SEARCH);
    tree = GetDlgItem(dialog, IDC_SEARCH_RESULTS);
    TreeView_SelectItem(tree, TreeView_GetChild(tree, TreeView_GetRoot(tree)));
    ASSERT_TRUE(a->isActive());
    fixture.app->enterModal();
    fixture.app->leaveModal();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(a->isActive());
}
