#include "app/ShowAll.h"

namespace Brisvane {

namespace {

// Shift, Ctrl, Alt, both Windows keys and their left and right forms.
bool isModifierKey(std::uint32_t key) {
    return (key >= 0x10 && key <= 0x12) || key == 0x5B || key == 0x5C || (key >= 0xA0 && key <= 0xA5);
}

// Every button going down, and both wheels.
constexpr std::uint16_t pressFlags = 0x0001 | 0x0004 | 0x0010 | 0x0040 | 0x0100 | 0x0400 | 0x0800;

} // namespace

bool endsShowAll(const InputSample& input, std::uint32_t hotkeyKey) {
    switch (input.kind) {
    case RawInputKind::keyboard:
        // The held hotkey repeats its key; letting go of it is no new activity.
        return input.keyDown && input.key != hotkeyKey && !isModifierKey(input.key);
    case RawInputKind::mouse:
        return (input.buttonFlags & pressFlags) != 0;
    case RawInputKind::gamePadPoll:
    case RawInputKind::none:
        break;
    }
    return false;
}

} // namespace Brisvane
