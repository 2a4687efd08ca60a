#include "note/Magnet.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

namespace Brisvane {

namespace {

const MagnetNote* findByGuid(const std::vector<MagnetNote>& notes, const std::wstring& guid) {
    for (const MagnetNote& note : notes) {
        if (note.guid == guid) {
            return &note;
        }
    }
    return nullptr;
}

// For every sticky whether it travels with `carrier`, as isCarriedBy says, in
// one pass: each sticky has one link, so each chain is walked once and its
// answer shared by every sticky on it.
std::vector<bool> carriedFlags(const std::vector<MagnetNote>& notes, std::size_t carrier) {
    enum State : char { Unknown, Visiting, Yes, No };
    std::unordered_map<std::wstring, std::size_t> byGuid;
    for (std::size_t i = notes.size(); i-- > 0;) {
        byGuid[notes[i].guid] = i; // the first sticky with a guid wins, as in a lookup
    }
    const std::wstring& carrierGuid = notes[carrier].guid;
    std::vector<State> state(notes.size(), Unknown);
    std::vector<std::size_t> path;
    for (std::size_t start = 0; start < notes.size(); ++start) {
        path.clear();
        std::size_t current = start;
        State answer = No;
        while (true) {
            if (state[current] == Yes || state[current] == No) {
                answer = state[current];
                break;
            }
            if (state[current] == Visiting) {
                answer = No; // a loop that never names the carrier
                break;
            }
            state[current] = Visiting;
            path.push_back(current);
            const std::wstring& link = notes[current].stickGuid;
            if (link == carrierGuid) {
                answer = Yes;
                break;
            }
            auto next = byGuid.find(link);
            if (next == byGuid.end()) {
                answer = No;
                break;
            }
            current = next->second;
        }
        for (std::size_t i : path) {
            state[i] = answer;
        }
    }
    std::vector<bool> carried(notes.size());
    for (std::size_t i = 0; i < notes.size(); ++i) {
        carried[i] = state[i] == Yes;
    }
    return carried;
}

// One axis of a rectangle: x uses left/right, y top/bottom.
struct Axis {
    bool vertical;
    int& lo(Rect& r) const { return vertical ? r.top : r.left; }
    int& hi(Rect& r) const { return vertical ? r.bottom : r.right; }
    int lo(const Rect& r) const { return vertical ? r.top : r.left; }
    int hi(const Rect& r) const { return vertical ? r.bottom : r.right; }
    // The other axis, for the overlap test.
    int crossLo(const Rect& r) const { return vertical ? r.left : r.top; }
    int crossHi(const Rect& r) const { return vertical ? r.right : r.bottom; }
};

bool spansOverlap(int aLo, int aHi, int bLo, int bHi) {
    auto inside = [](int v, int lo, int hi) { return lo <= v && v <= hi; };
    bool touching =
        inside(aLo, bLo, bHi) || inside(aHi, bLo, bHi) || inside(bLo, aLo, aHi) || inside(bHi, aLo, aHi);
    return touching && std::min(aHi, bHi) - std::max(aLo, bLo) != 0;
}

class Snapper {
public:
    Snapper(const std::vector<MagnetNote>& notes, std::size_t dragged, int dx, int dy)
        : notes_(notes), carried_(carriedFlags(notes, dragged)), dragged_(dragged), dx_(dx), dy_(dy) {}

    bool snapMonitor(Rect& r, const Axis& axis, const Rect& workArea, int distance) const {
        const int size = axis.hi(r) - axis.lo(r);
        const int shift = axis.vertical ? dy_ : dx_;
        const int start = axis.lo(notes_[dragged_].startRect) + shift;
        int spanLo = start, spanHi = start + size;
        for (std::size_t t = 0; t < notes_.size(); ++t) {
            if (t != dragged_ && notes_[t].snapsToNotes && carried_[t]) {
                spanLo = std::min(spanLo, axis.lo(notes_[t].startRect) + shift);
                spanHi = std::max(spanHi, axis.hi(notes_[t].startRect) + shift);
            }
        }
        int lo = start;
        bool snapped = true;
        if (axis.lo(workArea) <= spanLo && spanLo <= axis.lo(workArea) + distance) {
            lo += axis.lo(workArea) - spanLo;
        } else if (axis.hi(workArea) - distance <= spanHi && spanHi <= axis.hi(workArea)) {
            lo += axis.hi(workArea) - spanHi;
        } else {
            snapped = false;
        }
        axis.lo(r) = lo;
        axis.hi(r) = lo + size;
        return snapped;
    }

