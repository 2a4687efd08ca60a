#include "storage/Json.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace Brisvane {

namespace {

using FloatJson =
    nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t, std::uint64_t, float>;

bool startsNumber(char c) {
    return c == '-' || (c >= '0' && c <= '9');
}

bool inNumber(char c) {
    return startsNumber(c) || c == '.' || c == 'e' || c == 'E' || c == '+';
}

// Calls `visit(begin, end)` for every number token outside strings, and
// returns the depth of the deepest array or object. Counted without parsing.
template <typename Visit> int scanTokens(std::string_view text, Visit visit) {
    int depth = 0;
    int deepest = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > deepest) {
                deepest = depth;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        } else if (startsNumber(c)) {
            size_t end = i + 1;
            while (end < text.size() && inNumber(text[end])) {
                ++end;
            }
            visit(i, end);
            i = end - 1;
        }
    }
    return deepest;
}

// True for a number token whose value lies beyond the double range.
bool overflows(std::string_view token) {
    // Only an exponent or a long run of digits can get there.
    if (token.size() < 300 && token.find_first_of("eE") == std::string_view::npos) {
        return false;
    }
    std::string copy(token);
    errno = 0;
    double value = std::strtod(copy.c_str(), nullptr);
    return std::isinf(value);
}

// The written form of a number token: a value that is exactly a 32-bit float
// takes the float's shortest digits (0.2 stays 0.2 after the program stored
// 0.2f); every other value keeps the digits it was written with.
std::string floatForm(std::string_view token) {
    if (token.find_first_of(".eE") == std::string_view::npos) {
        return std::string(token); // an integer
    }
    std::string copy(token);
    double value = std::strtod(copy.c_str(), nullptr);
    auto narrow = static_cast<float>(value);
    if (!std::isfinite(narrow) || static_cast<double>(narrow) != value) {
        return copy;
    }
    return FloatJson(narrow).dump();
}

} // namespace

Json parseJson(std::string_view text) {
    std::string clamped;
    size_t copied = 0;
    int depth = scanTokens(text, [&](size_t begin, size_t end) {
        std::string_view token = text.substr(begin, end - begin);
        if (!overflows(token)) {
            return;
        }
        clamped.append(text.substr(copied, begin - copied));
        clamped += token[0] == '-' ? "-1.7976931348623157e308" : "1.7976931348623157e308";
        copied = end;
    });
    if (depth > maxJsonDepth) {
        return Json(Json::value_t::discarded);
    }
    if (copied > 0) {
        clamped.append(text.substr(copied));
        text = clamped;
    }
    return Json::parse(text.begin(), text.end(), nullptr, false);
}

std::string serializeJson(const Json& value, JsonLayout layout) {
    try {
        const int indent = layout == JsonLayout::compact ? -1 : 2;
        std::string dumped = value.dump(indent, ' ', false, nlohmann::detail::error_handler_t::replace);
        if (indent > 0 && dumped.size() > largeDocumentBytes) {
            dumped = value.dump(-1, ' ', false, nlohmann::detail::error_handler_t::replace);
        }
        std::string out;
        out.reserve(dumped.size());
        size_t copied = 0;
        scanTokens(dumped, [&](size_t begin, size_t end) {
            out.append(dumped, copied, begin - copied);
            out += floatForm(std::string_view(dumped).substr(begin, end - begin));
            copied = end;
        });
        out.append(dumped, copied);
        return out;
    } catch (...) {
        // Only allocation failure is left; an empty text is never a valid document,
        // so a reader falls back to defaults.
        return {};
    }
}

bool isInteger(const Json& value) {
    return value.is_number_integer();
}

std::int64_t integerValue(const Json& value) {
    if (value.is_number_unsigned()) {
        auto u = value.get_ref<const Json::number_unsigned_t&>();
        return u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
                   ? std::numeric_limits<std::int64_t>::max()
                   : static_cast<std::int64_t>(u);
    }
    if (value.is_number_integer()) {
        return value.get_ref<const Json::number_integer_t&>();
    }
    return 0;
}

