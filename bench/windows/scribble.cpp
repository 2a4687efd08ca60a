// What showing a sticky's drawing costs where it is painted over the body (GDI+
// into a bitmap), on a 400 x 300 window: a redraw from scratch, a mouse move
// while a stroke is drawn over the drawing, a typed key (the same frame asked
// for again), a committed figure (after a stroke of 240 moves across the
// window) and a scroll step of 20 pixels. Wall clock
// and the process's processor time, which a shared machine disturbs less.
// Usage: bench_scribble.exe [repeats per case]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>

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

// Milliseconds per repeat of `step`: wall clock and processor time.
void measure(const char* name, int figures, int erasers, int repeats, const std::function<void(int)>& step) {
    const Clock::time_point start = Clock::now();
    const double processor = processorMs();
    for (int i = 0; i < repeats; ++i) {
        step(i);
    }
    const double wall = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("%-12s %7d %7d  %9.3f %9.3f\n", name, figures, erasers, wall / repeats,
                (processorMs() - processor) / repeats);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int repeats = argc > 1 ? _wtoi(argv[1]) : 20;
    std::shared_ptr<GdiplusSession> session = GdiplusSession::start();
    if (!session) {
        std::printf("GDI+ did not start\n");
        return 1;
    }
    std::vector<unsigned char> pixels(400 * 300 * 4);
    const Viewport window{400, 300, 0, 0, 1};
    std::printf("case         figures erasers  ms (wall, processor)\n");
    for (int figures : {100, 1000}) {
        for (int erasers : {0, 10}) {
            Scribble scribble = sampleDrawing(figures, erasers);
            BitmapCanvas canvas(session);
            canvas.setFrame({pixels.data(), 400, 300});
            ScribbleView view;
            view.render(scribble, canvas, window); // geometry and brushes made
            measure("redraw", figures, erasers, repeats, [&](int) {
                view.invalidate();
                view.render(scribble, canvas, window);
            });
            measure("typed key", figures, erasers, repeats,
                    [&](int) { view.render(scribble, canvas, window); });
            // A wave of 3-pixel line across the window, a move every 1.5 pixels.
            view.keepCache(true);
            scribble.strokeWidth = 3;
            scribble.beginStroke({20, 150});
            view.render(scribble, canvas, window);
            measure("mouse move", figures, erasers, 240, [&](int i) {
                const float x = 20.0f + 1.5f * static_cast<float>(i);
                scribble.extendStroke({x, 150.0f + 60.0f * std::sin(x / 30.0f)}, false);
                view.render(scribble, canvas, window);
            });
            measure("commit", figures, erasers, repeats, [&](int i) {
                scribble.commitStroke(&canvas);
                view.render(scribble, canvas, window);
                scribble.beginStroke({60.0f + static_cast<float>(i), 200});
                scribble.extendStroke({120.0f + static_cast<float>(i), 220}, false);
            });
            scribble.cancelStroke();
            view.keepCache(false);
            Viewport scrolled = window;
            measure("scroll step", figures, erasers, repeats, [&](int) {
                scrolled.scrollY = scrolled.scrollY == 0 ? 20 : 0;
                view.render(scribble, canvas, scrolled);
            });
        }
    }
    return 0;
}
