// Shift_JIS decoding through the system's code page 932 tables.
#include "storage/TextCodec.h"

#include <windows.h>

namespace Brisvane {

namespace {

constexpr UINT shiftJis = 932;

bool convert(const char* bytes, int size, std::wstring& out) {
    int length = MultiByteToWideChar(shiftJis, MB_ERR_INVALID_CHARS, bytes, size, nullptr, 0);
    if (length <= 0) {
        return false;
    }
    size_t start = out.size();
    out.resize(start + length);
    MultiByteToWideChar(shiftJis, MB_ERR_INVALID_CHARS, bytes, size, out.data() + start, length);
    return true;
}

} // namespace

std::wstring decodeCodePage932(std::string_view bytes) {
    std::wstring out;
    if (bytes.empty() || convert(bytes.data(), static_cast<int>(bytes.size()), out)) {
        return out;
    }
    // The system would put its own default character in place of a bad sequence;
    // go character by character so that each one becomes U+FFFD instead.
    out.clear();
    size_t i = 0;
    while (i < bytes.size()) {
        int width = IsDBCSLeadByteEx(shiftJis, static_cast<BYTE>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
        if (!convert(bytes.data() + i, width, out)) {
            out.push_back(L'\xFFFD');
            width = 1;
        }
        i += width;
    }
    return out;
}

} // namespace Brisvane
