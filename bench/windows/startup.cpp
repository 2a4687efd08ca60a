// Start-up and shutdown figures of the application object with 10, 100 and 500
// stored stickies: time until every sticky is shown, and time of the shutdown save.
#include <chrono>
#include <cstdio>
#include <string>

#include <windows.h>

#include "app/TackaroonNotes_win.h"
#include "storage/File_win.h"
#include "storage/Guid.h"

using namespace Brisvane;
using Clock = std::chrono::steady_clock;

namespace {

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::wstring scratchFolder() {
    wchar_t base[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, base);
    return std::wstring(base, length) + L"tackaroon-bench-" + newGuidString() + L"\\";
}

void fillFolder(const std::wstring& folder, int notes) {
    writeUtf8TextFile(folder + L"settings.json", "{}");
    const std::string rtf =
        "{\\rtf1\\ansi Sticky text for the start-up figures, with some words in it.\\par}";
    for (int i = 0; i < notes; ++i) {
        std::wstring note = folder + L"notes\\" + newGuidString() + L"\\";
        int left = 20 + (i % 20) * 40, top = 20 + (i / 20 % 15) * 40;
        writeUtf8TextFile(note + L"note.json",
                          "{\"window\": {\"position\": {\"left\": " + std::to_string(left) +
                              ", \"top\": " + std::to_string(top) + ", \"width\": 240, \"height\": 300}}}");
        writeFileBytes(note + L"text.rtf", rtf);
    }
}

void measure(int notes) {
    std::wstring folder = scratchFolder();
    fillFolder(folder, notes);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    TackaroonNotes::registerMainWindowClass(instance);
    TackaroonNotes app(folder);
    app.createMainWindow(instance);

    Clock::time_point start = Clock::now();
    app.startUp();
    double startUp = millisecondsSince(start);

    start = Clock::now();
    DestroyWindow(app.mainWindow);
    double shutDown = millisecondsSince(start);

    std::printf("%4d stickies: start-up %8.1f ms (%6.2f ms per sticky), shutdown save %8.1f ms (%6.2f ms per "
                "sticky)\n",
                notes, startUp, startUp / notes, shutDown, shutDown / notes);
    std::fflush(stdout);
    recycleTree(folder.substr(0, folder.size() - 1));
}

} // namespace

int wmain() {
    for (int notes : {10, 100, 500}) {
        measure(notes);
    }
    return 0;
}
