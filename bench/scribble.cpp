// Cost of redrawing a sticky's drawing through the drawing interface (Cairo
// here), for growing numbers of figures and erasers, and of rebuilding the
// erase masks when the body scrolls. Counters are per figure.
#include <benchmark/benchmark.h>

#include "CairoCanvas.h"
#include "SampleDrawing.h"
#include "scribble/Render.h"

using namespace Brisvane;

namespace {

const RectF bounds{0, 0, 400, 1200};

void redraw(benchmark::State& state) {
    const int figures = static_cast<int>(state.range(0));
    Scribble scribble = sampleDrawing(figures, static_cast<int>(state.range(1)));
    testing::CairoCanvas canvas(400, 300);
    rebuildEraseMasks(scribble, canvas, bounds);
    renderScribble(scribble, canvas, bounds, 0, 0); // geometry and brushes cached
    for (auto _ : state) {
        renderScribble(scribble, canvas, bounds, 0, 0);
    }
    state.counters["per_figure"] =
        benchmark::Counter(static_cast<double>(figures),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void scrollMasks(benchmark::State& state) {
    const int figures = static_cast<int>(state.range(0));
    Scribble scribble = sampleDrawing(figures, static_cast<int>(state.range(1)));
    testing::CairoCanvas canvas(400, 300);
    renderScribble(scribble, canvas, bounds, 0, 0);
    int scroll = 0;
    for (auto _ : state) {
        scroll = scroll == 0 ? 20 : 0;
        scribble.offsetX = scroll; // a changed offset rebuilds the masks only
        rebuildEraseMasks(scribble, canvas, bounds);
    }
    state.counters["per_figure"] =
        benchmark::Counter(static_cast<double>(figures),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(redraw)->ArgsProduct({{100, 1000, 10000}, {0, 10, 100}})->Unit(benchmark::kMillisecond);
BENCHMARK(scrollMasks)->ArgsProduct({{100, 1000, 10000}, {10, 100}})->Unit(benchmark::kMillisecond);
