// The drawing as the program shows it where it is painted over the body
// (GDI+): frames drawn from what changed equal full redraws, a stored drawing
// shows from the first paint, typing draws nothing, and a very large drawing
// is written so that it reads back.
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "scribble/BitmapCanvas_win.h"
#include "scribble/Render.h"
#include "storage/TextRead.h"

using namespace Brisvane;
using namespace Brisvane::testing;

namespace {

const std::wstring guidA = L"0a0a0a0a-0000-4000-8000-00000000000a";

struct Drawings : ::testing::Test {
    AppFixture fixture;
    void SetUp() override { fixture.storeSettings("{}"); }
};

} // namespace

TEST(GdiplusCanvas, FramesDrawnFromWhatChangedEqualAFullRedraw) {
    std::shared_ptr<GdiplusSession> session = GdiplusSession::start();
    ASSERT_TRUE(session);
    std::vector<std::uint32_t> shownPixels(100 * 60), freshPixels(100 * 60);
    BitmapCanvas shown(session), fresh(session);
    shown.setFrame({shownPixels.data(), 100, 60});
    fresh.setFrame({freshPixels.data(), 100, 60});
    Scribble scribble;
    for (int i = 0; i < 8; ++i) {
        const float y = static_cast<float>(i * 25);
        Figure line;
        line.points = {{5, y + 5}, {50, y + 9}, {95, y + 12}};
        line.strokeWidth = 3;
        line.eraser = i % 3 == 0;
        line.strokeColor = {0, 0, 1, 1};
        line.strokeOpacity = 0.6f;
        scribble.addFigure(line);
    }
    ScribbleView view;
    view.keepCache(true);
    Viewport viewport{100, 60, 0, 0, 1};
    auto expectSameAsFull = [&](const char* step) {
        ASSERT_TRUE(view.render(scribble, shown, viewport));
        Scribble copy = scribble;
        ScribbleView full;
        ASSERT_TRUE(full.render(copy, fresh, viewport));
        for (size_t i = 0; i < shownPixels.size(); ++i) {
            ASSERT_EQ(shownPixels[i], freshPixels[i]) << step << " at " << i % 100 << ", " << i / 100;
        }
    };
    for (POINT scroll : {POINT{0, 7}, POINT{0, 30}, POINT{3, 31}, POINT{0, 12}}) {
        viewport.scrollX = scroll.x;
        viewport.scrollY = scroll.y;
        expectSameAsFull("scrolled");
    }
    scribble.strokeWidth = 5;
    scribble.setStrokeOpacity(0.5f);
    scribble.beginStroke({5, 20});
    for (int i = 1; i < 20; ++i) {
        scribble.extendStroke({5.0f + static_cast<float>(i * 4), 20.0f + static_cast<float>((i % 4) * 3)},
                              false);
        expectSameAsFull("a mouse move");
    }
    scribble.commitStroke(&shown);
    expectSameAsFull("committed");
    scribble.eraser = true;
    scribble.beginStroke({0, 30});
    scribble.extendStroke({90, 35}, false);
    expectSameAsFull("erasing");
    scribble.commitStroke(&shown);
    expectSameAsFull("the eraser committed");
    // The second line crosses content (45, 33), under the eraser: 12 rows up when scrolled.
    EXPECT_EQ(shownPixels[21 * 100 + 45], 0u) << "erased where it shows";
    EXPECT_NE(shownPixels[24 * 100 + 93], 0u) << "the line past the eraser's end";

    // A click leaves a dot of the pen's width.
    scribble.eraser = false;
    scribble.setStrokeOpacity(1);
    scribble.beginStroke({70, 62});
    scribble.commitStroke(&shown);
    expectSameAsFull("a click");
    EXPECT_EQ(shownPixels[50 * 100 + 71], 0xff000000u) << "black, the pen's colour";
    EXPECT_EQ(shownPixels[50 * 100 + 76], 0u);
}

