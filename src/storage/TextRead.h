#pragma once
// What counts as reading a stored file exactly. A file that is there but was
// refused, or whose bytes did not all become text as they stand (bytes
// dropped, replaced, or cut off at a NUL with more after it), counts as not
// read: its bytes are kept before the program first writes over it.
#include <cstdint>
#include <string_view>

#include "storage/FileErrors.h"

namespace Brisvane {

// Stored text files above this size are refused unread: settings.json and
// note.json are far smaller, and a larger one would hold up the start for
// seconds and could exhaust memory.
inline constexpr std::uint64_t maxStoredTextBytes = 16u * 1024 * 1024;

// The result of reading a text file.
struct TextRead {
    ErrorCode error = errorSuccess;
    // Every byte became text as it stands; false also for a refused file.
    bool exact = true;
    // Callers that only ask whether the file could be read compare the code.
    operator ErrorCode() const { return error; }
};

// A reader's result that means the file is there but was not read (a missing
// file or folder is not).
bool isUnreadResult(ErrorCode readResult);

// Nothing but white space: what an empty file, or one holding only a mark,
// gives. Such a file holds nothing to keep.
bool holdsNothing(std::wstring_view text);

// Whether a stored document must be kept before it is first written over: it
// is there but was not read exactly, or it holds something that was not
// understood (`understood` says whether its text parsed as the document).
bool mustKeepBeforeWriting(const TextRead& read, std::wstring_view text, bool understood);

} // namespace Brisvane
