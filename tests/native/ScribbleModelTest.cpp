// The drawing's history and stored form, and how a mouse stroke becomes points.
#include <gtest/gtest.h>

#include <cmath>

#include "scribble/Scribble.h"

using namespace Brisvane;

namespace {

Figure figureNamed(const wchar_t* tool) {
    Figure figure;
    figure.tool = tool;
    figure.rect = {1, 2, 3, 4};
    return figure;
}

std::vector<std::string> toolsOf(const Json& array) {
    std::vector<std::string> tools;
    for (const Json& element : array) {
        tools.push_back(element["tool"].get<std::string>());
    }
    return tools;
}

} // namespace

TEST(ScribbleHistory, ClearMarkersUndoAndTheFloor) {
    Scribble scribble;
    for (const wchar_t* tool : {L"A", L"clear", L"B", L"C"}) {
        scribble.addFigure(figureNamed(tool));
    }
    EXPECT_EQ(scribble.position, 4u);
    EXPECT_EQ(scribble.lastClear(), 1u);
    Json saved;
    saveFigures(scribble, saved);
    EXPECT_EQ(toolsOf(saved), (std::vector<std::string>{"clear", "B", "C"}));
    EXPECT_EQ(saved[0]["rect"]["right"], 3.0f) << "a clear marker is saved with its rect";

    Scribble reloaded;
    ASSERT_TRUE(loadFigures(reloaded, saved));
    EXPECT_EQ(reloaded.position, 3u);
    EXPECT_EQ(reloaded.floor, 3u);
    EXPECT_FALSE(reloaded.canUndo());
    EXPECT_FALSE(reloaded.undo());
    reloaded.addFigure(figureNamed(L"D"));
    EXPECT_TRUE(reloaded.undo());
    EXPECT_FALSE(reloaded.undo()) << "only what was drawn after loading can be undone";

    ASSERT_TRUE(scribble.undo());
    saveFigures(scribble, saved);
    EXPECT_EQ(toolsOf(saved), (std::vector<std::string>{"clear", "B"})) << "the undone figure is not saved";
    ASSERT_TRUE(scribble.undo());
    ASSERT_TRUE(scribble.undo());
    EXPECT_EQ(scribble.lastClear(), 0u) << "the clear marker is undone too";
    scribble.addFigure(figureNamed(L"E"));
    EXPECT_FALSE(scribble.canRedo()) << "drawing drops the redo tail";
    EXPECT_EQ(scribble.figures.size(), 2u);
    scribble.clearDrawing();
    EXPECT_EQ(scribble.figures.back().tool, L"clear");
    EXPECT_EQ(scribble.lastClear(), 2u);
}

TEST(ScribbleFileForm, FiguresRoundTripAsStored) {
    Scribble scribble;
    Figure line;
    line.points = {{10.9f, -3.7f}, {0.5f, 2}};
    line.strokeColor = colourFromValue(0x00ff800a);
    line.strokeWidth = 2;
    line.strokeOpacity = 0.3f;
    scribble.addFigure(line);
    Figure shape = figureNamed(L"rhombus");
    shape.rect = {50, 50, 10, 10};
    shape.eraser = true;
    shape.fillColor = colourFromValue(0x00010203);
    scribble.addFigure(shape);
    Json saved;
    saveFigures(scribble, saved);
    EXPECT_EQ(saved[0]["points"], "10,-3,0,2") << "coordinates truncated toward zero";
    EXPECT_EQ(saved[0]["strokeColor"], "#0a80ff");
    EXPECT_FALSE(saved[0].contains("rect"));
    EXPECT_FALSE(saved[1].contains("points"));
    EXPECT_EQ(serializeJson(saved[0]["strokeWidth"]), "2.0");
    EXPECT_EQ(serializeJson(saved[0]["strokeOpacity"]), "0.3");
    EXPECT_EQ(saved[1]["fillColor"], "#030201");

    Scribble reloaded;
    ASSERT_TRUE(loadFigures(reloaded, saved));
    ASSERT_EQ(reloaded.figures.size(), 2u);
    EXPECT_EQ(reloaded.figures[0].strokeColor, line.strokeColor);
    EXPECT_EQ(reloaded.figures[0].points, (std::vector<PointF>{{10, -3}, {0, 2}}));
    EXPECT_FLOAT_EQ(reloaded.figures[1].rect.left, 50) << "reversed corners are kept";
    EXPECT_FLOAT_EQ(reloaded.figures[1].rect.right, 10);
    EXPECT_TRUE(reloaded.figures[1].eraser);
    EXPECT_EQ(reloaded.figures[1].tool, L"rhombus");
}