namespace {

// A stored drawing of `count` short free lines (one in a hundred an eraser)
// spread over `height` pixels, written compactly as a large one would be.
std::string storedDrawing(int count, int height) {
    std::string figures;
    figures.reserve(static_cast<size_t>(count) * 180);
    for (int i = 0; i < count; ++i) {
        const int x = (i * 37) % 200, y = (i * 53) % height;
        figures += (i ? "," : "") + std::string(R"({"eraser":)") + (i % 100 == 99 ? "true" : "false") +
                   R"(,"fillColor":"#000000","fillOpacity":0.0,"points":")" + std::to_string(x) + "," +
                   std::to_string(y) + "," + std::to_string(x + 8) + "," + std::to_string(y + 5) + "," +
                   std::to_string(x + 15) + "," + std::to_string(y + 2) +
                   R"(","strokeColor":"#0000ff","strokeOpacity":1.0,"strokeWidth":2.0,"tool":"freeline"})";
    }
    return R"({"title":"large","mode":"text","window":{"position":{"left":100,"top":100,"width":240,"height":300}},)"
           R"("scribble":{"figure":[)" +
           figures + "]}}";
}

COLORREF bodyPixel(const Note& note, int x, int y) {
    ScopedWindowDC dc(note.bodyEdit);
    return GetPixel(dc.get(), x, y);
}

} // namespace

TEST_F(Drawings, ATextModeStickyShowsItsDrawingFromTheFirstPaint) {
    fixture.storeNote(guidA, R"({"title": "drawn", "mode": "text",
        "window": {"position": {"left": 100, "top": 100, "width": 240, "height": 300}},
        "scribble": {"figure": [{"tool": "rectangle", "eraser": false, "strokeWidth": 1,
        "strokeColor": "#ff0000", "strokeOpacity": 1, "fillColor": "#ff0000", "fillOpacity": 1,
        "rect": {"left": 10, "top": 10, "right": 60, "bottom": 40}}]}})");
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    ASSERT_TRUE(note->drawing.device.paintsOver());
    EXPECT_FALSE(fixture.app->drawingSystem.composition())
        << "Wine composes nothing: no Direct3D device is tried";
    EXPECT_EQ(bodyPixel(*note, 30, 25), RGB(255, 0, 0)) << "before any click";
    EXPECT_NE(bodyPixel(*note, 100, 100), RGB(255, 0, 0));
}

TEST_F(Drawings, TypingOverALargeDrawingDrawsNothing) {
    fixture.storeNote(guidA, storedDrawing(1000, 220));
    fixture.start();
    Note* note = fixture.note(guidA);
    ASSERT_NE(note, nullptr);
    ASSERT_EQ(note->drawing.scribble.figures.size(), 1000u);
    SetFocus(note->bodyEdit);
    pumpMessages(100);
    const int renders = note->drawing.view.renders();
    EXPECT_GT(renders, 0) << "the drawing was shown";
    for (wchar_t c : std::wstring(L"typed without drawing")) {
        SendMessageW(note->bodyEdit, WM_KEYDOWN, 'A', 0);
        SendMessageW(note->bodyEdit, WM_CHAR, c, 0);
        SendMessageW(note->bodyEdit, WM_KEYUP, 'A', 0);
        pumpMessages(5);
    }
    wchar_t text[64] = L"";
    GetWindowTextW(note->bodyEdit, text, 64);
    EXPECT_STREQ(text, L"typed without drawing");
    EXPECT_EQ(note->drawing.view.renders(), renders);
}

TEST_F(Drawings, ANoteOfSeventyThousandFiguresSurvivesTwoStartsAndCloses) {
    fixture.storeNote(guidA, storedDrawing(70000, 20000));
    for (int cycle = 0; cycle < 2; ++cycle) {
        if (cycle == 0) {
            fixture.start();
        } else {
            fixture.restart();
        }
        Note* note = fixture.note(guidA);
        ASSERT_NE(note, nullptr) << cycle;
        ASSERT_EQ(note->drawing.scribble.figures.size(), 70000u) << cycle;
        note->markChanged(SaveFigures | SaveJson); // written again at the close
    }
    fixture.stop();
    const std::string written = fixture.readNoteFile(guidA, L"note.json");
    EXPECT_LE(written.size(), maxStoredTextBytes);
    EXPECT_EQ(written.find("\n  "), std::string::npos) << "written compactly";
    const Json stored = fixture.readNoteJson(guidA);
    const Json* figures = findPath(stored, {"scribble", "figure"});
    ASSERT_TRUE(figures && figures->is_array());
    EXPECT_EQ(figures->size(), 70000u);
}
