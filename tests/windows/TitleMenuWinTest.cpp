// The title menu of a sticky: its items and states, its commands, the theme
// preview while it is open, and magnet snapping during a drag.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "base/Colour.h"
#include "storage/TextCodec.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

const std::wstring guidA = L"6a6a6a6a-0000-4000-8000-00000000000a";
const std::wstring guidB = L"6b6b6b6b-0000-4000-8000-00000000000b";

std::string noteAt(int left, int top, const std::string& window = "") {
    return "{\"group\": {\"guid\": \"g1\"}, \"title\": \"Note\", \"window\": {\"position\": {\"left\": " +
           std::to_string(left) + ", \"top\": " + std::to_string(top) + ", \"width\": 200, \"height\": 150}" +
           window + "}}";
}

MENUITEMINFOW itemAt(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
    EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info)) << position;
    return info;
}

struct TitleMenuWin : ::testing::Test {
    AppFixture fixture;
    void SetUp() override {
        fixture.storeSettings(
            "{\"language\": \"English\", \"group\": [{\"guid\": \"g1\", \"name\": \"Work\"}, "
            "{\"guid\": \"g2\", \"name\": \"Home\"}]}");
    }
    // The title menu of a sticky, built without being shown.
    UniqueMenu menuOf(Note& note) {
        UniqueMenu menu(CreatePopupMenu());
        note.titleMenu.build(menu.get(), true);
        return menu;
    }
};

} // namespace

TEST_F(TitleMenuWin, ItemsAndStatesFollowTheSticky) {
    fixture.storeNote(
        guidA,
        noteAt(100, 100, ", \"opacity\": 0.3, \"fold\": true, \"alwaysOnTop\": true, \"shadow\": true"));
    fixture.storeNote(guidB, noteAt(400, 100, ", \"opacity\": 0.35, \"titlebar\": false"));
    fixture.start();
    Note* a = fixture.note(guidA);
    Note* b = fixture.note(guidB);
    ASSERT_TRUE(a && b);

    UniqueMenu menu = menuOf(*a);
    ASSERT_EQ(GetMenuItemCount(menu.get()), 25);
    const struct {
        UINT position;
        UINT id;
        bool checked;
    } items[] = {{0, 50, false}, {1, 51, false},  {3, 56, true},   {4, 53, false},  {5, 55, true},
                 {6, 52, true},  {7, 57, true},   {10, 61, false}, {11, 54, false}, {14, 64, true},
                 {15, 65, true}, {21, 62, false}, {22, 66, false}, {24, 10, false}};
    for (const auto& item : items) {
        MENUITEMINFOW info = itemAt(menu.get(), item.position);
        EXPECT_EQ(info.wID, item.id) << item.position;
        EXPECT_EQ((info.fState & MFS_CHECKED) != 0, item.checked) << item.position;
    }
    for (UINT separator : {2u, 13u, 16u, 20u, 23u}) {
        EXPECT_TRUE(itemAt(menu.get(), separator).fType & MFT_SEPARATOR) << separator;
    }
    EXPECT_FALSE(itemAt(menu.get(), 10).fState & MFS_DISABLED) << "Edit title can be chosen";

    // Opacity: 0.3 marks the 30 % item and nothing else.
    HMENU opacity = itemAt(menu.get(), 9).hSubMenu;
    ASSERT_EQ(GetMenuItemCount(opacity), 10);
    for (UINT n = 0; n < 10; ++n) {
        EXPECT_EQ(itemAt(opacity, n).wID, 500 + n);
        EXPECT_EQ((itemAt(opacity, n).fState & MFS_CHECKED) != 0, n == 2) << n;
    }
    // Theme colours: five columns of ten swatches, the current one marked.
    HMENU theme = itemAt(menu.get(), 12).hSubMenu;
    ASSERT_EQ(GetMenuItemCount(theme), 50);
    int columns = 1, marked = 0;
    for (UINT j = 0; j < 50; ++j) {
        MENUITEMINFOW info = itemAt(theme, j);
        EXPECT_EQ(info.wID, 600 + j);
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
        columns += (info.fType & MFT_MENUBARBREAK) ? 1 : 0;
        marked += (info.fState & MFS_CHECKED) ? 1 : 0;
    }
    EXPECT_EQ(columns, 5);
    EXPECT_EQ(marked, 0) << "the default theme is not in the palette";
    SendMessageW(a->window, WM_COMMAND, 602, 0);
    UniqueMenu chosen = menuOf(*a);
    HMENU themes = itemAt(chosen.get(), 12).hSubMenu;
    for (UINT j = 0; j < 50; ++j) {
        EXPECT_EQ((itemAt(themes, j).fState & MFS_CHECKED) != 0, j == 2) << j;
    }
    // Group: one submenu per group with its stickies; Move: the sticky's group marked.
    HMENU groupMenu = itemAt(menu.get(), 17).hSubMenu;
    ASSERT_EQ(GetMenuItemCount(groupMenu), 3);
    EXPECT_EQ(itemAt(groupMenu, 1).wID, 801u);
    HMENU work = itemAt(groupMenu, 0).hSubMenu;
    ASSERT_EQ(GetMenuItemCount(work), 2);
    EXPECT_EQ(itemAt(work, 1).wID, 1001u);
    HMENU move = itemAt(menu.get(), 18).hSubMenu;
    ASSERT_EQ(GetMenuItemCount(move), 3);
    EXPECT_TRUE(itemAt(move, 0).fState & MFS_CHECKED);
    EXPECT_FALSE(itemAt(move, 1).fState & MFS_CHECKED);

    // B: hidden title bar disables Edit title; 0.35 marks no opacity.
    menu = menuOf(*b);
    EXPECT_TRUE(itemAt(menu.get(), 10).fState & MFS_DISABLED);
    EXPECT_TRUE(itemAt(menu.get(), 4).fState & MFS_CHECKED) << "Hide titlebar";
    opacity = itemAt(menu.get(), 9).hSubMenu;
    for (UINT n = 0; n < 10; ++n) {
        EXPECT_FALSE(itemAt(opacity, n).fState & MFS_CHECKED) << n;
    }
    // A locked sticky cannot edit its title either.
    SendMessageW(a->window, WM_COMMAND, CommandLock, 0);
    menu = menuOf(*a);
    EXPECT_TRUE(itemAt(menu.get(), 10).fState & MFS_DISABLED);
    // Without Cancel for the embedding menus.
    UniqueMenu embedded(CreatePopupMenu());
    a->titleMenu.build(embedded.get(), false);
    EXPECT_EQ(GetMenuItemCount(embedded.get()), 23);
}

