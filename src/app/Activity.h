#pragma once
// Activity detection without the window system: the raw-input throttle, what
// each kind of raw input means, when a game pad counts as used, which sticky
// lies under the cursor, and the hand-over of each event to every group.
#include <cstdint>
#include <string_view>
#include <vector>

#include "groups/Group.h"
#include "groups/Sticky.h"

namespace Brisvane {

class AppCore;

// Activity codes, from the input handlers to onActivity.
inline constexpr std::uint32_t EVENT_MOUSE = 0x8001;
inline constexpr std::uint32_t EVENT_KEYBOARD = 0x8002;
inline constexpr std::uint32_t EVENT_GAMEPAD = 0x8003;
inline constexpr std::uint32_t EVENT_TOUCH = 0x0240; // the WM_TOUCH message number

inline constexpr std::uint32_t inputThrottleMs = 20;
inline constexpr std::int32_t leftThumbDeadZone = 7849;
inline constexpr std::int32_t rightThumbDeadZone = 8689;

// True when raw input at `now` is far enough from the last accepted one; the
// millisecond clock wraps, so the distance is taken modulo 2^32. An accepted
// time becomes the new `last`; a refused one leaves it alone.
bool acceptRawInput(std::uint32_t now, std::uint32_t& last);

// Whether a key or button is down now, from its asynchronous key state. Only
// the high bit says so; the low bit means "pressed at some time since the last
// call" and would let an earlier press count.
constexpr bool keyDownNow(std::int16_t asyncKeyState) {
    return (static_cast<std::uint16_t>(asyncKeyState) & 0x8000) != 0;
}

// What a raw-input header's type asks for.
enum class RawInputKind { mouse, keyboard, gamePadPoll, none };
RawInputKind classifyRawInput(std::uint32_t headerType);

// One pad's reading, the fields of an XInput game-pad state.
struct PadState {
    std::uint16_t buttons = 0;
    std::uint8_t leftTrigger = 0;
    std::uint8_t rightTrigger = 0;
    std::int16_t thumbLX = 0, thumbLY = 0, thumbRX = 0, thumbRY = 0;
};

bool padActive(const PadState& pad);

// Reads pad 0..3; false for a pad that is not connected.
class PadReader {
public:
    virtual ~PadReader() = default;
    virtual bool readPad(unsigned index, PadState& state) = 0;
};

// Polls the pads in order and stops at the first active one.
bool anyPadActive(PadReader& reader);

// The device-specific event name of an activity code; empty for an unknown code.
std::wstring_view deviceEventName(std::uint32_t code);

// The first sticky, groups and stickies in order, whose window contains the
// point (left and top inclusive); stacking is not considered.
Sticky* stickyUnderCursor(const std::vector<Group>& groups, int x, int y);

// Hands one activity event to every group that has stickies and rules:
// "input", "mouse-hover", then the device's own name. The cursor and focus are
// looked up once, for the first such group.
void onActivity(AppCore& app, std::uint32_t code);

// A rule timer fired: while rules are suspended nothing happens and the timer
// keeps running; otherwise the first group with the rule applies it as its own
// action. Unknown ids are ignored.
void onRuleTimer(AppCore& app, std::uint32_t id);

// Sets or clears the full-screen flag of every always-on-top sticky, which
// re-applies its z-order with the level its group applied last.
void applyFullScreen(AppCore& app, bool on);

// One full-screen poll's result: stores and applies it when it changed.
void updateFullScreen(AppCore& app, bool detected);

} // namespace Brisvane
