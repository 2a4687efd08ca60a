#include "note/ScrollMath.h"

#include <algorithm>
#include <cstdlib>

namespace Brisvane {

namespace {

// Products of long contents and long bars do not fit 32 bits; they are formed
// wide and the quotient, which fits, is narrowed.
int ratio(std::int64_t a, std::int64_t b, std::int64_t divisor) {
    return static_cast<int>(a * b / divisor);
}

} // namespace

ThumbSpan thumbSpan(int length, int position, int page, int rangeMin, int rangeMax, int minimumLength) {
    const std::int64_t range = std::int64_t(rangeMax) - rangeMin;
    if (range == 0) {
        return {};
    }
    ThumbSpan span;
    span.start = ratio(length, position, range);
    const int size = ratio(length, page, range);
    span.end = span.start + size;
    if (size < minimumLength) {
        // The short thumb travels the bar less its minimum length.
        span.start = ratio(position, std::int64_t(length) + size - (minimumLength - 1), range);
        span.end = span.start + minimumLength;
    }
    return span;
}

ScrollCase chooseScrollCase(int width, int height, int cx, int cy,
                            const std::function<BodyBars(int, int)>& trial, int thickness) {
    const int t = thickness;
    BodyBars both = trial(width + cx - t, height + cy - t);
    if (both.vertical && both.horizontal) {
        return ScrollCase::both;
    }
    BodyBars tall = trial(width + cx - t, height);
    if (tall.vertical) {
        return tall.horizontal ? ScrollCase::both : ScrollCase::vertical;
    }
    BodyBars wide = trial(width, height - t + cy);
    if (wide.vertical || !wide.horizontal) {
        return wide.horizontal ? ScrollCase::both : ScrollCase::none;
    }
    return ScrollCase::horizontal;
}

ScrollLayout scrollLayout(ScrollCase which, int x, int y, int width, int height, int cx, int cy,
                          int thickness) {
    const int t = thickness;
    ScrollLayout l;
    switch (which) {
    case ScrollCase::both:
        l.body = rectFromSize(x, y, width + cx - t, height + cy - t);
        l.scribble = rectFromSize(x, y, width - t, height - t);
        l.hBar = rectFromSize(x, y + height - t, width - t, t);
        l.hShown = height > t - 1;
        l.vBar = rectFromSize(x + width - t, y, t, height - t);
        l.vShown = width > t - 1;
        l.corner = rectFromSize(x + width - t, y + height - t, t, t);
        l.cornerShown = true;
        l.visibleWidth = width - t;
        l.visibleHeight = height - t;
        break;
    case ScrollCase::vertical:
        l.body = rectFromSize(x, y, width + cx - t, height);
        l.scribble = rectFromSize(x, y, width - t, height);
        l.vBar = rectFromSize(x + width - t, y, t, height);
        l.vShown = width > t - 1;
        l.visibleWidth = width - t;
        l.visibleHeight = height;
        break;
    case ScrollCase::horizontal:
        l.body = rectFromSize(x, y, width, height - t + cy);
        l.scribble = rectFromSize(x, y, width, height - t);
        l.hBar = rectFromSize(x, y + height - t, width, t);
        l.hShown = height > t - 1;
        l.visibleWidth = width;
        l.visibleHeight = height - t;
        break;
    case ScrollCase::none:
        l.body = rectFromSize(x, y, width, height);
        l.scribble = l.body;
        l.visibleWidth = width;
        l.visibleHeight = height;
        break;
    }
    return l;
}

int dragPosition(int along, int across, int grabOffset, int grabAcross, int rangeMin, int rangeMax,
                 int length, int letGo) {
    if (length <= 0 || rangeMax < rangeMin) {
        return rangeMin;
    }
    const std::int64_t distance = std::llabs(std::int64_t(across) - grabAcross);
    const std::int64_t x = distance <= letGo ? std::int64_t(along) - grabOffset : grabOffset;
    const std::int64_t position = rangeMin + (std::int64_t(rangeMax) - rangeMin) * x / length;
    return static_cast<int>(std::clamp<std::int64_t>(position, rangeMin, rangeMax));
}

bool repeatsAt(int mode, int along, int across, int acrossMin, int acrossMax, const ThumbSpan& thumb) {
    if (across < acrossMin || across > acrossMax) {
        return false;
    }
    if (mode == DragBefore) {
        return along < thumb.start;
    }
    if (mode == DragAfter) {
        return along > thumb.end;
    }
    return false;
}

} // namespace Brisvane
