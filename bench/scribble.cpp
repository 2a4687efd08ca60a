// Cost of showing a sticky's drawing through the drawing interface (Cairo
// here), for growing numbers of figures and erasers: a redraw from scratch, a
// mouse move while a stroke is drawn over it, and a scroll step.
#include <benchmark/benchmark.h>

#include "CairoCanvas.h"
#include "SampleDrawing.h"
#include "scribble/Render.h"

using namespace Brisvane;

namespace {

const Viewport window{400, 300, 0, 0, 1};

void redraw(benchmark::State& state) {
    Scribble scribble = sampleDrawing(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    testing::CairoCanvas canvas(400, 300);
    ScribbleView view;
    view.render(scribble, canvas, window); // geometry and brushes cached
    for (auto _ : state) {
        view.invalidate();
        view.render(scribble, canvas, window);
    }
}

void strokeMove(benchmark::State& state) {
    Scribble scribble = sampleDrawing(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    testing::CairoCanvas canvas(400, 300);
    ScribbleView view;
    view.keepCache(true);
    scribble.beginStroke({50, 50});
    view.render(scribble, canvas, window);
    int step = 0;
    for (auto _ : state) {
        ++step;
        scribble.extendStroke({50.0f + static_cast<float>(step % 200), 50.0f + static_cast<float>(step % 7)},
                              false);
        view.render(scribble, canvas, window);
    }
}

void scrollStep(benchmark::State& state) {
    Scribble scribble = sampleDrawing(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    testing::CairoCanvas canvas(400, 300);
    ScribbleView view;
    Viewport viewport = window;
    view.render(scribble, canvas, viewport);
    for (auto _ : state) {
        viewport.scrollY = viewport.scrollY == 0 ? 20 : 0;
        view.render(scribble, canvas, viewport);
    }
}

} // namespace

BENCHMARK(redraw)->ArgsProduct({{100, 1000, 10000}, {0, 10, 100}})->Unit(benchmark::kMillisecond);
BENCHMARK(strokeMove)->ArgsProduct({{1000, 10000}, {10}})->Unit(benchmark::kMillisecond);
BENCHMARK(scrollStep)->ArgsProduct({{1000, 10000}, {10, 100}})->Unit(benchmark::kMillisecond);
