#pragma once
// Shared by the tools that start the real program: its path and data folder
// from the command line, and one start of it.
#include <windows.h>

#include <cstdio>
#include <string>

namespace Brisvane::e2e {

// The folder of the program, ending in "\".
inline std::wstring folderOf(const std::wstring& program) {
    return program.substr(0, program.rfind(L'\\') + 1);
}

// Starts the program in its own folder; false (and a message) when it cannot.
inline bool launch(const std::wstring& program, PROCESS_INFORMATION& info) {
    STARTUPINFOW startup{sizeof startup};
    std::wstring command = L"\"" + program + L"\"";
    std::wstring folder = folderOf(program);
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
        std::printf("FAIL: cannot start the program\n");
        return false;
    }
    return true;
}

} // namespace Brisvane::e2e
