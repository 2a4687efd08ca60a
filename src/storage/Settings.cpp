#include "storage/Settings.h"

#include <algorithm>
#include <initializer_list>
#include <limits>

#include "storage/GroupStore.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

// Defaults shared by completion and the getters.
constexpr bool defaultAutoSaveAvailable = true;
constexpr std::int64_t defaultAutoSaveElapse = 5;
constexpr std::uint64_t defaultMargin = 0;
constexpr std::uint64_t defaultMagnetMonitor = 30;
constexpr std::uint64_t defaultMagnetNote = 10;
constexpr std::uint64_t defaultTitlebarHeight = 20;
constexpr std::uint64_t defaultTitlebarFoldHeight = 18;
constexpr std::uint64_t defaultTooltipInitial = 1000;
constexpr std::uint64_t defaultTooltipAutoPopup = 10000;
constexpr bool defaultImeOpen = true;
constexpr std::uint64_t defaultRecentlyMax = 100;
constexpr std::int64_t defaultTrashDeadline = 31;
constexpr std::uint64_t defaultFontSize = 16;

std::int32_t toInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::int32_t readInteger(const Json& settings, JsonPath path, std::int64_t fallback) {
    const Json* value = findPath(settings, path);
    return toInt32(value && isInteger(*value) ? integerValue(*value) : fallback);
}

std::int32_t readUnsigned(const Json& settings, JsonPath path, std::uint64_t fallback) {
    const Json* value = findPath(settings, path);
    bool valid = value && isInteger(*value) && integerValue(*value) >= 0;
    return toInt32(valid ? integerValue(*value) : static_cast<std::int64_t>(fallback));
}

// The same, bounded to what can be drawn; the stored value stays as it is.
std::int32_t readDrawn(const Json& settings, JsonPath path, std::uint64_t fallback, std::int32_t low,
                       std::int32_t high) {
    return std::clamp(readUnsigned(settings, path, fallback), low, high);
}

bool readBoolean(const Json& settings, JsonPath path, bool fallback) {
    const Json* value = findPath(settings, path);
    return value && value->is_boolean() ? value->get_ref<const bool&>() : fallback;
}

// The object at `path`, made (and `settings` made an object) where missing.
Json& objectAt(Json& settings, JsonPath path) {
    if (!settings.is_object()) {
        settings = Json::object();
    }
    Json* current = &settings;
    for (const char* name : path) {
        current = &completeObject(*current, name);
    }
    return *current;
}

bool storeBoolean(Json& object, const char* name, bool value) {
    auto it = object.find(name);
    if (it != object.end() && it->is_boolean() && it->get_ref<const bool&>() == value) {
        return false;
    }
    object[name] = value;
    return true;
}

template <typename Integer> bool storeInteger(Json& object, const char* name, Integer value) {
    auto it = object.find(name);
    if (it != object.end() && isInteger(*it) && integerValue(*it) == static_cast<std::int64_t>(value)) {
        return false;
    }
    object[name] = value;
    return true;
}

void completeSearch(Json& search) {
    auto max =
        static_cast<std::uint64_t>(integerValue(completeUnsigned(search, "recentlyMax", defaultRecentlyMax)));
    auto& recently = completeArray(search, "recently").get_ref<Json::array_t&>();
    std::erase_if(recently, [](const Json& term) { return !term.is_string(); });
    if (recently.size() > max) {
        recently.resize(static_cast<size_t>(max));
    }
}

} // namespace

Json settingsFromText(ErrorCode readResult, std::wstring_view fileText, bool& loaded) {
    // Whatever text a failed read left behind is not the user's settings.
    Json settings = readResult == errorSuccess ? parseJson(wideToUtf8(fileText)) : Json();
    if (settings.is_discarded()) {
        settings = nullptr;
    }
    loaded = readResult == errorSuccess && !settings.is_null();
    return settings;
}

void completeSettings(Json& settings, bool loaded, const Json& defaultGroups, std::uint16_t userLanguageId) {
    if (!settings.is_object()) {
        settings = Json::object();
    }
    completeString(settings, "language",
                   userLanguageId == languageIdJapanese ? "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E" : "English");

    Json& autoSave = completeObject(settings, "autoSave");
    completeBoolean(autoSave, "available", defaultAutoSaveAvailable);
    completeInteger(autoSave, "elapse", defaultAutoSaveElapse);

    Json& margin = completeObject(completeObject(settings, "window"), "margin");
    completeUnsigned(margin, "left", defaultMargin);
    completeUnsigned(margin, "right", defaultMargin);

    Json& magnet = completeObject(settings, "magnet");
    Json& magnetMonitor = completeObject(magnet, "monitor");
    completeUnsigned(magnetMonitor, "x", defaultMagnetMonitor);
    completeUnsigned(magnetMonitor, "y", defaultMagnetMonitor);
    Json& magnetNote = completeObject(magnet, "note");
    completeUnsigned(magnetNote, "x", defaultMagnetNote);
    completeUnsigned(magnetNote, "y", defaultMagnetNote);

    Json& height = completeObject(completeObject(settings, "titlebar"), "height");
    completeUnsigned(height, "default", defaultTitlebarHeight);
    completeUnsigned(height, "fold", defaultTitlebarFoldHeight);

    Json& tooltip = completeObject(settings, "tooltip");
    completeUnsigned(tooltip, "initial", defaultTooltipInitial);
    completeUnsigned(tooltip, "autoPopup", defaultTooltipAutoPopup);

    completeBoolean(completeObject(settings, "ime"), "open", defaultImeOpen);

    // A file that was read keeps its groups, even none; only a first start (or
    // an unreadable file) gets the ready-made ones.
    if (!loaded && defaultGroups.is_array()) {
        settings["group"] = defaultGroups;
    }
    completeGroupEntries(completeArray(settings, "group"));

    completeSearch(completeObject(settings, "search"));
    completeInteger(completeObject(settings, "trash"), "deadline", defaultTrashDeadline);
    completeUnsigned(completeObject(settings, "font"), "size", defaultFontSize);
}

