#include "dialogs/SearchModel.h"

#include <algorithm>

#include "groups/GroupHost.h"
#include "storage/Settings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

constexpr std::size_t context = 5;
// How far a word may stretch an excerpt on either side.
constexpr std::size_t maxWiden = 40;

enum class CharClass { gap, word, hiragana, katakana, ideograph };

CharClass classOf(wchar_t c) {
    if (c >= 0x3041 && c <= 0x309F) {
        return CharClass::hiragana;
    }
    if ((c >= 0x30A0 && c <= 0x30FF) || (c >= 0xFF66 && c <= 0xFF9F)) {
        return CharClass::katakana;
    }
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF)) {
        return CharClass::ideograph;
    }
    bool asciiWord =
        (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
    // Letters of other scripts (accented Latin, Greek, Cyrillic, fullwidth
    // forms); punctuation and symbols of those blocks end a word.
    bool otherLetter = (c >= 0x00C0 && c <= 0x024F && c != 0x00D7 && c != 0x00F7) ||
                       (c >= 0x0370 && c <= 0x052F) || (c >= 0xFF10 && c <= 0xFF19) ||
                       (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A);
    return asciiWord || otherLetter ? CharClass::word : CharClass::gap;
}

} // namespace

void addSearchTerm(GroupHost& app, const std::wstring& text) {
    Json& recently = valueAt(app.settings, {"search", "recently"});
    if (!recently.is_array()) {
        recently = Json::array();
    }
    auto& terms = recently.get_ref<Json::array_t&>();
    std::string entry = wideToUtf8(text);
    auto same = std::find_if(terms.begin(), terms.end(), [&entry](const Json& term) {
        return term.is_string() && term.get_ref<const std::string&>() == entry;
    });
    if (same != terms.end()) {
        terms.erase(same);
    }
    terms.insert(terms.begin(), entry);
    if (terms.size() > static_cast<std::size_t>(searchRecentlyMax(app.settings))) {
        terms.pop_back();
    }
    app.markSettingsChanged();
}

std::vector<std::wstring> searchTerms(const GroupHost& app) {
    std::vector<std::wstring> terms;
    const Json* recently = findPath(app.settings, {"search", "recently"});
    if (recently != nullptr && recently->is_array()) {
        for (const Json& term : *recently) {
            if (term.is_string()) {
                terms.push_back(utf8ToWide(term.get_ref<const std::string&>()));
            }
        }
    }
    return terms;
}

TextSpan excerptSpan(std::wstring_view text, std::size_t start, std::size_t end) {
    std::size_t n = text.size();
    end = std::min(end, n);
    start = std::min(start, end);
    TextSpan span{start > context ? start - context : 0, std::min(end + context, n)};
    // Widen at the start while the character before belongs to the same word.
    if (span.start > 0 && span.start < n) {
        CharClass edge = classOf(text[span.start]);
        std::size_t limit = span.start > maxWiden ? span.start - maxWiden : 0;
        while (edge != CharClass::gap && span.start > limit && classOf(text[span.start - 1]) == edge) {
            --span.start;
        }
    }
    if (span.end > 0 && span.end < n) {
        CharClass edge = classOf(text[span.end - 1]);
        std::size_t limit = std::min(n, span.end + maxWiden);
        while (edge != CharClass::gap && span.end < limit && classOf(text[span.end]) == edge) {
            ++span.end;
        }
    }
    return span;
}

std::wstring excerptText(std::wstring_view text, std::size_t start, std::size_t end) {
    TextSpan span = excerptSpan(text, start, end);
    std::wstring excerpt(text.substr(span.start, span.end - span.start));
    std::replace_if(
        excerpt.begin(), excerpt.end(), [](wchar_t c) { return c == L'\r' || c == L'\n' || c == L'\v'; },
        L' ');
    // The context may end on a blank or a line break: not worth showing.
    std::size_t first = excerpt.find_first_not_of(L" \t");
    std::size_t last = excerpt.find_last_not_of(L" \t");
    return first == std::wstring::npos ? excerpt : excerpt.substr(first, last - first + 1);
}

} // namespace Brisvane
