#pragma once
#include <windows.h>

#include "base/Timer.h"

namespace Brisvane {

// Window timers of USER32; they arrive as WM_TIMER with the id as wParam.
class WindowTimerService final : public TimerService {
public:
    void setTimer(WindowRef window, std::uint32_t id, std::uint32_t elapse) override {
        SetTimer(static_cast<HWND>(window), id, elapse, nullptr);
    }
    void killTimer(WindowRef window, std::uint32_t id) override { KillTimer(static_cast<HWND>(window), id); }
};

// The one service every window timer of the program goes through; it holds no
// state, so it can outlive everything that uses it.
inline TimerService& windowTimers() {
    static WindowTimerService service;
    return service;
}

} // namespace Brisvane
