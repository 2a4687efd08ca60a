#pragma once
// Magnet snapping as arithmetic over rectangles: while a sticky is dragged its
// edges snap to the work area and to other stickies, a sticky that snaps to
// another becomes stuck to it, and stuck stickies travel with the one they
// are stuck to.
#include <cstddef>
#include <string>
#include <vector>

#include "note/Geometry.h"

namespace Brisvane {

// What snapping needs of one sticky.
struct MagnetNote {
    std::wstring guid;
    bool snapsToNotes = false; // "magnet"/"note"
    std::wstring stickGuid;    // "magnet"/"stickNoteGuid"
    Rect startRect;            // where it was when the drag began
    Rect currentRect;          // where it is now
};

struct MagnetDistances {
    int monitorX = 30, monitorY = 30, noteX = 10, noteY = 10;
};

struct CarriedMove {
    std::size_t index; // into the list of stickies
    int left, top;
};

struct MagnetOutcome {
    bool replaced = false;  // the proposed rectangle is to be replaced by `rect`
    Rect rect;              // the dragged sticky's rectangle
    std::wstring stickGuid; // the dragged sticky's link after this step ("" = none)
    std::vector<CarriedMove> carried;
};

// The guids reached from sticky `index` by following the links, stopping at
// the first repeated guid or at a guid no sticky has.
std::vector<std::wstring> stickChain(const std::vector<MagnetNote>& notes, std::size_t index);
// Whether sticky `carried` travels with sticky `carrier`.
bool isCarriedBy(const std::vector<MagnetNote>& notes, std::size_t carried, std::size_t carrier);

// One step of a drag of sticky `dragged` (its "magnet"/"monitor" switched on
// and its start rectangle known): `proposed` is the system's rectangle, (dx, dy)
// the cursor's travel since the drag began, `workArea` the work area of the
// monitor nearest to `proposed`.
MagnetOutcome snapMove(const std::vector<MagnetNote>& notes, std::size_t dragged, const Rect& proposed,
                       int dx, int dy, const Rect& workArea, const MagnetDistances& distances);

} // namespace Brisvane