TEST(ScribbleFileForm, EveryColourSurvivesWritingAndReading) {
    for (std::uint32_t channel = 0; channel < 256; ++channel) {
        std::uint32_t value = channel | (255 - channel) << 8 | channel << 16;
        std::string text = formatColourF(colourFromValue(value));
        Json element =
            parseJson(R"({"tool": "freeline", "eraser": false, "strokeWidth": 1, "strokeOpacity": 1,
                                      "fillOpacity": 0, "fillColor": "#000", "points": ""})");
        element["strokeColor"] = text;
        Scribble scribble;
        ASSERT_TRUE(loadFigures(scribble, Json::array({element})));
        EXPECT_EQ(scribble.figures[0].strokeColor, colourFromValue(value)) << text;
    }
}

TEST(ScribbleFileForm, PointsTextReadLikeTheStandardConversion) {
    struct Case {
        const char* text;
        std::vector<PointF> points;
    };
    const Case cases[] = {
        {"10,20,11,22,13,25", {{10, 20}, {11, 22}, {13, 25}}},
        {"1,2,3", {}},
        {"1,2,x,4", {{1, 2}}},
        {"1,2,3,1e39", {{1, 2}}},
        {" 5x,-7.5,", {}},
        {" 5x,-7.5", {{5, -7.5f}}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parsePointsText(c.text), c.points) << c.text;
    }
}

TEST(ScribbleFileForm, AFaultyElementIsSkippedAndTheListCountsAsNotReadWhole) {
    const char* good = R"({"tool": "freeline", "eraser": false, "strokeWidth": 1, "strokeColor": "nonsense",
                           "strokeOpacity": 1, "fillColor": "#fff", "fillOpacity": 0, "points": "1,2"})";
    const char* faults[] = {
        R"({"tool": 5})",
        R"({"tool": "freeline", "eraser": "no", "strokeWidth": 1, "strokeColor": "#000", "strokeOpacity": 1,
            "fillColor": "#fff", "fillOpacity": 0})",
        R"({"tool": "freeline", "eraser": false, "strokeWidth": "2", "strokeColor": "#000",
            "strokeOpacity": 1, "fillColor": "#fff", "fillOpacity": 0})",
        R"({"tool": "line", "eraser": false, "strokeWidth": 1, "strokeColor": "#000", "strokeOpacity": 1,
            "fillColor": "#fff", "fillOpacity": 0, "rect": {"left": "1"}})",
        R"(7)",
        R"(null)",
    };
    for (const char* fault : faults) {
        // The faulty element first, between and last: every good one loads.
        for (std::size_t at = 0; at < 3; ++at) {
            Json array = Json::array({parseJson(good), parseJson(good)});
            array.insert(array.begin() + static_cast<std::ptrdiff_t>(at), parseJson(fault));
            Scribble scribble;
            EXPECT_FALSE(loadFigures(scribble, array)) << fault;
            ASSERT_EQ(scribble.figures.size(), 2u) << fault << " at " << at;
            EXPECT_EQ(scribble.position, 2u);
            EXPECT_EQ(scribble.floor, 2u);
            EXPECT_EQ(scribble.figures[1].strokeColor, ColourF{}) << "a colour that does not parse is black";
        }
    }
    // A rect that is no object and no points text: no points, all-zero rect.
    Json odd = parseJson(good);
    odd["rect"] = 5;
    odd.erase("points");
    Scribble scribble;
    ASSERT_TRUE(loadFigures(scribble, Json::array({odd})));
    EXPECT_TRUE(scribble.figures[0].points.empty());
    EXPECT_EQ(scribble.figures[0].rect.right, 0);
}

TEST(ScribblePen, ReadFromTheNoteAndRepaired) {
    Json stored = parseJson(R"({"tool": "star", "eraser": true, "strokeWidth": 2.5, "strokeColor": "#f80",
                                "strokeOpacity": 0.5, "fillColor": "bogus", "fillOpacity": 0.25})");
    Scribble pen;
    readPen(pen, stored);
    EXPECT_EQ(pen.tool, L"star");
    EXPECT_TRUE(pen.eraser);
    EXPECT_EQ(pen.strokeColor, colourFromValue(0x0088ff));
    EXPECT_EQ(pen.fillColor, ColourF{});
    EXPECT_EQ(stored["fillColor"], "#000000");
    EXPECT_FLOAT_EQ(pen.fillOpacity, 0.25f);
}

