// The notification-area icon's menu: its items for groups, stickies and the
// trash, the highlight while it is open, and the commands with their confirmations.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "storage/File_win.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

const std::wstring guidA = L"5a5a5a5a-0000-4000-8000-00000000000a";
const std::wstring guidB = L"5b5b5b5b-0000-4000-8000-00000000000b";
const std::wstring guidC = L"5c5c5c5c-0000-4000-8000-00000000000c";

std::string noteIn(const std::string& group, const std::string& title, int left) {
    return "{\"group\": {\"guid\": \"" + group + "\"}, \"title\": \"" + title +
           "\", \"window\": {\"position\": {\"left\": " + std::to_string(left) +
           ", \"top\": 100, \"width\": 150, \"height\": 120}}}";
}

struct ItemInfo {
    UINT id = 0;
    UINT type = 0;
    UINT state = 0;
    HMENU submenu = nullptr;
    std::wstring text;
};

ItemInfo itemAt(HMENU menu, UINT position) {
    wchar_t text[300] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 299;
    EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info)) << position;
    return {info.wID, info.fType, info.fState, info.hSubMenu, text};
}

// Answers the next message box of this thread with `answer`, noting what the
// program's state was while it was up.
struct BoxAnswer {
    static inline int answer = IDCANCEL;
    static inline bool sawModal = false;
    static inline bool sawDisabledSticky = false;
    static inline BYTE sawAlpha = 0;
    static inline TackaroonNotes* app = nullptr;
    static inline HWND sticky = nullptr;
    static inline bool holdShift = false;

    static void pressShift(bool down) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_SHIFT;
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof input);
    }

    static BOOL CALLBACK answerBox(HWND window, LPARAM) {
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (lstrcmpW(name, L"#32770") == 0 && IsWindowVisible(window)) {
            sawModal = app && app->modalOpen && app->rulesSuspended;
            sawDisabledSticky = sticky && !IsWindowEnabled(sticky);
            sawAlpha = sticky ? alphaOf(sticky) : 0;
            if (holdShift) {
                pressShift(true);
            }
            PostMessageW(window, WM_COMMAND, answer, 0);
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), answerBox, 0);
    }
    static void arm(int reply, TackaroonNotes* application, HWND window, bool shift = false) {
        answer = reply;
        holdShift = shift;
        sawModal = sawDisabledSticky = false;
        app = application;
        sticky = window;
    }
};

struct SystemMenu : ::testing::Test {
    AppFixture fixture;
    UINT_PTR answerTimer = 0;
    void SetUp() override {
        fixture.storeSettings("{\"language\": \"English\", \"group\": [{\"guid\": \"g1\", \"name\": "
                              "\"Work\"}, {\"guid\": \"g2\", "
                              "\"name\": \"Home\"}]}");
        fixture.storeNote(guidA, noteIn("g1", "", 100));
        fixture.storeNote(guidB, noteIn("g1", "Second", 300));
        fixture.storeNote(guidC, noteIn("g2", "Third", 500));
        fixture.start();
        answerTimer = SetTimer(nullptr, 0, 100, BoxAnswer::onTimer);
    }
    void TearDown() override { KillTimer(nullptr, answerTimer); }
};

} // namespace

