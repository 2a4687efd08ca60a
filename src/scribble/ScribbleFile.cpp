// The drawing as stored in a note's "scribble" object: figures, the points
// text of a free line, colour texts and the pen.
#include "scribble/Scribble.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "base/Colour.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

// Stored coordinates are whole numbers, truncated toward zero; values no int
// can hold are clamped so that writing never overflows.
long long storedCoordinate(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double limit = std::numeric_limits<std::int32_t>::max();
    return static_cast<long long>(std::trunc(std::clamp<double>(value, -limit, limit)));
}

ColourF colourFromText(const std::string& text) {
    return colourFromValue(parseColour(std::string_view(text)).value_or(0));
}

Json rectJson(const RectF& r) {
    Json rect = Json::object();
    rect["left"] = r.left;
    rect["top"] = r.top;
    rect["right"] = r.right;
    rect["bottom"] = r.bottom;
    return rect;
}

// One stored figure; false at a missing member or one of the wrong type.
bool readFigure(const Json& element, Figure& figure) {
    if (!element.is_object()) {
        return false;
    }
    auto member = [&](const char* name) -> const Json* {
        auto it = element.find(name);
        return it == element.end() ? nullptr : &*it;
    };
    auto text = [&](const char* name, std::string& out) {
        const Json* value = member(name);
        if (!value || !value->is_string()) {
            return false;
        }
        out = value->get_ref<const std::string&>();
        return true;
    };
    auto number = [&](const char* name, float& out) {
        const Json* value = member(name);
        if (!value || !value->is_number()) {
            return false;
        }
        out = static_cast<float>(numberValue(*value));
        return true;
    };
    std::string stroke, fill, tool;
    if (!text("strokeColor", stroke) || !text("fillColor", fill) || !text("tool", tool)) {
        return false;
    }
    figure.strokeColor = colourFromText(stroke);
    figure.fillColor = colourFromText(fill);
    figure.tool = utf8ToWide(tool);
    const Json* eraser = member("eraser");
    if (!eraser || !eraser->is_boolean()) {
        return false;
    }
    figure.eraser = eraser->get<bool>();
    if (!number("strokeWidth", figure.strokeWidth) || !number("strokeOpacity", figure.strokeOpacity) ||
        !number("fillOpacity", figure.fillOpacity)) {
        return false;
    }
    const Json* rect = member("rect");
    if (rect && rect->is_object()) {
        RectF r;
        for (auto [name, target] : {std::pair{"left", &r.left}, std::pair{"top", &r.top},
                                    std::pair{"right", &r.right}, std::pair{"bottom", &r.bottom}}) {
            auto it = rect->find(name);
            if (it == rect->end() || !it->is_number()) {
                return false;
            }
            *target = static_cast<float>(numberValue(*it));
        }
        figure.rect = r;
    } else if (const Json* points = member("points"); points && points->is_string()) {
        figure.points = parsePointsText(points->get_ref<const std::string&>());
    }
    return true;
}

} // namespace

ColourF colourFromValue(std::uint32_t colour) {
    return {redOf(colour) / 255.0f, greenOf(colour) / 255.0f, blueOf(colour) / 255.0f, 1.0f};
}

std::string formatColourF(const ColourF& colour) {
    auto channel = [](float value) {
        float scaled = value * 255.0f;
        return static_cast<std::uint8_t>(std::isnan(scaled) ? 0
                                                            : std::clamp(std::trunc(scaled), 0.0f, 255.0f));
    };
    return wideToUtf8(formatColour(makeColour(channel(colour.r), channel(colour.g), channel(colour.b))));
}

std::vector<PointF> parsePointsText(const std::string& text) {
    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (c == ',') {
            pieces.emplace_back();
        } else {
            pieces.back() += c;
        }
    }
    std::vector<PointF> result;
    if (pieces.size() % 2 != 0) {
        return result;
    }
    for (size_t i = 0; i < pieces.size(); i += 2) {
        std::optional<float> x = leadingFloat(pieces[i]);
        std::optional<float> y = x ? leadingFloat(pieces[i + 1]) : std::nullopt;
        if (!y) {
            break;
        }
        result.push_back({*x, *y});
    }
    return result;
}

std::string formatPointsText(const std::vector<PointF>& points) {
    std::string text;
    for (const PointF& p : points) {
        if (!text.empty()) {
            text += ',';
        }
        text += std::to_string(storedCoordinate(p.x)) + ',' + std::to_string(storedCoordinate(p.y));
    }
    return text;
}

bool loadFigures(Scribble& scribble, const Json& array) {
    if (!array.is_array()) {
        return true;
    }
    bool whole = true;
    for (const Json& element : array) {
        Figure figure;
        if (!readFigure(element, figure)) {
            whole = false;
            continue;
        }
        scribble.figures.push_back(std::move(figure));
        ++scribble.position;
        ++scribble.floor;
    }
    ++scribble.revision;
    return whole;
}

void saveFigures(const Scribble& scribble, Json& array) {
    array = Json::array();
    for (size_t i = scribble.lastClear(); i < scribble.position && i < scribble.figures.size(); ++i) {
        array.push_back(figureJson(scribble.figures[i]));
    }
}

Json figureJson(const Figure& figure) {
    Json element = Json::object();
    element["tool"] = wideToUtf8(figure.tool);
    element["eraser"] = figure.eraser;
    element["strokeWidth"] = figure.strokeWidth;
    element["strokeColor"] = formatColourF(figure.strokeColor);
    element["strokeOpacity"] = figure.strokeOpacity;
    element["fillColor"] = formatColourF(figure.fillColor);
    element["fillOpacity"] = figure.fillOpacity;
    if (figure.tool == toolFreeline) {
        element["points"] = formatPointsText(figure.points);
    } else {
        element["rect"] = rectJson(figure.rect);
    }
    return element;
}

void readPen(Scribble& pen, Json& scribbleObject) {
    pen.tool = utf8ToWide(stringAt(scribbleObject, {"tool"}, "freeline"));
    pen.eraser = booleanAt(scribbleObject, {"eraser"}, false);
    pen.strokeWidth = numberAt(scribbleObject, {"strokeWidth"}, 1.0f);
    pen.strokeOpacity = numberAt(scribbleObject, {"strokeOpacity"}, 1.0f);
    pen.fillOpacity = numberAt(scribbleObject, {"fillOpacity"}, 0.0f);
    for (auto [name, colour] :
         {std::pair{"strokeColor", &pen.strokeColor}, std::pair{"fillColor", &pen.fillColor}}) {
        std::optional<Colour> parsed = parseColour(std::string_view(stringAt(scribbleObject, {name}, "")));
        if (!parsed) {
            storeAt(scribbleObject, {name}, "#000000");
        }
        *colour = colourFromValue(parsed.value_or(0));
    }
    pen.strokeBrush.reset();
    pen.fillBrush.reset();
}

} // namespace Brisvane
