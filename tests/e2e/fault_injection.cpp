// Hard kills at random moments: starts the program on a prepared data folder,
// types into its stickies and moves them so that auto-save writes again and
// again, kills the process without warning (while it starts, while it saves,
// while it shuts down), and checks every file after each kill: settings.json
// and each note.json parse, each text.rtf is complete RTF, no file had to be
// kept as unreadable, and the next start opens every sticky. The last start
// also meets a second launch, which must end at once, and shows the stickies
// for a screenshot (it writes "shown.txt" and waits).
// Usage: fault_injection.exe "<program>" <kills> <seed>
#include <windows.h>

#include "Launch.h"

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "storage/File_win.h"
#include "storage/Json.h"
#include "storage/RtfCheck.h"
#include "storage/TextCodec.h"

using namespace Brisvane;

namespace {

struct Found {
    DWORD process;
    std::vector<HWND> stickies;
    HWND main = nullptr;
};

BOOL CALLBACK collect(HWND window, LPARAM parameter) {
    auto* found = reinterpret_cast<Found*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != found->process) {
        return TRUE;
    }
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) == L"TackaroonNotesWindowClass" && IsWindowVisible(window)) {
        found->stickies.push_back(window);
    } else if (std::wstring(name) == L"TackaroonNotesMainWindowClass") {
        found->main = window;
    }
    return TRUE;
}

Found windowsOf(DWORD process) {
    Found found{process, {}, nullptr};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND bodyOf(HWND sticky) {
    HWND child = nullptr;
    while ((child = FindWindowExW(sticky, child, L"RICHEDIT50W", nullptr)) != nullptr) {
        if (GetDlgCtrlID(child) == 6) { // the body's control id
            return child;
        }
    }
    return nullptr;
}

std::vector<std::wstring> noteFolders(const std::wstring& data) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((data + L"notes\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::wstring name = entry.cFileName;
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

bool parsesAsObject(const std::wstring& path) {
    std::wstring text;
    return readTextFileAt(path, text) == errorSuccess && parseJson(wideToUtf8(text)).is_object();
}

std::string bytesOf(const std::wstring& path) {
    std::string bytes;
    UniqueFile file = openForReading(path);
    LARGE_INTEGER size{};
    if (file && GetFileSizeEx(file.get(), &size)) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
        bytes.resize(read);
    }
    return bytes;
}

struct Tally {
    int files = 0;
    int failures = 0;
    void check(bool good, const std::wstring& what) {
        ++files;
        if (!good) {
            ++failures;
            std::printf("FAIL: %ls\n", what.c_str());
        }
    }
};

void checkFiles(const std::wstring& data, std::size_t notes, Tally& tally) {
    tally.check(parsesAsObject(data + L"settings.json"), L"settings.json does not parse");
    tally.check(!isFile(data + L"settings.json.unreadable"), L"settings.json had to be kept as unreadable");
    std::vector<std::wstring> names = noteFolders(data);
    tally.check(names.size() == notes, L"a note folder went missing");
    for (const std::wstring& name : names) {
        std::wstring folder = data + L"notes\\" + name + L"\\";
        tally.check(parsesAsObject(folder + L"note.json"), name + L"\\note.json does not parse");
        tally.check(isCompleteRtf(bytesOf(folder + L"text.rtf")), name + L"\\text.rtf is not complete RTF");
        tally.check(!isFile(folder + L"note.json.unreadable") && !isFile(folder + L"text.rtf.unreadable"),
                    name + L" had a file kept as unreadable");
    }
}

// Waits until every sticky shows; false after 20 s.
bool waitForStickies(DWORD process, std::size_t notes) {
    for (int i = 0; i < 400; ++i) {
        if (windowsOf(process).stickies.size() >= notes) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

// Typing in bursts, so that auto-save (one second after the last change) writes
// between them, and an occasional move.
void work(DWORD process, DWORD milliseconds, std::mt19937& random) {
    DWORD end = GetTickCount() + milliseconds;
    while (static_cast<LONG>(GetTickCount() - end) < 0) {
        Found found = windowsOf(process);
        if (found.stickies.empty()) {
            return;
        }
        for (int k = 0; k < 4; ++k) {
            HWND sticky = found.stickies[random() % found.stickies.size()];
            if (HWND body = bodyOf(sticky)) {
                for (char c : std::string("typed ")) {
                    PostMessageW(body, WM_CHAR, static_cast<WPARAM>(c), 1);
                }
            }
            if (random() % 4 == 0) {
                RECT r{};
                GetWindowRect(sticky, &r);
                SetWindowPos(sticky, nullptr, r.left + static_cast<int>(random() % 7) - 3, r.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
        Sleep(700 + random() % 700);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::printf("usage: fault_injection <program> <kills> <seed>\n");
        return 2;
    }
    std::wstring program = argv[1];
    int kills = _wtoi(argv[2]);
    std::mt19937 random(static_cast<unsigned>(_wtoi(argv[3])));
    std::wstring data = e2e::folderOf(program);
    const std::size_t notes = noteFolders(data).size();
    Tally tally;
    for (int round = 0; round <= kills; ++round) {
        PROCESS_INFORMATION info{};
        if (!e2e::launch(program, info)) {
            return 2;
        }
        int moment = static_cast<int>(random() % 10);
        if (round < kills && moment < 2) {
            Sleep(random() % 1500); // while it starts
        } else {
            tally.check(waitForStickies(info.dwProcessId, notes), L"the start did not open every sticky");
            if (round == kills) {
                // The last start shows that every sticky opens, meets a second
                // launch, shows itself for a screenshot and closes normally.
                PROCESS_INFORMATION second{};
                tally.check(e2e::launch(program, second) && WaitForSingleObject(second.hProcess, 20000) == 0,
                            L"a second launch ran on");
                TerminateProcess(second.hProcess, 9);
                CloseHandle(second.hThread);
                CloseHandle(second.hProcess);
                writeFileBytes(data + L"shown.txt", "shown");
                Sleep(4000);
                PostMessageW(windowsOf(info.dwProcessId).main, WM_CLOSE, 0, 0);
                tally.check(WaitForSingleObject(info.hProcess, 30000) == WAIT_OBJECT_0,
                            L"the program did not close");
            } else {
                work(info.dwProcessId, 300 + random() % 3500, random);
                if (moment < 4) {
                    // While it shuts down and writes everything.
                    PostMessageW(windowsOf(info.dwProcessId).main, WM_CLOSE, 0, 0);
                    Sleep(random() % 300);
                }
            }
        }
        TerminateProcess(info.hProcess, 9);
        WaitForSingleObject(info.hProcess, 10000);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        checkFiles(data, notes, tally);
    }
    std::printf("kills: %d, files checked: %d, failures: %d\n", kills, tally.files, tally.failures);
    return tally.failures == 0 ? 0 : 1;
}
