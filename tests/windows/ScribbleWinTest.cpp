// The drawing layer on a live sticky: strokes sent to the drawing window become
// stored figures, the context menus offer what they should, and a sticky kept
// in scribble mode leaves the text usable.
#include <gtest/gtest.h>

#include <objbase.h>
#include <richedit.h>
#include <wincodec.h>

#include "AppFixture.h"
#include "scribble/D2DCanvas_win.h"
#include "scribble/DrawingMenu.h"
#include "scribble/Render.h"
#include "storage/TextCodec.h"

using namespace Brisvane;
using namespace Brisvane::testing;
using Microsoft::WRL::ComPtr;

namespace {

const std::wstring guidA = L"0a0a0a0a-0000-4000-8000-00000000000a";
const std::wstring guidB = L"0b0b0b0b-0000-4000-8000-00000000000b";

std::string noteJson(const std::string& mode, const std::string& scribble = "{}") {
    return R"({"title": "drawn", "mode": ")" + mode +
           R"(", "window": {"position": {"left": 100, "top": 100, "width": 240, "height": 300}},
              "scribble": )" +
           scribble + "}";
}

struct Scribbles : ::testing::Test {
    AppFixture fixture;
    void SetUp() override { fixture.storeSettings("{}"); }
};

struct MenuItem {
    UINT id;
    std::wstring text;
    UINT state;
    HMENU sub;
};

std::vector<MenuItem> itemsOf(HMENU menu) {
    std::vector<MenuItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = L"";
        MENUITEMINFOW info{sizeof info, MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING | MIIM_FTYPE};
        info.dwTypeData = text;
        info.cch = 128;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back(
            {info.wID, (info.fType & MFT_OWNERDRAW) ? L"" : text, info.fState | info.fType, info.hSubMenu});
    }
    return items;
}

// Ids (of items without a sub-menu) and labels, in order; separators are {0, ""}.
void expectItems(const std::vector<MenuItem>& items,
                 const std::vector<std::pair<UINT, std::wstring>>& expected) {
    ASSERT_EQ(items.size(), expected.size());
    for (size_t i = 0; i < items.size(); ++i) {
        if (!items[i].sub) {
            EXPECT_EQ(items[i].id, expected[i].first) << i;
        }
        EXPECT_EQ(items[i].text, expected[i].second) << i;
    }
}

void drawStroke(HWND target, std::initializer_list<POINT> points) {
    auto at = [](POINT p) { return MAKELPARAM(p.x, p.y); };
    auto it = points.begin();
    SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at(*it));
    for (++it; it != points.end(); ++it) {
        SendMessageW(target, WM_MOUSEMOVE, MK_LBUTTON, at(*it));
    }
    SendMessageW(target, WM_LBUTTONUP, 0, at(*(points.end() - 1)));
}

} // namespace

TEST_F(Scribbles, StoredInScribbleModeTheTextStaysUsable) {
    fixture.storeNote(guidA, noteJson("scribble"));
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    EXPECT_NE(GetFocus(), note->drawing.window) << "a sticky opened in the background takes no focus";
    EXPECT_NE(GetActiveWindow(), note->window);

    SendMessageW(note->window, WM_COMMAND, CommandMode, 0);
    EXPECT_EQ(stringAt(note->document.json, {"mode"}, ""), "text");
    EXPECT_EQ(GetFocus(), note->bodyEdit);
    RECT body{};
    GetClientRect(note->bodyEdit, &body);
    POINT middle{body.right / 2, body.bottom / 2};
    MapWindowPoints(note->bodyEdit, note->window, &middle, 1);
    EXPECT_EQ(ChildWindowFromPointEx(note->window, middle, CWP_SKIPINVISIBLE), note->bodyEdit)
        << "the body lies above the drawing";
    SendMessageW(GetFocus(), WM_CHAR, L'x', 0);
    SendMessageW(GetFocus(), WM_CHAR, L'y', 0);
    wchar_t text[16] = L"";
    GetWindowTextW(note->bodyEdit, text, 16);
    EXPECT_STREQ(text, L"xy");

    SendMessageW(note->window, WM_COMMAND, CommandMode, 0);
    EXPECT_EQ(stringAt(note->document.json, {"mode"}, ""), "scribble");
    EXPECT_EQ(GetFocus(), note->drawing.window);
    EXPECT_EQ(ChildWindowFromPointEx(note->window, middle, CWP_SKIPINVISIBLE), note->drawing.window);
}