TEST_F(TitleMenuWin, CommandsChangeTheSticky) {
    fixture.storeNote(guidA, noteAt(100, 100));
    fixture.storeNote(guidB, noteAt(400, 100));
    fixture.start();
    Note* a = fixture.note(guidA);
    ASSERT_NE(a, nullptr);
    menuOf(*a);

    SendMessageW(a->window, WM_COMMAND, 64, 0);
    EXPECT_FALSE(booleanAt(a->document.json, {"window", "magnet", "monitor"}, true));
    a->document.json["window"]["magnet"]["stickNoteGuid"] = wideToUtf8(guidB);
    SendMessageW(a->window, WM_COMMAND, 65, 0);
    EXPECT_FALSE(booleanAt(a->document.json, {"window", "magnet", "note"}, true));
    EXPECT_EQ(stringAt(a->document.json, {"window", "magnet", "stickNoteGuid"}, "x"), "")
        << "switching off unlinks";

    // Moving to the group it is in changes nothing and asks for no save.
    fixture.app->clearPendingSaves();
    SendMessageW(a->window, WM_COMMAND, 3000, 0);
    EXPECT_TRUE(fixture.app->pendingSaves.empty());
    SendMessageW(a->window, WM_COMMAND, 3001, 0);
    EXPECT_EQ(fixture.app->groupGuidOfSticky(guidA), L"g2");
    EXPECT_EQ(stringAt(a->document.json, {"group", "guid"}, ""), "g2");

    // Past the end of its lists: nothing.
    SendMessageW(a->window, WM_COMMAND, 1999, 0);
    SendMessageW(a->window, WM_COMMAND, 13999, 0);

    // The × button's command moves the sticky to the trash.
    SendMessageW(a->window, WM_COMMAND, CommandTrash, 0);
    EXPECT_EQ(fixture.note(guidA), nullptr);
    EXPECT_TRUE(IsWindow(fixture.note(guidB)->window));
}

TEST_F(TitleMenuWin, ThemePreviewGoesWhenTheMenuClosesWithoutAChoice) {
    fixture.storeNote(guidA, noteAt(100, 100));
    fixture.storeNote(guidB, noteAt(400, 100));
    fixture.start();
    Note* a = fixture.note(guidA);
    ASSERT_NE(a, nullptr);
    UniqueMenu menu = menuOf(*a);
    const std::wstring stored = a->themeBase();
    auto shown = [a] { return formatColour(themeColour(a->themeColours, L"background")); };
    const std::wstring fifth = utf8ToWide(fixture.app->palette["theme"][5].get<std::string>());
    ASSERT_NE(fifth, stored);

    SendMessageW(a->window, WM_ENTERMENULOOP, TRUE, 0);
    SendMessageW(a->window, WM_MENUSELECT, MAKEWPARAM(605, MF_OWNERDRAW),
                 reinterpret_cast<LPARAM>(menu.get()));
    EXPECT_EQ(shown(), fifth) << "previewed";
    // Hovering a sticky of the Group submenu highlights it.
    SendMessageW(a->window, WM_MENUSELECT, MAKEWPARAM(1001, 0), reinterpret_cast<LPARAM>(menu.get()));
    EXPECT_EQ(shown(), stored);
    EXPECT_EQ(alphaOf(fixture.note(guidB)->window), 255);
    EXPECT_EQ(alphaOf(a->window), 2);
    SendMessageW(a->window, WM_MENUSELECT, MAKEWPARAM(607, MF_OWNERDRAW),
                 reinterpret_cast<LPARAM>(menu.get()));
    SendMessageW(a->window, WM_EXITMENULOOP, TRUE, 0);
    EXPECT_EQ(shown(), stored) << "restored";
    EXPECT_EQ(a->themeBase(), stored);
    EXPECT_EQ(alphaOf(a->window), 255);

    // A chosen colour stays.
    SendMessageW(a->window, WM_ENTERMENULOOP, TRUE, 0);
    SendMessageW(a->window, WM_MENUSELECT, MAKEWPARAM(605, MF_OWNERDRAW),
                 reinterpret_cast<LPARAM>(menu.get()));
    SendMessageW(a->window, WM_EXITMENULOOP, TRUE, 0);
    SendMessageW(a->window, WM_COMMAND, 605, 0);
    EXPECT_EQ(shown(), fifth);
    EXPECT_EQ(a->themeBase(), fifth);
}

