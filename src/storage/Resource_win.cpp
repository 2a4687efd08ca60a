#include "storage/Resource_win.h"

#include <windows.h>

#include "storage/Language.h"

namespace Brisvane {

std::string loadJsonResource(int id) {
    // The module of the executable, not of a DLL: the tables are linked into the program.
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), L"JSON");
    if (info == nullptr) {
        return {};
    }
    HGLOBAL handle = LoadResource(module, info);
    if (handle == nullptr) {
        return {};
    }
    const void* data = LockResource(handle);
    DWORD size = SizeofResource(module, info);
    if (data == nullptr || size == 0) {
        return {};
    }
    return std::string(static_cast<const char*>(data), size);
}

Json loadLanguageTableResource() {
    Json table = loadResourceTable(loadJsonResource(resourceLanguageTable));
    completeLanguageTable(table);
    return table;
}

Json loadPaletteResource() {
    Json palette = loadResourceTable(loadJsonResource(resourcePalette));
    completePalette(palette);
    return palette;
}

} // namespace Brisvane
