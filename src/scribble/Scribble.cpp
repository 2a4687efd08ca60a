#include "scribble/Scribble.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "scribble/FigureLibrary.h"

namespace Brisvane {

namespace {

constexpr size_t stepHistory = 20;
constexpr size_t tailStep = 2;
constexpr size_t pointsPerMove = 10;

PointF meanOf(std::vector<PointF>::const_iterator begin, std::vector<PointF>::const_iterator end) {
    double x = 0, y = 0;
    size_t count = 0;
    for (auto it = begin; it != end; ++it, ++count) {
        x += it->x;
        y += it->y;
    }
    return {static_cast<float>(x / count), static_cast<float>(y / count)};
}

bool samePoint(PointF a, PointF b) {
    return nearlyEqual(a.x, b.x) && nearlyEqual(a.y, b.y);
}

float distance(PointF a, PointF b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Squared distance of p from the line through a and b; 0 when a and b coincide.
float squaredLineDistance(PointF p, PointF a, PointF b) {
    if (samePoint(a, b)) {
        return 0;
    }
    const float dx = b.x - a.x, dy = b.y - a.y;
    const float cross = dx * (p.y - a.y) - dy * (p.x - a.x);
    return cross * cross / (dx * dx + dy * dy);
}

Path linePath(const std::vector<PointF>& line, const RectF& rect) {
    Path path;
    if (line.empty()) {
        path.push_back({SegmentKind::move, {{rect.left, rect.top}}});
        path.push_back({SegmentKind::line, {{rect.left, rect.top}}});
        return path;
    }
    path.push_back({SegmentKind::move, {line.front()}});
    for (size_t i = 1; i < line.size(); ++i) {
        path.push_back({SegmentKind::line, {line[i]}});
    }
    if (line.size() == 1) {
        path.push_back({SegmentKind::line, {{rect.right, rect.bottom}}});
    }
    return path;
}

} // namespace

namespace {

bool samePlace(const std::vector<PointF>& line) {
    return std::all_of(line.begin(), line.end(), [&](PointF p) { return samePoint(p, line.front()); });
}

// A circle as four Bézier quarters.
Path dotPath(PointF centre, float radius) {
    constexpr float k = 0.5522848f; // control distance of a quarter circle, per radius
    const float r = std::max(radius, 0.25f), c = r * k, x = centre.x, y = centre.y;
    return {{SegmentKind::move, {{x + r, y}}},
            {SegmentKind::cubic, {{x + r, y + c}, {x + c, y + r}, {x, y + r}}},
            {SegmentKind::cubic, {{x - c, y + r}, {x - r, y + c}, {x - r, y}}},
            {SegmentKind::cubic, {{x - r, y - c}, {x - c, y - r}, {x, y - r}}},
            {SegmentKind::cubic, {{x + c, y - r}, {x + r, y - c}, {x + r, y}}},
            {SegmentKind::close, {}}};
}

} // namespace

Outline Figure::outline(const Json* library, const std::vector<PointF>& line) const {
    Outline result;
    if (library && tool != toolFreeline) {
        if (std::optional<Path> shape = buildFigurePath(*library, tool, rect)) {
            // An eraser shape erases its interior as it stands.
            result.path = std::move(*shape);
            return result;
        }
    }
    std::vector<PointF> drawn = line;
    if (drawn.empty()) {
        drawn.push_back({rect.left, rect.top});
    }
    if (drawn.size() == 1) {
        drawn.push_back(line.empty() ? PointF{rect.left, rect.top} : PointF{rect.right, rect.bottom});
    }
    if (samePlace(drawn)) {
        result.path = dotPath(drawn.front(), strokeWidth / 2);
        result.dot = true;
        return result;
    }
    result.path = linePath(line, rect);
    result.widened = eraser;
    return result;
}

std::shared_ptr<Shape> Figure::buildGeometry(const Outline& shapeOutline, Canvas& canvas) const {
    std::shared_ptr<Shape> shape = canvas.makeShape(shapeOutline.path);
    if (shapeOutline.widened && shape) {
        return canvas.widen(*shape, strokeWidth);
    }
    return shape;
}

RectF outlineExtent(const Outline& outline, float width) {
    if (outline.path.empty()) {
        return {};
    }
    RectF r{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
            std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest()};
    for (const PathSegment& segment : outline.path) {
        const int count = segment.kind == SegmentKind::close       ? 0
                          : segment.kind == SegmentKind::quadratic ? 2
                          : segment.kind == SegmentKind::cubic     ? 3
                                                                   : 1;
        for (int i = 0; i < count; ++i) {
            r.left = std::min(r.left, segment.p[i].x);
            r.top = std::min(r.top, segment.p[i].y);
            r.right = std::max(r.right, segment.p[i].x);
            r.bottom = std::max(r.bottom, segment.p[i].y);
        }
    }
    // Round caps and joins reach half the width out; the mitred joins of a
    // widened line up to five widths. Two pixels more for antialiasing.
    const float reach = (outline.dot ? 0 : outline.widened ? 5 * width : width / 2) + 2;
    return {r.left - reach, r.top - reach, r.right + reach, r.bottom + reach};
}

std::shared_ptr<Shape> Figure::createGeometry(const Json* library, Canvas& canvas) {
    adoptCanvas(canvas);
    if (!geometry) {
        const Outline shape = outline(library, points);
        dot = shape.dot;
        geometry = buildGeometry(shape, canvas);
    }
    return geometry;
}

RectF Figure::extent(const Json* library) {
    if (!knownExtent) {
        knownExtent = outlineExtent(outline(library, points), strokeWidth);
    }
    return *knownExtent;
}

void Figure::forgetCanvasObjects() {
    geometry.reset();
    strokeBrush.reset();
    fillBrush.reset();
    madeBy.reset();
}

void Figure::adoptCanvas(const Canvas& canvas) {
    const std::shared_ptr<const int>& token = canvas.token();
    if (madeBy.owner_before(token) || token.owner_before(madeBy) || madeBy.expired()) {
        forgetCanvasObjects();
        madeBy = token;
    }
}

std::vector<PointF> Scribble::strokeLine() const {
    std::vector<PointF> line = points;
    line.insert(line.end(), smoothedPoints.begin(), smoothedPoints.end());
    line.insert(line.end(), tailPoints.begin(), tailPoints.end());
    return line;
}

Outline Scribble::strokeOutline() const {
    return outline(library, strokeLine());
}

std::shared_ptr<Shape> Scribble::createGeometry(const Json* library, Canvas& canvas) {
    adoptCanvas(canvas);
    const Outline shape = outline(library, strokeLine());
    dot = shape.dot;
    return buildGeometry(shape, canvas);
}

size_t Scribble::lastClear() const {
    for (size_t i = std::min(position, figures.size()); i > 0; --i) {
        if (figures[i - 1].tool == toolClear) {
            return i - 1;
        }
    }
    return 0;
}

std::size_t Scribble::storedBytes() {
    std::size_t total = 0;
    for (size_t i = lastClear(); i < position && i < figures.size(); ++i) {
        Figure& figure = figures[i];
        if (figure.storedBytes == 0) {
            figure.storedBytes = serializeJson(figureJson(figure), JsonLayout::compact).size() + 1;
        }
        total += figure.storedBytes;
    }
    return total;
}

bool Scribble::undo() {
    if (!canUndo()) {
        return false;
    }
    --position;
    ++revision;
    return true;
}

bool Scribble::redo() {
    if (!canRedo()) {
        return false;
    }
    ++position;
    ++revision;
    return true;
}

void Scribble::addFigure(Figure figure) {
    figures.erase(figures.begin() + static_cast<std::ptrdiff_t>(position), figures.end());
    figures.push_back(std::move(figure));
    position = figures.size();
    lastAppend = ++revision;
}

void Scribble::withdrawLast() {
    if (!figures.empty() && position == figures.size()) {
        figures.pop_back();
        position = figures.size();
        ++revision;
    }
}

void Scribble::clearDrawing() {
    Figure marker;
    marker.tool = toolClear;
    addFigure(std::move(marker));
}

void Scribble::setStrokeColour(std::uint32_t colour) {
    strokeColor = colourFromValue(colour);
    strokeBrush.reset();
    fillBrush.reset();
}

void Scribble::setFillColour(std::uint32_t colour) {
    fillColor = colourFromValue(colour);
    strokeBrush.reset();
    fillBrush.reset();
}

void Scribble::setStrokeOpacity(float opacity) {
    strokeOpacity = opacity;
    strokeBrush.reset();
    fillBrush.reset();
}

void Scribble::setFillOpacity(float opacity) {
    fillOpacity = opacity;
    strokeBrush.reset();
    fillBrush.reset();
}

void Scribble::beginStroke(PointF point) {
    // Nothing of a stroke that never ended carries over.
    emptyStrokeBuffers();
    ++strokeRevision;
    if (tool == toolFreeline) {
        addStrokePoint(point);
    }
    rect = {point.x, point.y, point.x, point.y};
    drawing = true;
}

void Scribble::extendStroke(PointF point, bool square) {
    if (!drawing) {
        return;
    }
    ++strokeRevision;
    if (tool == toolFreeline) {
        addStrokePoint(point);
    }
    if (!square) {
        rect.right = point.x;
        rect.bottom = point.y;
        return;
    }
    const float dx = point.x - rect.left, dy = point.y - rect.top;
    if (std::fabs(dy) >= std::fabs(dx)) {
        rect.right = point.x;
        rect.bottom = rect.top + std::copysign(std::fabs(dx), dy);
    } else {
        rect.right = rect.left + std::copysign(std::fabs(dy), dx);
        rect.bottom = point.y;
    }
}

void Scribble::commitStroke(Canvas* canvas) {
    drawing = false;
    ++strokeRevision;
    points.insert(points.end(), smoothedPoints.begin(), smoothedPoints.end());
    points.insert(points.end(), tailPoints.begin(), tailPoints.end());
    smoothedPoints.clear();
    tailPoints.clear();
    points.erase(std::unique(points.begin(), points.end()), points.end());
    Figure figure;
    figure.tool = tool;
    figure.eraser = eraser;
    figure.strokeWidth = strokeWidth;
    figure.strokeColor = strokeColor;
    figure.strokeOpacity = strokeOpacity;
    figure.fillColor = fillColor;
    figure.fillOpacity = fillOpacity;
    figure.rect = rect;
    figure.points = points;
    if (canvas) {
        figure.createGeometry(library, *canvas);
    }
    addFigure(std::move(figure));
    emptyStrokeBuffers();
}

void Scribble::cancelStroke() {
    drawing = false;
    ++strokeRevision;
    emptyStrokeBuffers();
}

void Scribble::emptyStrokeBuffers() {
    points.clear();
    rawPoints.clear();
    smoothedPoints.clear();
    tailPoints.clear();
    stepLengths.clear();
}

void Scribble::addStrokePoint(PointF point) {
    if (stepLengths.empty()) {
        stepLengths.push_back(0);
    } else {
        stepLengths.push_back(distance(point, lastPoint));
        if (stepLengths.size() > stepHistory) {
            // Keeps twenty, the last two being the newest distance.
            std::copy(stepLengths.begin() + 2, stepLengths.end(), stepLengths.begin());
            stepLengths.pop_back();
        }
        float sum = 0;
        for (size_t i = 0; i + 1 < stepLengths.size(); ++i) {
            sum += stepLengths[i];
        }
        smoothingWindow = smoothingWindowFor(sum / static_cast<float>(stepLengths.size()));
    }
    lastPoint = point;
    rawPoints.push_back(point);
    while (rawPoints.size() > smoothingWindow) {
        rawPoints.erase(rawPoints.begin());
    }
    if (rawPoints.size() % 2 == 0 && rawPoints.size() < smoothingWindow) {
        return;
    }
    smoothedPoints.push_back(meanOf(rawPoints.begin(), rawPoints.end()));
    thinPoints(smoothedPoints);
    if (smoothedPoints.size() >= pointsPerMove) {
        points.insert(points.end(), smoothedPoints.begin(), smoothedPoints.begin() + pointsPerMove);
        smoothedPoints.erase(smoothedPoints.begin(), smoothedPoints.begin() + pointsPerMove);
    }
    tailPoints.clear();
    for (size_t i = tailStep; i < rawPoints.size(); i += tailStep) {
        tailPoints.push_back(meanOf(rawPoints.begin() + static_cast<std::ptrdiff_t>(i), rawPoints.end()));
    }
}

size_t smoothingWindowFor(float averageStep) {
    const float window = 18 - std::floor(5 * averageStep);
    return window >= 6 && window <= 8 ? static_cast<size_t>(window) : 6;
}

void thinPoints(std::vector<PointF>& points) {
    points.erase(std::unique(points.begin(), points.end(), samePoint), points.end());
    if (points.size() < 4) {
        return;
    }
    for (size_t i = 2; i + 1 < points.size();) {
        const float l = squaredLineDistance(points[i], points[i - 1], points[i + 1]);
        const float h = squaredLineDistance(points[i - 1], points[i - 2], points[i]);
        const bool longSides =
            distance(points[i - 1], points[i]) >= 10 && distance(points[i], points[i + 1]) >= 10;
        if (h > l && (l <= 0.0225f || (l <= 0.09f && longSides))) {
            points.erase(points.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

void forgetCanvasObjects(Scribble& scribble) {
    for (Figure& figure : scribble.figures) {
        figure.forgetCanvasObjects();
    }
    scribble.forgetCanvasObjects();
}

} // namespace Brisvane
