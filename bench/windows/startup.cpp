// Start-up and shutdown figures of the application object with 10, 100, 500 and
// 1000 stored stickies: time until every sticky is shown and painted, the time
// of each creation step, how long the program stays busy afterwards, the
// windows it holds, and the shutdown save. Beside each run a probe builds the
// same number of lean window sets with none of the program's logic, so the two
// are measured on the same machine at the same moment.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include "app/TackaroonNotes_win.h"
#include "storage/File_win.h"
#include "storage/Guid.h"

using namespace Brisvane;
using Clock = std::chrono::steady_clock;

namespace {

const std::string stickyRtf =
    "{\\rtf1\\ansi Sticky text for the start-up figures, with some words in it.\\par}";
constexpr int stickyWidth = 240, stickyHeight = 300;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::wstring scratchFolder() {
    wchar_t base[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, base);
    return std::wstring(base, length) + L"tackaroon-bench-" + newGuidString() + L"\\";
}

POINT placeOf(int i) {
    return {20 + (i % 20) * 40, 20 + (i / 20 % 15) * 40};
}

void fillFolder(const std::wstring& folder, int notes) {
    writeUtf8TextFile(folder + L"settings.json", "{}");
    for (int i = 0; i < notes; ++i) {
        std::wstring note = folder + L"notes\\" + newGuidString() + L"\\";
        POINT at = placeOf(i);
        writeUtf8TextFile(note + L"note.json",
                          "{\"window\": {\"position\": {\"left\": " + std::to_string(at.x) + ", \"top\": " +
                              std::to_string(at.y) + ", \"width\": " + std::to_string(stickyWidth) +
                              ", \"height\": " + std::to_string(stickyHeight) + "}}}");
        writeFileBytes(note + L"text.rtf", stickyRtf);
    }
}

BOOL CALLBACK countChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK countTopLevel(HWND window, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(window, countChild, count);
    return TRUE;
}

// Every window of this thread, top-level and child (Wine does not enforce the
// per-process quota, so it is counted here).
int threadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Paints whatever waits to be painted: a sticky counts as visible once painted.
void paintPending() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

struct Busy {
    double quietAfter = 0; // ms from the call until the last message that was not the idle poll
    int paints = 0, timers = 0, others = 0;
    UINT lastOther = 0; // the last message that was neither
};

// Delivers messages until nothing but the main window's full-screen poll has
// arrived for `quietWindow` ms (at most `limit` ms in all).
Busy runUntilQuiet(HWND mainWindow, double quietWindow, double limit) {
    Busy busy;
    Clock::time_point start = Clock::now();
    Clock::time_point lastBusy = start;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            bool idlePoll = message.message == WM_TIMER && message.hwnd == mainWindow &&
                            message.wParam == TIMER_FULLSCREEN;
            if (!idlePoll) {
                lastBusy = Clock::now();
                if (message.message == WM_PAINT) {
                    ++busy.paints;
                } else if (message.message == WM_TIMER) {
                    ++busy.timers;
                } else {
                    ++busy.others;
                    busy.lastOther = message.message;
                }
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (millisecondsSince(lastBusy) >= quietWindow || millisecondsSince(start) >= limit) {
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    busy.quietAfter = std::chrono::duration<double, std::milli>(lastBusy - start).count();
    return busy;
}

struct ProgramRun {
    double visible = 0, shutDown = 0;
    StartupSteps steps;
    Busy busy;
    int windows = 0;
};

ProgramRun measureProgram(int notes) {
    std::wstring folder = scratchFolder();
    fillFolder(folder, notes);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    TackaroonNotes::registerMainWindowClass(instance);
    ProgramRun run;
    {
        TackaroonNotes app(folder);
        app.createMainWindow(instance);
        const int before = threadWindows();

        Clock::time_point start = Clock::now();
        app.startUp();
        paintPending();
        run.visible = millisecondsSince(start);
        run.steps = app.startupSteps;
        run.windows = threadWindows() - before;
        run.busy = runUntilQuiet(app.mainWindow, 1000, 60000);

        start = Clock::now();
        DestroyWindow(app.mainWindow);
        run.shutDown = millisecondsSince(start);
    }
    recycleTree(folder.substr(0, folder.size() - 1));
    return run;
}

// The lean probe: one shared tooltip, and per sticky a layered top-level window
// and its five children (drawing layer, two buttons, title and body edits) made
// at their final rectangles, the edits set up and the body's text streamed in.
LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

struct RtfSource {
    const std::string* bytes;
    std::size_t at;
};

DWORD CALLBACK readRtf(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto* source = reinterpret_cast<RtfSource*>(cookie);
    std::size_t n =
        std::min<std::size_t>(static_cast<std::size_t>(wanted), source->bytes->size() - source->at);
    std::memcpy(buffer, source->bytes->data() + source->at, n);
    source->at += n;
    *given = static_cast<LONG>(n);
    return 0;
}

std::string fileBytes(const std::wstring& path) {
    std::string bytes;
    if (FILE* file = _wfopen(path.c_str(), L"rb")) {
        char chunk[4096];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
            bytes.append(chunk, n);
        }
        std::fclose(file);
    }
    return bytes;
}

double measureProbe(int notes, const std::wstring& rtfFile, int& windowsPerSticky) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    for (const wchar_t* name : {L"TackaroonProbeSticky", L"TackaroonProbeChild"}) {
        WNDCLASSEXW windowClass{sizeof windowClass};
        windowClass.lpfnWndProc = probeProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = name;
        RegisterClassExW(&windowClass);
    }
    const int before = threadWindows();
    std::vector<HWND> made;
    Clock::time_point start = Clock::now();
    HWND tooltip = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    for (int i = 0; i < notes; ++i) {
        POINT at = placeOf(i);
        HWND sticky =
            CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, L"TackaroonProbeSticky", L"", WS_POPUP, at.x,
                            at.y, stickyWidth, stickyHeight, nullptr, nullptr, instance, nullptr);
        SetLayeredWindowAttributes(sticky, 0, 255, LWA_ALPHA);
        auto child = [&](const wchar_t* className, DWORD style, int x, int y, int w, int h) {
            return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, x, y, w, h, sticky,
                                   nullptr, instance, nullptr);
        };
        HWND scribble = child(L"TackaroonProbeChild", 0, 2, 22, 236, 276);
        HWND buttons[2] = {child(L"TackaroonProbeChild", 0, 2, 2, 18, 18),
                           child(L"TackaroonProbeChild", 0, 220, 2, 18, 18)};
        HWND title = child(MSFTEDIT_CLASS, WS_CLIPSIBLINGS | ES_AUTOHSCROLL, 20, 2, 200, 18);
        SendMessageW(title, EM_SETBKGNDCOLOR, 0, RGB(240, 200, 80));
        SetWindowTextW(title, L"title");
        SendMessageW(title, EM_SETSEL, 0, -1);
        CHARFORMATW format{sizeof format};
        format.dwMask = CFM_SIZE | CFM_COLOR | CFM_FACE;
        format.yHeight = 18 * 9;
        lstrcpynW(format.szFaceName, L"メイリオ", LF_FACESIZE);
        SendMessageW(title, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        PARAFORMAT paragraph{sizeof paragraph};
        paragraph.dwMask = PFM_ALIGNMENT;
        paragraph.wAlignment = PFA_CENTER;
        SendMessageW(title, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
        SendMessageW(title, EM_SETSEL, 0, 0);
        SendMessageW(title, EM_SETREADONLY, TRUE, 0);
        SendMessageW(title, EM_SETEVENTMASK, 0, ENM_CHANGE);
        HWND body = child(MSFTEDIT_CLASS,
                          WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                              ES_NOHIDESEL | ES_WANTRETURN | ES_SAVESEL,
                          2, 22, 236, 276);
        SendMessageW(body, EM_SETBKGNDCOLOR, 0, RGB(248, 181, 0));
        SendMessageW(body, EM_SETTARGETDEVICE, 0, 0);
        SendMessageW(body, EM_AUTOURLDETECT, AURL_ENABLEURL, 0);
        SendMessageW(body, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SCROLL | ENM_SELCHANGE | ENM_REQUESTRESIZE);
        SendMessageW(body, EM_SETSEL, 0, -1);
        format.yHeight = 11 * 14;
        SendMessageW(body, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        SendMessageW(body, EM_SETSEL, 0, 0);
        SendMessageW(body, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(4, 4));
        std::string rtf = fileBytes(rtfFile);
        RtfSource source{&rtf, 0};
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, readRtf};
        SendMessageW(body, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        SetWindowPos(scribble, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        for (HWND tool : {title, buttons[0], buttons[1]}) {
            TOOLINFOW info{sizeof info};
            info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            info.hwnd = sticky;
            info.uId = reinterpret_cast<UINT_PTR>(tool);
            info.lpszText = LPSTR_TEXTCALLBACKW;
            SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        }
        ShowWindow(sticky, SW_SHOWNOACTIVATE);
        RedrawWindow(sticky, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        made.push_back(sticky);
    }
    paintPending();
    double visible = millisecondsSince(start);
    windowsPerSticky = notes > 0 ? (threadWindows() - before - 1) / notes : 0;
    for (HWND sticky : made) {
        DestroyWindow(sticky);
    }
    DestroyWindow(tooltip);
    return visible;
}

void report(int notes) {
    // The probe reads the same text file the program does. Probe and program
    // take turns, twice each, and the best run of each counts: on a shared
    // machine a change of load then rarely falls on one side only.
    std::wstring folder = scratchFolder();
    writeFileBytes(folder + L"text.rtf", stickyRtf);
    int probeWindows = 0;
    double probe = 0;
    ProgramRun run;
    for (int round = 0; round < 2; ++round) {
        double probeRun = measureProbe(notes, folder + L"text.rtf", probeWindows);
        ProgramRun programRun = measureProgram(notes);
        if (round == 0 || probeRun < probe) {
            probe = probeRun;
        }
        if (round == 0 || programRun.visible < run.visible) {
            run = programRun;
        }
    }
    recycleTree(folder.substr(0, folder.size() - 1));

    const double n = notes;
    std::printf("%4d stickies: visible after %8.1f ms = %6.2f ms per sticky; lean probe %6.2f ms per sticky "
                "(best of two each; ratio %.2f)\n",
                notes, run.visible, run.visible / n, probe / n, run.visible / probe);
    std::printf("      per sticky: windows %.2f ms, text %.2f ms, layout %.2f ms, show %.2f ms; first sticky "
                "shown at %.0f ms\n",
                run.steps.windows / n, run.steps.text / n, run.steps.layout / n, run.steps.show / n,
                run.steps.firstShown);
    std::printf("      quiet %.0f ms after start-up (%d WM_PAINT, %d WM_TIMER, %d other, the last 0x%04x); "
                "windows %d "
                "(%.2f per sticky, probe %d); shutdown save %.1f ms (%.2f ms per sticky)\n",
                run.busy.quietAfter, run.busy.paints, run.busy.timers, run.busy.others, run.busy.lastOther,
                run.windows, run.windows / n, probeWindows, run.shutDown, run.shutDown / n);
    std::fflush(stdout);
}

} // namespace

// Arguments bound the counts measured: `bench_startup 500 100` measures 100 and 500.
int wmain(int argc, wchar_t** argv) {
    const int largest = argc > 1 ? _wtoi(argv[1]) : 1000;
    const int smallest = argc > 2 ? _wtoi(argv[2]) : 0;
    // The pointer rests where no sticky goes, so no window under it keeps polling it.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    LoadLibraryW(L"Msftedit.dll");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    for (int notes : {10, 100, 500, 1000}) {
        if (notes >= smallest && notes <= largest) {
            report(notes);
        }
    }
    return 0;
}
