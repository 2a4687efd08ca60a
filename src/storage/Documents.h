#pragma once
// The JSON documents the application owns for the whole run, and the text
// look-up over two of them. Every layer that reads a setting or a text reaches
// them through this base of the application object.
#include <string>
#include <string_view>

#include "storage/Json.h"

namespace Brisvane {

class Documents {
public:
    // The user's language text for the dotted key, or the English fallback.
    std::wstring lookupText(std::string_view key, std::wstring_view fallback) const;

    Json settings;
    Json languages;
    Json palette;
    Json figureLibrary;

protected:
    ~Documents() = default;
};

} // namespace Brisvane
