#include "scribble/Render.h"

#include <algorithm>

namespace Brisvane {

namespace {

RectF shifted(const RectF& r, int dx, int dy) {
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

void drawFigure(Figure& figure, Scribble& scribble, Canvas& canvas) {
    if (figure.tool == toolClear) {
        return;
    }
    std::shared_ptr<Shape> shape = figure.createGeometry(scribble.library, canvas);
    if (!shape) {
        return;
    }
    if (figure.tool != toolFreeline) {
        if (!figure.fillBrush) {
            figure.fillBrush = canvas.makeBrush(figure.fillColor, figure.fillOpacity);
        }
        if (figure.fillBrush) {
            canvas.fill(*shape, *figure.fillBrush);
        }
    }
    if (!figure.strokeBrush) {
        figure.strokeBrush = canvas.makeBrush(figure.strokeColor, figure.strokeOpacity);
    }
    if (figure.strokeBrush) {
        canvas.stroke(*shape, *figure.strokeBrush, figure.strokeWidth);
    }
}

} // namespace

void rebuildEraseMasks(Scribble& scribble, Canvas& canvas, const RectF& bounds) {
    const RectF area = shifted(bounds, scribble.offsetX, scribble.offsetY);
    scribble.maskArea = area;
    const size_t end = std::min(scribble.position, scribble.figures.size());
    for (size_t e = 0; e < scribble.figures.size(); ++e) {
        Figure& eraser = scribble.figures[e];
        if (!eraser.eraser) {
            continue;
        }
        std::vector<std::shared_ptr<Shape>> kept; // keeps the geometries alive while masking
        std::vector<const Shape*> erased;
        for (size_t j = e; j < end; ++j) {
            Figure& later = scribble.figures[j];
            if (later.eraser) {
                if (std::shared_ptr<Shape> shape = later.createGeometry(scribble.library, canvas)) {
                    erased.push_back(shape.get());
                    kept.push_back(std::move(shape));
                }
            }
        }
        eraser.eraseMask = canvas.makeEraseMask(area, erased);
    }
}

bool renderScribble(Scribble& scribble, Canvas& canvas, const RectF& bounds, int scrollX, int scrollY) {
    scribble.offsetX = scrollX;
    scribble.offsetY = scrollY;
    if (scribble.maskArea != shifted(bounds, scrollX, scrollY)) {
        rebuildEraseMasks(scribble, canvas, bounds);
    }
    if (!canvas.beginDraw()) {
        return true;
    }
    canvas.setTranslation(-static_cast<float>(scrollX), -static_cast<float>(scrollY));
    const bool liveEraser = scribble.drawing && scribble.eraser;
    bool livePushed = false;
    if (liveEraser) {
        std::shared_ptr<Shape> stroke = scribble.createGeometry(scribble.library, canvas);
        scribble.eraseMask =
            stroke ? canvas.makeEraseMask(shifted(bounds, scrollX, scrollY), {stroke.get()}) : nullptr;
        if (scribble.eraseMask) {
            canvas.pushMask(*scribble.eraseMask);
            livePushed = true;
        }
    } else {
        scribble.eraseMask.reset();
    }
    const size_t end = std::min(scribble.position, scribble.figures.size());
    for (size_t i = scribble.lastClear(); i < end;) {
        if (scribble.figures[i].eraser) {
            ++i;
            continue;
        }
        size_t runEnd = i;
        while (runEnd < end && !scribble.figures[runEnd].eraser) {
            ++runEnd;
        }
        const Shape* mask = nullptr;
        for (size_t e = runEnd; e < end && !mask; ++e) {
            if (scribble.figures[e].eraser && scribble.figures[e].eraseMask) {
                mask = scribble.figures[e].eraseMask.get();
            }
        }
        if (mask) {
            canvas.pushMask(*mask);
        }
        for (; i < runEnd; ++i) {
            drawFigure(scribble.figures[i], scribble, canvas);
        }
        if (mask) {
            canvas.popMask();
        }
    }
    if (scribble.drawing && !scribble.eraser) {
        drawFigure(scribble, scribble, canvas); // its geometry is built afresh each time
    }
    if (livePushed) {
        canvas.popMask();
    }
    return canvas.endDraw();
}

void forgetCanvasObjects(Scribble& scribble) {
    auto forget = [](Figure& figure) {
        figure.geometry.reset();
        figure.strokeBrush.reset();
        figure.fillBrush.reset();
        figure.eraseMask.reset();
    };
    for (Figure& figure : scribble.figures) {
        forget(figure);
    }
    forget(scribble);
    scribble.maskArea.reset();
}

bool presentScribble(Scribble& scribble, CanvasSource& source, const RectF& bounds, int scrollX,
                     int scrollY) {
    Canvas* canvas = source.canvas();
    if (!canvas) {
        return false;
    }
    if (renderScribble(scribble, *canvas, bounds, scrollX, scrollY)) {
        return true;
    }
    // Nothing made on the lost device may be used on the new one.
    forgetCanvasObjects(scribble);
    canvas = source.rebuild() ? source.canvas() : nullptr;
    return canvas && renderScribble(scribble, *canvas, bounds, scrollX, scrollY);
}

} // namespace Brisvane
