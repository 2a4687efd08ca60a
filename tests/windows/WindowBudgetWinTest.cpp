// What a sticky costs in windows and when they are made: one tooltip for the
// whole program that answers with each sticky's own texts, scroll bars only for
// a body that has overflowed, and nothing left running after start-up.
#include <gtest/gtest.h>

#include "AppFixture.h"

#include <commctrl.h>
#include <richedit.h>

#include <string>

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

const std::wstring guidA = L"0d0d0d0d-0000-4000-8000-00000000000a";
const std::wstring guidB = L"0d0d0d0d-0000-4000-8000-00000000000b";
const std::wstring guidC = L"0d0d0d0d-0000-4000-8000-00000000000c";

// `window` adds members to "window", `more` to the document.
std::string noteAt(int left, const std::string& window = "", const std::string& more = "") {
    return R"({"window": {"position": {"left": )" + std::to_string(left) +
           R"(, "top": 100, "width": 240, "height": 300})" + window + "}" + more + "}";
}

// Too high and, unwrapped, too wide for its sticky.
std::string longRtf() {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 80; ++i) {
        rtf += "line " + std::to_string(i) + " of a text much wider than the sticky that holds it\\par ";
    }
    return rtf + "}";
}

const std::string unwrapped = R"(, "text": {"wordwrap": false})";

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The sticky window and every window inside it.
int windowsOf(const Note* note) {
    int count = 1;
    EnumChildWindows(note->window, countChild, reinterpret_cast<LPARAM>(&count));
    return count;
}

// The text the tooltip shows for a tool, asked of the sticky that holds it.
std::wstring tipText(HWND tooltip, const Note* holder, HWND tool) {
    wchar_t text[128] = L"";
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = holder->window;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(&info));
    return text;
}

struct WindowBudget : ::testing::Test {
    AppFixture fixture;
    void SetUp() override { fixture.storeSettings("{}"); }
};

} // namespace

TEST_F(WindowBudget, OneTooltipAnswersWithEachStickysOwnTextsAndLosesTheToolsOfOneThatGoes) {
    fixture.storeNote(guidA, noteAt(100), "{\\rtf1 text of A}");
    fixture.storeNote(guidB, noteAt(400, R"(, "fold": true)"), "{\\rtf1 text of B}");
    fixture.start();
    Note* a = fixture.note(guidA);
    Note* b = fixture.note(guidB);
    ASSERT_TRUE(a && b);
    HWND tooltip = fixture.app->sharedTooltip.window();
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(a->tooltip, tooltip);
    EXPECT_EQ(b->tooltip, tooltip);
    EXPECT_TRUE(exStyleOf(tooltip) & WS_EX_TOPMOST);
    EXPECT_EQ(fixture.app->sharedTooltip.toolCount(), 6) << "title, new and trash of each sticky";

    const std::wstring newText = fixture.app->lookupText("menu.titlebar.new", L"New note");
    const std::wstring trashText = fixture.app->lookupText("menu.titlebar.delete", L"Put note in the trash");
    EXPECT_EQ(tipText(tooltip, a, a->newButton), newText);
    EXPECT_EQ(tipText(tooltip, a, a->trashButton), trashText);
    EXPECT_EQ(tipText(tooltip, a, a->titleEdit), L"") << "an unfolded title has no tip";
    EXPECT_EQ(tipText(tooltip, b, b->titleEdit), L"text of B") << "a folded title shows its own body";
    EXPECT_EQ(tipText(tooltip, b, b->newButton), newText);

    // A sticky that goes takes its tools along; the other's stay and still answer.
    ASSERT_TRUE(fixture.app->groups.back().removeSticky(guidA));
    EXPECT_EQ(fixture.app->sharedTooltip.toolCount(), 3);
    EXPECT_EQ(tipText(tooltip, b, b->trashButton), trashText);
    EXPECT_EQ(tipText(tooltip, b, b->titleEdit), L"text of B");
}