TEST_F(TitleMenuWin, DraggingSnapsLinksAndCarries) {
    fixture.storeNote(guidA, noteAt(100, 100));
    fixture.storeNote(guidB, noteAt(400, 100));
    fixture.start();
    Note* a = fixture.note(guidA);
    Note* b = fixture.note(guidB);
    ASSERT_TRUE(a && b);
    // A's right edge comes 4 px short of B's left edge: it snaps and links.
    auto dragBy = [](Note* note, int dx, int dy) {
        SetCursorPos(300, 300);
        SendMessageW(note->window, WM_ENTERSIZEMOVE, 0, 0);
        SetCursorPos(300 + dx, 300 + dy);
        RECT r = rectOf(note->window);
        OffsetRect(&r, dx, dy);
        LRESULT replaced =
            SendMessageW(note->window, WM_MOVING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&r));
        if (replaced) {
            SetWindowPos(note->window, nullptr, r.left, r.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SendMessageW(note->window, WM_EXITSIZEMOVE, 0, 0);
        return r;
    };
    RECT r = dragBy(a, 96, 20);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 120);
    EXPECT_EQ(stringAt(a->document.json, {"window", "magnet", "stickNoteGuid"}, ""), wideToUtf8(guidB));

    // Dragging B carries A by the same offset; A stores where it went.
    dragBy(b, 50, 60);
    EXPECT_EQ(rectOf(b->window).left, 450);
    EXPECT_EQ(rectOf(a->window).left, 250);
    EXPECT_EQ(rectOf(a->window).top, 180);
    EXPECT_EQ(integerAt(a->document.json, {"window", "position", "left"}, 0), 250);

    // Dragging A away clears the link.
    dragBy(a, -80, 0);
    EXPECT_EQ(stringAt(a->document.json, {"window", "magnet", "stickNoteGuid"}, "x"), "");
    // With the magnet off nothing is replaced.
    SendMessageW(a->window, WM_COMMAND, 64, 0);
    SetCursorPos(300, 300);
    SendMessageW(a->window, WM_ENTERSIZEMOVE, 0, 0);
    RECT proposed = rectOf(a->window);
    EXPECT_EQ(SendMessageW(a->window, WM_MOVING, 0, reinterpret_cast<LPARAM>(&proposed)), FALSE);
}

TEST_F(TitleMenuWin, RightClickOnTheTitleBarOrALockedBodyOpensIt) {
    fixture.storeNote(guidA, noteAt(100, 100));
    fixture.start();
    Note* a = fixture.note(guidA);
    ASSERT_NE(a, nullptr);
    // The menu's own loop runs until this timer closes it, noting the first
    // item of the menu that was open: "New sticky" starts only the title menu.
    static UINT firstItem = 0;
    UINT_PTR closer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND popup = FindWindowW(L"#32768", nullptr);
        HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
        firstItem = menu ? GetMenuItemID(menu, 0) : 0;
        EndMenu();
    });
    auto opensTitleMenu = [](HWND target) {
        firstItem = 0;
        SendMessageW(target, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        return firstItem == CommandNew;
    };
    EXPECT_TRUE(opensTitleMenu(a->titleEdit));
    EXPECT_TRUE(opensTitleMenu(a->newButton));
    EXPECT_TRUE(opensTitleMenu(a->trashButton));
    EXPECT_FALSE(opensTitleMenu(a->bodyEdit)) << "an unlocked body opens the text menu";
    EXPECT_NE(firstItem, 0u) << "the text menu opened";
    SendMessageW(a->window, WM_COMMAND, CommandLock, 0);
    EXPECT_TRUE(opensTitleMenu(a->bodyEdit));
    KillTimer(nullptr, closer);
}
