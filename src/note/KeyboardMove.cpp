#include "note/KeyboardMove.h"

#include <algorithm>

namespace Brisvane {

KeyboardMove::KeyboardMove(Kind kind, const Rect& start, int step, int largeStep, int minWidth, int minHeight,
                           int maxSide)
    : kind_(kind), start_(start), step_(std::max(step, 1)), largeStep_(std::max(largeStep, 1)),
      minWidth_(std::max(minWidth, 1)), minHeight_(std::max(minHeight, 1)),
      maxSide_(std::max({maxSide, minWidth_, minHeight_})) {}

KeyboardMove::Outcome KeyboardMove::key(MoveKey key, bool shift) {
    if (finished_) {
        return Outcome::ignored;
    }
    const int step = shift ? largeStep_ : step_;
    int x = 0, y = 0;
    switch (key) {
    case MoveKey::left:
        x = -step;
        break;
    case MoveKey::right:
        x = step;
        break;
    case MoveKey::up:
        y = -step;
        break;
    case MoveKey::down:
        y = step;
        break;
    case MoveKey::enter:
        finished_ = true;
        return Outcome::kept;
    case MoveKey::escape:
        finished_ = true;
        dx_ = dy_ = 0;
        return Outcome::cancelled;
    default:
        return Outcome::ignored;
    }
    if (kind_ == Kind::move) {
        dx_ += x;
        dy_ += y;
        return Outcome::changed;
    }
    // A size stays within its bounds; a key that cannot change it changes nothing.
    const int width = std::clamp(start_.width() + dx_ + x, minWidth_, maxSide_);
    const int height = std::clamp(start_.height() + dy_ + y, minHeight_, maxSide_);
    if (width == start_.width() + dx_ && height == start_.height() + dy_) {
        return Outcome::ignored;
    }
    dx_ = width - start_.width();
    dy_ = height - start_.height();
    return Outcome::changed;
}

Rect KeyboardMove::proposed() const {
    if (kind_ == Kind::move) {
        return {start_.left + dx_, start_.top + dy_, start_.right + dx_, start_.bottom + dy_};
    }
    return {start_.left, start_.top, start_.right + dx_, start_.bottom + dy_};
}

} // namespace Brisvane