TEST(StrokeSmoothing, SpeedChoosesTheWindow) {
    struct Case {
        float step;
        size_t window;
    };
    // Twenty steps of one length average to 19/20 of it.
    const Case cases[] = {{2.1f, 6}, {2.2f, 8}, {2.4f, 7}, {2.6f, 6}, {1.0f, 6}, {9.0f, 6}};
    for (const Case& c : cases) {
        Scribble scribble;
        scribble.beginStroke({0, 0});
        for (int i = 1; i <= 40; ++i) {
            scribble.extendStroke({c.step * i, 0}, false);
        }
        EXPECT_EQ(scribble.smoothingWindow, c.window) << c.step;
        EXPECT_EQ(scribble.stepLengths.size(), 20u);
    }
}

TEST(StrokeSmoothing, WindowBoundaries) {
    const std::pair<float, size_t> cases[] = {{0, 6},     {1.99f, 6}, {2.0f, 8}, {2.19f, 8}, {2.2f, 7},
                                              {2.39f, 7}, {2.4f, 6},  {3, 6},    {1e30f, 6}};
    for (auto [average, window] : cases) {
        EXPECT_EQ(smoothingWindowFor(average), window) << average;
    }
}

TEST(StrokeSmoothing, ThinningDropsRepeatsAndSlightBends) {
    struct Case {
        std::vector<PointF> in, out;
    };
    const Case cases[] = {
        {{{1, 1}, {1, 1}, {2, 2}}, {{1, 1}, {2, 2}}},
        {{{0, 0}, {0, 10}, {10, 10.1f}, {20, 10}}, {{0, 0}, {0, 10}, {20, 10}}},
        {{{0, 0}, {0, 10}, {10, 10.2f}, {20, 10}}, {{0, 0}, {0, 10}, {20, 10}}},
        {{{0, 0}, {0, 10}, {5, 10.2f}, {20, 10}}, {{0, 0}, {0, 10}, {5, 10.2f}, {20, 10}}},
        {{{0, 0}, {1, 0}, {2, 0}, {3, 0}}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
    };
    for (const Case& c : cases) {
        std::vector<PointF> points = c.in;
        thinPoints(points);
        EXPECT_EQ(points, c.out);
    }
}

TEST(StrokeEditing, ShiftSquaresAndCommitCopiesThePen) {
    struct Case {
        PointF to, corner;
    };
    const Case cases[] = {{{130, 180}, {130, 130}}, {{40, 180}, {40, 160}}, {{180, 130}, {130, 130}}};
    for (const Case& c : cases) {
        Scribble scribble;
        scribble.tool = L"rectangle";
        scribble.beginStroke({100, 100});
        scribble.extendStroke(c.to, true);
        EXPECT_EQ(scribble.rect.right, c.corner.x);
        EXPECT_EQ(scribble.rect.bottom, c.corner.y);
    }
    Scribble scribble;
    scribble.strokeWidth = 4;
    scribble.beginStroke({5, 5});
    scribble.commitStroke(nullptr);
    ASSERT_EQ(scribble.figures.size(), 1u);
    EXPECT_EQ(scribble.figures[0].points, (std::vector<PointF>{{5, 5}})) << "a click is a dot";
    EXPECT_EQ(scribble.figures[0].strokeWidth, 4);
    EXPECT_TRUE(scribble.points.empty());
    EXPECT_FALSE(scribble.drawing);

    scribble.beginStroke({1, 1});
    for (int i = 2; i < 60; ++i) {
        scribble.extendStroke({float(i * 3), float(i)}, false);
    }
    scribble.cancelStroke();
    EXPECT_EQ(scribble.figures.size(), 1u) << "a cancelled stroke adds nothing";
    EXPECT_TRUE(scribble.rawPoints.empty());

    // A stroke whose button went up elsewhere leaves nothing to the next one.
    for (int i = 1; i < 40; ++i) {
        scribble.extendStroke({float(i * 3), float(i)}, false);
    }
    scribble.beginStroke({1, 1});
    scribble.extendStroke({300, 300}, false);
    EXPECT_EQ(scribble.strokeLine().front(), (PointF{1, 1}));
    EXPECT_LE(scribble.rawPoints.size(), 2u);
}

TEST(StrokeEditing, AFigureTakenBackLeavesTheHistoryAsBefore) {
    Scribble scribble;
    scribble.addFigure(figureNamed(L"A"));
    const std::uint64_t before = scribble.revision;
    scribble.addFigure(figureNamed(L"B"));
    EXPECT_EQ(scribble.lastAppend, scribble.revision);
    const std::size_t twoFigures = scribble.storedBytes();
    Json array;
    saveFigures(scribble, array);
    EXPECT_EQ(twoFigures + 1, serializeJson(array, JsonLayout::compact).size())
        << "as written, with brackets";
    scribble.withdrawLast();
    EXPECT_EQ(scribble.figures.size(), 1u);
    EXPECT_EQ(scribble.position, 1u);
    EXPECT_GT(scribble.revision, before + 1) << "a change the drawing is redrawn for";
}
