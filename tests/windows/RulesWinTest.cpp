// Group rules on live sticky windows: what an activity event does to their
// alpha, click-through, height and stacking, how activation lifts and restores
// the effects, and how a full-screen window sends always-on-top stickies back.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "app/Activity.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

const std::wstring guidA = L"0a0a0a0a-0000-4000-8000-0000000000a1";
const std::wstring guidB = L"0b0b0b0b-0000-4000-8000-0000000000b1";
const char groupGuid[] = "9f9f9f9f-0000-4000-8000-000000000001";

std::string noteInGroup(int left, const std::string& window = "") {
    return std::string("{\"group\": {\"guid\": \"") + groupGuid +
           "\"}, \"window\": {\"position\": {\"left\": " + std::to_string(left) +
           ", \"top\": 150, \"width\": 200, \"height\": 220}" + window + "}, \"title\": \"rules\"}";
}

std::string settingsWithRules(const std::string& rules) {
    return std::string("{\"language\": \"English\", \"group\": [{\"guid\": \"") + groupGuid +
           "\", \"name\": \"test\", \"rule\": " + rules + "}]}";
}

bool exStyle(HWND window, LONG bit) {
    return (exStyleOf(window) & bit) != 0;
}

struct RulesOnWindows : ::testing::Test {
    AppFixture fixture;
    Note* a = nullptr;
    Note* b = nullptr;

    void SetUp() override {
        // The cursor away from every sticky, so only focus and activation exempt one.
        SetCursorPos(2, 2);
    }
    void startWith(const std::string& rules, const std::string& windowA = "") {
        fixture.storeSettings(settingsWithRules(rules));
        fixture.storeNote(guidA, noteInGroup(100, windowA));
        fixture.storeNote(guidB, noteInGroup(400));
        fixture.start();
        a = fixture.note(guidA);
        b = fixture.note(guidB);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        // Neither sticky active: an activity event reaches both.
        SetForegroundWindow(GetDesktopWindow());
        SetFocus(nullptr);
        pumpMessages(50);
    }
    void expectRuleShown(HWND window) {
        EXPECT_EQ(alphaOf(window), 51) << "0.2 x 255";
        EXPECT_TRUE(exStyle(window, WS_EX_TRANSPARENT));
        EXPECT_EQ(heightOf(window), 18) << "folded to the title bar";
        EXPECT_TRUE(exStyle(window, WS_EX_TOPMOST));
    }
    void expectOwnState(HWND window) {
        EXPECT_EQ(alphaOf(window), 255);
        EXPECT_FALSE(exStyle(window, WS_EX_TRANSPARENT));
        EXPECT_EQ(heightOf(window), 220);
        EXPECT_FALSE(exStyle(window, WS_EX_TOPMOST));
    }
};

const char fadeFoldTop[] =
    R"([{"action": "input", "opacity": 0.2, "fold": true, "transparent": true, "zOrder": 2}])";

} // namespace

// Events fed straight to the activity handler, as the main window's raw input does.
TEST_F(RulesOnWindows, ActivityEventChangesEveryTargetWindow) {
    startWith(fadeFoldTop);
    expectOwnState(a->window);
    onActivity(*fixture.app, EVENT_KEYBOARD);
    pumpMessages(200); // the deferred layout
    expectRuleShown(a->window);
    expectRuleShown(b->window);
    EXPECT_FALSE(IsWindowVisible(a->bodyEdit)) << "the folded layout hides the body";
}

TEST_F(RulesOnWindows, ActivationLiftsTheEffectsAndDeactivationRestoresThem) {
    startWith(fadeFoldTop);
    onActivity(*fixture.app, EVENT_MOUSE);
    pumpMessages(50);
    SetForegroundWindow(a->window);
    pumpMessages(100);
    ASSERT_TRUE(a->isActive());
    expectOwnState(a->window);
    expectRuleShown(b->window);

    onActivity(*fixture.app, EVENT_MOUSE);
    pumpMessages(50);
    EXPECT_EQ(alphaOf(a->window), 255) << "the active sticky is no target";

    SetForegroundWindow(b->window);
    pumpMessages(100);
    EXPECT_FALSE(a->isActive());
    expectRuleShown(a->window);
    expectOwnState(b->window);
}

TEST_F(RulesOnWindows, DelayedRuleFiresThroughTheMainWindowTimer) {
    startWith(R"([{"action": "input", "delay": 150, "opacity": 0.2}])");
    onActivity(*fixture.app, EVENT_MOUSE);
    EXPECT_EQ(alphaOf(a->window), 255);
    pumpMessages(400);
    EXPECT_EQ(alphaOf(a->window), 51);
    EXPECT_EQ(alphaOf(b->window), 51);
    EXPECT_FALSE(fixture.app->groups[0].rules[0]->running);
}

TEST_F(RulesOnWindows, FullScreenWindowSendsAlwaysOnTopStickiesBack) {
    startWith("[]", ", \"alwaysOnTop\": true");
    ASSERT_TRUE(exStyle(a->window, WS_EX_TOPMOST)) << "the desktop in front is no full-screen program";
    EXPECT_FALSE(fixture.app->fullScreen);

    MONITORINFO info{sizeof info};
    GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& m = info.rcMonitor;
    HWND framed =
        CreateWindowExW(0, L"STATIC", L"framed", WS_POPUP | WS_THICKFRAME | WS_VISIBLE, m.left, m.top,
                        m.right - m.left, m.bottom - m.top, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(framed);
    pumpMessages(50);
    EXPECT_FALSE(fixture.app->detectFullScreen()) << "a thick frame is an ordinary window";
    DestroyWindow(framed);

    HWND cover = CreateWindowExW(0, L"STATIC", L"cover", WS_POPUP | WS_VISIBLE, m.left, m.top,
                                 m.right - m.left, m.bottom - m.top, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    SetForegroundWindow(cover);
    pumpMessages(700); // two polls of the full-screen timer
    EXPECT_TRUE(fixture.app->fullScreen);
    EXPECT_FALSE(exStyle(a->window, WS_EX_TOPMOST)) << "sent to the bottom";
    EXPECT_TRUE(a->fullScreenActive);
    EXPECT_FALSE(b->fullScreenActive) << "not always on top: untouched";

    DestroyWindow(cover);
    SetForegroundWindow(b->window);
    pumpMessages(700);
    EXPECT_FALSE(fixture.app->fullScreen);
    EXPECT_TRUE(exStyle(a->window, WS_EX_TOPMOST)) << "topmost again";
}

TEST_F(RulesOnWindows, RawKeyboardInputReachesTheRulesInTheBackground) {
    startWith(fadeFoldTop);
    fixture.app->registerForInput();
    ASSERT_NE(GetForegroundWindow(), fixture.app->mainWindow);
    INPUT keys[2]{};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_SHIFT;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
    pumpMessages(300);
    expectRuleShown(a->window);
    expectRuleShown(b->window);
}