TEST_F(SystemMenu, ItemsForGroupsStickiesAndCommands) {
    UniqueMenu bar = fixture.app->buildSystemMenu();
    ASSERT_TRUE(bar);
    HMENU popup = GetSubMenu(bar.get(), 0);
    ASSERT_EQ(GetMenuItemCount(popup), 15);

    HMENU create = itemAt(popup, 0).submenu;
    ASSERT_EQ(GetMenuItemCount(create), 3);
    const wchar_t* groupNames[] = {L"Work", L"Home", L"(Uncategorized)"};
    for (UINT g = 0; g < 3; ++g) {
        EXPECT_EQ(itemAt(create, g).id, 21000 + g);
        EXPECT_EQ(itemAt(create, g).text, groupNames[g]);
    }

    HMENU all = itemAt(popup, 1).submenu;
    ASSERT_EQ(GetMenuItemCount(all), 3);
    HMENU work = itemAt(all, 0).submenu;
    ASSERT_EQ(GetMenuItemCount(work), 2);
    EXPECT_EQ(itemAt(work, 0).id, 22000u);
    EXPECT_EQ(itemAt(work, 0).text, L"No. 0") << "empty title and text";
    EXPECT_EQ(itemAt(work, 1).id, 22001u);
    EXPECT_EQ(itemAt(work, 1).text, L"Second");
    HMENU home = itemAt(all, 1).submenu;
    ASSERT_EQ(GetMenuItemCount(home), 1);
    EXPECT_EQ(itemAt(home, 0).id, 22002u);
    EXPECT_EQ(GetMenuItemCount(itemAt(all, 2).submenu), 0);
    EXPECT_EQ(fixture.app->menuStickies, (std::vector<std::wstring>{guidA, guidB, guidC}));

    const struct {
        UINT position;
        UINT id; // 0: separator or submenu
        const wchar_t* text;
    } fixed[] = {
        {2, 20002, L"Group manager..."},
        {3, 0, L""},
        {4, 0, L"Recover from Trash"},
        {5, 20000, L"Move all stickies to trash..."},
        {6, 20001, L"Empty the trash now..."},
        {7, 0, L""},
        {8, 20003, L"Search..."},
        {9, 20004, L"General settings..."},
        {10, 0, L""},
        {11, 20005, L"Version information..."},
        {12, 20006, L"Help"},
        {13, 0, L""},
        {14, 20007, L"Quit Tackaroon notes"},
    };
    for (const auto& f : fixed) {
        ItemInfo item = itemAt(popup, f.position);
        if (f.id) {
            EXPECT_EQ(item.id, f.id) << f.position;
        }
        if (f.text[0] == 0) {
            EXPECT_TRUE(item.type & MFT_SEPARATOR) << f.position;
        } else {
            EXPECT_EQ(item.text, f.text) << f.position;
        }
    }
}

TEST_F(SystemMenu, TrashListStopsAtAThousand) {
    const std::wstring trash = fixture.temp.path() + L"trash\\";
    ASSERT_TRUE(createFolder(trash));
    for (int i = 0; i < 1200; ++i) { // each holding a note's body
        ASSERT_EQ(writeFileBytes(trash + L"entry" + std::to_wstring(i) + L"\\text.rtf", ""), errorSuccess);
    }
    UniqueMenu bar = fixture.app->buildSystemMenu();
    HMENU recover = itemAt(GetSubMenu(bar.get(), 0), 4).submenu;
    ASSERT_EQ(GetMenuItemCount(recover), 1000);
    EXPECT_EQ(itemAt(recover, 999).id, 23999u);
    EXPECT_EQ(fixture.app->trashMenuEntries.size(), 1000u);
}

TEST_F(SystemMenu, HoveringAStickyHighlightsIt) {
    UniqueMenu bar = fixture.app->buildSystemMenu();
    HWND main = fixture.app->mainWindow;
    SendMessageW(main, WM_MENUSELECT, MAKEWPARAM(22001, MF_HILITE), reinterpret_cast<LPARAM>(bar.get()));
    EXPECT_EQ(alphaOf(fixture.note(guidB)->window), 255);
    EXPECT_EQ(alphaOf(fixture.note(guidA)->window), 2) << "255 x 0.01, truncated";
    EXPECT_EQ(alphaOf(fixture.note(guidC)->window), 2);
    SendMessageW(main, WM_MENUSELECT, MAKEWPARAM(20002, MF_HILITE), reinterpret_cast<LPARAM>(bar.get()));
    EXPECT_EQ(alphaOf(fixture.note(guidA)->window), 255);
    SendMessageW(main, WM_MENUSELECT, MAKEWPARAM(22000, MF_HILITE), reinterpret_cast<LPARAM>(bar.get()));
    SendMessageW(main, WM_EXITMENULOOP, TRUE, 0);
    for (const std::wstring& guid : {guidA, guidB, guidC}) {
        EXPECT_EQ(alphaOf(fixture.note(guid)->window), 255);
    }
}

