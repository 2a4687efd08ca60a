// A sticky on screens of any density, from the keyboard and for screen readers.
// The DPI tests read the DPI Wine was started with: the dpi end-to-end script
// runs them at 96, 144 and 192.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>
#include <richedit.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <cstdio>
#include <string>

#include "AppFixture.h"

using namespace Brisvane;
using namespace Brisvane::testing;
using Microsoft::WRL::ComPtr;

namespace {

const std::wstring guidA = L"0d0d0d0d-0000-4000-8000-00000000000d";

// Many short lines and one long one: the body overflows both ways.
std::string overflowingRtf(int lines) {
    std::string rtf = "{\\rtf1 " + std::string(400, 'w') + "\\par ";
    for (int i = 0; i < lines; ++i) {
        rtf += "line " + std::to_string(i) + "\\par ";
    }
    return rtf + "}";
}

int widthOf(HWND window) {
    RECT r = rectOf(window);
    return r.right - r.left;
}

// The menu the next modal menu loop shows: its first item and where it opened.
// A timer inside the loop notes them and closes the menu.
struct MenuProbe {
    static inline UINT firstItem = 0;
    static inline RECT place{};
    UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND popup = FindWindowW(L"#32768", nullptr);
        HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
        firstItem = menu ? GetMenuItemID(menu, 0) : 0;
        place = popup ? rectOf(popup) : RECT{};
        EndMenu();
    });
    ~MenuProbe() { KillTimer(nullptr, timer); }
    static void reset() {
        firstItem = 0;
        place = {};
    }
};

struct HighDpi : ::testing::Test {
    AppFixture fixture;
    Note* note = nullptr;
    void open(const std::string& window, const std::string& rtf = {}, const std::string& settings = "{}") {
        fixture.storeSettings(settings);
        fixture.storeNote(
            guidA,
            R"({"title": "dpi", "window": {"position": {"left": 100, "top": 100, "width": 300, "height": 260})" +
                window + R"(}, "text": {"wordwrap": false}})",
            rtf);
        fixture.start();
        note = fixture.note(guidA);
        ASSERT_NE(note, nullptr);
    }
};

// The same fixture for the keyboard, screen readers and long notes.
struct Keyboard : HighDpi {};
struct ScreenReader : HighDpi {};
struct LongNotes : HighDpi {};

} // namespace

