// Cost of one WM_MOVING step: every sticky is walked, and for each the chain of
// links is followed. With the program's limit of 1000 stickies, all stuck in
// one long chain (the worst case), a step has to stay well below one frame.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "note/Magnet.h"

using namespace Brisvane;

namespace {

std::vector<MagnetNote> stickies(int count, bool chained) {
    std::vector<MagnetNote> notes;
    for (int i = 0; i < count; ++i) {
        Rect r = rectFromSize(20 * (i % 50), 30 * (i / 50), 200, 150);
        notes.push_back({L"guid-" + std::to_wstring(i), true,
                         chained && i > 0 ? L"guid-" + std::to_wstring(i - 1) : std::wstring(), r, r});
    }
    return notes;
}

void dragStep(benchmark::State& state, bool chained) {
    std::vector<MagnetNote> notes = stickies(static_cast<int>(state.range(0)), chained);
    const Rect work{0, 0, 1920, 1040};
    for (auto _ : state) {
        MagnetOutcome out = snapMove(notes, 0, rectFromSize(7, 9, 200, 150), 7, 9, work, MagnetDistances{});
        benchmark::DoNotOptimize(out);
    }
}

void BM_MagnetStepUnlinked(benchmark::State& state) {
    dragStep(state, false);
}
void BM_MagnetStepOneChain(benchmark::State& state) {
    dragStep(state, true);
}

} // namespace

BENCHMARK(BM_MagnetStepUnlinked)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MagnetStepOneChain)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
