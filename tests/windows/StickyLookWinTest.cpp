// A sticky's look and feel on live windows: where its children go, its own
// scroll bars, the title bar buttons and title, and the body's formatting commands.
#include <gtest/gtest.h>

#include "EditHelpers.h"

#include <richedit.h>

#include <cstdio>
#include <string>

#include "AppFixture.h"
#include "note/Layout.h"
#include "note/RichEdit_win.h"
#include "storage/TextCodec.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

const std::wstring guidA = L"0c0c0c0c-0000-4000-8000-00000000000c";

std::string noteJson(const std::string& window, const std::string& text = "") {
    return R"({"title": "look", "window": {"position": {"left": 100, "top": 100, "width": 240, "height": 300})" +
           window + R"(}, "text": {"wordwrap": true)" + text + "}}";
}

// A child's rectangle in the sticky window's client coordinates.
RECT childRect(Note* note, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, note->window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT sized(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

::testing::AssertionResult sameRect(const RECT& actual, const RECT& expected) {
    if (EqualRect(&actual, &expected)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "(" << actual.left << ", " << actual.top << ", " << actual.right << ", " << actual.bottom
           << ") instead of (" << expected.left << ", " << expected.top << ", " << expected.right << ", "
           << expected.bottom << ")";
}

std::wstring manyLines(int count) {
    std::wstring text;
    for (int i = 0; i < count; ++i) {
        text += L"line " + std::to_wstring(i) + L"\r\n";
    }
    return text;
}

struct StickyLook : ::testing::Test {
    AppFixture fixture;
    Note* note = nullptr;
    void SetUp() override { fixture.storeSettings("{}"); }
    void open(const std::string& json) {
        fixture.storeNote(guidA, json);
        fixture.start();
        note = fixture.note(guidA);
        ASSERT_NE(note, nullptr);
    }
    std::uint32_t pendingFlags() const {
        for (const PendingSave& save : fixture.app->pendingSaves) {
            if (save.guid == guidA) {
                return save.flags;
            }
        }
        return 0;
    }
    void command(int id) { SendMessageW(note->window, WM_COMMAND, id, 0); }
};

} // namespace

TEST_F(StickyLook, ChildrenWithTitlebarAndBorder) {
    open(noteJson(R"(, "border": true, "titlebar": true)"));
    // Title bar 20 high between two 20 x 20 buttons, one pixel inside the border.
    EXPECT_TRUE(sameRect(childRect(note, note->newButton), sized(1, 1, 20, 20)));
    EXPECT_TRUE(sameRect(childRect(note, note->trashButton), sized(219, 1, 20, 20)));
    EXPECT_TRUE(sameRect(childRect(note, note->titleEdit), sized(21, 1, 198, 20)));
    // Text area: one more pixel in, 240 - 4 wide and 300 - 20 - 4 high.
    EXPECT_TRUE(sameRect(childRect(note, note->drawing.window), sized(2, 22, 236, 276)));
}

TEST_F(StickyLook, ChildrenWithoutTitlebarOrBorder) {
    open(noteJson(R"(, "border": false, "titlebar": false)"));
    EXPECT_FALSE(IsWindowVisible(note->titleEdit));
    EXPECT_FALSE(IsWindowVisible(note->newButton));
    EXPECT_FALSE(IsWindowVisible(note->trashButton));
    // The two border pixels go to the text: 240 + 2 - 4 by 300 + 2 - 4.
    EXPECT_TRUE(sameRect(childRect(note, note->drawing.window), sized(1, 1, 238, 298)));
}

TEST_F(StickyLook, HiddenTitlebarStartsTheTextInsideTheBorder) {
    open(noteJson(R"(, "border": true, "titlebar": false)"));
    EXPECT_TRUE(sameRect(childRect(note, note->drawing.window), sized(2, 2, 236, 296)));
    EXPECT_EQ(childRect(note, note->bodyEdit).top, 2);
}

TEST_F(StickyLook, FoldedShowsOnlyTheTitle) {
    open(noteJson(R"(, "border": true, "fold": true)"));
    EXPECT_TRUE(sameRect(childRect(note, note->titleEdit), sized(0, 0, 240, 18)));
    for (HWND hidden :
         {note->bodyEdit, note->drawing.window, note->newButton, note->trashButton,
          note->scrollBars.hWindow(), note->scrollBars.vWindow(), note->scrollBars.cornerWindow()}) {
        EXPECT_FALSE(IsWindowVisible(hidden));
    }
    // Unfolding gives the text area back to body and bars.
    command(CommandFold);
    pumpMessages(200);
    EXPECT_TRUE(IsWindowVisible(note->bodyEdit));
    EXPECT_TRUE(sameRect(childRect(note, note->drawing.window), sized(2, 22, 236, 276)));
    // A rule's fold lays out the same way once the deferred layout has run.
    note->applyRuleFold(true);
    pumpMessages(200);
    EXPECT_FALSE(IsWindowVisible(note->bodyEdit));
    EXPECT_FALSE(IsWindowVisible(note->scrollBars.vWindow()));
}

TEST_F(StickyLook, FittingTextShowsNoBars) {
    open(noteJson(R"(, "border": true)"));
    SetWindowTextW(note->bodyEdit, L"short");
    note->layout();
    EXPECT_FALSE(IsWindowVisible(note->scrollBars.hWindow()));
    EXPECT_FALSE(IsWindowVisible(note->scrollBars.vWindow()));
    EXPECT_FALSE(IsWindowVisible(note->scrollBars.cornerWindow()));
    RECT text = sized(2, 22, 236, 276);
    EXPECT_TRUE(sameRect(childRect(note, note->drawing.window), text))
        << "the drawing covers the whole text area";
    EXPECT_TRUE(sameRect(childRect(note, note->bodyEdit), text));
    RECT region{};
    ASSERT_NE(GetWindowRgnBox(note->bodyEdit, &region), ERROR);
    EXPECT_TRUE(sameRect(region, sized(0, 0, 236, 276)));
}

TEST_F(StickyLook, LongTextShowsTheVerticalBarAndItsThumbFollows) {
    open(noteJson(R"(, "border": true)"));
    SetWindowTextW(note->bodyEdit, manyLines(200).c_str());
    note->layout();
    const int cx = GetSystemMetrics(SM_CXVSCROLL);
    ASSERT_TRUE(IsWindowVisible(note->scrollBars.vWindow()));
    EXPECT_FALSE(IsWindowVisible(note->scrollBars.hWindow()));
    EXPECT_TRUE(sameRect(childRect(note, note->scrollBars.vWindow()), sized(2 + 236 - 9, 22, 9, 276)));
    EXPECT_TRUE(sameRect(childRect(note, note->drawing.window), sized(2, 22, 227, 276)));
    // The body is wider by its own bar, which the window region cuts off.
    EXPECT_TRUE(sameRect(childRect(note, note->bodyEdit), sized(2, 22, 236 + cx - 9, 276)));
    RECT region{};
    ASSERT_NE(GetWindowRgnBox(note->bodyEdit, &region), ERROR);
    EXPECT_TRUE(sameRect(region, sized(0, 0, 227, 276)));

    UpdateWindow(note->scrollBars.vWindow());
    RECT top = note->scrollBars.barState(false).thumbRect;
    EXPECT_EQ(top.top, 0);
    EXPECT_GE(top.bottom - top.top, 30) << "a thumb of at least 30 pixels";
    POINT middle{0, 1000};
    SendMessageW(note->bodyEdit, EM_SETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&middle));
    pumpMessages(100);
    UpdateWindow(note->scrollBars.vWindow());
    EXPECT_GT(note->scrollBars.barState(false).thumbRect.top, top.top)
        << "the thumb moved down with the body";
    EXPECT_EQ(note->scrollBars.barState(false).thumbRect.bottom -
                  note->scrollBars.barState(false).thumbRect.top,
              top.bottom - top.top);
    EXPECT_TRUE(note->unsavedFlags & SaveView)
        << "a scroll position that differs from the stored one is saved";
}

TEST_F(StickyLook, TrackPressScrollsAndTheFollowTimerStopsWhenTheBodyIsStill) {
    open(noteJson(R"(, "border": true)"));
    SetWindowTextW(note->bodyEdit, manyLines(200).c_str());
    note->layout();
    UpdateWindow(note->scrollBars.vWindow());
    POINT before{};
    SendMessageW(note->bodyEdit, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&before));
    // A press in the track below the thumb scrolls one line at once.
    SendMessageW(note->scrollBars.vWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 200));
    EXPECT_EQ(GetCapture(), note->scrollBars.vWindow());
    EXPECT_EQ(note->scrollBars.barState(false).dragMode, DragAfter);
    EXPECT_TRUE(note->scrollBars.barState(false).repeatTimer.running);
    POINT after{};
    SendMessageW(note->bodyEdit, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&after));
    EXPECT_GT(after.y, before.y);
    SendMessageW(note->scrollBars.vWindow(), WM_LBUTTONUP, 0, MAKELPARAM(4, 200));
    pumpMessages(50);
    EXPECT_FALSE(note->scrollBars.barState(false).repeatTimer.running)
        << "the repeat stops itself once the capture is gone";

    note->scrollBars.refresh();
    EXPECT_TRUE(note->scrollBars.barState(false).followTimer.running);
    EXPECT_FALSE(note->scrollBars.barState(true).followTimer.running)
        << "wrapped text made no horizontal bar to follow";
    // Pretend the last body event lies six seconds back: the next tick stops both.
    note->scrollBars.barState(false).lastBodyEvent -= 6000;
    note->scrollBars.barState(true).lastBodyEvent -= 6000;
    pumpMessages(100);
    EXPECT_FALSE(note->scrollBars.barState(false).followTimer.running);
    EXPECT_FALSE(note->scrollBars.barState(true).followTimer.running);

    // Idle: no timer of the sticky fires any more.
    int stickyTimers = 0, allTimers = 0;
    DWORD end = GetTickCount() + 1000;
    while (static_cast<LONG>(GetTickCount() - end) < 0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER) {
                ++allTimers;
                if (message.hwnd && GetPropW(message.hwnd, notePropName)) {
                    ++stickyTimers;
                }
            }
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    EXPECT_EQ(stickyTimers, 0);
    std::printf("idle program: %d WM_TIMER messages per second\n", allTimers);
}

