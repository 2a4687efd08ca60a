// Redraw time of a sticky's drawing where it is painted over the body (GDI+
// into a bitmap), for 100 and 1000 figures with 0 and 10 erasers, on a 400 x 300
// window: wall clock and the process's processor time, which a shared machine
// disturbs less. Usage: bench_scribble.exe [redraws per case]
#include <chrono>
#include <cstdio>

#include <windows.h>

#include "../SampleDrawing.h"
#include "scribble/BitmapCanvas_win.h"
#include "scribble/Render.h"

using namespace Brisvane;
using Clock = std::chrono::steady_clock;

namespace {

double processorMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](FILETIME t) {
        return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int redraws = argc > 1 ? _wtoi(argv[1]) : 20;
    GdiplusSession session = GdiplusSession::start();
    if (!session) {
        std::printf("GDI+ did not start\n");
        return 1;
    }
    std::vector<unsigned char> pixels(400 * 300 * 4);
    const RectF bounds{0, 0, 400, 1200};
    std::printf("figures erasers  redraw ms (wall, processor)  first redraw ms (geometry, masks)\n");
    for (int figures : {100, 1000}) {
        for (int erasers : {0, 10}) {
            Scribble scribble = sampleDrawing(figures, erasers);
            BitmapCanvas canvas(pixels.data(), 400, 300);
            Clock::time_point start = Clock::now();
            renderScribble(scribble, canvas, bounds, 0, 0);
            const double first = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            start = Clock::now();
            const double processor = processorMs();
            for (int i = 0; i < redraws; ++i) {
                renderScribble(scribble, canvas, bounds, 0, 0);
            }
            const double wall = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            std::printf("%7d %7d  %9.2f %9.2f  %9.2f\n", figures, erasers, wall / redraws,
                        (processorMs() - processor) / redraws, first);
        }
    }
    return 0;
}