TEST_F(SystemMenu, TrashAllAsksFirst) {
    HWND main = fixture.app->mainWindow;
    fixture.note(guidA)->applyOpacityFactor(0.2f); // as a rule left it
    BoxAnswer::arm(IDCANCEL, fixture.app.get(), fixture.note(guidA)->window);
    SendMessageW(main, WM_COMMAND, 20000, 0);
    EXPECT_TRUE(BoxAnswer::sawModal) << "the box runs inside the modal bracket";
    EXPECT_TRUE(BoxAnswer::sawDisabledSticky);
    EXPECT_EQ(BoxAnswer::sawAlpha, 255) << "rule effects are taken off";
    EXPECT_EQ(fixture.app->stickyCount(), 3u) << "Cancel changes nothing";
    EXPECT_FALSE(fixture.app->modalOpen);
    EXPECT_TRUE(IsWindowEnabled(fixture.note(guidA)->window));

    BoxAnswer::arm(IDOK, fixture.app.get(), nullptr);
    SendMessageW(main, WM_COMMAND, 20000, 0);
    EXPECT_EQ(fixture.app->stickyCount(), 0u);
    for (const std::wstring& guid : {guidA, guidB, guidC}) {
        EXPECT_TRUE(isFile(fixture.temp.path() + L"trash\\" + guid + L"\\note.json"));
    }

    // Emptying asks as well; without Shift the entries go to the recycle bin.
    BoxAnswer::arm(IDCANCEL, fixture.app.get(), nullptr);
    SendMessageW(main, WM_COMMAND, 20001, 0);
    EXPECT_TRUE(pathExists(fixture.temp.path() + L"trash\\" + guidA));
    // Shift held at OK deletes at once, past the recycle bin.
    BoxAnswer::arm(IDOK, fixture.app.get(), nullptr, true);
    SendMessageW(main, WM_COMMAND, 20001, 0);
    BoxAnswer::pressShift(false);
    EXPECT_FALSE(pathExists(fixture.temp.path() + L"trash"));
}

TEST_F(SystemMenu, CommandsCreateAndShowStickies) {
    HWND main = fixture.app->mainWindow;
    fixture.app->buildSystemMenu();
    SendMessageW(main, WM_COMMAND, 21001, 0);
    EXPECT_EQ(fixture.app->stickyCountAt(1), 2u) << "a new sticky in the second group";
    SendMessageW(main, WM_COMMAND, 21003, 0);
    EXPECT_EQ(fixture.app->stickyCount(), 4u) << "past the last group: nothing";

    Note* b = fixture.note(guidB);
    SendMessageW(b->window, WM_COMMAND, CommandFold, 0);
    ASSERT_TRUE(b->folded);
    SendMessageW(main, WM_COMMAND, 22001, 0);
    EXPECT_FALSE(b->folded) << "shown unfolded";
    SendMessageW(main, WM_COMMAND, 22999, 0); // no such sticky: nothing

    // Modal commands are refused while a modal window is up.
    fixture.app->modalOpen = true;
    SendMessageW(main, WM_COMMAND, 20000, 0);
    fixture.app->modalOpen = false;
    EXPECT_EQ(fixture.app->stickyCount(), 4u);
}

TEST_F(SystemMenu, DisplayChangeBringsStickiesBackAndStoresWhere) {
    Note* c = fixture.note(guidC);
    // As if its monitor had gone: far right of every screen, position not stored.
    c->suppressMoveStore = true;
    SetWindowPos(c->window, nullptr, 20000, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(integerAt(c->document.json, {"window", "position", "left"}, 0), 500);
    SendMessageW(fixture.app->mainWindow, WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
    RECT r = rectOf(c->window);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(integerAt(c->document.json, {"window", "position", "left"}, 0), r.left)
        << "the corrected place is stored";
    EXPECT_EQ(rectOf(fixture.note(guidA)->window).left, 100) << "a sticky on screen stays";
}
