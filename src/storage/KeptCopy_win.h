#pragma once
// Copies of files this run could not read. Before the program first writes
// over such a file, its old bytes are kept once beside it as
// "<name>.unreadable"; a copy that exists is never overwritten (other bytes
// go to "<name>.unreadable-2" and on).
#include <string>
#include <vector>

#include "storage/TextRead.h"

namespace Brisvane {

inline constexpr wchar_t keptCopySuffix[] = L".unreadable";

class KeptCopies {
public:
    // This run could not read or parse the file at `path`.
    void remember(const std::wstring& path);
    bool remembered(const std::wstring& path) const;
    // Called before every write of `path`: keeps the old bytes once when this
    // run could not read them. False when they could not be kept while the
    // file is still there; the write must then wait.
    bool beforeWrite(const std::wstring& path);

private:
    std::vector<std::wstring> unread_;
};

// Removes the "<name>.saving" temporaries an interrupted save left in a folder,
// each only when "<name>" itself is there; a temporary without its file may be
// the only copy and stays.
void removeLeftoverTemporaries(const std::wstring& folder);

} // namespace Brisvane
