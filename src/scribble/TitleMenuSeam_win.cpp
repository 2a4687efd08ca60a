// The title menu offered inside the note context menu: empty until the title
// menu itself is built, when its builder takes the place of this one.
#include "note/Note_win.h"

namespace Brisvane {

HMENU Note::buildTitleMenu() {
    return CreatePopupMenu();
}

} // namespace Brisvane
