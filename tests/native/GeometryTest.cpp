#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <vector>

#include "note/Geometry.h"
#include "storage/NoteFormat.h"

namespace Brisvane {
// Readable failures.
void PrintTo(const Rect& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
} // namespace Brisvane

using namespace Brisvane;

namespace {

const Rect fullHd{0, 0, 1920, 1080};
const Rect fullHdWork{0, 0, 1920, 1040};

Rect kept(const Rect& r, const std::vector<Rect>& work, const Rect& monitor, bool expectCorrected) {
    bool corrected = !expectCorrected;
    Rect result = keepOnScreen(r, work, monitor, corrected);
    EXPECT_EQ(corrected, expectCorrected);
    return result;
}

Json completedNote() {
    Json note = Json::object();
    completeNoteJsonWithTitle(note, "title");
    return note;
}

} // namespace

TEST(Rect, SizeAndEquality) {
    Rect r = rectFromSize(10, 20, 30, 40);
    EXPECT_EQ(r, (Rect{10, 20, 40, 60}));
    EXPECT_EQ(r.width(), 30);
    EXPECT_EQ(r.height(), 40);
    EXPECT_FALSE(r == (Rect{10, 20, 40, 61}));
    EXPECT_EQ(rectFromSize(-5, -6, 5, 6), (Rect{-5, -6, 0, 0}));
    // Extreme stored numbers saturate instead of wrapping round.
    const int max = std::numeric_limits<int>::max();
    EXPECT_EQ(rectFromSize(max - 5, 0, 100, 10).right, max);
    EXPECT_EQ((Rect{std::numeric_limits<int>::min(), 0, max, 0}).width(), max);
}

TEST(KeepOnScreen, CentreOnAnyWorkAreaKeepsTheRectangle) {
    const std::vector<Rect> two = {fullHdWork, Rect{1920, 0, 3840, 1080}};
    // Mostly off the first monitor, but the centre (1950, 200) is on the second.
    Rect straddling = rectFromSize(1800, 100, 300, 200);
    EXPECT_EQ(kept(straddling, two, fullHd, false), straddling);
    // Partly off every screen, centre still inside.
    Rect hanging = rectFromSize(-100, -50, 300, 200);
    EXPECT_EQ(kept(hanging, two, fullHd, false), hanging);
    // The centre uses truncating division: (-3 + 2) / 2 is 0, inside.
    Rect negative{-3, 0, 2, 10};
    EXPECT_EQ(kept(negative, {Rect{0, 0, 100, 100}}, Rect{0, 0, 100, 100}, false), negative);
}

TEST(KeepOnScreen, CorrectsAgainstTheFullMonitorRectangle) {
    // Centre x = 1920 is just outside the work area (right edge exclusive).
    EXPECT_EQ(kept(rectFromSize(1720, 0, 400, 100), {fullHdWork}, fullHd, true),
              rectFromSize(1520, 0, 400, 100));
    // Centre in the taskbar strip below the work area: the bottom fits the full
    // monitor, so only being outside the work area moves nothing.
    EXPECT_EQ(kept(rectFromSize(100, 1000, 200, 80), {fullHdWork}, fullHd, true),
              rectFromSize(100, 1000, 200, 80));
    // Far off to the bottom right.
    EXPECT_EQ(kept(rectFromSize(5000, 3000, 300, 200), {fullHdWork}, fullHd, true),
              rectFromSize(1620, 880, 300, 200));
    // Far off to the top left.
    EXPECT_EQ(kept(rectFromSize(-5000, -3000, 300, 200), {fullHdWork}, fullHd, true),
              rectFromSize(0, 0, 300, 200));
    // Bigger than the monitor: right and bottom first, then left and top win.
    EXPECT_EQ(kept(rectFromSize(100, 100, 3000, 2000), {fullHdWork}, fullHd, true),
              rectFromSize(0, 0, 3000, 2000));
    // No monitors known at all.
    EXPECT_EQ(kept(rectFromSize(50, 60, 10, 10), {}, Rect{100, 100, 200, 200}, true),
              rectFromSize(100, 100, 10, 10));
}

TEST(BesideSource, CandidateAndCorrections) {
    Rect source = rectFromSize(100, 50, 240, 300);
    Rect candidate = besideSource(source);
    EXPECT_EQ(candidate, rectFromSize(340, 50, 240, 300));
    EXPECT_EQ(fitBesideSource(candidate, source, fullHd), candidate);

    // Sticking out on the right: goes to the left of the source instead.
    Rect right = rectFromSize(1700, 50, 240, 300);
    EXPECT_EQ(fitBesideSource(besideSource(right), right, fullHd), rectFromSize(1460, 50, 240, 300));
    // Sticking out at the bottom: lifted to end at the monitor's bottom.
    Rect low = rectFromSize(100, 900, 240, 300);
    EXPECT_EQ(fitBesideSource(besideSource(low), low, fullHd), rectFromSize(340, 780, 240, 300));
    // Above the monitor: clamped to its top.
    Rect high = rectFromSize(-100, -50, 240, 300);
    EXPECT_EQ(fitBesideSource(besideSource(high), high, fullHd), rectFromSize(140, 0, 240, 300));
    // No room on either side: the left clamp comes last and wins.
    Rect wide = rectFromSize(100, 0, 500, 300);
    EXPECT_EQ(fitBesideSource(besideSource(wide), wide, Rect{0, 0, 800, 600}), rectFromSize(0, 0, 500, 300));
    // A monitor left of the primary one, in negative coordinates.
    Rect west = rectFromSize(-300, 100, 240, 300);
    EXPECT_EQ(fitBesideSource(besideSource(west), west, Rect{-1920, 0, 0, 1080}),
              rectFromSize(-540, 100, 240, 300));
}

TEST(CopyNoteDefaults, CopiesTheInheritedMembersOnly) {
    Json source = completedNote();
    source["title"] = "source title";
    source["group"]["guid"] = "0a1b2c3d-0000-0000-0000-000000000001";
    Json& window = source["window"];
    window["position"] = {{"left", 1700}, {"top", 900}, {"width", 250}, {"height", 320}};
    for (const char* name : {"alwaysOnTop", "shadow", "fold", "lock"}) {
        window[name] = true;
    }
    window["border"] = false;
    window["titlebar"] = false;
    window["opacity"] = 0.3f;
    window["fix"]["position"] = true;
    window["fix"]["size"] = true;
    window["magnet"]["monitor"] = false;
    window["magnet"]["note"] = false;
    window["magnet"]["stickNoteGuid"] = "0a1b2c3d-0000-0000-0000-000000000002";
    source["mode"] = "scribble";
    source["text"]["autoDetectURL"] = false;
    source["text"]["wordwrap"] = false;
    source["text"]["scroll"]["top"] = 77;
    source["text"]["selection"]["end"] = 5;
    Json& scribble = source["scribble"];
    scribble["tool"] = "rectangle";
    scribble["eraser"] = true;
    scribble["strokeWidth"] = 4.5f;
    scribble["strokeColor"] = "#123456";
    scribble["strokeOpacity"] = 0.5f;
    scribble["fillColor"] = "#abcdef";
    scribble["fillOpacity"] = 0.25f;
    scribble["figure"] = Json::array({Json::object()});
    source["theme"]["base"] = "#a0d8ef";

    Json target = completedNote();
    target["unknown"] = 1;
    const Json untouched = target;
    std::vector<Rect> asked;
    copyNoteDefaults(target, source, [&](const Rect& r) {
        asked.push_back(r);
        return fullHd;
    });

    // The monitor is looked up for the first candidate, right of the source.
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], rectFromSize(1950, 900, 250, 320));
    // 1950 + 250 > 1920: left = 1700 - 250; 900 + 320 > 1080: top = 1080 - 320.
    EXPECT_EQ(target["window"]["position"],
              Json({{"left", 1450}, {"top", 760}, {"width", 250}, {"height", 320}}));

    Json expected = source;
    expected["window"]["position"] = target["window"]["position"];
    // Not inherited: the title, the partner of a magnet, scroll, selection, drawing.
    expected["title"] = untouched["title"];
    expected["window"]["magnet"]["stickNoteGuid"] = untouched["window"]["magnet"]["stickNoteGuid"];
    expected["text"]["scroll"] = untouched["text"]["scroll"];
    expected["text"]["selection"] = untouched["text"]["selection"];
    expected["scribble"]["figure"] = untouched["scribble"]["figure"];
    expected["unknown"] = 1;
    EXPECT_EQ(target, expected);
}

