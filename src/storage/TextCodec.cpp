#include "storage/TextCodec.h"

#include <algorithm>

namespace Brisvane {

namespace {

constexpr char32_t replacement = 0xFFFD;

void appendCodePoint(std::wstring& out, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    out.push_back(static_cast<wchar_t>(cp));
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() && bytes.substr(0, prefix.size()) == prefix;
}

} // namespace

bool isValidUtf8(std::string_view in) {
    size_t i = 0;
    while (i < in.size()) {
        auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        // The second byte's range rules out overlong forms, surrogates and
        // code points above U+10FFFF.
        unsigned char low = 0x80, high = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2;
            low = b == 0xE0 ? 0xA0 : 0x80;
            high = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3;
            low = b == 0xF0 ? 0x90 : 0x80;
            high = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (in.size() - i <= static_cast<size_t>(extra)) {
            return false;
        }
        auto second = static_cast<unsigned char>(in[i + 1]);
        if (second < low || second > high) {
            return false;
        }
        for (int k = 2; k <= extra; ++k) {
            if ((static_cast<unsigned char>(in[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

std::wstring utf8ToWide(std::string_view in) {
    std::wstring out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            out.push_back(static_cast<wchar_t>(b));
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            extra = 1, cp = b & 0x1F, minimum = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            extra = 2, cp = b & 0x0F, minimum = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            extra = 3, cp = b & 0x07, minimum = 0x10000;
        } else {
            appendCodePoint(out, replacement);
            ++i;
            continue;
        }
        size_t j = i + 1;
        bool valid = true;
        for (int k = 0; k < extra; ++k, ++j) {
            if (j >= in.size() || (static_cast<unsigned char>(in[j]) & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(in[j]) & 0x3F);
        }
        if (!valid || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            // One replacement for the maximal invalid prefix, then resynchronise.
            appendCodePoint(out, replacement);
            i = valid ? j : std::max(j, i + 1);
            continue;
        }
        appendCodePoint(out, cp);
        i = j;
    }
    return out;
}

std::string wideToUtf8(std::wstring_view in) {
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        auto cp = static_cast<char32_t>(in[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            cp &= 0xFFFF;
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size()) {
                auto low = static_cast<char32_t>(in[i + 1]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            cp = replacement;
        }
        appendUtf8(out, cp);
    }
    return out;
}

TextRead decodeTextFile(std::string_view bytes, std::wstring& text) {
    text.clear();
    bool utf8 = false;
    if (startsWith(bytes, "\xFE\xFF") || startsWith(bytes, "\xFF\xFE")) {
        return {errorReadFault, false};
    }
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        utf8 = true;
        bytes.remove_prefix(3);
    } else if (bytes.size() >= 4 && startsWith(bytes, "\x2B\x2F\x76") &&
               (bytes[3] == '\x38' || bytes[3] == '\x39' || bytes[3] == '\x2B' || bytes[3] == '\x2F')) {
        return {errorReadFault, false};
    } else if (startsWith(bytes, std::string_view("\x00\x00\xFE\xFF", 4))) {
        return {errorReadFault, false};
    }
    TextRead result;
    if (auto nul = bytes.find('\0'); nul != std::string_view::npos) {
        // Trailing NULs (padding) hold nothing; anything after them would be lost.
        result.exact = bytes.find_first_not_of('\0', nul) == std::string_view::npos;
        bytes = bytes.substr(0, nul);
    }
    // Without a mark, what most editors write (UTF-8) is told apart from
    // Shift_JIS by being valid UTF-8; ASCII is both.
    const bool validUtf8 = isValidUtf8(bytes);
    std::wstring decoded;
    if (utf8 || validUtf8) {
        decoded = utf8ToWide(bytes);
        result.exact = result.exact && validUtf8;
    } else {
        decoded = decodeCodePage932(bytes);
        result.exact = result.exact && decoded.find(L'\xFFFD') == std::wstring::npos;
    }
    text.reserve(decoded.size());
    for (size_t i = 0; i < decoded.size(); ++i) {
        if (decoded[i] == L'\r' && i + 1 < decoded.size() && decoded[i + 1] == L'\n') {
            continue;
        }
        text.push_back(decoded[i]);
    }
    return result;
}

std::string encodeTextFile(std::wstring_view text) {
    return "\xEF\xBB\xBF" + wideToUtf8(text);
}

} // namespace Brisvane