TEST_F(Scribbles, StrokesAreCommittedSavedAndComeBackBelowTheFloor) {
    fixture.storeNote(guidA, noteJson("scribble", R"({"strokeWidth": 3, "strokeColor": "#ff0000"})"));
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    drawStroke(note->drawing.window, {{10, 10}, {20, 15}, {30, 20}, {40, 30}, {50, 50}});
    SendMessageW(note->window, WM_COMMAND, 9005, 0); // rhombus
    drawStroke(note->drawing.window, {{60, 60}, {90, 100}});
    ASSERT_EQ(note->drawing.scribble.figures.size(), 2u);
    EXPECT_TRUE(note->drawing.scribble.canUndo());
    bool figuresPending = false;
    for (const PendingSave& save : fixture.app->pendingSaves) {
        figuresPending = figuresPending || (save.guid == guidA && (save.flags & SaveFigures));
    }
    EXPECT_TRUE(figuresPending);

    fixture.restart();
    Json stored = fixture.readNoteJson(guidA);
    const Json* figures = findPath(stored, {"scribble", "figure"});
    ASSERT_TRUE(figures && figures->is_array());
    ASSERT_EQ(figures->size(), 2u);
    EXPECT_EQ((*figures)[0]["tool"], "freeline");
    EXPECT_EQ((*figures)[0]["strokeColor"], "#ff0000");
    EXPECT_EQ(serializeJson((*figures)[0]["strokeWidth"]), "3.0");
    EXPECT_TRUE((*figures)[0]["points"].get<std::string>().starts_with("10,10"));
    EXPECT_EQ((*figures)[1]["tool"], "rhombus");
    EXPECT_EQ((*figures)[1]["rect"]["right"], 90.0f);

    note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    ASSERT_EQ(note->drawing.scribble.figures.size(), 2u);
    EXPECT_EQ(note->drawing.scribble.figures[1].tool, L"rhombus");
    EXPECT_FALSE(note->drawing.scribble.canUndo()) << "what was loaded cannot be undone";
    SendMessageW(note->window, WM_COMMAND, CommandFigureUndo, 0);
    EXPECT_EQ(note->drawing.scribble.position, 2u);

    // Both presses of a double click draw.
    for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
        SendMessageW(note->drawing.window, press, MK_LBUTTON, MAKELPARAM(100, 100));
        SendMessageW(note->drawing.window, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
    }
    EXPECT_EQ(note->drawing.scribble.figures.size(), 4u);
}

TEST_F(Scribbles, DrawingMenuReadsItemByItem) {
    fixture.storeNote(guidA,
                      noteJson("scribble", R"({"strokeWidth": 2.5, "strokeOpacity": 0.3, "tool": "star"})"));
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    UniqueMenu menu(note->contextMenu.build());
    std::vector<MenuItem> items = itemsOf(menu.get());
    const std::vector<std::pair<UINT, std::wstring>> expected = {{200, L"Undo"},
                                                                 {201, L"Redo"},
                                                                 {0, L""},
                                                                 {0, L"Tools"},
                                                                 {0, L"Stroke width"},
                                                                 {0, L""},
                                                                 {0, L"Stroke color"},
                                                                 {0, L"Stroke opacity"},
                                                                 {0, L"Fill color"},
                                                                 {0, L"Fill opacity"},
                                                                 {0, L""},
                                                                 {300, L"Eraser mode"},
                                                                 {301, L"Clear"},
                                                                 {0, L""},
                                                                 {400, L"Scribble mode"},
                                                                 {0, L""},
                                                                 {0, L"Title menu"},
                                                                 {0, L""},
                                                                 {10, L"Cancel"}};
    ASSERT_NO_FATAL_FAILURE(expectItems(items, expected));
    EXPECT_TRUE(items[0].state & MFS_GRAYED) << "no figures: nothing to undo";
    EXPECT_TRUE(items[1].state & MFS_GRAYED);
    EXPECT_TRUE(items[14].state & MFS_CHECKED);

    std::vector<MenuItem> tools = itemsOf(items[3].sub);
    ASSERT_EQ(tools.size(), 52u);
    EXPECT_EQ(tools[0].id, 302u);
    EXPECT_EQ(tools[0].text, L"Freeline");
    EXPECT_EQ(tools[10].text, L"Star");
    EXPECT_TRUE(tools[10].state & MFS_CHECKED);
    for (size_t entry = 0; entry < 51; ++entry) {
        EXPECT_EQ(tools[entry + 1].id, 9000 + entry);
        EXPECT_EQ((tools[entry + 1].state & MFT_MENUBARBREAK) != 0, entry == 14 || entry == 29 || entry == 44)
            << entry;
    }
    std::vector<MenuItem> widths = itemsOf(items[4].sub);
    ASSERT_EQ(widths.size(), 19u);
    EXPECT_EQ(widths[0].text, L"0.50 px");
    EXPECT_EQ(widths[18].text, L"100.00 px");
    for (size_t i = 0; i < widths.size(); ++i) {
        EXPECT_EQ((widths[i].state & MFS_CHECKED) != 0, i == 4) << "2.50 px only";
    }
    std::vector<MenuItem> strokeColours = itemsOf(items[6].sub);
    ASSERT_EQ(strokeColours.size(), 130u);
    EXPECT_EQ(strokeColours[5].id, 7005u);
    EXPECT_TRUE(strokeColours[10].state & MFT_MENUBARBREAK);
    EXPECT_TRUE(strokeColours[9].state & MFS_CHECKED) << "the stored #000000 is the last grey";
    std::vector<MenuItem> opacities = itemsOf(items[7].sub);
    ASSERT_EQ(opacities.size(), 11u);
    EXPECT_EQ(opacities[3].text, L"30%");
    EXPECT_TRUE(opacities[3].state & MFS_CHECKED);
    EXPECT_EQ(itemsOf(items[9].sub)[10].id, 12010u);

    drawStroke(note->drawing.window, {{10, 10}, {60, 60}});
    SendMessageW(note->window, WM_COMMAND, CommandFigureUndo, 0);
    menu.reset(note->contextMenu.build());
    items = itemsOf(menu.get());
    EXPECT_TRUE(items[0].state & MFS_GRAYED) << "back at the floor";
    EXPECT_FALSE(items[1].state & MFS_GRAYED) << "the undone figure can be redone";
}

TEST_F(Scribbles, TextMenuReadsItemByItemAndPenCommandsAreStored) {
    fixture.storeNote(guidA, noteJson("text"));
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    SendMessageW(note->bodyEdit, EM_EMPTYUNDOBUFFER, 0, 0);
    UniqueMenu menu(note->contextMenu.build());
    std::vector<MenuItem> items = itemsOf(menu.get());
    const std::vector<std::pair<UINT, std::wstring>> expected = {{100, L"Undo"},
                                                                 {101, L"Redo"},
                                                                 {0, L""},
                                                                 {102, L"Cut"},
                                                                 {103, L"Copy"},
                                                                 {104, L"Paste"},
                                                                 {0, L""},
                                                                 {107, L"Bold"},
                                                                 {108, L"Italic"},
                                                                 {109, L"Underline"},
                                                                 {110, L"Strikethrough"},
                                                                 {0, L""},
                                                                 {0, L"Text color"},
                                                                 {0, L"Back color"},
                                                                 {0, L"Font size"},
                                                                 {0, L"Font name"},
                                                                 {111, L"Word wrap"},
                                                                 {0, L""},
                                                                 {400, L"Scribble mode"},
                                                                 {0, L""},
                                                                 {0, L"Title menu"},
                                                                 {0, L""},
                                                                 {10, L"Cancel"}};
    ASSERT_NO_FATAL_FAILURE(expectItems(items, expected));
    EXPECT_TRUE(items[0].state & MFS_GRAYED);
    EXPECT_TRUE(items[16].state & MFS_CHECKED) << "word wrap is on by default";
    EXPECT_FALSE(items[18].state & MFS_CHECKED);
    std::vector<MenuItem> sizes = itemsOf(items[14].sub);
    ASSERT_EQ(sizes.size(), 16u);
    EXPECT_EQ(sizes[15].id, 5015u);
    EXPECT_EQ(sizes[15].text, L"72");
    for (const MenuItem& colour : itemsOf(items[12].sub)) {
        EXPECT_FALSE(colour.state & MFS_CHECKED);
    }

    SetFocus(note->bodyEdit);
    SendMessageW(note->bodyEdit, WM_CHAR, L'a', 0);
    menu.reset(note->contextMenu.build());
    items = itemsOf(menu.get());
    EXPECT_FALSE(items[0].state & MFS_GRAYED) << "typing can be undone";

    struct Command {
        int id;
        const char* member;
        Json value;
    };
    const Command commands[] = {
        {10002, "strokeWidth", 1.5f},   {9005, "tool", "rhombus"},    {302, "tool", "freeline"},
        {11003, "strokeOpacity", 0.3f}, {12010, "fillOpacity", 1.0f}, {7009, "strokeColor", "#000000"},
        {300, "eraser", true},
    };
    for (const Command& c : commands) {
        SendMessageW(note->window, WM_COMMAND, static_cast<WPARAM>(c.id), 0);
        EXPECT_EQ(valueAt(note->document.json, {"scribble", c.member}), c.value) << c.id;
    }
    EXPECT_FLOAT_EQ(note->drawing.scribble.strokeOpacity, 0.3f);
    EXPECT_TRUE(note->drawing.scribble.eraser);
}

TEST(Direct2DCanvas, DrawsFiguresIntoABitmap) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    {
        ComPtr<IWICImagingFactory> imaging;
        ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_PPV_ARGS(&imaging))));
        ComPtr<IWICBitmap> bitmap;
        ASSERT_TRUE(SUCCEEDED(
            imaging->CreateBitmap(100, 100, GUID_WICPixelFormat32bppPBGRA, WICBitmapCacheOnLoad, &bitmap)));
        ComPtr<ID2D1Factory1> factory;
        ASSERT_TRUE(SUCCEEDED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory1),
                                                nullptr, reinterpret_cast<void**>(factory.GetAddressOf()))));
        ComPtr<ID2D1RenderTarget> target;
        ASSERT_TRUE(SUCCEEDED(
            factory->CreateWicBitmapRenderTarget(bitmap.Get(), D2D1::RenderTargetProperties(), &target)));
        Json library =
            parseJson(R"([{"name": "rectangle", "localName": {}, "viewBox": {"width": 10, "height": 10},
                                      "figure": [{"shape": "path", "d": "M0,0h10v10H0z"}]}])");
        Scribble scribble;
        scribble.library = &library;
        Figure square;
        square.tool = L"rectangle";
        square.rect = {20, 20, 80, 80};
        square.fillColor = {1, 0, 0, 1};
        square.fillOpacity = 1;
        scribble.addFigure(square);
        Figure line;
        line.points = {{0, 50}, {100, 50}};
        line.strokeWidth = 6;
        line.strokeColor = {0, 0, 1, 1};
        scribble.addFigure(line);
        D2DCanvas canvas(factory, target, true);
        ScribbleView view;
        ASSERT_TRUE(view.render(scribble, canvas, {100, 100, 0, 10, 1}));

        auto pixel = [&](UINT x, UINT y) {
            WICRect all{0, 0, 100, 100};
            ComPtr<IWICBitmapLock> lock;
            bitmap->Lock(&all, WICBitmapLockRead, &lock);
            UINT size = 0, stride = 0;
            BYTE* data = nullptr;
            lock->GetStride(&stride);
            lock->GetDataPointer(&size, &data);
            return *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
        };
        EXPECT_EQ(pixel(50, 15), 0xffff0000u) << "red square scrolled up by 10";
        EXPECT_EQ(pixel(50, 75), 0u);
        EXPECT_EQ(pixel(50, 40), 0xff0000ffu) << "the line drawn over it";
        EXPECT_EQ(pixel(5, 5), 0u);

        // Wine's Direct2D draws nothing with the copy blend an eraser clears
        // with: the eraser is checked on Windows only.
        if (!GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
            Figure eraser = line;
            eraser.points = {{0, 30}, {100, 30}};
            eraser.eraser = true;
            scribble.addFigure(eraser);
            EXPECT_TRUE(view.render(scribble, canvas, {100, 100, 0, 10, 1}));
            EXPECT_EQ(pixel(50, 20), 0u) << "erased";
            EXPECT_EQ(pixel(50, 40), 0xff0000ffu) << "the eraser's width only";
            EXPECT_EQ(pixel(50, 15), 0xffff0000u);
        }
    }
    CoUninitialize();
}
