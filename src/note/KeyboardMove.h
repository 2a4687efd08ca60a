#pragma once
// Moving and sizing a sticky with the arrow keys, chosen from its window menu:
// each arrow moves it (or grows it to the right and down) by a step, Shift by a
// larger step; Enter keeps where it is, Esc puts it back where it started.
#include "note/Geometry.h"

namespace Brisvane {

// Steps at 96 DPI; a sticky scales them by its DPI.
inline constexpr int keyboardStep = 8;
inline constexpr int keyboardLargeStep = 64;

enum class MoveKey { left, right, up, down, enter, escape, other };

class KeyboardMove {
public:
    enum class Kind { move, size };
    enum class Outcome {
        ignored,   // not a key of the move: nothing changes
        changed,   // the sticky goes to proposed()
        kept,      // finished where it is
        cancelled, // finished: back to start()
    };

    // minWidth and minHeight bound a size from below, maxSide both sides from above.
    KeyboardMove(Kind kind, const Rect& start, int step, int largeStep, int minWidth, int minHeight,
                 int maxSide);

    Outcome key(MoveKey key, bool shift);

    Kind kind() const { return kind_; }
    const Rect& start() const { return start_; }
    bool finished() const { return finished_; }
    // The travel of a move, or the growth of a size, since the start.
    int dx() const { return dx_; }
    int dy() const { return dy_; }
    // The start moved by the travel, or grown with its top-left corner kept;
    // before any snapping.
    Rect proposed() const;

private:
    Kind kind_;
    Rect start_;
    int step_, largeStep_;
    int minWidth_, minHeight_, maxSide_;
    int dx_ = 0, dy_ = 0;
    bool finished_ = false;
};

} // namespace Brisvane