TEST_F(StickyLook, WordWrapCommandStoresTrueAndLaysOut) {
    open(R"({"window": {"position": {"left": 100, "top": 100, "width": 240, "height": 300}},
             "text": {"wordwrap": false}})");
    SetWindowTextW(note->bodyEdit, (std::wstring(400, L'w') + L" end").c_str());
    note->layout();
    EXPECT_TRUE(IsWindowVisible(note->scrollBars.hWindow()))
        << "an unwrapped long line needs the horizontal bar";
    fixture.app->pendingSaves.clear();
    command(CommandWordWrap);
    EXPECT_TRUE(booleanAt(note->document.json, {"text", "wordwrap"}, false));
    EXPECT_FALSE(IsWindowVisible(note->scrollBars.hWindow())) << "wrapped at once";
    EXPECT_TRUE(pendingFlags() & SaveJson);
}

TEST_F(StickyLook, HorizontalWheelAndThumbDrag) {
    open(R"({"window": {"position": {"left": 100, "top": 100, "width": 240, "height": 300}},
             "text": {"wordwrap": false}})");
    SetWindowTextW(note->bodyEdit, (std::wstring(600, L'w') + L" end").c_str());
    note->layout();
    ASSERT_TRUE(IsWindowVisible(note->scrollBars.hWindow()));
    auto scrollX = [&] {
        POINT p{};
        SendMessageW(note->bodyEdit, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&p));
        return p.x;
    };
    SendMessageW(note->bodyEdit, WM_MOUSEHWHEEL, MAKEWPARAM(0, 0), 0);
    EXPECT_EQ(scrollX(), 0) << "a zero tilt does nothing";
    SendMessageW(note->bodyEdit, WM_MOUSEHWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    const int tilted = scrollX();
    EXPECT_GT(tilted, 0);
    SendMessageW(note->bodyEdit, WM_MOUSEHWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_LT(scrollX(), tilted);

    UpdateWindow(note->scrollBars.hWindow());
    RECT thumb = note->scrollBars.barState(true).thumbRect;
    ASSERT_GT(thumb.right, thumb.left);
    const int grab = thumb.left + 5;
    SendMessageW(note->scrollBars.hWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab, 4));
    EXPECT_EQ(note->scrollBars.barState(true).dragMode, DragThumb);
    EXPECT_EQ(scrollX(), 0) << "taking the thumb scrolls nothing";
    SendMessageW(note->scrollBars.hWindow(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab + 100, 4));
    const int dragged = scrollX();
    EXPECT_GT(dragged, 0);
    // Far below the bar the thumb goes back to where the grab offset alone puts it.
    SendMessageW(note->scrollBars.hWindow(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab + 100, 4 + 150));
    EXPECT_LT(scrollX(), dragged);
    SendMessageW(note->scrollBars.hWindow(), WM_LBUTTONUP, 0, MAKELPARAM(grab + 100, 154));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(StickyLook, CharacterEffectsFollowTheReportedBit) {
    open(noteJson(""));
    SetWindowTextW(note->bodyEdit, L"abcdefgh");
    // Set explicitly: the default face may already come in bold.
    for (bool bold : {true, false}) {
        select(note->bodyEdit, bold ? 0 : 4, bold ? 4 : 8);
        CHARFORMAT2W format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_BOLD;
        format.dwEffects = bold ? CFE_BOLD : 0;
        SendMessageW(note->bodyEdit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }
    // Half bold: whatever bit the control reports decides for the whole selection.
    select(note->bodyEdit, 0, 8);
    CHARFORMAT2W mixed = selectionFormat(note->bodyEdit);
    EXPECT_FALSE(mixed.dwMask & CFM_BOLD) << "a mixed selection";
    fixture.app->pendingSaves.clear();
    command(CommandBold);
    CHARFORMAT2W after = selectionFormat(note->bodyEdit);
    EXPECT_TRUE(after.dwMask & CFM_BOLD) << "now uniform";
    EXPECT_EQ(after.dwEffects & CFE_BOLD, (mixed.dwEffects & CFE_BOLD) ^ CFE_BOLD);
    EXPECT_TRUE(pendingFlags() & SaveText);

    for (auto [id, mask, effect] : {std::tuple{CommandItalic, CFM_ITALIC, CFE_ITALIC},
                                    std::tuple{CommandUnderline, CFM_UNDERLINE, CFE_UNDERLINE},
                                    std::tuple{CommandStrikeout, CFM_STRIKEOUT, CFE_STRIKEOUT}}) {
        command(id);
        EXPECT_TRUE(selectionFormat(note->bodyEdit).dwEffects & effect) << id;
        command(id);
        EXPECT_FALSE(selectionFormat(note->bodyEdit).dwEffects & effect) << id;
        EXPECT_TRUE(selectionFormat(note->bodyEdit).dwMask & mask) << id;
    }
}

TEST_F(StickyLook, ColourSizeAndFontCommands) {
    open(noteJson(""));
    SetWindowTextW(note->bodyEdit, L"colours");
    select(note->bodyEdit, 0, 7);
    const std::vector<std::wstring>& colours = fixture.app->colourList();
    ASSERT_EQ(colours.size(), 130u);
    command(CommandTextColourFirst + 14);
    EXPECT_EQ(selectionFormat(note->bodyEdit).crTextColor, parseColour(colours[14]).value());
    command(CommandBackColourFirst + 25);
    CHARFORMAT2W back = selectionFormat(note->bodyEdit);
    EXPECT_TRUE(back.dwMask & CFM_BACKCOLOR);
    EXPECT_EQ(back.crBackColor, parseColour(colours[25]).value());
    // Past the end of the list nothing changes.
    command(CommandTextColourFirst + 130);
    EXPECT_EQ(selectionFormat(note->bodyEdit).crTextColor, parseColour(colours[14]).value());

    command(CommandFontSizeFirst + 13);
    EXPECT_EQ(selectionFormat(note->bodyEdit).yHeight, 36 * 14) << "36 points as 14 twips each";
    command(CommandFontSizeFirst + 0);
    EXPECT_EQ(selectionFormat(note->bodyEdit).yHeight, 8 * 14);
    command(CommandFontSizeFirst + 16);
    EXPECT_EQ(selectionFormat(note->bodyEdit).yHeight, 8 * 14) << "only sixteen sizes";

    const std::vector<std::wstring>& fonts = fixture.app->fontFamilyNames();
    EXPECT_EQ(&fonts, &fixture.app->fontFamilyNames()) << "enumerated once";
    if (!fonts.empty()) {
        size_t last = std::min<size_t>(fonts.size(), 300) - 1;
        command(CommandFontNameFirst + static_cast<int>(last));
        EXPECT_EQ(std::wstring(selectionFormat(note->bodyEdit).szFaceName),
                  fonts[last].substr(0, LF_FACESIZE - 1));
    }
}

TEST_F(StickyLook, EditingCommandsReportTheirChanges) {
    open(noteJson(""));
    SetWindowTextW(note->bodyEdit, L"one two");
    command(CommandSelectAll);
    CHARRANGE all = selection(note->bodyEdit);
    EXPECT_EQ(all.cpMin, 0);
    EXPECT_GE(all.cpMax, 7) << "Rich Edit may take the final paragraph mark along";
    fixture.app->pendingSaves.clear();
    command(CommandCopy);
    EXPECT_EQ(pendingFlags(), 0u) << "copying changes nothing";
    command(CommandDelete);
    EXPECT_EQ(editText(note->bodyEdit, 100), L"");
    EXPECT_TRUE(pendingFlags() & SaveText);
    command(CommandPaste);
    EXPECT_EQ(editText(note->bodyEdit, 100).rfind(L"one two", 0), 0u);
}

TEST_F(StickyLook, LockedStickyIgnoresClicksOnTheBody) {
    open(noteJson(R"(, "lock": true, "fix": {"position": true})"));
    SetWindowTextW(note->bodyEdit, L"some words to click into");
    select(note->bodyEdit, 0, 0);
    LPARAM inText = MAKELPARAM(60, 8);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MBUTTONDOWN}) {
        SendMessageW(note->bodyEdit, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, inText);
    }
    CHARRANGE locked = selection(note->bodyEdit);
    EXPECT_EQ(locked.cpMin, 0);
    EXPECT_EQ(locked.cpMax, 0);

    command(CommandLock);
    ASSERT_FALSE(booleanAt(note->document.json, {"window", "lock"}, true));
    SendMessageW(note->bodyEdit, WM_LBUTTONDOWN, MK_LBUTTON, inText);
    SendMessageW(note->bodyEdit, WM_LBUTTONUP, 0, inText);
    EXPECT_GT(selection(note->bodyEdit).cpMin, 0) << "unlocked, the same click moves the caret";
}