std::int32_t magnetMonitorX(const Json& s) {
    return readUnsigned(s, {"magnet", "monitor", "x"}, defaultMagnetMonitor);
}
std::int32_t magnetMonitorY(const Json& s) {
    return readUnsigned(s, {"magnet", "monitor", "y"}, defaultMagnetMonitor);
}
std::int32_t magnetNoteX(const Json& s) {
    return readUnsigned(s, {"magnet", "note", "x"}, defaultMagnetNote);
}
std::int32_t magnetNoteY(const Json& s) {
    return readUnsigned(s, {"magnet", "note", "y"}, defaultMagnetNote);
}
std::int32_t titlebarHeightDefault(const Json& s) {
    return readDrawn(s, {"titlebar", "height", "default"}, defaultTitlebarHeight, 0, maxDrawnTitlebarHeight);
}
std::int32_t titlebarHeightFold(const Json& s) {
    return readDrawn(s, {"titlebar", "height", "fold"}, defaultTitlebarFoldHeight, 0, maxDrawnTitlebarHeight);
}
std::int32_t tooltipInitial(const Json& s) {
    return readUnsigned(s, {"tooltip", "initial"}, defaultTooltipInitial);
}
std::int32_t tooltipAutoPopup(const Json& s) {
    return readUnsigned(s, {"tooltip", "autoPopup"}, defaultTooltipAutoPopup);
}
bool imeOpen(const Json& s) {
    return readBoolean(s, {"ime", "open"}, defaultImeOpen);
}
std::int32_t marginLeft(const Json& s) {
    return readDrawn(s, {"window", "margin", "left"}, defaultMargin, 0, maxDrawnMargin);
}
std::int32_t marginRight(const Json& s) {
    return readDrawn(s, {"window", "margin", "right"}, defaultMargin, 0, maxDrawnMargin);
}
std::int32_t fontSize(const Json& s) {
    return readDrawn(s, {"font", "size"}, defaultFontSize, 1, maxDrawnFontSize);
}
bool autoSaveAvailable(const Json& s) {
    return readBoolean(s, {"autoSave", "available"}, defaultAutoSaveAvailable);
}
std::int32_t autoSaveElapse(const Json& s) {
    return readInteger(s, {"autoSave", "elapse"}, defaultAutoSaveElapse);
}
std::int32_t trashDeadline(const Json& s) {
    return readInteger(s, {"trash", "deadline"}, defaultTrashDeadline);
}
std::int32_t searchRecentlyMax(const Json& s) {
    return readUnsigned(s, {"search", "recentlyMax"}, defaultRecentlyMax);
}

bool historyAvailable(const Json& s) {
    return readBoolean(s, {"history", "available"}, true);
}
std::uint64_t historySizeLimitBytes(const Json& s) {
    return static_cast<std::uint64_t>(readUnsigned(s, {"history", "sizeLimit"}, 100)) << 20;
}
std::uint64_t historySpanMilliseconds(const Json& s) {
    return static_cast<std::uint64_t>(readUnsigned(s, {"history", "span"}, 600)) * 1000;
}

bool setImeOpen(Json& settings, bool open) {
    return storeBoolean(objectAt(settings, {"ime"}), "open", open);
}

bool setAutoSave(Json& settings, bool available, unsigned elapseSeconds) {
    Json& autoSave = objectAt(settings, {"autoSave"});
    bool changed = storeBoolean(autoSave, "available", available);
    return storeInteger(autoSave, "elapse", elapseSeconds) || changed;
}

bool setTrashDeadline(Json& settings, unsigned days) {
    return storeInteger(objectAt(settings, {"trash"}), "deadline", days);
}

bool setFontSize(Json& settings, unsigned size) {
    return storeInteger(objectAt(settings, {"font"}), "size", size);
}

bool setMarginLeft(Json& settings, int margin) {
    return storeInteger(objectAt(settings, {"window", "margin"}), "left", static_cast<std::int64_t>(margin));
}

bool setMarginRight(Json& settings, int margin) {
    return storeInteger(objectAt(settings, {"window", "margin"}), "right", static_cast<std::int64_t>(margin));
}

} // namespace Brisvane
