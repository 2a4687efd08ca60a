#include "scribble/FigureLibrary.h"

#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

constexpr size_t examinedEntriesLimit = 99;
constexpr const char* cornerNames[] = {"left", "top", "right", "bottom"};

void zeroMissingCorners(Json& object) {
    for (const char* name : cornerNames) {
        auto it = object.find(name);
        if (it == object.end() || !it->is_number()) {
            object[name] = 0;
        }
    }
}

// Repairs an element in place; false when its shape is unknown.
bool checkElement(Json& element) {
    if (!element.is_object()) {
        element = Json::object();
    }
    auto shape = element.find("shape");
    if (shape == element.end() || !shape->is_string()) {
        return false;
    }
    const std::string& kind = shape->get_ref<const std::string&>();
    if (kind == "line" || kind == "rect" || kind == "ellipse") {
        zeroMissingCorners(element);
        return true;
    }
    if (kind == "path") {
        auto d = element.find("d");
        if (d == element.end() || !d->is_string()) {
            element["d"] = "";
        }
        return true;
    }
    return false;
}

bool checkEntry(Json& entry) {
    if (!entry.is_object()) {
        return false;
    }
    auto name = entry.find("name");
    if (name == entry.end() || !name->is_string() || name->get_ref<const std::string&>().empty()) {
        return false;
    }
    auto localName = entry.find("localName");
    if (localName == entry.end() || !localName->is_object()) {
        return false;
    }
    auto figure = entry.find("figure");
    if (figure != entry.end() && figure->is_array()) {
        for (Json& element : *figure) {
            if (!checkElement(element)) {
                return false;
            }
        }
    }
    Json& viewBox = entry["viewBox"];
    if (!viewBox.is_object()) {
        viewBox = Json::object();
    }
    zeroMissingCorners(viewBox);
    if (figure == entry.end() || !figure->is_array()) {
        entry["figure"] = Json::array();
    }
    return true;
}

float numberOr(const Json& object, const char* name, float fallback) {
    auto it = object.find(name);
    return it != object.end() && isNumber(*it) ? static_cast<float>(numberValue(*it)) : fallback;
}

std::optional<Path> elementPath(const Json& element) {
    if (!element.is_object()) {
        return std::nullopt;
    }
    const std::string kind = stringAt(element, {"shape"}, "");
    if (kind == "path") {
        return parsePathData(stringAt(element, {"d"}, ""));
    }
    const float l = numberOr(element, "left", 0), t = numberOr(element, "top", 0);
    const float r = numberOr(element, "right", 0), b = numberOr(element, "bottom", 0);
    if (kind == "line") {
        return Path{{SegmentKind::move, {{l, t}}}, {SegmentKind::line, {{r, b}}}};
    }
    if (kind == "rect") {
        return Path{{SegmentKind::move, {{l, t}}},
                    {SegmentKind::line, {{r, t}}},
                    {SegmentKind::line, {{r, b}}},
                    {SegmentKind::line, {{l, b}}},
                    {SegmentKind::close, {}}};
    }
    if (kind == "ellipse") {
        // Four quarter arcs, each a cubic with the usual circle constant.
        const float cx = (l + r) / 2, cy = (t + b) / 2, rx = (r - l) / 2, ry = (b - t) / 2;
        const float k = 0.5522847498f;
        return Path{{SegmentKind::move, {{cx + rx, cy}}},
                    {SegmentKind::cubic, {{cx + rx, cy + k * ry}, {cx + k * rx, cy + ry}, {cx, cy + ry}}},
                    {SegmentKind::cubic, {{cx - k * rx, cy + ry}, {cx - rx, cy + k * ry}, {cx - rx, cy}}},
                    {SegmentKind::cubic, {{cx - rx, cy - k * ry}, {cx - k * rx, cy - ry}, {cx, cy - ry}}},
                    {SegmentKind::cubic, {{cx + k * rx, cy - ry}, {cx + rx, cy - k * ry}, {cx + rx, cy}}},
                    {SegmentKind::close, {}}};
    }
    return std::nullopt;
}

const Json* entryAt(const Json& library, size_t index) {
    return library.is_array() && index < library.size() ? &library[index] : nullptr;
}

} // namespace

Json figureLibraryFromText(std::string_view text) {
    Json library = parseJson(text);
    if (!library.is_array()) {
        library = Json::array();
    }
    checkFigureLibrary(library);
    return library;
}

void checkFigureLibrary(Json& library) {
    if (!library.is_array()) {
        library = Json::array();
        return;
    }
    size_t index = 0;
    for (size_t examined = 0; examined < library.size() && examined < examinedEntriesLimit; ++examined) {
        if (checkEntry(library[index])) {
            ++index;
        } else {
            library.erase(library.begin() + static_cast<std::ptrdiff_t>(index));
        }
    }
}

size_t figureCount(const Json& library) {
    return library.is_array() ? library.size() : 0;
}

std::wstring figureName(const Json& library, size_t index) {
    const Json* entry = entryAt(library, index);
    return entry ? utf8ToWide(stringAt(*entry, {"name"}, "")) : std::wstring();
}

std::wstring figureLocalName(const Json& library, size_t index, const std::string& language) {
    const Json* entry = entryAt(library, index);
    if (!entry) {
        return {};
    }
    const Json* names = findPath(*entry, {"localName"});
    if (!names || !names->is_object()) {
        return {};
    }
    for (const std::string& key : {language, std::string("English")}) {
        auto it = names->find(key);
        if (it != names->end() && it->is_string()) {
            return utf8ToWide(it->get_ref<const std::string&>());
        }
    }
    return {};
}

std::optional<Path> buildFigurePath(const Json& library, std::wstring_view tool, const RectF& rect) {
    if (!library.is_array()) {
        return std::nullopt;
    }
    const std::string name = wideToUtf8(tool);
    for (const Json& entry : library) {
        if (!entry.is_object() || stringAt(entry, {"name"}, "") != name) {
            continue;
        }
        const float width = numberAt(entry, {"viewBox", "width"}, 0);
        const float height = numberAt(entry, {"viewBox", "height"}, 0);
        if (nearlyEqual(width, 0) || nearlyEqual(height, 0)) {
            return std::nullopt;
        }
        const float scaleX = (rect.right - rect.left) / width;
        const float scaleY = (rect.bottom - rect.top) / height;
        Path shape;
        const Json* elements = findPath(entry, {"figure"});
        if (elements && elements->is_array()) {
            for (const Json& element : *elements) {
                std::optional<Path> part = elementPath(element);
                if (!part) {
                    continue;
                }
                for (PathSegment& segment : *part) {
                    for (PointF& p : segment.p) {
                        p = {p.x * scaleX + rect.left, p.y * scaleY + rect.top};
                    }
                }
                shape.insert(shape.end(), part->begin(), part->end());
            }
        }
        if (shape.empty()) {
            return std::nullopt;
        }
        return shape;
    }
    return std::nullopt;
}

} // namespace Brisvane
