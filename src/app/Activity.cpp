#include "app/Activity.h"

#include <cstdlib>

#include "app/AppCore.h"
#include "groups/RuleEngine.h"

namespace Brisvane {

namespace {

// The magnitude of -32768 is 32768, so widen before taking it.
bool beyond(std::int16_t value, std::int32_t deadZone) {
    return std::abs(static_cast<std::int32_t>(value)) >= deadZone;
}

bool hasStickiesAndRules(const Group& group) {
    return !group.notes.empty() && !group.rules.empty();
}

} // namespace

bool acceptRawInput(std::uint32_t now, std::uint32_t& last) {
    std::uint32_t elapsed = now - last; // unsigned: wraps across the clock's rollover
    if (elapsed < inputThrottleMs) {
        return false;
    }
    last = now;
    return true;
}

RawInputKind classifyRawInput(std::uint32_t headerType) {
    switch (headerType) {
    case 0:
        return RawInputKind::mouse;
    case 1:
        return RawInputKind::keyboard;
    case 2:
        return RawInputKind::gamePadPoll;
    default:
        return RawInputKind::none;
    }
}

bool padActive(const PadState& pad) {
    return pad.buttons != 0 || pad.leftTrigger != 0 || pad.rightTrigger != 0 ||
           beyond(pad.thumbLX, leftThumbDeadZone) || beyond(pad.thumbLY, leftThumbDeadZone) ||
           beyond(pad.thumbRX, rightThumbDeadZone) || beyond(pad.thumbRY, rightThumbDeadZone);
}

bool anyPadActive(PadReader& reader) {
    for (unsigned index = 0; index < 4; ++index) {
        PadState state;
        if (reader.readPad(index, state) && padActive(state)) {
            return true;
        }
    }
    return false;
}

std::wstring_view deviceEventName(std::uint32_t code) {
    switch (code) {
    case EVENT_MOUSE:
        return L"mouse-input";
    case EVENT_KEYBOARD:
        return L"keyboard-input";
    case EVENT_GAMEPAD:
        return L"gamepad-input";
    case EVENT_TOUCH:
        return L"touch-input";
    default:
        return {};
    }
}

Sticky* stickyUnderCursor(const std::vector<Group>& groups, int x, int y) {
    for (const Group& group : groups) {
        for (const auto& note : group.notes) {
            Rect r;
            if (note && note->windowRect(r) && x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
                return note.get();
            }
        }
    }
    return nullptr;
}

void onActivity(AppCore& app, std::uint32_t code) {
    std::wstring_view device = deviceEventName(code);
    bool looked = false;
    Sticky* under = nullptr;
    Sticky* focused = nullptr;
    for (Group& group : app.groups) {
        if (!hasStickiesAndRules(group)) {
            continue;
        }
        if (!looked) {
            looked = true;
            int x = 0;
            int y = 0;
            under = app.cursorPosition(x, y) ? stickyUnderCursor(app.groups, x, y) : nullptr;
            focused = app.focusedSticky();
        }
        dispatchEvent(app, group, L"input", under, focused);
        dispatchEvent(app, group, L"mouse-hover", under, focused);
        if (!device.empty()) {
            dispatchEvent(app, group, device, under, focused);
        }
    }
}

void onRuleTimer(AppCore& app, std::uint32_t id) {
    if (app.rulesSuspended) {
        return;
    }
    for (Group& group : app.groups) {
        for (const auto& rule : group.rules) {
            if (!rule || rule->id != id) {
                continue;
            }
            int x = 0;
            int y = 0;
            Sticky* under = app.cursorPosition(x, y) ? stickyUnderCursor(app.groups, x, y) : nullptr;
            applyRule(app, group, *rule, rule->action, under, app.focusedSticky());
            return;
        }
    }
}

void applyFullScreen(AppCore& app, bool on) {
    for (Group& group : app.groups) {
        for (const auto& note : group.notes) {
            // Clearing reaches every sticky: one whose "always on top" was
            // switched off meanwhile must not stay marked.
            if (note && (note->isAlwaysOnTop() || !on)) {
                note->setFullScreenActive(on, static_cast<ZOrder>(group.appliedZOrder));
            }
        }
    }
}

void updateFullScreen(AppCore& app, bool detected) {
    if (detected == app.fullScreen) {
        return;
    }
    app.fullScreen = detected;
    applyFullScreen(app, detected);
}

} // namespace Brisvane
