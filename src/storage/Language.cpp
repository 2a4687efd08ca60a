#include "storage/Language.h"

#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr int maxPaletteCount = 100;

// The member `name` of `object`, or nullptr when `object` is not an object or lacks it.
const Json* member(const Json& object, std::string_view name) {
    if (!object.is_object()) {
        return nullptr;
    }
    auto it = object.find(std::string(name));
    return it == object.end() ? nullptr : &*it;
}

// The value of settings."language" when it is a string.
const std::string* languageSetting(const Json& settings) {
    const Json* language = member(settings, "language");
    if (language == nullptr || !language->is_string()) {
        return nullptr;
    }
    return &language->get_ref<const std::string&>();
}

// The object of the current language, or nullptr.
const Json* currentLanguageObject(const Json& languages, const Json& settings) {
    const std::string* name = languageSetting(settings);
    return name == nullptr ? nullptr : member(languages, *name);
}

std::wstring stringOrEmpty(const Json* value) {
    if (value == nullptr || !value->is_string()) {
        return {};
    }
    return utf8ToWide(value->get_ref<const std::string&>());
}

} // namespace

Json loadResourceTable(std::string_view bytes) {
    // The table is read as a NUL-terminated text, so anything after a NUL is not part of it.
    bytes = bytes.substr(0, bytes.find('\0'));
    if (bytes.substr(0, utf8Mark.size()) == utf8Mark) {
        bytes.remove_prefix(utf8Mark.size());
    }
    Json table = parseJson(bytes);
    if (!table.is_object()) {
        return Json::object();
    }
    return table;
}

void completeLanguageTable(Json& languages) {
    if (!languages.is_object()) {
        languages = Json::object();
        return;
    }
    for (auto it = languages.begin(); it != languages.end(); ++it) {
        Json& language = it.value();
        if (!language.is_object()) {
            continue;
        }
        Json& title = completeObject(language, "title");
        completeString(title, "format", defaultTitleFormat);
        completeObject(language, "menu");
    }
}

void completePalette(Json& palette) {
    if (!palette.is_object()) {
        palette = Json::object();
    }
    completeArray(palette, "theme");
}

std::wstring currentLanguage(const Json& settings) {
    const std::string* name = languageSetting(settings);
    return name == nullptr ? std::wstring() : utf8ToWide(*name);
}

std::wstring lookupText(const Json& languages, const Json& settings, std::string_view key,
                        std::wstring_view fallback) {
    const Json* value = currentLanguageObject(languages, settings);
    if (value == nullptr) {
        return std::wstring(fallback);
    }
    // Every segment, including empty ones from "a..b" or a trailing ".", must name
    // a member of an object.
    size_t start = 0;
    while (true) {
        size_t dot = key.find('.', start);
        std::string_view segment = key.substr(start, dot == std::string_view::npos ? key.npos : dot - start);
        value = member(*value, segment);
        if (value == nullptr) {
            return std::wstring(fallback);
        }
        if (dot == std::string_view::npos) {
            break;
        }
        start = dot + 1;
    }
    if (!value->is_string()) {
        return std::wstring(fallback);
    }
    return utf8ToWide(value->get_ref<const std::string&>());
}

std::wstring titleFormat(const Json& languages, const Json& settings) {
    return lookupText(languages, settings, "title.format", utf8ToWide(defaultTitleFormat));
}

std::vector<std::wstring> languageNames(const Json& languages) {
    std::vector<std::wstring> names;
    if (!languages.is_object()) {
        return names;
    }
    for (auto it = languages.cbegin(); it != languages.cend(); ++it) {
        names.push_back(utf8ToWide(it.key()));
    }
    return names;
}

bool setLanguage(const Json& languages, Json& settings, std::wstring_view name) {
    std::string utf8 = wideToUtf8(name);
    if (member(languages, utf8) == nullptr) {
        return false;
    }
    const std::string* stored = languageSetting(settings);
    if (stored != nullptr && *stored == utf8) {
        return false;
    }
    if (!settings.is_object()) {
        settings = Json::object();
    }
    settings["language"] = std::move(utf8);
    return true;
}

int paletteCount(const Json& palette, std::string_view key) {
    const Json* list = member(palette, key);
    if (list == nullptr || !list->is_array()) {
        return 0;
    }
    return list->size() > static_cast<size_t>(maxPaletteCount) ? maxPaletteCount
                                                               : static_cast<int>(list->size());
}

std::wstring paletteColour(const Json& palette, std::string_view key, int index) {
    if (index < 0 || index >= paletteCount(palette, key)) {
        return {};
    }
    return stringOrEmpty(&(*member(palette, key))[static_cast<size_t>(index)]);
}

std::wstring localizedName(const Json& entry, const Json& settings) {
    const Json* names = member(entry, "localName");
    if (names == nullptr) {
        return {};
    }
    if (const std::string* language = languageSetting(settings)) {
        const Json* name = member(*names, *language);
        if (name != nullptr && name->is_string()) {
            return utf8ToWide(name->get_ref<const std::string&>());
        }
    }
    return stringOrEmpty(member(*names, "English"));
}

std::wstring localizedName(const Json& entries, std::size_t index, const Json& settings) {
    if (!entries.is_array() || index >= entries.size()) {
        return {};
    }
    return localizedName(entries[index], settings);
}

std::vector<std::wstring> defaultGroupNames(const Json& languages, const Json& settings) {
    std::vector<std::wstring> names;
    const Json* language = currentLanguageObject(languages, settings);
    const Json* group = language == nullptr ? nullptr : member(*language, "group");
    const Json* list = group == nullptr ? nullptr : member(*group, "defaultNames");
    if (list == nullptr || !list->is_array()) {
        return names;
    }
    for (const Json& name : *list) {
        names.push_back(stringOrEmpty(&name));
    }
    return names;
}

std::string defaultLanguageName(std::uint16_t userLanguageId) {
    // "日本語" spelt as UTF-8 bytes so that the source charset does not matter.
    return userLanguageId == 0x0411 ? "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E" : "English";
}

} // namespace Brisvane
