#include "dialogs/DialogText.h"

#include <cstdio>

namespace Brisvane {

namespace {

wchar_t upperAscii(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

} // namespace

std::wstring decimalText(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    std::string text = buffer;
    std::size_t point = text.find('.');
    if (point != std::string::npos) {
        text.resize(digits > 0 ? point + 1 + static_cast<std::size_t>(digits) : point);
    }
    return std::wstring(text.begin(), text.end());
}

std::wstring delayText(std::uint32_t milliseconds, const DelayUnits& units) {
    std::uint32_t hours = milliseconds / 3600000;
    std::uint32_t minutes = milliseconds % 3600000 / 60000;
    std::uint32_t seconds = milliseconds % 60000 / 1000;
    std::uint32_t fraction = milliseconds % 1000;
    std::wstring text;
    // Parts follow one another without a separator: "1 h2 m3.5 s".
    auto append = [&text](const std::wstring& number, const std::wstring& unit) {
        text += number + L' ' + unit;
    };
    if (hours > 0) {
        append(std::to_wstring(hours), units.hour);
    }
    if (minutes > 0) {
        append(std::to_wstring(minutes), units.minute);
    }
    if (seconds > 0 || fraction > 0) {
        std::wstring number = std::to_wstring(seconds);
        if (fraction > 0) {
            number += L'.' + std::to_wstring(fraction / 100);
        }
        append(number, units.second);
    }
    if (text.empty()) {
        append(L"0", units.second);
    }
    return text;
}

std::wstring withMnemonic(std::wstring_view text, wchar_t key) {
    // The key at the start of a word reads best; any occurrence will do.
    std::size_t at = std::wstring_view::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (upperAscii(text[i]) != upperAscii(key)) {
            continue;
        }
        bool wordStart = i == 0 || text[i - 1] == L' ';
        if (wordStart) {
            at = i;
            break;
        }
        if (at == std::wstring_view::npos) {
            at = i;
        }
    }
    std::wstring result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i == at) {
            result += L'&';
        }
        result += text[i] == L'&' ? std::wstring(L"&&") : std::wstring(1, text[i]);
    }
    if (at == std::wstring_view::npos) {
        result += L"(&";
        result += upperAscii(key);
        result += L')';
    }
    return result;
}

} // namespace Brisvane