TEST_F(WindowBudget, ScrollBarsAreMadeTheFirstTimeTheBodyOverflows) {
    fixture.storeNote(guidA, noteAt(100), "{\\rtf1 short}");
    fixture.storeNote(guidB, noteAt(400), "{\\rtf1 short}");
    fixture.storeNote(guidC, noteAt(700, "", unwrapped), longRtf());
    fixture.start();
    Note* a = fixture.note(guidA);
    Note* b = fixture.note(guidB);
    Note* c = fixture.note(guidC);
    ASSERT_TRUE(a && b && c);

    // Stored text too high and too wide: both bars and their corner come with the sticky.
    ASSERT_TRUE(c->scrollBars.vWindow() && c->scrollBars.hWindow() && c->scrollBars.cornerWindow());
    EXPECT_TRUE(IsWindowVisible(c->scrollBars.vWindow()));
    EXPECT_TRUE(IsWindowVisible(c->scrollBars.hWindow()));
    EXPECT_TRUE(IsWindowVisible(c->scrollBars.cornerWindow()));
    EXPECT_EQ(windowsOf(c), 9);
    for (const Note* fitting : {a, b}) {
        EXPECT_EQ(fitting->scrollBars.hWindow(), nullptr);
        EXPECT_EQ(fitting->scrollBars.vWindow(), nullptr);
        EXPECT_EQ(fitting->scrollBars.cornerWindow(), nullptr);
        EXPECT_EQ(windowsOf(fitting), 6) << "sticky, drawing layer, two buttons, title and body";
    }

    // Typing past the bottom of A gives it the one bar it needs; B, never overflowing, has none.
    SendMessageW(a->bodyEdit, EM_SETSEL, -1, -1);
    for (int i = 0; i < 40; ++i) {
        SendMessageW(a->bodyEdit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"one more line\r"));
    }
    pumpMessages(100);
    ASSERT_NE(a->scrollBars.vWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(a->scrollBars.vWindow()));
    EXPECT_EQ(a->scrollBars.hWindow(), nullptr) << "wrapped text needs no horizontal bar";
    EXPECT_EQ(a->scrollBars.cornerWindow(), nullptr);
    EXPECT_EQ(windowsOf(a), 7);
    UpdateWindow(a->scrollBars.vWindow());
    EXPECT_GT(a->scrollBars.barState(false).thumbRect.bottom, a->scrollBars.barState(false).thumbRect.top)
        << "the new bar paints its thumb";
    EXPECT_EQ(b->scrollBars.vWindow(), nullptr);
    EXPECT_EQ(windowsOf(b), 6);
}

TEST_F(WindowBudget, StickiesComeUpWholeAndNothingRunsForThemAfterwards) {
    const std::wstring guids[] = {guidA, guidB, guidC};
    fixture.storeNote(guidA, noteAt(100), "{\\rtf1 short}");
    fixture.storeNote(guidB, noteAt(400, R"(, "fold": true, "alwaysOnTop": true)"), "{\\rtf1 short}");
    fixture.storeNote(guidC, noteAt(700, "", unwrapped), longRtf());
    // Started by hand, so that the messages right after the start are seen too.
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ASSERT_TRUE(TackaroonNotes::registerMainWindowClass(instance));
    ASSERT_NE(fixture.app->createMainWindow(instance), nullptr);
    ASSERT_TRUE(fixture.app->startUp());

    int stickyWindows = 0;
    for (const std::wstring& guid : guids) {
        Note* note = fixture.note(guid);
        ASSERT_NE(note, nullptr);
        EXPECT_TRUE(IsWindowVisible(note->window));
        EXPECT_FALSE(note->loading) << "selection and scroll position restored";
        EXPECT_FALSE(note->layoutTimer.running);
        EXPECT_FALSE(note->scrollBars.barState(false).followTimer.running);
        EXPECT_FALSE(note->scrollBars.barState(true).followTimer.running);
        stickyWindows += windowsOf(note);
    }
    EXPECT_TRUE(exStyleOf(fixture.note(guidB)->window) & WS_EX_TOPMOST);
    EXPECT_EQ(stickyWindows, 6 + 6 + 9);

    // Shown and painted as they were made: no paint and no timer reaches them now.
    int stickyPaints = 0, stickyTimers = 0;
    DWORD end = GetTickCount() + 500;
    while (static_cast<LONG>(GetTickCount() - end) < 0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.hwnd && GetPropW(message.hwnd, notePropName)) {
                stickyPaints += message.message == WM_PAINT;
                stickyTimers += message.message == WM_TIMER;
            }
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    EXPECT_EQ(stickyPaints, 0);
    EXPECT_EQ(stickyTimers, 0);
}