bool isNumber(const Json& value) {
    if (value.is_number_float()) {
        return !std::isnan(value.get_ref<const Json::number_float_t&>());
    }
    return value.is_number();
}

double numberValue(const Json& value) {
    if (value.is_number_float()) {
        double v = value.get_ref<const Json::number_float_t&>();
        constexpr double largest = std::numeric_limits<float>::max();
        // Beyond what the program's own (float) members can hold.
        return v > largest    ? std::numeric_limits<double>::infinity()
               : v < -largest ? -std::numeric_limits<double>::infinity()
                              : v;
    }
    if (value.is_number_unsigned()) {
        return static_cast<double>(value.get_ref<const Json::number_unsigned_t&>());
    }
    if (value.is_number_integer()) {
        return static_cast<double>(value.get_ref<const Json::number_integer_t&>());
    }
    return 0.0;
}

Json& completeObject(Json& object, const char* name) {
    return completeMember(object, name, Json::object(), [](const Json& v) { return v.is_object(); });
}

Json& completeArray(Json& object, const char* name) {
    return completeMember(object, name, Json::array(), [](const Json& v) { return v.is_array(); });
}

Json& completeBoolean(Json& object, const char* name, bool fallback) {
    return completeMember(object, name, fallback, [](const Json& v) { return v.is_boolean(); });
}

Json& completeString(Json& object, const char* name, const char* fallback) {
    return completeMember(object, name, fallback, [](const Json& v) { return v.is_string(); });
}

Json& completeInteger(Json& object, const char* name, std::int64_t fallback) {
    return completeMember(object, name, fallback, [](const Json& v) { return v.is_number_integer(); });
}

Json& completeUnsigned(Json& object, const char* name, std::uint64_t fallback) {
    return completeMember(object, name, fallback,
                          [](const Json& v) { return v.is_number_integer() && integerValue(v) >= 0; });
}

Json& completeNumber(Json& object, const char* name, float fallback) {
    return completeMember(object, name, fallback, [](const Json& v) { return isNumber(v); });
}

const Json* findPath(const Json& root, JsonPath path) {
    const Json* current = &root;
    for (const char* name : path) {
        if (!current->is_object()) {
            return nullptr;
        }
        auto it = current->find(name);
        if (it == current->end()) {
            return nullptr;
        }
        current = &*it;
    }
    return current;
}

bool booleanAt(const Json& root, JsonPath path, bool fallback) {
    const Json* value = findPath(root, path);
    return value && value->is_boolean() ? value->get_ref<const bool&>() : fallback;
}

std::int64_t integerAt(const Json& root, JsonPath path, std::int64_t fallback) {
    const Json* value = findPath(root, path);
    return value && isInteger(*value) ? integerValue(*value) : fallback;
}

float numberAt(const Json& root, JsonPath path, float fallback) {
    const Json* value = findPath(root, path);
    return value && isNumber(*value) ? static_cast<float>(numberValue(*value)) : fallback;
}

std::string stringAt(const Json& root, JsonPath path, const std::string& fallback) {
    const Json* value = findPath(root, path);
    return value && value->is_string() ? value->get_ref<const std::string&>() : fallback;
}

Json& valueAt(Json& root, JsonPath path) {
    if (!root.is_object()) {
        root = Json::object();
    }
    Json* current = &root;
    size_t remaining = path.size();
    for (const char* name : path) {
        Json& member = (*current)[name];
        if (--remaining > 0 && !member.is_object()) {
            member = Json::object();
        }
        current = &member;
    }
    return *current;
}

bool storeAt(Json& root, JsonPath path, const Json& value) {
    Json& target = valueAt(root, path);
    // Signed and unsigned integers of one value are the same stored value;
    // 16.0 and 16 are not.
    bool same = target.is_number_integer() && value.is_number_integer()
                    ? integerValue(target) == integerValue(value)
                    : target.type() == value.type() && target == value;
    if (same) {
        return false;
    }
    target = value;
    return true;
}

} // namespace Brisvane
