// Close and session-end figures of the application object with 1000 stored
// stickies: files written and time taken, with nothing changed and with 10
// stickies typed into. Files written are counted from the data folder's
// last-write times, not from the program's own word.
// Given the program's path, it runs the real program instead, in a folder of
// its own (best in a virtual desktop with a notification area): the resident
// memory once every sticky shows, with one sticky and with all, and the time
// from the close request to the end of the process.
// Usage: bench_closing.exe [stickies] ["<program>"]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include "app/TackaroonNotes_win.h"
#include "note/Note_win.h"
#include "storage/File_win.h"
#include "storage/Guid.h"

using namespace Brisvane;
using Clock = std::chrono::steady_clock;

namespace {

using Times = std::map<std::wstring, ULONGLONG>;

void collect(const std::wstring& folder, Times& times) {
    WIN32_FIND_DATAW entry;
    UniqueFind find = findFirstFile(folder + L"*", entry);
    if (!find) {
        return;
    }
    do {
        std::wstring name = entry.cFileName;
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            times[folder + name] =
                (ULONGLONG(entry.ftLastWriteTime.dwHighDateTime) << 32) | entry.ftLastWriteTime.dwLowDateTime;
        } else if (name != L"." && name != L"..") {
            collect(folder + name + L"\\", times);
        }
    } while (findNextFile(find.get(), entry));
}

int writtenSince(const std::wstring& folder, const Times& before) {
    Times now;
    collect(folder, now);
    int written = 0;
    for (const auto& [file, time] : now) {
        auto it = before.find(file);
        written += it == before.end() || it->second != time;
    }
    return written;
}

struct Run {
    std::unique_ptr<TackaroonNotes> app;
    explicit Run(const std::wstring& folder) : app(std::make_unique<TackaroonNotes>(folder)) {
        app->createMainWindow(GetModuleHandleW(nullptr));
        app->startUp();
    }
};

void typeInto(TackaroonNotes& app, int count) {
    int typed = 0;
    for (Sticky* sticky : app.allStickies()) {
        if (typed++ == count) {
            break;
        }
        auto* note = static_cast<Note*>(sticky);
        // A new text each run: the same bytes again would rightly not be written.
        SetWindowTextW(note->bodyEdit,
                       (L"Typed before the close " + std::to_wstring(GetTickCount())).c_str());
        note->markChanged(SaveText);
    }
}

double measure(const std::wstring& folder, int changed, bool sessionEnd, int& written) {
    Run run(folder);
    typeInto(*run.app, changed);
    Times before;
    collect(folder, before);
    Sleep(20); // a write now shows as a new last-write time
    Clock::time_point start = Clock::now();
    if (sessionEnd) {
        // What the session end writes; the process ends after it.
        SendMessageW(run.app->mainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        SendMessageW(run.app->mainWindow, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    } else {
        DestroyWindow(run.app->mainWindow);
    }
    double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    written = writtenSince(folder, before);
    if (run.app->mainWindow) {
        DestroyWindow(run.app->mainWindow);
    }
    return ms;
}

std::wstring scratchFolder(const wchar_t* name) {
    wchar_t base[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, base);
    return std::wstring(base, length) + name + newGuidString() + L"\\";
}

void storeNotes(const std::wstring& folder, int notes) {
    writeUtf8TextFile(folder + L"settings.json", "{}");
    for (int i = 0; i < notes; ++i) {
        std::wstring note = folder + L"notes\\" + newGuidString() + L"\\";
        writeUtf8TextFile(note + L"note.json", "{\"title\": \"Sticky " + std::to_string(i) +
                                                   "\", \"window\": {\"position\": {\"left\": " +
                                                   std::to_string(20 + i % 20 * 40) + ", \"top\": 40}}}");
        writeFileBytes(note + L"text.rtf", "{\\rtf1\\ansi Sticky text with some words in it.\\par}");
    }
}

struct Windows {
    DWORD process = 0;
    HWND main = nullptr;
    int stickies = 0;
};

BOOL CALLBACK countWindow(HWND window, LPARAM parameter) {
    auto* found = reinterpret_cast<Windows*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    if (owner == found->process && GetClassNameW(window, name, 64)) {
        if (std::wstring(name) == L"TackaroonNotesMainWindowClass") {
            found->main = window;
        } else if (std::wstring(name) == L"TackaroonNotesWindowClass" && IsWindowVisible(window)) {
            ++found->stickies;
        }
    }
    return TRUE;
}

struct ProgramRun {
    bool shown = false, ended = false;
    double closeMs = 0, residentMb = 0;
    int written = 0;
};

// One start of the program with its stickies, a look at its memory once all
// show and the program has settled, then a close timed to the process's end.
ProgramRun runProgram(const std::wstring& folder, int notes) {
    ProgramRun run;
    const std::wstring exe = folder + L"Tackaroon notes.exe";
    std::wstring command = L"\"" + exe + L"\"";
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
        return run;
    }
    Windows found{info.dwProcessId};
    for (DWORD start = GetTickCount(); GetTickCount() - start < 600000; Sleep(200)) {
        found = Windows{info.dwProcessId};
        EnumWindows(countWindow, reinterpret_cast<LPARAM>(&found));
        if (found.main && found.stickies >= notes) {
            run.shown = true;
            break;
        }
    }
    Sleep(2000);
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory)) {
        run.residentMb = memory.WorkingSetSize / 1048576.0;
    }
    Times before;
    collect(folder, before);
    Sleep(20); // a write now shows as a new last-write time
    Clock::time_point start = Clock::now();
    PostMessageW(found.main, WM_CLOSE, 0, 0);
    run.ended = WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0;
    run.closeMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    run.written = writtenSince(folder, before);
    if (!run.ended) {
        TerminateProcess(info.hProcess, 9);
        WaitForSingleObject(info.hProcess, 10000);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return run;
}

