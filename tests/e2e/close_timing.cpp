// Closes the program through its main window and times how long it takes to
// end: "start" posts WM_CLOSE the moment the main window can be found (a user
// quitting at once, a session ending while the program starts), "ready" once
// every sticky shows. Prints each run and the distribution; fails when a run
// does not end within 20 s or leaves settings.json unwritten.
// Usage: close_timing.exe "<program>" <runs> start|ready
#include <windows.h>

#include "Launch.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace Brisvane;

namespace {

struct Search {
    DWORD process;
    HWND main = nullptr;
    bool stickyShown = false;
};

BOOL CALLBACK look(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (std::wstring(name) == L"TackaroonNotesMainWindowClass") {
            search->main = window;
        } else if (std::wstring(name) == L"TackaroonNotesWindowClass" && IsWindowVisible(window)) {
            search->stickyShown = true;
        }
    }
    return TRUE;
}

FILETIME writeTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::printf("usage: close_timing <program> <runs> start|ready\n");
        return 2;
    }
    std::wstring program = argv[1];
    int runs = _wtoi(argv[2]);
    bool atStart = std::wstring(argv[3]) == L"start";
    std::wstring data = e2e::folderOf(program);
    std::vector<double> times;
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        FILETIME before = writeTime(data + L"settings.json");
        PROCESS_INFORMATION info{};
        if (!e2e::launch(program, info)) {
            return 2;
        }
        Search search{info.dwProcessId};
        DWORD waitedFor = GetTickCount();
        while (GetTickCount() - waitedFor < 20000) {
            search.main = nullptr;
            EnumWindows(look, reinterpret_cast<LPARAM>(&search));
            if (search.main && (atStart || search.stickyShown)) {
                break;
            }
            Sleep(atStart ? 0 : 20);
        }
        LARGE_INTEGER frequency, posted, ended;
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&posted);
        PostMessageW(search.main, WM_CLOSE, 0, 0);
        bool closed = search.main && WaitForSingleObject(info.hProcess, 20000) == WAIT_OBJECT_0;
        QueryPerformanceCounter(&ended);
        double ms = 1000.0 * static_cast<double>(ended.QuadPart - posted.QuadPart) / frequency.QuadPart;
        FILETIME after = writeTime(data + L"settings.json");
        bool written = CompareFileTime(&before, &after) != 0;
        if (!closed) {
            TerminateProcess(info.hProcess, 9);
            WaitForSingleObject(info.hProcess, 10000);
        }
        std::printf("run %2d: %s in %8.1f ms%s\n", run + 1, closed ? "ended" : "DID NOT END", ms,
                    written ? "" : ", settings.json not written");
        failures += closed && written ? 0 : 1;
        if (closed) {
            times.push_back(ms);
        }
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    std::sort(times.begin(), times.end());
    if (!times.empty()) {
        auto at = [&](double q) { return times[static_cast<size_t>(q * (times.size() - 1) + 0.5)]; };
        std::printf("close after %s, %zu runs: min %.1f, median %.1f, p90 %.1f, max %.1f ms\n",
                    atStart ? "start" : "ready", times.size(), times.front(), at(0.5), at(0.9), times.back());
    }
    std::printf("failures: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
