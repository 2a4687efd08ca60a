#include "storage/TextRead.h"

#include <algorithm>

namespace Brisvane {

bool isUnreadResult(ErrorCode readResult) {
    return readResult != errorSuccess && readResult != errorFileNotFound && readResult != errorPathNotFound;
}

bool holdsNothing(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; });
}

bool mustKeepBeforeWriting(const TextRead& read, std::wstring_view text, bool understood) {
    if (read.error != errorSuccess) {
        return isUnreadResult(read.error);
    }
    return !read.exact || (!understood && !holdsNothing(text));
}

} // namespace Brisvane
