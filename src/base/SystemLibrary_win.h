#pragma once
// Libraries loaded by name come from the system folder only: the program's own
// folder is the data folder, which users keep in sync services, and a library
// of the same name placed there must never be run.
#include <windows.h>

namespace Brisvane {

inline HMODULE loadSystemLibrary(const wchar_t* name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace Brisvane
