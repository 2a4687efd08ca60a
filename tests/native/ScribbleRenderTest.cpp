// The scribble drawn through the drawing interface onto a Cairo surface:
// erasers cut only what came before them, clear markers hide the past and
// the drawing follows the scroll position.
#include <gtest/gtest.h>

#include "CairoCanvas.h"
#include "scribble/Render.h"

using namespace Brisvane;
using Brisvane::testing::CairoCanvas;

namespace {

constexpr std::uint32_t opaqueRed = 0xffff0000;
constexpr std::uint32_t opaqueBlue = 0xff0000ff;
const RectF view{0, 0, 100, 100};

Json library() {
    return parseJson(R"([{"name": "rectangle", "localName": {}, "viewBox": {"width": 100, "height": 100},
                          "figure": [{"shape": "rect", "left": 0, "top": 0, "right": 100, "bottom": 100}]}])");
}

Figure filledRect(RectF rect) {
    Figure figure;
    figure.tool = L"rectangle";
    figure.rect = rect;
    figure.fillColor = {1, 0, 0, 1};
    figure.fillOpacity = 1;
    figure.strokeColor = {1, 0, 0, 1};
    return figure;
}

Figure line(std::vector<PointF> points, float width, bool eraser, ColourF colour = {0, 0, 1, 1}) {
    Figure figure;
    figure.points = std::move(points);
    figure.strokeWidth = width;
    figure.eraser = eraser;
    figure.strokeColor = colour;
    return figure;
}

struct Drawing : ::testing::Test {
    Json shapes = library();
    Scribble scribble;
    CairoCanvas canvas{100, 100};
    void SetUp() override { scribble.library = &shapes; }
    void commit(Figure figure) {
        scribble.addFigure(std::move(figure));
        rebuildEraseMasks(scribble, canvas, view);
    }
    void render(int scrollX = 0, int scrollY = 0) {
        renderScribble(scribble, canvas, view, scrollX, scrollY);
    }
};

} // namespace

TEST_F(Drawing, ErasersCutOnlyTheFiguresBeforeThem) {
    commit(filledRect({20, 20, 80, 80}));
    render();
    EXPECT_EQ(canvas.pixel(50, 50), opaqueRed);
    EXPECT_EQ(canvas.pixel(10, 10), 0u);

    commit(line({{0, 50}, {100, 50}}, 10, true));
    render();
    EXPECT_EQ(canvas.pixel(50, 50), 0u) << "erased band";
    EXPECT_EQ(canvas.pixel(50, 30), opaqueRed);
    EXPECT_EQ(canvas.pixel(50, 70), opaqueRed);

    commit(line({{50, 0}, {50, 100}}, 4, false));
    render();
    EXPECT_EQ(canvas.pixel(50, 50), opaqueBlue) << "a later line shows across the erased band";
    EXPECT_EQ(canvas.pixel(30, 50), 0u);

    ASSERT_TRUE(scribble.undo());
    ASSERT_TRUE(scribble.undo());
    rebuildEraseMasks(scribble, canvas, view);
    render();
    EXPECT_EQ(canvas.pixel(50, 50), opaqueRed) << "undoing the eraser restores the rectangle";
    EXPECT_EQ(canvas.pixel(30, 50), opaqueRed);
}

TEST_F(Drawing, ClearLeavesNothingAndUndoBringsItBack) {
    commit(filledRect({20, 20, 80, 80}));
    commit(line({{0, 10}, {100, 10}}, 4, false));
    scribble.clearDrawing();
    render();
    EXPECT_TRUE(canvas.allTransparent());
    ASSERT_TRUE(scribble.undo());
    render();
    EXPECT_EQ(canvas.pixel(50, 50), opaqueRed);
    EXPECT_EQ(canvas.pixel(50, 10), opaqueBlue);
}

TEST_F(Drawing, ScrollingMovesTheDrawingAndItsGaps) {
    commit(filledRect({20, 20, 80, 80}));
    commit(line({{0, 50}, {100, 50}}, 10, true));
    render(0, 30);
    EXPECT_EQ(canvas.pixel(50, 20), 0u) << "the gap moved up with the content";
    EXPECT_EQ(canvas.pixel(50, 40), opaqueRed);
    EXPECT_EQ(canvas.pixel(50, 60), 0u) << "the rectangle ends at content row 80";
}

