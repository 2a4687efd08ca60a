#pragma once
// The in-memory form of note.json: reading it from text, completing every
// member with its default, and the written text.
#include <string>
#include <string_view>

#include "storage/Json.h"

namespace Brisvane {

// A colour as stored: "#" and three or six hexadecimal digits, the "#" being
// optional and the digits of either case.
bool isColourText(std::string_view text);

// Gives every member of a note its default when missing or of the wrong type
// and brings numbers into range; unknown members are left alone. A note that
// is not an object becomes {} first. The title default is the current local
// time in `titleFormat`, computed only when the title needs it.
void completeNoteJson(Json& note, std::wstring_view titleFormat);
// The same with the default title (UTF-8) given directly.
void completeNoteJsonWithTitle(Json& note, const std::string& defaultTitle);

// The text of note.json as a JSON object: {} when it does not parse or is not
// an object. Not completed.
Json parseNoteText(std::wstring_view fileText);
// parseNoteText, then completeNoteJson.
Json noteFromText(std::wstring_view fileText, std::wstring_view titleFormat);
// The written form of a note (the file writer adds the byte-order mark).
std::wstring noteToText(const Json& note);

} // namespace Brisvane
