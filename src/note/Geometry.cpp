#include "note/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace Brisvane {

namespace {

bool centreInside(const Rect& r, const Rect& area) {
    // Computed wide so that extreme edges cannot overflow; division truncates as
    // in the window code this mirrors.
    std::int64_t x = (std::int64_t(r.left) + r.right) / 2;
    std::int64_t y = (std::int64_t(r.top) + r.bottom) / 2;
    return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
}

// The object that holds the last key of `path` in target, created when missing;
// null when something in the way is not an object.
Json* parentForWrite(Json& root, std::initializer_list<const char*> path) {
    Json* node = &root;
    auto last = path.end() - 1;
    for (auto key = path.begin(); key != last; ++key) {
        if (!node->is_object()) {
            return nullptr;
        }
        Json& child = (*node)[*key];
        if (child.is_null()) {
            child = Json::object();
        }
        node = &child;
    }
    return node->is_object() ? node : nullptr;
}

enum class Kind { boolean, number, string };

bool hasKind(const Json& value, Kind kind) {
    switch (kind) {
    case Kind::boolean:
        return value.is_boolean();
    case Kind::number:
        return isNumber(value);
    case Kind::string:
        return value.is_string();
    }
    return false;
}

void copyMember(Json& target, const Json& source, std::initializer_list<const char*> path, Kind kind) {
    const Json* value = findPath(source, path);
    if (value == nullptr || !hasKind(*value, kind)) {
        return;
    }
    if (Json* parent = parentForWrite(target, path)) {
        (*parent)[*(path.end() - 1)] = *value;
    }
}

bool readInt(const Json& position, const char* name, int& out) {
    auto it = position.find(name);
    if (it == position.end() || !isInteger(*it)) {
        return false;
    }
    out = saturate(integerValue(*it));
    return true;
}

void copyPosition(Json& target, const Json& source, const std::function<Rect(const Rect&)>& nearestMonitor) {
    const Json* position = findPath(source, {"window", "position"});
    if (position == nullptr || !position->is_object()) {
        return;
    }
    int left = 0, top = 0, width = 0, height = 0;
    if (!readInt(*position, "left", left) || !readInt(*position, "top", top) ||
        !readInt(*position, "width", width) || !readInt(*position, "height", height)) {
        return;
    }
    Json* out = parentForWrite(target, {"window", "position", "left"});
    if (out == nullptr) {
        return;
    }
    Rect sourceRect = rectFromSize(left, top, width, height);
    Rect candidate = besideSource(sourceRect);
    Rect monitor = nearestMonitor ? nearestMonitor(candidate) : candidate;
    Rect placed = fitBesideSource(candidate, sourceRect, monitor);
    (*out)["left"] = placed.left;
    (*out)["top"] = placed.top;
    (*out)["width"] = width;
    (*out)["height"] = height;
}

} // namespace

Rect keepOnScreen(const Rect& r, const std::vector<Rect>& workAreas, const Rect& nearestMonitor,
                  bool& corrected) {
    for (const Rect& area : workAreas) {
        if (centreInside(r, area)) {
            corrected = false;
            return r;
        }
    }
    int left = r.left;
    int top = r.top;
    int width = r.width();
    int height = r.height();
    if (r.right > nearestMonitor.right) {
        left = saturate(std::int64_t(nearestMonitor.right) - width);
    }
    if (r.bottom > nearestMonitor.bottom) {
        top = saturate(std::int64_t(nearestMonitor.bottom) - height);
    }
    left = std::max(left, nearestMonitor.left);
    top = std::max(top, nearestMonitor.top);
    corrected = true;
    return rectFromSize(left, top, width, height);
}

Rect besideSource(const Rect& source) {
    return rectFromSize(saturate(std::int64_t(source.left) + source.width()), source.top, source.width(),
                        source.height());
}

Rect fitBesideSource(const Rect& candidate, const Rect& source, const Rect& monitor) {
    int left = candidate.left;
    int top = candidate.top;
    int width = candidate.width();
    int height = candidate.height();
    if (candidate.right > monitor.right) {
        left = saturate(std::int64_t(source.left) - width);
    }
    if (candidate.bottom > monitor.bottom) {
        top = saturate(std::int64_t(monitor.bottom) - height);
    }
    left = std::max(left, monitor.left);
    top = std::max(top, monitor.top);
    return rectFromSize(left, top, width, height);
}

void copyNoteDefaults(Json& target, const Json& source,
                      const std::function<Rect(const Rect&)>& nearestMonitor) {
    if (!target.is_object() || !source.is_object()) {
        return;
    }
    copyMember(target, source, {"group", "guid"}, Kind::string);
    copyPosition(target, source, nearestMonitor);
    for (const char* name : {"alwaysOnTop", "border", "titlebar", "shadow", "fold", "lock"}) {
        copyMember(target, source, {"window", name}, Kind::boolean);
    }
    copyMember(target, source, {"window", "opacity"}, Kind::number);
    copyMember(target, source, {"window", "fix", "position"}, Kind::boolean);
    copyMember(target, source, {"window", "fix", "size"}, Kind::boolean);
    copyMember(target, source, {"window", "magnet", "monitor"}, Kind::boolean);
    copyMember(target, source, {"window", "magnet", "note"}, Kind::boolean);
    copyMember(target, source, {"mode"}, Kind::string);
    copyMember(target, source, {"text", "autoDetectURL"}, Kind::boolean);
    copyMember(target, source, {"text", "wordwrap"}, Kind::boolean);
    copyMember(target, source, {"scribble", "tool"}, Kind::string);
    copyMember(target, source, {"scribble", "eraser"}, Kind::boolean);
    copyMember(target, source, {"scribble", "strokeWidth"}, Kind::number);
    copyMember(target, source, {"scribble", "strokeColor"}, Kind::string);
    copyMember(target, source, {"scribble", "strokeOpacity"}, Kind::number);
    copyMember(target, source, {"scribble", "fillColor"}, Kind::string);
    copyMember(target, source, {"scribble", "fillOpacity"}, Kind::number);
    copyMember(target, source, {"theme", "base"}, Kind::string);
}

HitZone resizeZone(int x, int y, int width, int height, bool fixSize) {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return HitNowhere;
    }
    if (fixSize) {
        return HitClient;
    }
    bool left = x <= 5;
    bool right = !left && x >= width - 5;
    bool top = y <= 2;
    bool bottom = !top && y >= height - 5;
    if (left) {
        return top ? HitTopLeft : bottom ? HitBottomLeft : HitLeft;
    }
    if (top) {
        return right ? HitTopRight : HitClient;
    }
    if (bottom) {
        return right ? HitBottomRight : HitBottom;
    }
    return right ? HitRight : HitClient;
}

int layeredAlpha(float opacity, float factor, float highlight) {
    double scaled = std::trunc(double(opacity * factor * highlight) * 255.0);
    // NaN fails both comparisons and, like anything outside 0..255, means opaque.
    if (!(scaled >= 0.0 && scaled <= 255.0)) {
        return 255;
    }
    return int(scaled);
}

bool opacityDiffers(float a, float b) {
    float scale = std::max({1.0f, std::fabs(a), std::fabs(b)});
    return std::fabs(a - b) > scale * 1.1920929e-7f;
}

} // namespace Brisvane
