// The scribble drawn through the drawing interface onto a Cairo surface:
// erasers cut only what came before them, clear markers hide the past, the
// drawing follows the scroll position, and a frame drawn from what changed
// equals one drawn from scratch, pixel for pixel.
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
    ScribbleView view;
    Viewport viewport{100, 100, 0, 0, 1};
    void SetUp() override { scribble.library = &shapes; }
    void commit(Figure figure) { scribble.addFigure(std::move(figure)); }
    void render(int scrollX = 0, int scrollY = 0) {
        viewport.scrollX = scrollX;
        viewport.scrollY = scrollY;
        ASSERT_TRUE(view.render(scribble, canvas, viewport));
    }
    // The frame shown equals the same drawing drawn from scratch on a new canvas.
    void expectSameAsFull(const std::string& step) { expectSameAsFull(canvas, step); }
    void expectSameAsFull(const CairoCanvas& shown, const std::string& step) {
        Scribble copy = scribble;
        CairoCanvas fresh(shown.width(), shown.height());
        ScribbleView full;
        ASSERT_TRUE(full.render(copy, fresh, viewport));
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                ASSERT_EQ(shown.pixel(x, y), fresh.pixel(x, y)) << step << " at " << x << ", " << y;
            }
        }
    }
    void drag(PointF from, PointF to, int moves, bool renderEachMove = true) {
        scribble.beginStroke(from);
        render(viewport.scrollX, viewport.scrollY);
        for (int i = 1; i <= moves; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(moves);
            scribble.extendStroke({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t}, false);
            if (renderEachMove) {
                render(viewport.scrollX, viewport.scrollY);
                expectSameAsFull("move " + std::to_string(i));
            }
        }
        scribble.commitStroke(&canvas);
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
    render();
    EXPECT_EQ(canvas.pixel(40, 50), 0u);
    EXPECT_EQ(canvas.pixel(40, 30), opaqueRed);
}

TEST_F(Drawing, FramesDrawnFromWhatChangedEqualAFullRedraw) {
    // A canvas that keeps its frame (GDI+) and one that does not (a swap chain).
    for (bool keeps : {true, false}) {
        SCOPED_TRACE(keeps ? "frame kept" : "frame not kept");
        canvas.keeps = keeps;
        canvas.surfacesMade = 0;
        scribble = Scribble();
        scribble.library = &shapes;
        view = ScribbleView();
        view.keepCache(true);
        commit(filledRect({20, 20, 80, 80}));
        render();
        expectSameAsFull("a rectangle");

        scribble.strokeColor = {0, 0, 1, 1};
        scribble.setStrokeOpacity(0.5f);
        scribble.strokeWidth = 7;
        drag({5, 10}, {95, 60}, 12); // translucent over the rectangle and itself
        render();
        expectSameAsFull("the translucent line committed");
        EXPECT_EQ(canvas.surfacesMade, 1) << "one cache for the whole time";

        scribble.eraser = true;
        scribble.strokeWidth = 9;
        drag({0, 45}, {100, 50}, 8);
        render();
        expectSameAsFull("the eraser committed");
        EXPECT_EQ(canvas.pixel(50, 47), 0u) << "erased";

        scribble.eraser = false;
        scribble.setStrokeOpacity(1);
        drag({50, 0}, {52, 100}, 6);
        render();
        expectSameAsFull("a line after the eraser");

        ASSERT_TRUE(scribble.undo());
        ASSERT_TRUE(scribble.undo());
        render();
        expectSameAsFull("the eraser undone");
        EXPECT_NE(canvas.pixel(50, 47), 0u);
        ASSERT_TRUE(scribble.redo());
        render();
        expectSameAsFull("the eraser redone");
    }
}

TEST_F(Drawing, AMouseMoveRedrawsOnlyTheStrokesBounds) {
    view.keepCache(true);
    commit(filledRect({20, 20, 80, 80}));
    render();
    scribble.strokeWidth = 2;
    scribble.beginStroke({10, 10});
    for (float x = 11; x < 60; ++x) {
        scribble.extendStroke({x, 10}, false);
        render();
    }
    const RectI last = canvas.shownParts.back();
    EXPECT_EQ(last.top, 7) << "half the pen and two pixels above the line";
    EXPECT_EQ(last.bottom, 13);
    EXPECT_LE(last.left, 7);
    EXPECT_GE(last.right, 60);
    const int before = view.renders();
    render();
    EXPECT_EQ(view.renders(), before) << "an identical frame is not drawn again";
    EXPECT_EQ(canvas.shownParts.back(), last);
}