TEST(CopyNoteDefaults, WrongTypesAreSkippedNotThrown) {
    Json source = completedNote();
    source["window"]["opacity"] = "half";
    source["window"]["border"] = 0;
    source["window"]["position"]["left"] = 1.5f;
    source["window"]["lock"] = true;
    source["scribble"] = "not an object";
    source["theme"]["base"] = nullptr;
    source["mode"] = "scribble";

    Json target = completedNote();
    target["text"] = 42;
    const Json before = target;
    bool monitorAsked = false;
    EXPECT_NO_THROW(copyNoteDefaults(target, source, [&](const Rect& r) {
        monitorAsked = true;
        return r;
    }));
    EXPECT_FALSE(monitorAsked);
    EXPECT_EQ(target["window"]["opacity"], before["window"]["opacity"]);
    EXPECT_EQ(target["window"]["border"], before["window"]["border"]);
    EXPECT_EQ(target["window"]["position"], before["window"]["position"]);
    EXPECT_EQ(target["scribble"], before["scribble"]);
    EXPECT_EQ(target["theme"], before["theme"]);
    EXPECT_EQ(target["text"], 42);
    // Members of the right type still come across.
    EXPECT_EQ(target["window"]["lock"], true);
    EXPECT_EQ(target["mode"], "scribble");

    // Documents that are not objects at all.
    Json scalar = 3;
    EXPECT_NO_THROW(copyNoteDefaults(scalar, source, nullptr));
    EXPECT_EQ(scalar, 3);
    Json empty = Json::object();
    EXPECT_NO_THROW(copyNoteDefaults(empty, Json(), nullptr));
    EXPECT_EQ(empty, Json::object());
}

