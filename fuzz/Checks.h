#pragma once
// Independent checks of what a completed note or settings document promises
// its readers: every known member present with its type and in its range.
// Shared by the fuzz targets and the native tests.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>

#include "storage/Json.h"

namespace Brisvane::Checks {

using Test = std::function<bool(const Json&)>;


inline bool has(const Json& root, std::initializer_list<const char*> path, const Test& test) {
    const Json* value = findPath(root, path);
    return value != nullptr && test(*value);
}

inline bool isObject(const Json& v) {
    return v.is_object();
}
inline bool isArray(const Json& v) {
    return v.is_array();
}
inline bool isBoolean(const Json& v) {
    return v.is_boolean();
}
inline bool isString(const Json& v) {
    return v.is_string();
}
inline bool isInteger(const Json& v) {
    return v.is_number_integer();
}
inline bool isUnsigned(const Json& v) {
    return v.is_number_unsigned() ||
           (v.is_number_integer() && v.get_ref<const Json::number_integer_t&>() >= 0);
}

inline double number(const Json& v) {
    if (v.is_number_float()) {
        return v.get_ref<const Json::number_float_t&>();
    }
    if (v.is_number_unsigned()) {
        return static_cast<double>(v.get_ref<const Json::number_unsigned_t&>());
    }
    return static_cast<double>(v.get_ref<const Json::number_integer_t&>());
}

inline Test numberIn(double low, double high) {
    return [=](const Json& v) { return v.is_number() && number(v) >= low && number(v) <= high; };
}

inline bool isColour(const Json& v) {
    if (!v.is_string()) {
        return false;
    }
    std::string text = v.get_ref<const std::string&>();
    if (!text.empty() && text[0] == '#') {
        text.erase(0, 1);
    }
    if (text.size() != 3 && text.size() != 6) {
        return false;
    }
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

inline bool noteSatisfiesTypes(const Json& n) {
    return n.is_object() && has(n, {"title"}, isString) && has(n, {"group", "guid"}, isString) &&
           has(n, {"window", "position", "left"}, isInteger) &&
           has(n, {"window", "position", "top"}, isInteger) &&
           has(n, {"window", "position", "width"}, isInteger) &&
           has(n, {"window", "position", "height"}, isInteger) &&
           has(n, {"window", "alwaysOnTop"}, isBoolean) && has(n, {"window", "border"}, isBoolean) &&
           has(n, {"window", "titlebar"}, isBoolean) && has(n, {"window", "shadow"}, isBoolean) &&
           has(n, {"window", "fold"}, isBoolean) && has(n, {"window", "lock"}, isBoolean) &&
           has(n, {"window", "opacity"}, numberIn(0, 1)) &&
           has(n, {"window", "fix", "position"}, isBoolean) && has(n, {"window", "fix", "size"}, isBoolean) &&
           has(n, {"window", "magnet", "monitor"}, isBoolean) &&
           has(n, {"window", "magnet", "note"}, isBoolean) &&
           has(n, {"window", "magnet", "stickNoteGuid"}, isString) &&
           has(n, {"mode"}, [](const Json& v) { return v == "text" || v == "scribble"; }) &&
           has(n, {"text", "autoDetectURL"}, isBoolean) && has(n, {"text", "wordwrap"}, isBoolean) &&
           has(n, {"text", "scroll", "left"}, isInteger) && has(n, {"text", "scroll", "top"}, isInteger) &&
           has(n, {"text", "selection", "start"}, isInteger) &&
           has(n, {"text", "selection", "end"}, isInteger) && has(n, {"scribble", "tool"}, isString) &&
           has(n, {"scribble", "eraser"}, isBoolean) &&
           has(n, {"scribble", "strokeWidth"},
               [](const Json& v) { return v.is_number() && number(v) > 0 && std::isfinite(number(v)); }) &&
           has(n, {"scribble", "strokeColor"}, isColour) &&
           has(n, {"scribble", "strokeOpacity"}, numberIn(0, 1)) &&
           has(n, {"scribble", "fillColor"}, isColour) &&
           has(n, {"scribble", "fillOpacity"}, numberIn(0, 1)) && has(n, {"scribble", "figure"}, isArray) &&
           has(n, {"theme", "base"}, isColour);
}

inline bool groupEntriesSatisfyTypes(const Json& groups) {
    if (!groups.is_array()) {
        return false;
    }
    for (const Json& g : groups) {
        if (!g.is_object() || !has(g, {"name"}, isString) || !has(g, {"rule"}, isArray) ||
            !has(g, {"guid"},
                 [](const Json& v) { return v.is_string() && !v.get_ref<const std::string&>().empty(); })) {
            return false;
        }
    }
    return true;
}

inline bool recentlySatisfiesTypes(const Json& search) {
    const Json* max = findPath(search, {"recentlyMax"});
    const Json* recently = findPath(search, {"recently"});
    if (max == nullptr || !isUnsigned(*max) || recently == nullptr || !recently->is_array() ||
        static_cast<double>(recently->size()) > number(*max)) {
        return false;
    }
    for (const Json& term : *recently) {
        if (!term.is_string()) {
            return false;
        }
    }
    return true;
}

inline bool settingsSatisfiesTypes(const Json& s) {
    return s.is_object() && has(s, {"language"}, isString) && has(s, {"autoSave", "available"}, isBoolean) &&
           has(s, {"autoSave", "elapse"}, isInteger) && has(s, {"window", "margin", "left"}, isUnsigned) &&
           has(s, {"window", "margin", "right"}, isUnsigned) &&
           has(s, {"magnet", "monitor", "x"}, isUnsigned) && has(s, {"magnet", "monitor", "y"}, isUnsigned) &&
           has(s, {"magnet", "note", "x"}, isUnsigned) && has(s, {"magnet", "note", "y"}, isUnsigned) &&
           has(s, {"titlebar", "height", "default"}, isUnsigned) &&
           has(s, {"titlebar", "height", "fold"}, isUnsigned) && has(s, {"tooltip", "initial"}, isUnsigned) &&
           has(s, {"tooltip", "autoPopup"}, isUnsigned) && has(s, {"ime", "open"}, isBoolean) &&
           has(s, {"group"}, groupEntriesSatisfyTypes) && has(s, {"search"}, recentlySatisfiesTypes) &&
           has(s, {"trash", "deadline"}, isInteger) && has(s, {"font", "size"}, isUnsigned);
}

// Whether any number in the document is infinite or NaN: such numbers are
// written as null, so only documents without them survive a write and a read
// unchanged.
inline bool holdsNonFinite(const Json& value) {
    if (value.is_number_float()) {
        return !std::isfinite(value.get_ref<const Json::number_float_t&>());
    }
    if (value.is_structured()) {
        for (const Json& element : value) {
            if (holdsNonFinite(element)) {
                return true;
            }
        }
    }
    return false;
}

} // namespace Brisvane::Checks
