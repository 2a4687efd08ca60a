#pragma once
// When a key on the notification icon opens its menu. The shell reports Enter
// on the icon twice: once while the menu it opened is up, or, when a menu
// item was chosen with Enter, as the key comes up on the icon that has the
// focus back. Neither copy opens the menu again.
#include <cstdint>

namespace Brisvane {

class TrayMenuGate {
public:
    // echoMs: how long after a menu closed a key select counts as the same press.
    explicit TrayMenuGate(std::uint32_t echoMs) : echoMs_(echoMs) {}

    bool keySelectOpens(std::uint32_t now) const {
        return !open_ && (!closedOnce_ || now - closedAt_ >= echoMs_);
    }
    void opened() { open_ = true; }
    void closed(std::uint32_t now) {
        open_ = false;
        closedOnce_ = true;
        closedAt_ = now;
    }

private:
    std::uint32_t echoMs_;
    bool open_ = false;
    bool closedOnce_ = false;
    std::uint32_t closedAt_ = 0;
};

} // namespace Brisvane
