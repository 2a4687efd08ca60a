// Path strings: how they split into commands and numbers, and what shape the
// commands describe; the figure library's checking and fitting.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "scribble/FigureLibrary.h"
#include "scribble/PathData.h"

using namespace Brisvane;

namespace {

struct Box {
    float left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
};

PointF cubicAt(PointF a, PointF b, PointF c, PointF d, float t) {
    float u = 1 - t;
    return {u * u * u * a.x + 3 * u * u * t * b.x + 3 * u * t * t * c.x + t * t * t * d.x,
            u * u * u * a.y + 3 * u * u * t * b.y + 3 * u * t * t * c.y + t * t * t * d.y};
}

// The bounds of the points the path passes through, curves sampled finely.
Box boundsOf(const Path& path) {
    Box box;
    PointF current;
    auto take = [&](PointF p) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    };
    for (const PathSegment& s : path) {
        switch (s.kind) {
        case SegmentKind::move:
        case SegmentKind::line:
            current = s.p[0];
            take(current);
            break;
        case SegmentKind::quadratic:
            for (int i = 1; i <= 32; ++i) {
                float t = i / 32.0f, u = 1 - t;
                take({u * u * current.x + 2 * u * t * s.p[0].x + t * t * s.p[1].x,
                      u * u * current.y + 2 * u * t * s.p[0].y + t * t * s.p[1].y});
            }
            current = s.p[1];
            break;
        case SegmentKind::cubic:
            for (int i = 1; i <= 32; ++i) {
                take(cubicAt(current, s.p[0], s.p[1], s.p[2], i / 32.0f));
            }
            current = s.p[2];
            break;
        case SegmentKind::close:
            break;
        }
    }
    return box;
}

