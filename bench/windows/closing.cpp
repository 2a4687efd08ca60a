// Close and session-end figures of the application object with 1000 stored
// stickies: files written and time taken, with nothing changed and with 10
// stickies typed into. Files written are counted from the data folder's
// last-write times, not from the program's own word.
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

#include <windows.h>

#include <commctrl.h>

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

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int notes = argc > 1 ? _wtoi(argv[1]) : 1000;
    LoadLibraryW(L"Msftedit.dll");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    TackaroonNotes::registerMainWindowClass(GetModuleHandleW(nullptr));
    wchar_t base[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH + 1, base);
    const std::wstring folder = std::wstring(base, length) + L"tackaroon-closing-" + newGuidString() + L"\\";
    writeUtf8TextFile(folder + L"settings.json", "{}");
    for (int i = 0; i < notes; ++i) {
        std::wstring note = folder + L"notes\\" + newGuidString() + L"\\";
        writeUtf8TextFile(note + L"note.json", "{\"title\": \"Sticky " + std::to_string(i) +
                                                   "\", \"window\": {\"position\": {\"left\": " +
                                                   std::to_string(20 + i % 20 * 40) + ", \"top\": 40}}}");
        writeFileBytes(note + L"text.rtf", "{\\rtf1\\ansi Sticky text with some words in it.\\par}");
    }
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
