#include "storage/Strings.h"

namespace Brisvane {

std::vector<std::wstring> splitAny(std::wstring_view text, std::wstring_view separators) {
    std::vector<std::wstring> pieces;
    size_t start = 0;
    size_t cut = text.find_first_of(separators);
    if (cut == std::wstring_view::npos) {
        pieces.emplace_back(text);
        return pieces;
    }
    while (cut != std::wstring_view::npos) {
        pieces.emplace_back(text.substr(start, cut - start));
        start = cut + 1;
        cut = text.find_first_of(separators, start);
    }
    if (start < text.size()) {
        pieces.emplace_back(text.substr(start));
    }
    return pieces;
}

namespace {

wchar_t foldCase(wchar_t c) {
    if (c >= L'A' && c <= L'Z') {
        return static_cast<wchar_t>(c + (L'a' - L'A'));
    }
    if (c >= 0xFF21 && c <= 0xFF3A) {
        return static_cast<wchar_t>(c + 0x20);
    }
    return c;
}

} // namespace

bool equalsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace Brisvane
