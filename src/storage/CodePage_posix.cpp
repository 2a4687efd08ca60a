// Shift_JIS decoding for hosts other than Windows, through iconv.
#include "storage/TextCodec.h"

#include <cerrno>
#include <iconv.h>

namespace Brisvane {

std::wstring decodeCodePage932(std::string_view bytes) {
    std::wstring out;
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        out.assign(bytes.size(), L'\xFFFD');
        return out;
    }
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        for (char* p = buffer; p + 4 <= outPtr; p += 4) {
            auto* u = reinterpret_cast<unsigned char*>(p);
            out.push_back(static_cast<wchar_t>(u[0] | (u[1] << 8) | (u[2] << 16) | (u[3] << 24)));
        }
        if (rc == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            // An undecodable or cut-off sequence: one replacement, then go on after its first byte.
            out.push_back(L'\xFFFD');
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace Brisvane
