// Start-up with earlier versions: 1000 stored stickies with no versions and
// with 50 versions each. Start-up (until every sticky is shown and painted)
// must not look at the history; the thinning pass that follows runs in
// slices, whose total and longest one are printed too.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <windows.h>

#include "app/TackaroonNotes_win.h"
#include "storage/File_win.h"
#include "storage/Guid.h"
#include "storage/History_win.h"

using namespace Brisvane;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int notes = 1000;
constexpr int runs = 3;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::wstring fillFolder(int versions) {
    wchar_t base[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, base);
    const std::wstring folder = std::wstring(base, length) + L"tackaroon-history-" + newGuidString() + L"\\";
    writeUtf8TextFile(folder + L"settings.json", "{}");
    const std::uint64_t now = utcMillisecondsNow();
    for (int i = 0; i < notes; ++i) {
        const std::wstring guid = newGuidString();
        const std::string json =
            "{\"window\": {\"position\": {\"left\": " + std::to_string(20 + i % 20 * 40) +
            ", \"top\": " + std::to_string(20 + i / 20 % 15 * 40) + ", \"width\": 240, \"height\": 300}}}";
        writeUtf8TextFile(folder + L"notes\\" + guid + L"\\note.json", json);
        writeFileBytes(folder + L"notes\\" + guid + L"\\text.rtf", "{\\rtf1\\ansi Sticky text\\par}");
        for (int v = 0; v < versions; ++v) {
            // Spread over a year, as a long-used note's history is.
            const std::wstring entry = historyFolder(folder, guid) +
                                       versionEntryName(now - v * 7 * millisecondsPerDay, L"BENCH") + L"\\";
            writeFileBytes(entry + L"note.json", json);
            writeFileBytes(entry + L"text.rtf", "{\\rtf1\\ansi Version " + std::to_string(v) + "\\par}");
        }
    }
    return folder;
}

struct Run {
    double visible = 0, thinning = 0, longestSlice = 0;
};

Run measure(const std::wstring& folder) {
    Run run;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    TackaroonNotes app(folder);
    app.createMainWindow(instance);
    Clock::time_point start = Clock::now();
    app.startUp();
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
    run.visible = millisecondsSince(start);
    // The pass the timer would run later, slice by slice.
    for (;;) {
        start = Clock::now();
        const bool more = app.stepHistoryThinning();
        const double slice = millisecondsSince(start);
        run.thinning += slice;
        run.longestSlice = std::max(run.longestSlice, slice);
        if (!more) {
            break;
        }
    }
    DestroyWindow(app.mainWindow);
    return run;
}

} // namespace

int wmain() {
    TackaroonNotes::registerMainWindowClass(GetModuleHandleW(nullptr));
    const std::wstring none = fillFolder(0);
    const std::wstring many = fillFolder(50);
    std::vector<double> plain, withHistory;
    Run last;
    for (int i = 0; i < runs; ++i) {
        plain.push_back(measure(none).visible);
        last = measure(many);
        withHistory.push_back(last.visible);
    }
    std::sort(plain.begin(), plain.end());
    std::sort(withHistory.begin(), withHistory.end());
    const double a = plain[runs / 2], b = withHistory[runs / 2];
    std::printf("start-up, %d stickies: no versions %.0f ms, 50 versions each %.0f ms (%+.1f %%)\n", notes, a,
                b, (b - a) * 100 / a);
    std::printf("thinning pass over %d versions: %.0f ms in slices of at most %.1f ms\n", notes * 50,
                last.thinning, last.longestSlice);
    recycleTree(none.substr(0, none.size() - 1));
    recycleTree(many.substr(0, many.size() - 1));
    return b <= a * 1.05 ? 0 : 1;
}
