#include "base/Timer.h"

namespace Brisvane {

Timer::~Timer() {
    stop();
}

void Timer::prepare(TimerService* service, WindowRef timerWindow, std::uint32_t timerId, std::uint32_t period,
                    bool restart) {
    stop();
    service_ = service;
    window = timerWindow;
    id = timerId;
    elapse = period;
    reset = restart;
}

void Timer::start() {
    if (!service_) {
        return;
    }
    if (running) {
        if (!reset) {
            return;
        }
        service_->killTimer(window, id);
        running = false;
    }
    service_->setTimer(window, id, elapse);
    running = true;
}

void Timer::stop() {
    if (running && service_) {
        service_->killTimer(window, id);
    }
    running = false;
}

} // namespace Brisvane
