#include "scribble/Render.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace Brisvane {

namespace {

RectI wholeOf(const Viewport& viewport) {
    return {0, 0, viewport.width, viewport.height};
}

RectI intersect(const RectI& a, const RectI& b) {
    RectI r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
    return r.empty() ? RectI{} : r;
}

bool sameSize(const Viewport& a, const Viewport& b) {
    return a.width == b.width && a.height == b.height && a.scale == b.scale;
}

bool sameScroll(const Viewport& a, const Viewport& b) {
    return a.scrollX == b.scrollX && a.scrollY == b.scrollY;
}

void setView(Canvas& canvas, const Viewport& viewport) {
    canvas.setTransform(viewport.scale, -static_cast<float>(viewport.scrollX),
                        -static_cast<float>(viewport.scrollY));
}

void drawFigure(Figure& figure, Scribble& scribble, Canvas& canvas) {
    if (figure.tool == toolClear) {
        return;
    }
    std::shared_ptr<Shape> shape = figure.createGeometry(scribble.library, canvas);
    if (!shape) {
        return;
    }
    if (figure.eraser) {
        canvas.erase(*shape);
        return;
    }
    if (!figure.strokeBrush) {
        figure.strokeBrush = canvas.makeBrush(figure.strokeColor, figure.strokeOpacity);
    }
    if (figure.dot) {
        if (figure.strokeBrush) {
            canvas.fill(*shape, *figure.strokeBrush);
        }
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
    if (figure.strokeBrush) {
        canvas.stroke(*shape, *figure.strokeBrush, figure.strokeWidth);
    }
}

// The figure appended last, when that is the only change since `revision`.
Figure* appendedSince(Scribble& scribble, std::uint64_t revision) {
    if (scribble.lastAppend != scribble.revision || revision + 1 != scribble.revision ||
        scribble.position == 0 || scribble.position > scribble.figures.size()) {
        return nullptr;
    }
    Figure& figure = scribble.figures[scribble.position - 1];
    return figure.tool == toolClear ? nullptr : &figure;
}

} // namespace

RectI pixelsOf(const RectF& r, const Viewport& viewport) {
    auto x = [&](float v) { return v * viewport.scale - static_cast<float>(viewport.scrollX); };
    auto y = [&](float v) { return v * viewport.scale - static_cast<float>(viewport.scrollY); };
    auto whole = [](float v, bool up) {
        const float limit = 1e9f;
        v = std::clamp(up ? std::ceil(v) : std::floor(v), -limit, limit);
        return static_cast<int>(v);
    };
    return intersect(
        {whole(x(r.left), false), whole(y(r.top), false), whole(x(r.right), true), whole(y(r.bottom), true)},
        wholeOf(viewport));
}

RectI unite(const RectI& a, const RectI& b) {
    if (a.empty()) {
        return b.empty() ? RectI{} : b;
    }
    if (b.empty()) {
        return a;
    }
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

void drawScribble(Scribble& scribble, Canvas& canvas, const Viewport& viewport, const RectI& area,
                  bool withStroke) {
    canvas.clear();
    setView(canvas, viewport);
    const size_t end = std::min(scribble.position, scribble.figures.size());
    for (size_t i = scribble.lastClear(); i < end; ++i) {
        Figure& figure = scribble.figures[i];
        if (!intersect(pixelsOf(figure.extent(scribble.library), viewport), area).empty()) {
            drawFigure(figure, scribble, canvas);
        }
    }
    if (withStroke && scribble.drawing) {
        drawFigure(scribble, scribble, canvas); // its geometry is built afresh each time
    }
}

void ScribbleView::keepCache(bool keep) {
    keepCache_ = keep;
    if (!keep) {
        cache_.reset();
        cachePicture_ = {};
    }
}

void ScribbleView::invalidate() {
    cache_.reset();
    cachePicture_ = {};
    framePicture_ = {};
    frameFollowsCache_ = false;
    shown_.reset();
    shownStroke_ = {};
    canvas_.reset();
}

bool ScribbleView::sameCanvas(const Canvas& canvas) const {
    return !canvas_.owner_before(canvas.token()) && !canvas.token().owner_before(canvas_) &&
           !canvas_.expired();
}

RectI ScribbleView::strokeArea(Scribble& scribble, const Viewport& viewport) const {
    return pixelsOf(outlineExtent(scribble.strokeOutline(), scribble.strokeWidth), viewport);
}

RectI ScribbleView::strokeChange(Scribble& scribble, const Viewport& viewport) const {
    // The whole stroke is drawn again: a line drawn in pieces would not blend
    // exactly like one drawn whole.
    return scribble.drawing ? unite(strokeArea(scribble, viewport), shownStroke_) : RectI{};
}

std::vector<RectI> ScribbleView::pendingChanges(Scribble& scribble, const Canvas& canvas,
                                                const Viewport& viewport) {
    const RectI all = wholeOf(viewport);
    if (!sameCanvas(canvas) || !shown_) {
        return {all};
    }
    const Shown now{viewport, scribble.revision, scribble.strokeRevision, scribble.drawing};
    if (*shown_ == now) {
        return {};
    }
    if (!(shown_->viewport == viewport)) {
        return {all};
    }
    RectI area = strokeChange(scribble, viewport);
    if (!scribble.drawing) {
        area = unite(area, shownStroke_);
    }
    if (scribble.revision != shown_->revision) {
        Figure* appended = appendedSince(scribble, shown_->revision);
        if (!appended) {
            return {all};
        }
        area = unite(area, pixelsOf(appended->extent(scribble.library), viewport));
    }
    if (area.empty()) {
        return {};
    }
    return {area};
}

std::optional<RectI> ScribbleView::updatePicture(Scribble& scribble, Canvas& canvas, const Viewport& viewport,
                                                 Surface* target, Picture& picture, bool& ok) {
    const RectI all = wholeOf(viewport);
    auto finish = [&](const RectI& changed) {
        ok = canvas.endDraw(target ? std::vector<RectI>{} : std::vector<RectI>{changed}) && ok;
    };
    bool full = !picture.valid || !sameSize(picture.viewport, viewport);
    const bool scrolled = !full && !sameScroll(picture.viewport, viewport);
    const bool changedHistory = !full && picture.revision != scribble.revision;
    std::optional<RectI> changed;
    if (scrolled) {
        const int dx = picture.viewport.scrollX - viewport.scrollX;
        const int dy = picture.viewport.scrollY - viewport.scrollY;
        if (changedHistory || std::abs(dx) >= viewport.width || std::abs(dy) >= viewport.height) {
            full = true;
        } else {
            // The pixels in view move with the text; only what comes into view is drawn.
            canvas.beginDraw(target, all);
            canvas.scroll(dx, dy);
            finish(all);
            std::vector<RectI> strips;
            if (dx != 0) {
                strips.push_back(dx > 0 ? RectI{0, 0, dx, viewport.height}
                                        : RectI{viewport.width + dx, 0, viewport.width, viewport.height});
            }
            if (dy != 0) {
                strips.push_back(dy > 0 ? RectI{0, 0, viewport.width, dy}
                                        : RectI{0, viewport.height + dy, viewport.width, viewport.height});
            }
            for (const RectI& strip : strips) {
                canvas.beginDraw(target, strip);
                drawScribble(scribble, canvas, viewport, strip, false);
                finish(strip);
            }
            changed = all;
        }
    } else if (changedHistory) {
        if (Figure* appended = appendedSince(scribble, picture.revision)) {
            // Drawn over what is there; an eraser clears its area.
            const RectI area = pixelsOf(appended->extent(scribble.library), viewport);
            if (!area.empty()) {
                canvas.beginDraw(target, area);
                setView(canvas, viewport);
                drawFigure(*appended, scribble, canvas);
                finish(area);
            }
            changed = area;
        } else {
            full = true;
        }
    }
    if (full) {
        canvas.beginDraw(target, all);
        drawScribble(scribble, canvas, viewport, all, false);
        finish(all);
        changed = all;
    }
    picture = {true, viewport, scribble.revision};
    return changed;
}

bool ScribbleView::render(Scribble& scribble, Canvas& canvas, const Viewport& viewport) {
    if (!sameCanvas(canvas)) {
        // Nothing made by another canvas is used on this one.
        invalidate();
        canvas_ = canvas.token();
    }
    const Shown now{viewport, scribble.revision, scribble.strokeRevision, scribble.drawing};
    if (shown_ && *shown_ == now) {
        return true;
    }
    ++renders_;
    scribble.offsetX = viewport.scrollX;
    scribble.offsetY = viewport.scrollY;
    const RectI all = wholeOf(viewport);
    if (all.empty()) {
        return true; // a folded sticky shows nothing; the next size draws it all
    }
    const bool frameResized = !shown_ || !sameSize(shown_->viewport, viewport);
    if (keepCache_ && (!cache_ || cacheWidth_ != viewport.width || cacheHeight_ != viewport.height)) {
        cache_ = canvas.makeSurface(viewport.width, viewport.height);
        cacheWidth_ = viewport.width;
        cacheHeight_ = viewport.height;
        cachePicture_ = {};
    }
    bool ok = true;
    if (keepCache_ && cache_) {
        const RectI pictureChange =
            updatePicture(scribble, canvas, viewport, cache_.get(), cachePicture_, ok).value_or(RectI{});
        RectI area = unite(pictureChange, strokeChange(scribble, viewport));
        if (!scribble.drawing) {
            area = unite(area, shownStroke_);
        }
        if (frameResized || !frameFollowsCache_) {
            area = all;
        }
        // A frame that keeps no pixels is drawn whole; only the changed part is shown anew.
        const RectI drawn = canvas.keepsFrame() ? area : all;
        if (ok && !area.empty()) {
            canvas.beginDraw(nullptr, drawn);
            canvas.copy(*cache_);
            if (scribble.drawing) {
                setView(canvas, viewport);
                drawFigure(scribble, scribble, canvas);
            }
            ok = canvas.endDraw({area});
        }
        frameFollowsCache_ = true;
        framePicture_ = scribble.drawing ? Picture{} : cachePicture_;
    } else if (canvas.keepsFrame() && !scribble.drawing) {
        updatePicture(scribble, canvas, viewport, nullptr, framePicture_, ok);
        frameFollowsCache_ = false;
    } else {
        canvas.beginDraw(nullptr, all);
        drawScribble(scribble, canvas, viewport, all, true);
        ok = canvas.endDraw({all});
        framePicture_ = scribble.drawing ? Picture{} : Picture{true, viewport, scribble.revision};
        frameFollowsCache_ = false;
    }
    if (!ok) {
        return false;
    }
    shownStroke_ = scribble.drawing ? strokeArea(scribble, viewport) : RectI{};
    shown_ = now;
    return true;
}

bool presentScribble(Scribble& scribble, ScribbleView& view, CanvasSource& source, const Viewport& viewport) {
    Canvas* canvas = source.canvas();
    if (!canvas) {
        return false;
    }
    if (view.render(scribble, *canvas, viewport)) {
        return true;
    }
    // Nothing made on the lost device may be used on the new one.
    forgetCanvasObjects(scribble);
    view.invalidate();
    canvas = source.rebuild() ? source.canvas() : nullptr;
    return canvas && view.render(scribble, *canvas, viewport);
}

} // namespace Brisvane
