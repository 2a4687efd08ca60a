// Cost of redrawing a sticky's drawing through the drawing interface (Cairo
// here), for growing numbers of figures and erasers, and of rebuilding the
// erase masks when the body scrolls. Counters are per figure.
#include <benchmark/benchmark.h>

#include "CairoCanvas.h"
#include "scribble/Render.h"

using namespace Brisvane;

namespace {

// Short free lines over a 400 x 1200 content, with erasers spread evenly among
// them (each crossing the content).
Scribble sampleDrawing(int figures, int erasers) {
    Scribble scribble;
    const int every = erasers > 0 ? figures / erasers : figures + 1;
    for (int i = 0; i < figures; ++i) {
        Figure figure;
        const float x = static_cast<float>((i * 37) % 380), y = static_cast<float>((i * 53) % 1180);
        figure.points = {{x, y}, {x + 8, y + 5}, {x + 15, y + 2}, {x + 20, y + 12}};
        figure.strokeWidth = 2;
        scribble.addFigure(std::move(figure));
        if (i % every == every - 1) {
            Figure eraser;
            eraser.points = {{0, y}, {400, y + 30}};
            eraser.strokeWidth = 6;
            eraser.eraser = true;
            scribble.addFigure(std::move(eraser));
        }
    }
    return scribble;
}

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