TEST_F(Drawing, ScrollingMovesPixelsAndKeepsErasedGapsInPlace) {
    CairoCanvas tall(100, 60);
    for (bool cached : {true, false}) {
        SCOPED_TRACE(cached ? "cached" : "drawn on the frame");
        scribble = Scribble();
        scribble.library = &shapes;
        view = ScribbleView();
        view.keepCache(cached);
        for (int i = 0; i < 8; ++i) {
            const float y = static_cast<float>(i * 25);
            commit(filledRect({10, y, 90, y + 20}));
            // Inside the surface across: Cairo cuts what lies outside off a
            // stroke, which would move its edges with a sideways scroll.
            commit(line({{5, y + 5}, {95, y + 12}}, 3, i % 3 == 0));
        }
        viewport = {100, 60, 0, 0, 1};
        const int steps[][2] = {{0, 0}, {0, 7}, {0, 30}, {3, 31}, {0, 12}, {0, 90}, {0, 88}};
        for (const auto& step : steps) {
            viewport.scrollX = step[0];
            viewport.scrollY = step[1];
            ASSERT_TRUE(view.render(scribble, tall, viewport));
            expectSameAsFull(tall, "scrolled to " + std::to_string(step[1]));
        }
    }
}

TEST_F(Drawing, AClickLeavesADotAndAnEraserClickADotHole) {
    commit(filledRect({40, 40, 80, 80}));
    scribble.strokeWidth = 8;
    scribble.strokeColor = {0, 0, 1, 1};
    scribble.beginStroke({20, 20});
    scribble.commitStroke(&canvas);
    scribble.eraser = true;
    scribble.beginStroke({60, 60});
    scribble.commitStroke(&canvas);
    render();
    EXPECT_EQ(canvas.pixel(20, 20), opaqueBlue);
    EXPECT_EQ(canvas.pixel(22, 20), opaqueBlue) << "as wide as the pen";
    EXPECT_EQ(canvas.pixel(28, 20), 0u);
    EXPECT_EQ(canvas.pixel(60, 60), 0u) << "the eraser's dot";
    EXPECT_EQ(canvas.pixel(70, 60), opaqueRed);
}

TEST_F(Drawing, TheDrawingFollowsTheTextZoom) {
    commit(filledRect({20, 20, 30, 30}));
    viewport.scale = 2;
    render();
    EXPECT_EQ(canvas.pixel(55, 55), opaqueRed);
    EXPECT_EQ(canvas.pixel(35, 35), 0u);
}

namespace {

// Two devices; the first reports a lost device on its first `losses` redraws.
struct Devices : CanvasSource {
    struct Losing : CairoCanvas {
        using CairoCanvas::CairoCanvas;
        int losses = 0;
        bool endDraw(const std::vector<RectI>& changed) override {
            return CairoCanvas::endDraw(changed) && losses-- <= 0;
        }
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
        scribble.figures[0].createGeometry(scribble.library, devices.first);
        std::weak_ptr<Shape> madeByFirst = scribble.figures[0].geometry;
        ScribbleView fresh;
        EXPECT_EQ(presentScribble(scribble, fresh, devices, viewport), c.shown) << c.losses << c.canBuild;
        EXPECT_EQ(madeByFirst.expired(), c.losses > 0) << "what the lost device made is let go";
        if (c.losses > 0 && c.canBuild) {
            EXPECT_EQ(devices.second.pixel(50, 30), opaqueRed) << "the figures live on in the drawing";
            EXPECT_EQ(devices.second.pixel(50, 50), 0u) << "and so do the erasers";
        }
    }
    // A canvas never draws what another made: the figures adopt the one they are drawn on.
    CairoCanvas other(100, 100);
    std::weak_ptr<Shape> before = scribble.figures[0].geometry;
    ScribbleView otherView;
    ASSERT_TRUE(otherView.render(scribble, other, viewport));
    EXPECT_TRUE(before.expired());
    EXPECT_EQ(other.pixel(50, 30), opaqueRed);
}
