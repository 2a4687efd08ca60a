#pragma once
// The drawing both redraw benchmarks measure: short free lines over a 400 x
// 1200 content, with erasers spread evenly among them (each crossing the content).
#include "scribble/Scribble.h"

namespace Brisvane {

inline Scribble sampleDrawing(int figures, int erasers) {
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

} // namespace Brisvane
