#pragma once
// settings.json in memory: reading it from text, completing it with defaults,
// and typed access for the rest of the program.
#include <cstdint>
#include <string_view>

#include "storage/FileErrors.h"
#include "storage/Json.h"

namespace Brisvane {

// The user's default language identifier that selects Japanese texts.
inline constexpr std::uint16_t languageIdJapanese = 0x0411;

// Parses the text read from settings.json. `loaded` tells whether the file
// counts as read: the read succeeded and the text parsed to a value other than
// null (an empty text does not parse). Returns null when the read failed or
// the text does not parse.
Json settingsFromText(ErrorCode readResult, std::wstring_view fileText, bool& loaded);

// Completes the settings member by member, unknown members left alone. A value
// that is not an object becomes {}. Only when not `loaded` does "group" become
// `defaultGroups` (when that is an array), before the group entries are
// completed, so each default group gets a fresh guid.
void completeSettings(Json& settings, bool loaded, const Json& defaultGroups, std::uint16_t userLanguageId);

// Upper bounds of what the getters below hand out for drawing: the edit
// controls take heights in twips (a 16-bit count of 1/20 points) and margins
// as 16-bit pixels. The stored values are never changed by these bounds.
inline constexpr std::int32_t maxDrawnFontSize = 2340;       // x 14 twips <= 32767
inline constexpr std::int32_t maxDrawnTitlebarHeight = 1000; // x 9 twips
inline constexpr std::int32_t maxDrawnMargin = 4096;

// Getters. Each reads the member as completion would leave it, so an absent or
// ill-typed member gives its default; they never throw, even on a document
// that was never completed. Integers beyond 32 bits are clamped; title-bar
// heights, margins and the font size to what can be drawn (a font size of at
// least 1).
std::int32_t magnetMonitorX(const Json& settings);
std::int32_t magnetMonitorY(const Json& settings);
std::int32_t magnetNoteX(const Json& settings);
std::int32_t magnetNoteY(const Json& settings);
std::int32_t titlebarHeightDefault(const Json& settings);
std::int32_t titlebarHeightFold(const Json& settings);
std::int32_t tooltipInitial(const Json& settings);
std::int32_t tooltipAutoPopup(const Json& settings);
bool imeOpen(const Json& settings);
std::int32_t marginLeft(const Json& settings);
std::int32_t marginRight(const Json& settings);
std::int32_t fontSize(const Json& settings);
bool autoSaveAvailable(const Json& settings);
std::int32_t autoSaveElapse(const Json& settings);
std::int32_t trashDeadline(const Json& settings);
std::int32_t searchRecentlyMax(const Json& settings);

// Earlier versions of the notes: "history"."available" (on unless false),
// "history"."sizeLimit" in MiB over all notes (100; 0 keeps no limit) and
// "history"."span" in seconds, the least time between two versions kept by
// saves while typing (600).
bool historyAvailable(const Json& settings);
std::uint64_t historySizeLimitBytes(const Json& settings);
std::uint64_t historySpanMilliseconds(const Json& settings);

// Setters for the general settings dialog. Each stores the value only when it
// differs from the stored one (an ill-typed stored value always differs) and
// returns true when it changed something, so the caller marks the settings
// changed exactly then. Missing objects on the way are made.
bool setImeOpen(Json& settings, bool open);
// Changed when either half differs.
bool setAutoSave(Json& settings, bool available, unsigned elapseSeconds);
bool setTrashDeadline(Json& settings, unsigned days);
bool setFontSize(Json& settings, unsigned size);
// Stored as signed integers, as given; a negative margin reads back as 0.
bool setMarginLeft(Json& settings, int margin);
bool setMarginRight(Json& settings, int margin);

} // namespace Brisvane
