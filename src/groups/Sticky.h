#pragma once
// What the application core, the groups and the rule engine need of one sticky.
// The sticky window implements it; tests implement it with plain objects.
#include <cstdint>
#include <string>

#include "base/Rect.h"

namespace Brisvane {

// A sticky's stacking level, the same numbers as stored in rules.
enum class ZOrder : std::int32_t { bottom = -1, usually = 0, top = 1, alwaysOnTop = 2 };

// Save request flags, combined by OR per sticky: one per part of the note.
// SaveJson is the title and the members the user set; SaveView what the
// program changes by itself (selection, scroll, a position it fixed), written
// along with the next save but never an edit.
enum SaveFlags : std::uint32_t { SaveJson = 1, SaveText = 2, SaveFigures = 4, SaveView = 8 };
inline constexpr std::uint32_t SaveEdits = SaveJson | SaveText | SaveFigures;

class Sticky {
public:
    virtual ~Sticky() = default;

    virtual const std::wstring& stickyGuid() const = 0;

    // Run-time effects imposed by group rules and by activation.
    virtual void applyOpacityFactor(float factor) = 0;
    virtual void setZOrderLevel(ZOrder level) = 0;
    virtual void applyRuleFold(bool ruleFold) = 0;
    virtual void setClickThrough(bool on) = 0;
    // The rule exemption: set while the sticky is the active window.
    virtual bool isActive() const = 0;
    virtual void setRuleExemption(bool exempt) = 0;
    virtual bool isAlwaysOnTop() const = 0;
    // A full-screen program sends always-on-top stickies to the bottom.
    virtual void setFullScreenActive(bool on, ZOrder groupLevel) = 0;

    // The group guid stored in the sticky's document.
    virtual std::wstring groupGuid() const = 0;
    virtual void setGroupGuid(const std::wstring& groupGuid) = 0;
    // The top-level window's rectangle on screen; false when there is none.
    virtual bool windowRect(Rect& out) const = 0;

    // The save flags of changes not yet written, kept also while auto-save is
    // off: what a change made elsewhere must not swallow.
    std::uint32_t unsavedFlags = 0;
};

} // namespace Brisvane
