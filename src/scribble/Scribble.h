#pragma once
// A sticky's drawing: its figures, which double as the undo history, the pen
// that draws the next figure, and the stroke being drawn.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "scribble/Canvas.h"
#include "storage/Json.h"

namespace Brisvane {

inline constexpr wchar_t toolFreeline[] = L"freeline";
inline constexpr wchar_t toolClear[] = L"clear";

class Figure {
public:
    virtual ~Figure() = default;

    // The cached geometry, or the figure's geometry built on `canvas`: the library
    // shape fitted into rect, else the line through points (from rect's corners
    // with fewer than two points); an eraser line is widened to its width.
    virtual std::shared_ptr<Shape> createGeometry(const Json* library, Canvas& canvas);

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
    // Erasers only: what stays visible of the figures drawn before this one.
    std::shared_ptr<Shape> eraseMask;

protected:
    // The library shape for tool, or the line through `line` as described above.
    std::shared_ptr<Shape> buildGeometry(const Json* library, Canvas& canvas,
                                         const std::vector<PointF>& line) const;
};

class Scribble : public Figure {
public:
    // The pen's current figure, never cached: points, then smoothed and tail points.
    std::shared_ptr<Shape> createGeometry(const Json* library, Canvas& canvas) override;

    // History.
    size_t lastClear() const;
    bool canUndo() const { return position != floor; }
    bool canRedo() const { return position != figures.size(); }
    bool undo();
    bool redo();
    // Drops the redo tail, appends and puts the figure in effect.
    void addFigure(Figure figure);
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
    int offsetX = 0, offsetY = 0;
    // The content rectangle the erase masks cover; none until they are built.
    std::optional<RectF> maskArea;
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
// The points of a stored "points" text: x and y alternating, comma separated.
std::vector<PointF> parsePointsText(const std::string& text);
std::string formatPointsText(const std::vector<PointF>& points);

// Reads the pen from a note's "scribble" object; a colour that does not parse
// is stored back as "#000000" and drawn black.
void readPen(Scribble& pen, Json& scribbleObject);

} // namespace Brisvane
