#pragma once
// A window timer with an id, a period and a restart rule. The platform's timer
// calls go through a TimerService so that the timing decisions run anywhere.
#include <cstdint>

namespace Brisvane {

// The window that receives a timer's messages (an HWND on Windows).
using WindowRef = void*;

class TimerService {
public:
    virtual ~TimerService() = default;
    virtual void setTimer(WindowRef window, std::uint32_t id, std::uint32_t elapse) = 0;
    virtual void killTimer(WindowRef window, std::uint32_t id) = 0;
};

class Timer {
public:
    Timer() = default;
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    virtual ~Timer();

    void prepare(TimerService* service, WindowRef window, std::uint32_t id, std::uint32_t elapse, bool reset);
    // Idle: set it. Set with `reset`: restart the count. Set without: keep the first due time.
    void start();
    void stop();

    WindowRef window = nullptr;
    std::uint32_t id = 0;
    std::uint32_t elapse = 0;
    bool reset = false;
    bool running = false;

private:
    TimerService* service_ = nullptr;
};

} // namespace Brisvane
