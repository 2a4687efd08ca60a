// Keeps a file open for SECONDS, shared with nobody, as a virus scanner or a
// backup tool does with a file that has just arrived. A sync service that
// replaces the file puts a new one under its name: that one is held as soon
// as it shows, and the old one let go. Prints "holding" once the first is
// held and, at the end, how many versions it held; ends 2 when it held none.
// Usage: hold_file.exe PATH SECONDS
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 1;
    }
    const wchar_t* path = argv[1];
    const DWORD until = GetTickCount() + static_cast<DWORD>(wcstoul(argv[2], nullptr, 10) * 1000);
    HANDLE held = INVALID_HANDLE_VALUE;
    int versions = 0;
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
        // While the held file is the one under the name this open meets its
        // own lock; it succeeds once another file has taken the name.
        HANDLE now =
            CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (now != INVALID_HANDLE_VALUE) {
            if (held != INVALID_HANDLE_VALUE) {
                CloseHandle(held);
            }
            held = now;
            if (++versions == 1) {
                std::printf("holding\n");
                std::fflush(stdout);
            }
        }
        Sleep(2);
    }
    if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(held);
    }
    std::printf("held %d versions\n", versions);
    return versions > 0 ? 0 : 2;
}