TEST(ResizeZone, EdgesAndCorners) {
    const int w = 200, h = 100;
    // The top edge alone never resizes.
    EXPECT_EQ(resizeZone(100, 0, w, h, false), HitClient);
    EXPECT_EQ(resizeZone(100, 2, w, h, false), HitClient);
    EXPECT_EQ(resizeZone(100, 3, w, h, false), HitClient);
    EXPECT_EQ(resizeZone(100, 50, w, h, false), HitClient);
    // Corners: left band is x <= 5, right band x >= w - 5, top band y <= 2,
    // bottom band y >= h - 5.
    EXPECT_EQ(resizeZone(0, 0, w, h, false), HitTopLeft);
    EXPECT_EQ(resizeZone(2, 2, w, h, false), HitTopLeft);
    EXPECT_EQ(resizeZone(5, 2, w, h, false), HitTopLeft);
    EXPECT_EQ(resizeZone(6, 2, w, h, false), HitClient);
    EXPECT_EQ(resizeZone(5, 3, w, h, false), HitLeft);
    EXPECT_EQ(resizeZone(195, 0, w, h, false), HitTopRight);
    EXPECT_EQ(resizeZone(199, 2, w, h, false), HitTopRight);
    EXPECT_EQ(resizeZone(194, 0, w, h, false), HitClient);
    EXPECT_EQ(resizeZone(0, 99, w, h, false), HitBottomLeft);
    EXPECT_EQ(resizeZone(5, 95, w, h, false), HitBottomLeft);
    EXPECT_EQ(resizeZone(199, 99, w, h, false), HitBottomRight);
    EXPECT_EQ(resizeZone(195, 95, w, h, false), HitBottomRight);
    // Edges.
    EXPECT_EQ(resizeZone(0, 50, w, h, false), HitLeft);
    EXPECT_EQ(resizeZone(6, 50, w, h, false), HitClient);
    EXPECT_EQ(resizeZone(195, 50, w, h, false), HitRight);
    EXPECT_EQ(resizeZone(199, 50, w, h, false), HitRight);
    EXPECT_EQ(resizeZone(100, 95, w, h, false), HitBottom);
    EXPECT_EQ(resizeZone(100, 99, w, h, false), HitBottom);
    EXPECT_EQ(resizeZone(100, 94, w, h, false), HitClient);
}