TEST_F(HighDpi, ChromeFollowsTheScreenDpi) {
    open(R"(, "border": true)", overflowingRtf(200));
    UpdateWindow(note->scrollBars.vWindow());
    const int dpi = static_cast<int>(GetDpiForWindow(note->window));
    EXPECT_EQ(note->dpi, dpi);
    std::printf("[ dpi ] sticky at %d DPI: title bar %d px, bars %d px, thumb %ld px\n", dpi,
                heightOf(note->titleEdit), widthOf(note->scrollBars.vWindow()),
                note->scrollBars.barState(false).thumbRect.bottom -
                    note->scrollBars.barState(false).thumbRect.top);
    const struct {
        const char* what;
        int pixels, at96;
    } measures[] = {
        {"title bar", heightOf(note->titleEdit), 20},
        {"new-sticky button", widthOf(note->newButton), 20},
        {"trash button", heightOf(note->trashButton), 20},
        {"vertical bar", widthOf(note->scrollBars.vWindow()), 9},
        {"horizontal bar", heightOf(note->scrollBars.hWindow()), 9},
        {"scroll corner", widthOf(note->scrollBars.cornerWindow()), 9},
    };
    for (const auto& m : measures) {
        EXPECT_EQ(m.pixels, scaleToDpi(m.at96, dpi)) << m.what;
    }
    EXPECT_GE(note->scrollBars.barState(false).thumbRect.bottom -
                  note->scrollBars.barState(false).thumbRect.top,
              scaleToDpi(30, dpi))
        << "thumb minimum";

    // The title's text line, in the face, size and zoom the title edit uses, fits its bar.
    CHARFORMATW format{};
    format.cbSize = sizeof format;
    SendMessageW(note->titleEdit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    int zoomNumerator = 0, zoomDenominator = 0;
    SendMessageW(note->titleEdit, EM_GETZOOM, reinterpret_cast<WPARAM>(&zoomNumerator),
                 reinterpret_cast<LPARAM>(&zoomDenominator));
    ScopedWindowDC dc(note->titleEdit);
    int pixels = MulDiv(format.yHeight, GetDeviceCaps(dc.get(), LOGPIXELSY), 1440);
    if (zoomNumerator > 0 && zoomDenominator > 0) {
        pixels = MulDiv(pixels, zoomNumerator, zoomDenominator);
    }
    UniqueFont font(
        CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, format.szFaceName));
    ScopedSelect select(dc.get(), font.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    EXPECT_LE(metrics.tmHeight, heightOf(note->titleEdit)) << "the title's text is cut";

    // Folded, the sticky is its folded title bar, also as the smallest size.
    SendMessageW(note->window, WM_COMMAND, CommandFold, 0);
    EXPECT_EQ(heightOf(note->window), scaleToDpi(18, dpi));
    MINMAXINFO limits{};
    SendMessageW(note->window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.y, scaleToDpi(18, dpi));
    EXPECT_EQ(limits.ptMinTrackSize.x, scaleToDpi(30, dpi));
}

TEST_F(HighDpi, DpiChangeTakesTheSuggestedRectangle) {
    open("");
    const int from = note->dpi;
    const int to = from * 2;
    RECT suggested{50, 60, 650, 560};
    SendMessageW(note->window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    const RECT placed = rectOf(note->window);
    EXPECT_TRUE(EqualRect(&suggested, &placed));
    EXPECT_EQ(heightOf(note->titleEdit), scaleToDpi(20, to));
    EXPECT_EQ(integerAt(note->document.json, {"window", "position", "height"}, 0), 500)
        << "stored in screen pixels";
    int zoomNumerator = 0, zoomDenominator = 0;
    SendMessageW(note->bodyEdit, EM_GETZOOM, reinterpret_cast<WPARAM>(&zoomNumerator),
                 reinterpret_cast<LPARAM>(&zoomDenominator));
    ScopedWindowDC dc(note->bodyEdit);
    EXPECT_EQ(zoomNumerator * GetDeviceCaps(dc.get(), LOGPIXELSY), zoomDenominator * to) << "text zoomed";
    EXPECT_FLOAT_EQ(note->drawing.scale * static_cast<float>(GetDeviceCaps(dc.get(), LOGPIXELSY)),
                    static_cast<float>(to))
        << "the drawing zoomed with the text";

    // Folded: the window is the new folded title bar, the unfolded height goes along.
    SendMessageW(note->window, WM_COMMAND, CommandFold, 0);
    SendMessageW(note->window, WM_DPICHANGED, MAKEWPARAM(from, from), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(heightOf(note->window), scaleToDpi(18, from));
    EXPECT_EQ(integerAt(note->document.json, {"window", "position", "height"}, 0), 250);
}

TEST_F(LongNotes, ThumbDragLandsWhereItIsDropped) {
    open("", overflowingRtf(6000));
    // Wine's body scales its range and positions to 16 bits; Windows' reports pixels.
    SCROLLINFO info{sizeof info, SIF_RANGE};
    GetScrollInfo(note->bodyEdit, SB_VERT, &info);
    ASSERT_GE(info.nMax, 0xFFFF) << "the body reaches 16 bits";
    UpdateWindow(note->scrollBars.vWindow());
    // Grab the thumb and drag it down by three quarters of the bar.
    const RECT thumb = note->scrollBars.barState(false).thumbRect;
    const int length = heightOf(note->scrollBars.vWindow());
    SendMessageW(note->scrollBars.vWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, thumb.top + 2));
    SendMessageW(note->scrollBars.vWindow(), WM_MOUSEMOVE, MK_LBUTTON,
                 MAKELPARAM(2, thumb.top + 2 + length * 3 / 4));
    SendMessageW(note->scrollBars.vWindow(), WM_LBUTTONUP, 0, 0);
    POINT position{};
    SendMessageW(note->bodyEdit, EM_GETSCROLLPOS, 0, reinterpret_cast<LPARAM>(&position));
    EXPECT_NEAR(position.y, MulDiv(info.nMax, length * 3 / 4, length), info.nMax / 100)
        << "the thumb drops where it was dragged to";
}

TEST_F(Keyboard, MenuKeysOpenTheMenuOfThePart) {
    open("");
    MenuProbe probe;
    POINT corner{}, caret{};
    ClientToScreen(note->window, &corner);
    const struct {
        HWND part;
        bool lock, titleMenu;
    } cases[] = {{note->titleEdit, false, true},
                 {note->window, false, true},
                 {note->bodyEdit, false, false},
                 {note->drawing.window, false, false},
                 {note->bodyEdit, true, true}};
    for (const auto& c : cases) {
        if (c.lock != booleanAt(note->document.json, {"window", "lock"}, false)) {
            SendMessageW(note->window, WM_COMMAND, CommandLock, 0);
        }
        SetFocus(c.part);
        GetCaretPos(&caret);
        ClientToScreen(note->bodyEdit, &caret);
        MenuProbe::reset();
        SendMessageW(c.part, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(c.part), -1);
        EXPECT_NE(MenuProbe::firstItem, 0u) << "a menu opened";
        EXPECT_EQ(MenuProbe::firstItem == CommandNew, c.titleMenu) << "title menu or text menu";
        // At the caret of a focused body, else at the sticky's corner.
        const POINT at = c.part == note->bodyEdit ? caret : corner;
        EXPECT_EQ(MenuProbe::place.left, at.x);
        EXPECT_EQ(MenuProbe::place.top, at.y);
    }
    // The notification icon, version 4: Enter, Space or Shift+F10 on it, or a right click.
    for (UINT event : {UINT(NIN_KEYSELECT), UINT(WM_CONTEXTMENU), UINT(NIN_SELECT)}) {
        MenuProbe::reset();
        SendMessageW(fixture.app->mainWindow, WM_TRAYICON, MAKEWPARAM(300, 200),
                     MAKELPARAM(event, trayIconId));
        EXPECT_EQ(MenuProbe::place.left, event == NIN_SELECT ? 0 : 300) << event;
    }
}

TEST_F(ScreenReader, EveryPartHasAName) {
    for (const bool japanese : {false, true}) {
        if (japanese) {
            fixture.stop();
            fixture.storeSettings(R"({"language": "日本語"})");
            fixture.start();
            note = fixture.note(guidA);
        } else {
            open("", "{\\rtf1 body\\par}", R"({"language": "English"})");
        }
        ASSERT_NE(note, nullptr);
        const struct {
            HWND part;
            std::wstring english, japanese;
            long role;
        } cases[] = {
            {note->newButton, L"New sticky", L"新しい付箋", ROLE_SYSTEM_PUSHBUTTON},
            {note->trashButton, L"Move sticky to trash", L"付箋をゴミ箱へ", ROLE_SYSTEM_PUSHBUTTON},
            {note->titleEdit, L"Title", L"タイトル", ROLE_SYSTEM_TEXT},
            {note->bodyEdit, L"Text", L"本文", ROLE_SYSTEM_TEXT},
            {note->drawing.window, L"Drawing", L"手書き", ROLE_SYSTEM_CLIENT},
            {note->window, L"Sticky note: dpi", L"付箋: dpi", ROLE_SYSTEM_CLIENT},
        };
        for (const auto& c : cases) {
            ComPtr<IAccessible> object;
            ASSERT_EQ(AccessibleObjectFromWindow(c.part, OBJID_CLIENT, IID_IAccessible,
                                                 reinterpret_cast<void**>(object.GetAddressOf())),
                      S_OK);
            VARIANT self{};
            self.vt = VT_I4;
            self.lVal = CHILDID_SELF;
            BSTR name = nullptr;
            ASSERT_EQ(object->get_accName(self, &name), S_OK);
            EXPECT_EQ(std::wstring(name, SysStringLen(name)), japanese ? c.japanese : c.english);
            SysFreeString(name);
            VARIANT role{};
            ASSERT_EQ(object->get_accRole(self, &role), S_OK);
            EXPECT_EQ(role.lVal, c.role) << (japanese ? "Japanese" : "English");
        }
    }
}