std::string resourceText(const char* name) {
    std::ifstream file(std::string(TACKAROON_RESOURCE_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

TEST(PathTokens, SplitAsTheReaderDoes) {
    struct Case {
        const char* data;
        const char* commands;
        std::vector<std::string> numbers;
    };
    const Case cases[] = {
        {"M10,10 20,20 30,30", "MLL", {"10", "10", "20", "20", "30", "30"}},
        {"M10,10 20", "M", {"10", "10", "20"}},
        {"m1 2 3 4", "ml", {"1", "2", "3", "4"}},
        {"L1e-4,2", "L", {"1e-4", "2"}},
        {"L1E-4", "L", {"1E", "-4"}},
        {"L.5.5", "L", {"0.5", "0.5"}},
        {"L1.5.5", "L", {"1.5", "0.5"}},
        {"L3-4", "L", {"3", "-4"}},
        {"h1 2 3", "hhh", {"1", "2", "3"}},
        {"C1 2 3 4 5 6 7 8 9 10 11 12z",
         "CCz",
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}},
        {"M1\r2", "M", {"1\r2"}},
        {"M1\t2\n3,4", "ML", {"1", "2", "3", "4"}},
    };
    for (const Case& c : cases) {
        PathTokens tokens = tokenizePathData(c.data);
        EXPECT_EQ(tokens.commands, c.commands) << c.data;
        EXPECT_EQ(tokens.numbers, c.numbers) << c.data;
    }
}

TEST(PathTokens, MalformedDataGivesNoPath) {
    for (const char* data : {"", "M10,10 20", "M10", "M1,1z 5", "5 M1,1", "Mx,1", "M1e39,1", "Mnan,1",
                             "M1,1Ainf,1 0 0 1 2,2", "z"}) {
        EXPECT_FALSE(parsePathData(data)) << data;
    }
    std::optional<Path> trailing = parsePathData("M5x,1 L2,3");
    ASSERT_TRUE(trailing) << "a number is read from the start of its text";
    EXPECT_EQ(trailing->front().p[0], (PointF{5, 1}));
}

TEST(PathShapes, CommandsMeanWhatSvgSays) {
    struct Case {
        const char* data;
        PointF end; // where the last drawing segment ends
        size_t segments;
    };
    const Case cases[] = {
        {"M10,10 20,20", {20, 20}, 2},      {"m10,10 5,5 5,5", {20, 20}, 3},
        {"M10,10h5v5H0V0", {0, 0}, 5},      {"M0,0c1,1 2,2 3,3s4,4 5,5", {8, 8}, 3},
        {"M0,0q5,5 10,0t10,0", {20, 0}, 3}, {"M0,0 A0,5 0 0 1 10,0", {10, 0}, 2}, // zero radius: a line
    };
    for (const Case& c : cases) {
        std::optional<Path> path = parsePathData(c.data);
        ASSERT_TRUE(path) << c.data;
        ASSERT_EQ(path->size(), c.segments) << c.data;
        const PathSegment& last = path->back();
        PointF end = last.kind == SegmentKind::cubic       ? last.p[2]
                     : last.kind == SegmentKind::quadratic ? last.p[1]
                                                           : last.p[0];
        EXPECT_EQ(end, c.end) << c.data;
    }
    // S reflects the previous control point; T the previous quadratic control.
    std::optional<Path> smooth = parsePathData("M0,0C0,10 10,10 10,0S20,-10 20,0");
    ASSERT_TRUE(smooth);
    EXPECT_EQ((*smooth)[2].p[0], (PointF{10, -10}));
    std::optional<Path> quad = parsePathData("M0,0Q5,10 10,0T20,0");
    ASSERT_TRUE(quad);
    EXPECT_EQ((*quad)[2].p[0], (PointF{15, -10}));
    // A drawing command after Z starts a new figure where the last one began.
    std::optional<Path> closed = parsePathData("M5,5L9,9zl1,1");
    ASSERT_TRUE(closed);
    ASSERT_EQ(closed->size(), 5u);
    EXPECT_EQ((*closed)[3].kind, SegmentKind::move);
    EXPECT_EQ((*closed)[4].p[0], (PointF{6, 6}));
}

TEST(PathShapes, ArcsBecomeCubicsThroughTheRightPoints) {
    struct Case {
        const char* data;
        PointF middle; // where the arc passes halfway
        Box bounds;
    };
    const Case cases[] = {
        {"M0,50A50,50 0 0 1 100,50", {50, 0}, {0, 0, 100, 50}},
        {"M0,50A50,50 0 0 0 100,50", {50, 100}, {0, 50, 100, 100}},
        {"M0,0A1,1 0 0 1 100,0", {50, -50}, {0, -50, 100, 0}}, // radii grown to reach the end
        {"M0,50a50,25 0 1 1 100,0", {50, 25}, {0, 25, 100, 50}},
    };
    for (const Case& c : cases) {
        std::optional<Path> path = parsePathData(c.data);
        ASSERT_TRUE(path) << c.data;
        ASSERT_EQ(path->size(), 3u) << "a half turn is two quarter cubics: " << c.data;
        EXPECT_NEAR((*path)[1].p[2].x, c.middle.x, 0.01) << c.data;
        EXPECT_NEAR((*path)[1].p[2].y, c.middle.y, 0.01) << c.data;
        EXPECT_EQ((*path)[2].p[2], (PointF{100, c.bounds.bottom == 0 ? 0.0f : 50.0f})) << c.data;
        Box box = boundsOf(*path);
        EXPECT_NEAR(box.left, c.bounds.left, 0.05) << c.data;
        EXPECT_NEAR(box.top, c.bounds.top, 0.05) << c.data;
        EXPECT_NEAR(box.right, c.bounds.right, 0.05) << c.data;
        EXPECT_NEAR(box.bottom, c.bounds.bottom, 0.05) << c.data;
    }
}

TEST(FigureLibraryCheck, DropsBrokenEntriesAndRepairsTheRest) {
    // Valid entries first: after two removals the last two entries stay unexamined.
    Json library = parseJson(R"([
        {"name": "a", "localName": {}, "figure": [{"shape": "rect", "left": "x"}]},
        {"name": "d", "localName": {}, "viewBox": 5, "figure": []},
        {"name": "e", "localName": {}, "figure": [{"shape": "path", "d": 1}]},
        {"name": "f", "localName": {}, "figure": {}},
        {"name": "", "localName": {}},
        {"name": "g", "localName": {}, "figure": [7]},
        {"name": "c", "localName": {}, "figure": [{"shape": "star"}]},
        {"name": "b"}
    ])");
    checkFigureLibrary(library);
    ASSERT_EQ(figureCount(library), 6u);
    EXPECT_EQ(figureName(library, 0), L"a");
    EXPECT_EQ(library[0]["figure"][0]["left"], 0) << "a corner that is no number becomes 0";
    EXPECT_EQ(library[0]["figure"][0]["bottom"], 0);
    EXPECT_EQ(figureName(library, 1), L"d");
    EXPECT_EQ(library[1]["viewBox"]["left"], 0);
    EXPECT_EQ(library[2]["figure"][0]["d"], "");
    EXPECT_TRUE(library[3]["figure"].is_array());
    EXPECT_EQ(figureName(library, 4), L"c") << "unexamined";
    EXPECT_EQ(figureName(library, 5), L"b");
    EXPECT_EQ(figureName(library, 6), L"");

    // Only 99 entries are examined; removals leave as many at the end unexamined.
    Json many = Json::array();
    for (int i = 0; i < 120; ++i) {
        many.push_back(i == 0 ? Json::object()
                              : Json{{"name", "n" + std::to_string(i)}, {"localName", Json::object()}});
    }
    checkFigureLibrary(many);
    EXPECT_EQ(figureCount(many), 119u);
    EXPECT_TRUE(many[97].contains("viewBox"));
    EXPECT_FALSE(many[98].contains("viewBox"));
}

TEST(FigureLibraryCheck, BuiltInLibraryHasItsEntries) {
    Json library = figureLibraryFromText(resourceText("figures.json"));
    ASSERT_EQ(figureCount(library), 51u);
    const std::wstring names[] = {
        L"line", L"rectangle", L"ellipse", L"rightTriangle", L"isoscelesTriangle", L"rhombus", L"ring"};
    for (size_t i = 0; i < std::size(names); ++i) {
        EXPECT_EQ(figureName(library, i), names[i]);
    }
    EXPECT_EQ(figureName(library, 50), L"japan");
    EXPECT_EQ(figureLocalName(library, 5, "日本語"), L"ひし形");
    EXPECT_EQ(figureLocalName(library, 49, "Klingon"), L"UFO");
    for (size_t i = 0; i < 51; ++i) {
        EXPECT_TRUE(buildFigurePath(library, figureName(library, i), {0, 0, 100, 100})) << i;
    }
}

TEST(FigureFitting, ViewBoxMapsOntoTheDraggedRect) {
    Json library = figureLibraryFromText(resourceText("figures.json"));
    struct Case {
        const wchar_t* tool;
        RectF rect;
        Box bounds;
    };
    const Case cases[] = {
        {L"rhombus", {0, 0, 100, 100}, {0, 0, 100, 100}},
        {L"rhombus", {200, 200, 100, 150}, {100, 150, 200, 200}}, // mirrored both ways
        {L"ring", {0, 0, 64, 64}, {2, 2, 62, 62}},
        {L"heart", {0, 0, 24, 24}, {2, 3, 22, 21.35f}},
        {L"ellipse", {10, 10, 30, 50}, {10, 10, 30, 50}},
    };
    for (const Case& c : cases) {
        std::optional<Path> path = buildFigurePath(library, c.tool, c.rect);
        ASSERT_TRUE(path);
        Box box = boundsOf(*path);
        EXPECT_NEAR(box.left, c.bounds.left, 0.1);
        EXPECT_NEAR(box.top, c.bounds.top, 0.1);
        EXPECT_NEAR(box.right, c.bounds.right, 0.1);
        EXPECT_NEAR(box.bottom, c.bounds.bottom, 0.1);
    }
    std::optional<Path> mirrored = buildFigurePath(library, L"rightTriangle", {200, 200, 100, 150});
    ASSERT_TRUE(mirrored);
    EXPECT_EQ(mirrored->front().p[0], (PointF{100, 150})) << "(100,100) scaled by -1 and -0.5 from (200,200)";

    Json flat = parseJson(R"([{"name": "flat", "localName": {}, "viewBox": {"width": 0, "height": 5},
                                "figure": [{"shape": "rect", "left": 0, "top": 0, "right": 1, "bottom": 1}]},
                               {"name": "bad", "localName": {}, "viewBox": {"width": 5, "height": 5},
                                "figure": [{"shape": "path", "d": "M1,1 2"}]}])");
    checkFigureLibrary(flat);
    EXPECT_FALSE(buildFigurePath(flat, L"flat", {0, 0, 10, 10}));
    EXPECT_FALSE(buildFigurePath(flat, L"bad", {0, 0, 10, 10}));
    EXPECT_FALSE(buildFigurePath(flat, L"missing", {0, 0, 10, 10}));
}
