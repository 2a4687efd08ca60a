#pragma once
// "Show all" lasts until the user does something: presses a key or a mouse
// button, turns the wheel or touches the screen. Moving the mouse to a sticky
// does not end it, nor do the keys of the hotkey that started it.
#include <cstdint>

#include "app/Activity.h"

namespace Brisvane {

struct InputSample {
    RawInputKind kind = RawInputKind::none;
    bool keyDown = false;
    std::uint32_t key = 0;         // virtual-key code of a keyboard sample
    std::uint16_t buttonFlags = 0; // the button and wheel flags of a mouse sample
};

bool endsShowAll(const InputSample& input, std::uint32_t hotkeyKey);

} // namespace Brisvane