TEST_F(StickyLook, TitleEditingAndEnter) {
    open(noteJson(""));
    EXPECT_TRUE(GetWindowLongW(note->titleEdit, GWL_STYLE) & ES_READONLY);
    command(CommandEditTitle);
    EXPECT_TRUE(note->titleEditing);
    EXPECT_FALSE(GetWindowLongW(note->titleEdit, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(GetFocus(), note->titleEdit);
    SendMessageW(note->titleEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(note->titleEditing);
    EXPECT_TRUE(GetWindowLongW(note->titleEdit, GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(GetFocus(), note->bodyEdit);
}

TEST_F(StickyLook, DoubleClickOnTheTitleFolds) {
    open(noteJson(""));
    SendMessageW(note->titleEdit, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 5));
    EXPECT_TRUE(note->folded);
    EXPECT_TRUE(booleanAt(note->document.json, {"window", "fold"}, false));
    SendMessageW(note->titleEdit, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 5));
    EXPECT_FALSE(note->folded);
    // While editing, a double click belongs to the text.
    command(CommandEditTitle);
    SendMessageW(note->titleEdit, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 5));
    EXPECT_FALSE(note->folded);
}

TEST_F(StickyLook, ButtonReleasedOutsideDoesNothing) {
    open(noteJson(""));
    ASSERT_EQ(fixture.app->stickyCount(), 1u);
    RECT button = childRect(note, note->newButton);
    POINT outside{button.right + 60, button.bottom + 60};
    ClientToScreen(note->window, &outside);
    SendMessageW(note->newButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), note->newButton);
    SetCursorPos(outside.x, outside.y);
    SendMessageW(note->newButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(fixture.app->stickyCount(), 1u);

    POINT inside{button.left + 5, button.top + 5};
    ClientToScreen(note->window, &inside);
    SetCursorPos(inside.x, inside.y);
    SendMessageW(note->newButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(note->newButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(fixture.app->stickyCount(), 2u) << "released on the button: a new sticky";
}

TEST_F(StickyLook, SwatchSizesAndThemeCommand) {
    open(noteJson(""));
    MEASUREITEMSTRUCT theme{};
    theme.CtlType = ODT_MENU;
    theme.itemID = CommandThemeFirst + 3;
    SendMessageW(note->window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&theme));
    EXPECT_EQ(theme.itemWidth, 58u);
    EXPECT_EQ(theme.itemHeight, 22u);
    MEASUREITEMSTRUCT colour{};
    colour.CtlType = ODT_MENU;
    colour.itemID = CommandTextColourFirst + 3;
    SendMessageW(note->window, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&colour));
    EXPECT_EQ(colour.itemWidth, 34u);
    EXPECT_EQ(colour.itemHeight, 19u);

    // A checked swatch is drawn rounded and inset; the item around it in the menu colour.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 58, 22);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemID = CommandTextColourFirst + 14;
    draw.itemState = ODS_CHECKED;
    draw.hDC = dc;
    draw.rcItem = {0, 0, 58, 22};
    SendMessageW(note->window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    EXPECT_EQ(GetPixel(dc, 29, 11), parseColour(fixture.app->colourList()[14]).value());
    EXPECT_EQ(GetPixel(dc, 1, 1), GetSysColor(COLOR_MENUBAR));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);

    command(CommandThemeFirst + 29); // "#2ca9e1"
    EXPECT_EQ(stringAt(note->document.json, {"theme", "base"}, ""), "#2ca9e1");
    EXPECT_EQ(themeColour(note->themeColours, L"background"), parseColour(std::wstring(L"#2ca9e1")).value());
    EXPECT_TRUE(pendingFlags() & SaveJson);
}
