#pragma once
// The one JSON document type of the program: objects kept sorted by member
// name, so every written object lists its members in byte order of their names.
// Numbers are held as doubles so that members the program does not know keep
// their full value; the program reads its own members as 32-bit floats, and a
// value that is exactly a float is written in the float's shortest form.
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace Brisvane {

using Json =
    nlohmann::basic_json<std::map, std::vector, std::string, bool, std::int64_t, std::uint64_t, double>;

// Nesting deeper than this is refused when parsing, so that writing a document
// back (which recurses) can never exhaust the stack.
inline constexpr int maxJsonDepth = 256;

// Parses UTF-8 text (a leading byte-order mark is not allowed here; the file
// reader strips it). Returns a discarded value on any error; never throws. A
// number beyond the double range reads as the largest double of its sign, so
// one such number leaves the rest of the document readable and its member out
// of range.
Json parseJson(std::string_view text);

// The written form of every document: two-space indent, non-ASCII characters
// as UTF-8 and not escaped, invalid UTF-8 replaced by U+FFFD. A document whose
// indented form would pass largeDocumentBytes is written compactly (the indent
// adds up to half again to a large drawing). Never throws.
enum class JsonLayout { automatic, compact };
inline constexpr std::size_t largeDocumentBytes = 4u * 1024 * 1024;
std::string serializeJson(const Json& value, JsonLayout layout = JsonLayout::automatic);

// Typed reads that never throw. `integer` accepts signed and unsigned JSON
// integers (an unsigned one above the signed range is clamped), not floats.
bool isInteger(const Json& value);
std::int64_t integerValue(const Json& value);
// Any JSON number except NaN (which no parsed text holds, but a program can
// store); infinities count, so that range rules can clamp them.
bool isNumber(const Json& value);
// The value of any JSON number as a double, read as the program's own members
// are: beyond the 32-bit float range it is an infinity of its sign, which range
// rules clamp or refuse. 0 for everything else.
double numberValue(const Json& value);

// Reads along a path of member names without ever throwing: the fallback when
// an object on the way or the value itself is missing or of another type.
using JsonPath = std::initializer_list<const char*>;
const Json* findPath(const Json& root, JsonPath path);
bool booleanAt(const Json& root, JsonPath path, bool fallback);
std::int64_t integerAt(const Json& root, JsonPath path, std::int64_t fallback);
float numberAt(const Json& root, JsonPath path, float fallback);
std::string stringAt(const Json& root, JsonPath path, const std::string& fallback);
// The value at `path` for writing: every object on the way (and the root) is
// made an object where it is not one.
Json& valueAt(Json& root, JsonPath path);
// Stores `value` at `path`; true when that changed the document.
bool storeAt(Json& root, JsonPath path, const Json& value);

// Returns the member `name` of `object`, first replacing it by `fallback` when it
// is missing or fails `accept`. `object` must be an object.
template <typename Accept>
Json& completeMember(Json& object, const char* name, const Json& fallback, Accept accept) {
    auto it = object.find(name);
    if (it == object.end() || !accept(*it)) {
        object[name] = fallback;
        return object[name];
    }
    return *it;
}

Json& completeObject(Json& object, const char* name);
Json& completeArray(Json& object, const char* name);
Json& completeBoolean(Json& object, const char* name, bool fallback);
Json& completeString(Json& object, const char* name, const char* fallback);
Json& completeInteger(Json& object, const char* name, std::int64_t fallback);
// A JSON integer that is not negative.
Json& completeUnsigned(Json& object, const char* name, std::uint64_t fallback);
// Any JSON number (see isNumber); range rules are the caller's.
Json& completeNumber(Json& object, const char* name, float fallback);

} // namespace Brisvane
