#include "note/LinkAtCaret.h"

#include "storage/Strings.h"

namespace Brisvane {

namespace {

bool endsRun(wchar_t c) {
    switch (c) {
    case L' ':
    case L'\t':
    case L'\r':
    case L'\n':
    case L'\v':
    case L'\f':
    case 0x3000: // ideographic space
    case L'<':
    case L'>':
    case L'"':
    case 0x300C: // Japanese brackets
    case 0x300D:
    case 0xFFFC: // an embedded object
        return true;
    default:
        return false;
    }
}

bool isTrailingPunctuation(wchar_t c) {
    return c == L'.' || c == L',' || c == L';' || c == L':' || c == L'!' || c == L'?' || c == L')' ||
           c == L']' || c == L'}' || c == L'\'' || c == 0x3001 || c == 0x3002;
}

bool isAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool hasScheme(std::wstring_view run) {
    std::size_t i = 0;
    while (i < run.size() &&
           (isAsciiLetter(run[i]) || (i > 0 && ((run[i] >= L'0' && run[i] <= L'9') || run[i] == L'+' ||
                                                run[i] == L'-' || run[i] == L'.')))) {
        ++i;
    }
    return i >= 2 && i + 1 < run.size() && run[i] == L':';
}

bool isMailAddress(std::wstring_view run) {
    const std::size_t at = run.find(L'@');
    if (at == 0 || at == std::wstring_view::npos) {
        return false;
    }
    const std::size_t dot = run.find(L'.', at + 2);
    return dot != std::wstring_view::npos && dot + 1 < run.size();
}

bool looksLikeLink(std::wstring_view run) {
    if (run.size() > 4 && equalsIgnoreCase(run.substr(0, 4), L"www.")) {
        return true;
    }
    if (run.size() > 3 && isAsciiLetter(run[0]) && run[1] == L':' && run[2] == L'\\') {
        return true;
    }
    if (run.size() > 2 && run[0] == L'\\' && run[1] == L'\\') {
        return true;
    }
    return hasScheme(run) || isMailAddress(run);
}

} // namespace

std::optional<TextSpan> linkAround(std::wstring_view text, std::size_t caret) {
    if (caret > text.size()) {
        return std::nullopt;
    }
    std::size_t start = caret;
    while (start > 0 && !endsRun(text[start - 1])) {
        --start;
    }
    std::size_t end = caret;
    while (end < text.size() && !endsRun(text[end])) {
        ++end;
    }
    while (start < end && (text[start] == L'(' || text[start] == L'[')) {
        ++start;
    }
    // A closing parenthesis belongs to a link that opens one ("Sun_(star)").
    while (
        end > start && isTrailingPunctuation(text[end - 1]) &&
        !(text[end - 1] == L')' && text.substr(start, end - start).find(L'(') != std::wstring_view::npos)) {
        --end;
    }
    if (start >= end || caret < start || caret > end || !looksLikeLink(text.substr(start, end - start))) {
        return std::nullopt;
    }
    return TextSpan{start, end};
}

} // namespace Brisvane
