// After the monitors or work areas change, no sticky may stay where no monitor
// shows it.
#include "app/TackaroonNotes_win.h"
#include "note/Note_win.h"

namespace Brisvane {

void TackaroonNotes::keepStickiesOnScreen() {
    for (Sticky* sticky : allStickies()) {
        static_cast<Note*>(sticky)->keepOnScreenNow();
    }
}

} // namespace Brisvane