int benchProgram(const std::wstring& program, int notes) {
    int failures = 0;
    double oneSticky = 0;
    for (int count : {1, notes}) {
        const std::wstring folder = scratchFolder(L"tackaroon-program-");
        storeNotes(folder, count);
        CopyFileW(program.c_str(), (folder + L"Tackaroon notes.exe").c_str(), FALSE);
        // The first close writes every file once in the program's own form.
        runProgram(folder, count);
        std::vector<double> closes;
        for (int i = 0; i < 3; ++i) {
            ProgramRun run = runProgram(folder, count);
            failures += run.shown && run.ended ? 0 : 1;
            closes.push_back(run.closeMs);
            std::printf(
                "program, %4d stickies: resident %6.1f MB; close to end %7.0f ms, %d files written%s\n",
                count, run.residentMb, run.closeMs, run.written,
                run.shown ? (run.ended ? "" : ", DID NOT END") : ", NOT ALL SHOWN");
            if (count == 1) {
                oneSticky = run.residentMb;
            } else if (i == 2 && notes > 1) {
                std::printf("resident memory per sticky: %.3f MB\n",
                            (run.residentMb - oneSticky) / (notes - 1));
            }
            std::fflush(stdout);
        }
        std::sort(closes.begin(), closes.end());
        std::printf("program, %4d stickies: close to end, median of 3: %.0f ms\n", count, closes[1]);
        recycleTree(folder.substr(0, folder.size() - 1));
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int notes = argc > 1 ? _wtoi(argv[1]) : 1000;
    if (argc > 2) {
        return benchProgram(argv[2], notes);
    }
    LoadLibraryW(L"Msftedit.dll");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    TackaroonNotes::registerMainWindowClass(GetModuleHandleW(nullptr));
    const std::wstring folder = scratchFolder(L"tackaroon-closing-");
    storeNotes(folder, notes);
    int written = 0;
    // The first close writes every file once in the program's own form.
    double first = measure(folder, 0, false, written);
    std::printf("%d stickies, first close after hand-made files: %d files written, %.0f ms\n", notes, written,
                first);
    for (int changed : {0, 10}) {
        for (bool sessionEnd : {false, true}) {
            double ms = measure(folder, changed, sessionEnd, written);
            std::printf("%d stickies, %2d changed, %-11s: %4d files written, %6.0f ms\n", notes, changed,
                        sessionEnd ? "session end" : "close", written, ms);
        }
    }
    std::fflush(stdout);
    recycleTree(folder.substr(0, folder.size() - 1));
    return 0;
}
