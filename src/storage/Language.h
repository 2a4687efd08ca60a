#pragma once
// The built-in language table and the tables read the same way (the theme
// palette): loading, completion with defaults, and text lookup by dotted key.
// Every function takes the documents it reads explicitly, so that the owner of
// the documents decides when they are loaded and when a change is recorded.
// None of them throws; every failure gives the caller's fallback or an empty value.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Json.h"

namespace Brisvane {

// Used when a language has no usable "title"."format".
inline constexpr const char* defaultTitleFormat = "$M/$D/$YYYY($www) $h:$mm:$ss";

// Parses the bytes of a built-in table: content ends at the first NUL, a leading
// UTF-8 byte-order mark is skipped. A parse failure or a value that is not an
// object gives an empty object.
Json loadResourceTable(std::string_view bytes);

// Completes each language of the table: "title" becomes an object, "title"."format"
// a string (defaultTitleFormat) and "menu" an object when they are not. A language
// whose value is not an object is left alone; every lookup in it falls back.
// A table that is not an object becomes an empty object.
void completeLanguageTable(Json& languages);

// "theme" becomes an empty list when it is not a list; a palette that is not an
// object becomes {"theme": []}.
void completePalette(Json& palette);

// The setting "language", or an empty string when it is missing or not a string.
std::wstring currentLanguage(const Json& settings);

// The text of the dotted key in the language named by settings."language"; the
// fallback when the language is missing, any step of the key is missing or not
// an object, or the final value is not a string.
std::wstring lookupText(const Json& languages, const Json& settings, std::string_view key,
                        std::wstring_view fallback);

// The template for default note titles: "title.format" with defaultTitleFormat as fallback.
std::wstring titleFormat(const Json& languages, const Json& settings);

// The language names of the table in its order (byte order of the UTF-8 names).
std::vector<std::wstring> languageNames(const Json& languages);

// Stores `name` as settings."language" when the table has that language. Returns
// true only when the stored value actually changed, i.e. exactly when the caller
// must record a settings change; an unknown name or the current language again
// gives false and leaves the settings as they are. A settings value that is not
// an object is replaced by an object.
bool setLanguage(const Json& languages, Json& settings, std::wstring_view name);

// Number of elements of the palette member `key` when it is a list, at most 100;
// otherwise 0.
int paletteCount(const Json& palette, std::string_view key);

// The element `index` of the palette member `key` when the index is below
// paletteCount and the element is a string; otherwise an empty string.
std::wstring paletteColour(const Json& palette, std::string_view key, int index);

// The name of an entry of another table from its "localName" object: the member
// for the current language when it is a string, else the "English" member when it
// is a string, else an empty string.
std::wstring localizedName(const Json& entry, const Json& settings);
// The same for element `index` of a list of entries; an index past the end (or a
// value that is not a list) gives an empty string.
std::wstring localizedName(const Json& entries, std::size_t index, const Json& settings);

// "group"."defaultNames" of the current language, position for position: the name
// of default group i is element i, so an element that is not a string becomes an
// empty string rather than being dropped. Empty when the language or the list is missing.
std::vector<std::wstring> defaultGroupNames(const Json& languages, const Json& settings);

// The language chosen at first start for a Windows language identifier: "日本語"
// (as UTF-8) for Japanese (0x0411), "English" for everything else.
std::string defaultLanguageName(std::uint16_t userLanguageId);

// The user's default language identifier; each platform supplies its own.
std::uint16_t userDefaultLanguageId();

} // namespace Brisvane
