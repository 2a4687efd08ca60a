#include "storage/RtfCheck.h"

namespace Brisvane {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool looksLikeRtf(std::string_view bytes) {
    return bytes.substr(0, 5) == "{\\rtf";
}

bool isCompleteRtf(std::string_view bytes) {
    if (!looksLikeRtf(bytes)) {
        return false;
    }
    long depth = 0;
    size_t i = 0;
    while (i < bytes.size()) {
        char c = bytes[i];
        if (c == '{') {
            ++depth;
            ++i;
        } else if (c == '}') {
            ++i;
            if (--depth == 0) {
                break;
            }
        } else if (c == '\\') {
            size_t word = i + 1;
            size_t end = word;
            while (end < bytes.size() && isLetter(bytes[end])) {
                ++end;
            }
            if (end == word) {
                i = word + 1; // a control symbol such as \{ or \'
                continue;
            }
            size_t digits = end;
            if (digits < bytes.size() && bytes[digits] == '-') {
                ++digits;
            }
            unsigned long long count = 0;
            while (digits < bytes.size() && isDigit(bytes[digits])) {
                // Saturates: only a \bin count is used, and beyond the file it is a fault anyway.
                if (count <= bytes.size()) {
                    count = count * 10 + static_cast<unsigned>(bytes[digits] - '0');
                }
                ++digits;
            }
            if (digits < bytes.size() && bytes[digits] == ' ') {
                ++digits;
            }
            i = digits;
            if (bytes.substr(word, end - word) == "bin") {
                if (count > bytes.size() - i) {
                    return false;
                }
                i += static_cast<size_t>(count);
            }
        } else {
            ++i;
        }
    }
    if (depth != 0) {
        return false;
    }
    for (; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c != ' ' && c != '\r' && c != '\n' && c != '\t' && c != '\0') {
            return false;
        }
    }
    return true;
}

std::string_view withoutTrailingNuls(std::string_view rtf) {
    size_t end = rtf.find_last_not_of('\0');
    return rtf.substr(0, end == std::string_view::npos ? 0 : end + 1);
}

} // namespace Brisvane