TEST(ResizeZone, OverlapsOutsideAndFixedSize) {
    // In a tiny window left beats right and top beats bottom.
    EXPECT_EQ(resizeZone(5, 50, 8, 100, false), HitLeft);
    EXPECT_EQ(resizeZone(6, 50, 8, 100, false), HitRight);
    EXPECT_EQ(resizeZone(100, 2, 200, 6, false), HitClient);
    EXPECT_EQ(resizeZone(100, 3, 200, 6, false), HitBottom);
    // Outside the client rectangle there is no zone, fixed size or not.
    for (bool fix : {false, true}) {
        EXPECT_EQ(resizeZone(-1, 50, 200, 100, fix), HitNowhere);
        EXPECT_EQ(resizeZone(200, 50, 200, 100, fix), HitNowhere);
        EXPECT_EQ(resizeZone(100, -1, 200, 100, fix), HitNowhere);
        EXPECT_EQ(resizeZone(100, 100, 200, 100, fix), HitNowhere);
        EXPECT_EQ(resizeZone(0, 0, 0, 0, fix), HitNowhere);
    }
    // A fixed size makes every zone plain client area.
    for (int x : {0, 3, 100, 196, 199}) {
        for (int y : {0, 2, 50, 96, 99}) {
            EXPECT_EQ(resizeZone(x, y, 200, 100, true), HitClient) << x << "," << y;
        }
    }
}

TEST(LayeredAlpha, TruncatesAndSaturates) {
    // 0.5 x 0.2 x 255 = 25.5.
    EXPECT_EQ(layeredAlpha(0.5f, 0.2f, 1.0f), 25);
    EXPECT_EQ(layeredAlpha(1.0f, 1.0f, 1.0f), 255);
    EXPECT_EQ(layeredAlpha(0.5f, 1.0f, 1.0f), 127);
    // The highlight dims other stickies to 1 %: 2.55.
    EXPECT_EQ(layeredAlpha(1.0f, 1.0f, 0.01f), 2);
    EXPECT_EQ(layeredAlpha(0.0f, 1.0f, 1.0f), 0);
    // A small negative product truncates to 0; anything from -1 down wraps to opaque.
    EXPECT_EQ(layeredAlpha(-0.001f, 1.0f, 1.0f), 0);
    EXPECT_EQ(layeredAlpha(-1.0f, 1.0f, 1.0f), 255);
    EXPECT_EQ(layeredAlpha(2.0f, 1.0f, 1.0f), 255);
    EXPECT_EQ(layeredAlpha(1.0f, 1.01f, 1.0f), 255);
    EXPECT_EQ(layeredAlpha(std::numeric_limits<float>::infinity(), 1.0f, 1.0f), 255);
    EXPECT_EQ(layeredAlpha(std::nanf(""), 1.0f, 1.0f), 255);
}

TEST(OpacityDiffers, RelativeTolerance) {
    EXPECT_FALSE(opacityDiffers(0.5f, 0.5f));
    EXPECT_TRUE(opacityDiffers(0.3f, 0.4f));
    EXPECT_TRUE(opacityDiffers(1.0f, 0.9f));
    // Near 1 the tolerance is one float step: one step apart is equal, two differ.
    float next = std::nextafter(1.0f, 2.0f);
    EXPECT_FALSE(opacityDiffers(1.0f, next));
    EXPECT_TRUE(opacityDiffers(1.0f, std::nextafter(next, 2.0f)));
    // Below 1 the tolerance stays absolute, so tiny values count as equal.
    EXPECT_FALSE(opacityDiffers(0.0f, 1e-8f));
    EXPECT_TRUE(opacityDiffers(0.0f, 1e-6f));
    // Above 1 it grows with the values.
    EXPECT_FALSE(opacityDiffers(1000.0f, std::nextafter(1000.0f, 2000.0f)));
    EXPECT_TRUE(opacityDiffers(1000.0f, 1000.5f));
}
