#pragma once
// A sticky's drawing: its figures, which double as the undo history, the pen
// that draws the next figure, and the stroke being drawn.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scribble/Canvas.h"
#include "storage/Json.h"

namespace Brisvane {

inline constexpr wchar_t toolFreeline[] = L"freeline";
inline constexpr wchar_t toolClear[] = L"clear";

// What a figure's geometry is made of, before any canvas makes it.
struct Outline {
    Path path;
    // An eraser's line: the path widened to the figure's width is what it erases.
    bool widened = false;
    // A line that does not move: drawn as a round dot of the figure's width,
    // filled with the stroke colour, since a zero-length line shows nothing on
    // some canvases.
    bool dot = false;
};

class Figure {
public:
    virtual ~Figure() = default;

    // The cached geometry, or the figure's geometry built on `canvas`: the library
    // shape fitted into rect, else the line through points (from rect's corners
    // with fewer than two points); an eraser line is widened to its width.
    // Whatever another canvas made is let go first.
    virtual std::shared_ptr<Shape> createGeometry(const Json* library, Canvas& canvas);
    // The content rectangle the figure can touch (outline, caps, joins and
    // smoothing included); kept once known.
    RectF extent(const Json* library);
    // Lets go of what a canvas made for the figure.
    void forgetCanvasObjects();
    // Drops the canvas objects unless `canvas` made them, and marks them as its own.
    void adoptCanvas(const Canvas& canvas);

    std::wstring tool = toolFreeline;
    ColourF strokeColor;
    float strokeOpacity = 1.0f;
    ColourF fillColor;
    float fillOpacity = 0.0f;
    float strokeWidth = 1.0f;
    bool eraser = false;
    std::vector<PointF> points;
    RectF rect;
    // Made by the canvas on first use and kept.
    std::shared_ptr<Shape> geometry;
    std::shared_ptr<Brush> strokeBrush, fillBrush;
    bool dot = false; // the geometry is a dot
    // The canvas that made the objects above.
    std::weak_ptr<const int> madeBy;
    std::optional<RectF> knownExtent;
    // Bytes of the figure's stored form; 0 until measured.
    std::size_t storedBytes = 0;

protected:
    // The library shape for tool, or the line through `line` as described above.
    Outline outline(const Json* library, const std::vector<PointF>& line) const;
    std::shared_ptr<Shape> buildGeometry(const Outline& outline, Canvas& canvas) const;
};

// The rectangle holding `outline` drawn `width` wide.
RectF outlineExtent(const Outline& outline, float width);

class Scribble : public Figure {
public:
    // The pen's current figure, never cached: points, then smoothed and tail points.
    std::shared_ptr<Shape> createGeometry(const Json* library, Canvas& canvas) override;
    // The outline of the stroke in progress.
    Outline strokeOutline() const;
    // Every point of the free line shown now.
    std::vector<PointF> strokeLine() const;

    // History.
    size_t lastClear() const;
    bool canUndo() const { return position != floor; }
    bool canRedo() const { return position != figures.size(); }
    // Bytes of the stored form of the figures in effect.
    std::size_t storedBytes();
    bool undo();
    bool redo();
    // Drops the redo tail, appends and puts the figure in effect.
    void addFigure(Figure figure);
    // Takes back the figure just added.
    void withdrawLast();
    void clearDrawing();

    // Pen settings; colour and opacity changes let go of the pen's brushes.
    void setStrokeColour(std::uint32_t colour);
    void setFillColour(std::uint32_t colour);
    void setStrokeOpacity(float opacity);
    void setFillOpacity(float opacity);

    // Stroke editing in content coordinates.
    void beginStroke(PointF point);
    void extendStroke(PointF point, bool square);
    // Ends the stroke and adds it to the figures; its geometry is built when a
    // canvas is given, else on first draw.
    void commitStroke(Canvas* canvas);
    void cancelStroke();
    // One raw mouse point of a free line: speed estimate, smoothing, thinning.
    void addStrokePoint(PointF point);

    const Json* library = nullptr;
    bool drawing = false;
    // The scroll offset the drawing was last drawn at.
    int offsetX = 0, offsetY = 0;
    // Raised by every change of the figures in effect; lastAppend is its value
    // after the last change that only appended one figure.
    std::uint64_t revision = 0, lastAppend = 0;
    // Raised by every change of the stroke in progress.
    std::uint64_t strokeRevision = 0;
    size_t smoothingWindow = 6;
    std::vector<PointF> rawPoints;
    std::vector<PointF> smoothedPoints;
    std::vector<PointF> tailPoints;
    PointF lastPoint;
    std::vector<float> stepLengths;
    std::vector<Figure> figures;
    size_t position = 0;
    size_t floor = 0;

private:
    void emptyStrokeBuffers();
};

// Lets go of everything a canvas made for the drawing: geometries and brushes,
// which a new device makes again on first use.
void forgetCanvasObjects(Scribble& scribble);

// Raw points averaged into one smoothed point at an average step length: 8 for
// steps from 2 to below 2.2, 7 up to below 2.4, else 6.
size_t smoothingWindowFor(float averageStep);

// Drops points equal to their predecessor and points that barely bend the line.
void thinPoints(std::vector<PointF>& points);

// A 0x00BBGGRR colour as channels of byte / 255.
ColourF colourFromValue(std::uint32_t colour);
// "#rrggbb" of channels times 255, truncated and clamped.
std::string formatColourF(const ColourF& colour);

// Appends the figures of a stored "figure" array, raising position and floor
// for each. An element missing a member or holding one of the wrong type is
// skipped; false says that one was, so the list was not read whole.
bool loadFigures(Scribble& scribble, const Json& array);
// Writes the figures in effect from the last clear marker on.
void saveFigures(const Scribble& scribble, Json& array);
// One figure as stored.
Json figureJson(const Figure& figure);
// The points of a stored "points" text: x and y alternating, comma separated.
std::vector<PointF> parsePointsText(const std::string& text);
std::string formatPointsText(const std::vector<PointF>& points);

// Reads the pen from a note's "scribble" object; a colour that does not parse
// is stored back as "#000000" and drawn black.
void readPen(Scribble& pen, Json& scribbleObject);

} // namespace Brisvane