    bool snapSticky(Rect& r, const Axis& axis, int distance) {
        const MagnetNote& self = notes_[dragged_];
        if (!self.snapsToNotes) {
            return false;
        }
        const int size = axis.hi(r) - axis.lo(r);
        const int shift = axis.vertical ? dy_ : dx_;
        axis.lo(r) = axis.lo(self.startRect) + shift;
        axis.hi(r) = axis.lo(r) + size;
        int best = distance;
        bool taken = false;
        int candidate = 0;
        for (std::size_t s = 0; s < notes_.size(); ++s) {
            const MagnetNote& other = notes_[s];
            if (s == dragged_ || !other.snapsToNotes || carried_[s]) {
                continue;
            }
            const Rect& o = other.currentRect;
            if (!spansOverlap(axis.crossLo(r), axis.crossHi(r), axis.crossLo(o), axis.crossHi(o))) {
                continue;
            }
            const int lo = axis.lo(r), hi = axis.hi(r);
            // Later alignments win at equal distance: right edges over left ones.
            const int alignments[4][2] = {
                {std::abs(axis.lo(o) - lo), axis.lo(o)},
                {std::abs(axis.hi(o) - lo), axis.hi(o)},
                {std::abs(axis.lo(o) - hi), lo + axis.lo(o) - hi},
                {std::abs(axis.hi(o) - hi), lo + axis.hi(o) - hi},
            };
            bool here = false;
            for (const auto& [d, newLo] : alignments) {
                if (d <= distance && d <= best) {
                    best = d;
                    candidate = newLo;
                    here = true;
                }
            }
            if (here) {
                taken = true;
                // Never a link both ways.
                if (other.stickGuid != self.guid) {
                    link_ = other.guid;
                }
                break;
            }
        }
        axis.lo(r) = taken ? candidate : axis.lo(self.startRect) + shift;
        axis.hi(r) = axis.lo(r) + size;
        return true;
    }

    // Every step starts unlinked; a snap to another sticky links anew.
    const std::wstring& link() const { return link_; }

private:
    const std::vector<MagnetNote>& notes_;
    // Which stickies travel with the dragged one. Its own link never changes
    // that: a chain that reaches it has named it already.
    std::vector<bool> carried_;
    std::wstring link_;
    std::size_t dragged_;
    int dx_, dy_;
};

void carry(const std::vector<MagnetNote>& notes, std::size_t dragged, int shiftX, int shiftY,
           std::vector<CarriedMove>& moves) {
    const std::wstring& carrier = notes[dragged].guid;
    std::vector<bool> visited(notes.size(), false);
    visited[dragged] = true; // a sticky stuck to itself must not move under the drag
    std::vector<std::size_t> direct;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        if (!visited[i] && notes[i].stickGuid == carrier) {
            visited[i] = true;
            direct.push_back(i);
        }
    }
    auto move = [&](std::size_t i) {
        moves.push_back({i, notes[i].startRect.left + shiftX, notes[i].startRect.top + shiftY});
    };
    for (std::size_t t : direct) {
        move(t);
        std::size_t current = t;
        for (;;) {
            auto next = std::find_if(notes.begin(), notes.end(), [&](const MagnetNote& n) {
                return !visited[static_cast<std::size_t>(&n - notes.data())] &&
                       n.stickGuid == notes[current].guid;
            });
            if (next == notes.end()) {
                break;
            }
            current = static_cast<std::size_t>(next - notes.begin());
            visited[current] = true;
            move(current);
        }
    }
}

} // namespace

std::vector<std::wstring> stickChain(const std::vector<MagnetNote>& notes, std::size_t index) {
    std::vector<std::wstring> chain;
    std::wstring current = notes[index].stickGuid;
    while (std::find(chain.begin(), chain.end(), current) == chain.end()) {
        chain.push_back(current);
        const MagnetNote* next = findByGuid(notes, current);
        if (!next) {
            break;
        }
        current = next->stickGuid;
    }
    return chain;
}

bool isCarriedBy(const std::vector<MagnetNote>& notes, std::size_t carried, std::size_t carrier) {
    std::vector<std::wstring> chain = stickChain(notes, carried);
    return std::find(chain.begin(), chain.end(), notes[carrier].guid) != chain.end();
}

MagnetOutcome snapMove(const std::vector<MagnetNote>& notes, std::size_t dragged, const Rect& proposed,
                       int dx, int dy, const Rect& workArea, const MagnetDistances& distances) {
    MagnetOutcome outcome;
    Snapper snapper(notes, dragged, dx, dy);
    Rect r = proposed;
    const Axis x{false}, y{true};
    bool snappedX =
        snapper.snapMonitor(r, x, workArea, distances.monitorX) || snapper.snapSticky(r, x, distances.noteX);
    bool snappedY =
        snapper.snapMonitor(r, y, workArea, distances.monitorY) || snapper.snapSticky(r, y, distances.noteY);
    outcome.stickGuid = snapper.link();
    outcome.rect = r;
    if (!snappedX && !snappedY) {
        return outcome;
    }
    outcome.replaced = true;
    carry(notes, dragged, r.left - notes[dragged].startRect.left, r.top - notes[dragged].startRect.top,
          outcome.carried);
    return outcome;
}

} // namespace Brisvane
