// Loading large text.rtf files into a sticky body: time and memory for growing
// sizes, and the time spent reading the file (ours) beside the whole load
// (the rest is the edit control's). Usage: bench_bodyload.exe [largest MiB]
#include <chrono>
#include <cstdio>
#include <string>

#include <windows.h>

#include <psapi.h>

#include "note/BodyFile_win.h"
#include "note/RichEdit_win.h"
#include "storage/File_win.h"
#include "storage/Guid.h"

using namespace Brisvane;
using Clock = std::chrono::steady_clock;

namespace {

std::string rtfOfSize(std::size_t bytes) {
    std::string rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\n";
    for (int line = 0; rtf.size() < bytes; ++line) {
        rtf += "Line " + std::to_string(line) + " of a long sticky, with {\\b bold} words in it.\\par\n";
    }
    return rtf + "}";
}

double workingSetMiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    loadRichEditLibrary();
    int largest = argc > 1 ? _wtoi(argv[1]) : 4;
    wchar_t base[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, base);
    std::wstring path = std::wstring(base, length) + L"tackaroon-bodyload-" + newGuidString() + L".rtf";
    for (int kib = 256; kib <= largest * 1024; kib *= 2) {
        writeFileBytes(path, rtfOfSize(static_cast<std::size_t>(kib) * 1024));
        HWND body = CreateWindowExW(0, MSFTEDIT_CLASS, L"",
                                    WS_POPUP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_SAVESEL, 0, 0,
                                    240, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        setUpBody(body, true, true, 0xFFFFFF);
        // What is ours: reading the file whole, as the loader does first.
        Clock::time_point start = Clock::now();
        std::string bytes;
        {
            UniqueFile file = openForReading(path);
            bytes.resize(static_cast<std::size_t>(kib) * 1024 + 4096);
            DWORD read = 0;
            ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        }
        double reading = std::chrono::duration<double>(Clock::now() - start).count();
        start = Clock::now();
        BodyLoad result = loadBodyFile(body, path);
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("%6d KiB: %s in %8.3f s (reading the file %.4f s), %d characters, peak working set %7.1f "
                    "MiB\n",
                    kib, result == BodyLoad::Loaded ? "loaded" : "NOT loaded", seconds, reading,
                    GetWindowTextLengthW(body), workingSetMiB());
        DestroyWindow(body);
    }
    DeleteFileW(path.c_str());
    return 0;
}
