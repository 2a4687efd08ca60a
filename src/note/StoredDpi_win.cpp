// The DPI a sticky's stored position and size belong to, kept in step with
// the screen the sticky is on.
#include "note/Note_win.h"
#include "note/StoredDpi.h"

namespace Brisvane {

void Note::adoptStoredDpi() {
    // Only in memory: the file keeps what it says until something else is
    // saved. Two machines of different DPIs sharing a synced folder would
    // otherwise rewrite each other's file every time one opens it.
    adoptScreenDpi(document.json, dpi);
}

void Note::keepStoredDpi(int oldDpi) {
    // Unfolded, the layout that follows stores the size the system gave the
    // window; folded, the stored unfolded size is scaled here, both sides alike.
    bool changed = folded && rescaleStoredSize(document.json, oldDpi, dpi);
    changed |= storeAt(document.json, {"window", "dpi"}, static_cast<std::int64_t>(dpi));
    if (changed) {
        markChanged(SaveJson);
    }
}

} // namespace Brisvane
