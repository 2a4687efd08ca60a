#include "storage/NoteFormat.h"

#include <cmath>

#include "storage/DateFormat.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isColourValue(const Json& value) {
    return value.is_string() && isColourText(value.get_ref<const std::string&>());
}

// Replaces a number outside [low, high] by the nearer bound.
void clampNumber(Json& value, float low, float high) {
    double v = numberValue(value);
    if (v < low) {
        value = low;
    } else if (v > high) {
        value = high;
    }
}

void completeWindow(Json& window) {
    Json& position = completeObject(window, "position");
    completeInteger(position, "left", 0);
    completeInteger(position, "top", 0);
    completeInteger(position, "width", 240);
    completeInteger(position, "height", 300);
    completeBoolean(window, "alwaysOnTop", false);
    completeBoolean(window, "border", true);
    completeBoolean(window, "titlebar", true);
    completeBoolean(window, "shadow", false);
    completeBoolean(window, "fold", false);
    completeBoolean(window, "lock", false);
    clampNumber(completeNumber(window, "opacity", 1.0f), 0.0f, 1.0f);
    Json& fix = completeObject(window, "fix");
    completeBoolean(fix, "position", false);
    completeBoolean(fix, "size", false);
    Json& magnet = completeObject(window, "magnet");
    completeBoolean(magnet, "monitor", true);
    completeBoolean(magnet, "note", true);
    completeString(magnet, "stickNoteGuid", "");
}

void completeText(Json& text) {
    completeBoolean(text, "autoDetectURL", true);
    completeBoolean(text, "wordwrap", true);
    Json& scroll = completeObject(text, "scroll");
    completeInteger(scroll, "left", 0);
    completeInteger(scroll, "top", 0);
    Json& selection = completeObject(text, "selection");
    completeInteger(selection, "start", 0);
    completeInteger(selection, "end", 0);
}

void completeScribble(Json& scribble) {
    completeString(scribble, "tool", "freeline");
    completeBoolean(scribble, "eraser", false);
    // An infinite width (a huge number in the file) could not be written back
    // as a number, so it counts as no width at all.
    completeMember(scribble, "strokeWidth", 1.0f, [](const Json& v) {
        return isNumber(v) && numberValue(v) > 0 && std::isfinite(numberValue(v));
    });
    completeMember(scribble, "strokeColor", "#000000", isColourValue);
    Json& strokeOpacity = completeMember(scribble, "strokeOpacity", 1.0f,
                                         [](const Json& v) { return isNumber(v) && numberValue(v) <= 1; });
    clampNumber(strokeOpacity, 0.0f, 1.0f);
    completeMember(scribble, "fillColor", "#ffffff", isColourValue);
    Json& fillOpacity = completeMember(scribble, "fillOpacity", 0.0f,
                                       [](const Json& v) { return isNumber(v) && numberValue(v) >= 0; });
    clampNumber(fillOpacity, 0.0f, 1.0f);
    completeArray(scribble, "figure");
}

} // namespace

bool isColourText(std::string_view text) {
    if (!text.empty() && text.front() == '#') {
        text.remove_prefix(1);
    }
    if (text.size() != 3 && text.size() != 6) {
        return false;
    }
    for (char c : text) {
        if (!isHexDigit(c)) {
            return false;
        }
    }
    return true;
}

void completeNoteJsonWithTitle(Json& note, const std::string& defaultTitle) {
    if (!note.is_object()) {
        note = Json::object();
    }
    completeMember(note, "title", defaultTitle, [](const Json& v) { return v.is_string(); });
    Json& group = completeObject(note, "group");
    completeString(group, "guid", "");
    completeWindow(completeObject(note, "window"));
    completeMember(note, "mode", "text", [](const Json& v) {
        if (!v.is_string()) {
            return false;
        }
        const std::string& mode = v.get_ref<const std::string&>();
        return mode == "text" || mode == "scribble";
    });
    completeText(completeObject(note, "text"));
    completeScribble(completeObject(note, "scribble"));
    Json& theme = completeObject(note, "theme");
    completeMember(theme, "base", "#f8b500", isColourValue);
}

void completeNoteJson(Json& note, std::wstring_view titleFormat) {
    // Formatting the clock is the only costly default; skip it when a title is there.
    bool needsTitle = true;
    if (note.is_object()) {
        auto it = note.find("title");
        needsTitle = it == note.end() || !it->is_string();
    }
    completeNoteJsonWithTitle(note, needsTitle ? wideToUtf8(formatNow(titleFormat)) : std::string());
}

Json parseNoteText(std::wstring_view fileText) {
    Json note = parseJson(wideToUtf8(fileText));
    if (!note.is_object()) {
        return Json::object();
    }
    return note;
}

Json noteFromText(std::wstring_view fileText, std::wstring_view titleFormat) {
    Json note = parseNoteText(fileText);
    completeNoteJson(note, titleFormat);
    return note;
}

std::wstring noteToText(const Json& note) {
    return utf8ToWide(serializeJson(note));
}

} // namespace Brisvane
