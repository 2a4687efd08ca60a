#pragma once
// Where the start-up's time goes while it makes the stickies: each step summed
// over every sticky, and when the first one showed. Read by the start-up figures.
#include <chrono>

namespace Brisvane {

struct StartupSteps {
    using Clock = std::chrono::steady_clock;

    Clock::time_point begun = Clock::now();
    // Milliseconds, summed over every sticky made.
    double windows = 0; // creating and setting up the windows
    double text = 0;    // streaming the body's text in
    double layout = 0;  // placing the children, restoring selection and scroll position
    double show = 0;    // showing and painting
    // Milliseconds from `begun` until the first sticky was on screen; -1 before.
    double firstShown = -1;

    static double since(Clock::time_point start) {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
};

} // namespace Brisvane