TEST_F(Drawing, OutlinesOnlyWithoutFillAndLinesNeverFilled) {
    Figure outline = filledRect({20, 20, 80, 80});
    outline.fillOpacity = 0;
    outline.strokeWidth = 4;
    commit(outline);
    Figure closedLine = line({{10, 90}, {90, 90}, {50, 85}}, 1, false);
    closedLine.fillOpacity = 1;
    commit(closedLine);
    render();
    EXPECT_EQ(canvas.pixel(50, 50), 0u);
    EXPECT_EQ(canvas.pixel(50, 20), opaqueRed);
    EXPECT_EQ(canvas.pixel(50, 88), 0u) << "inside the line's triangle";
}

TEST_F(Drawing, TheStrokeInProgressShowsAndALiveEraserCuts) {
    commit(filledRect({20, 20, 80, 80}));
    scribble.strokeWidth = 6;
    scribble.strokeColor = {0, 0, 1, 1};
    scribble.beginStroke({50, 0});
    for (float y = 2; y <= 100; y += 2) {
        scribble.extendStroke({50, y}, false);
    }
    render();
    EXPECT_EQ(canvas.pixel(50, 40), opaqueBlue);
    scribble.cancelStroke();
    scribble.eraser = true;
    scribble.beginStroke({0, 50});
    for (float x = 2; x <= 100; x += 2) {
        scribble.extendStroke({x, 50}, false);
    }
    render();
    EXPECT_EQ(canvas.pixel(40, 50), 0u);
    EXPECT_EQ(canvas.pixel(40, 30), opaqueRed);
    scribble.commitStroke(&canvas);
    rebuildEraseMasks(scribble, canvas, view);
    render();
    EXPECT_EQ(canvas.pixel(40, 50), 0u);
    EXPECT_EQ(canvas.pixel(40, 30), opaqueRed);
}

TEST_F(Drawing, MasksFollowEverySizeChange) {
    // Masks built for a sticky loaded folded (an empty window) or for a smaller
    // one must not hide what lies outside them once the window is larger.
    const struct {
        RectF builtFor;
        int x, y;
    } cases[] = {{{0, 0, 0, 0}, 50, 30}, {{0, 0, 100, 40}, 50, 70}, {{0, 0, 40, 100}, 70, 30}};
    commit(filledRect({20, 20, 80, 80}));
    commit(line({{0, 50}, {100, 50}}, 10, true));
    for (const auto& c : cases) {
        rebuildEraseMasks(scribble, canvas, c.builtFor);
        render();
        EXPECT_EQ(canvas.pixel(c.x, c.y), opaqueRed) << c.builtFor.right << "x" << c.builtFor.bottom;
        EXPECT_EQ(canvas.pixel(50, 50), 0u) << "the erased band stays erased";
    }
}

namespace {

// Two devices; the first reports a lost device on its first `losses` redraws.
struct Devices : CanvasSource {
    struct Losing : CairoCanvas {
        using CairoCanvas::CairoCanvas;
        int losses = 0;
        bool endDraw() override { return CairoCanvas::endDraw() && losses-- <= 0; }
    } first{100, 100};
    CairoCanvas second{100, 100};
    bool secondMade = false, canBuild = true;
    Canvas* canvas() override { return secondMade ? static_cast<Canvas*>(&second) : &first; }
    bool rebuild() override { return secondMade = canBuild; }
};

} // namespace

TEST_F(Drawing, ALostDeviceIsRebuiltAndNothingOfItIsKept) {
    commit(filledRect({20, 20, 80, 80}));
    commit(line({{0, 50}, {100, 50}}, 10, true));
    const struct {
        int losses;
        bool canBuild, shown;
    } cases[] = {{0, true, true}, {1, true, true}, {1, false, false}};
    for (const auto& c : cases) {
        Devices devices;
        devices.first.losses = c.losses;
        devices.canBuild = c.canBuild;
        forgetCanvasObjects(scribble);
        rebuildEraseMasks(scribble, devices.first, view);
        std::weak_ptr<Shape> madeByFirst = scribble.figures[1].geometry;
        EXPECT_EQ(presentScribble(scribble, devices, view, 0, 0), c.shown) << c.losses << c.canBuild;
        EXPECT_EQ(madeByFirst.expired(), c.losses > 0) << "what the lost device made is let go";
        if (c.losses > 0 && c.canBuild) {
            EXPECT_EQ(devices.second.pixel(50, 30), opaqueRed) << "the figures live on in the drawing";
            EXPECT_EQ(devices.second.pixel(50, 50), 0u) << "and so do the erasers";
        }
    }
}
