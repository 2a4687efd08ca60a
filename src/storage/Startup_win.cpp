#include "storage/Startup_win.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "storage/File_win.h"
#include "storage/Strings.h"

using Microsoft::WRL::ComPtr;

namespace Brisvane {

namespace {

// Runs `attempt` on the long-path form of the path, then on the path as given.
template <typename Attempt> bool withLongPath(const std::wstring& path, Attempt attempt) {
    return attempt(L"\\\\?\\" + path) || attempt(path);
}

ComPtr<IShellLinkW> newShellLink() {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) {
        return nullptr;
    }
    return link;
}

} // namespace

std::wstring startupShortcutPath() {
    PWSTR folder = nullptr;
    std::wstring path;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, 0, nullptr, &folder)) && folder != nullptr) {
        path = std::wstring(folder) + L"\\" + startupShortcutName;
    }
    CoTaskMemFree(folder);
    return path;
}

std::wstring startupTarget() {
    return dataFolder() + executableName;
}

bool isStartupRegistered() {
    std::wstring shortcut = startupShortcutPath();
    ComPtr<IShellLinkW> link = shortcut.empty() ? nullptr : newShellLink();
    ComPtr<IPersistFile> file;
    if (!link || FAILED(link.As(&file))) {
        return false;
    }
    bool loaded = withLongPath(
        shortcut, [&file](const std::wstring& p) { return SUCCEEDED(file->Load(p.c_str(), STGM_READ)); });
    wchar_t target[MAX_PATH] = {};
    if (!loaded || link->GetPath(target, MAX_PATH, nullptr, 0) != S_OK) {
        return false;
    }
    return equalsIgnoreCase(target, startupTarget());
}

void setStartupRegistered(bool registered) {
    std::wstring shortcut = startupShortcutPath();
    if (shortcut.empty()) {
        return;
    }
    if (!registered) {
        recycleTree(shortcut);
        return;
    }
    ComPtr<IShellLinkW> link = newShellLink();
    ComPtr<IPersistFile> file;
    if (!link || FAILED(link->SetPath(startupTarget().c_str())) || FAILED(link.As(&file))) {
        return;
    }
    withLongPath(shortcut, [&file](const std::wstring& p) { return SUCCEEDED(file->Save(p.c_str(), TRUE)); });
}

} // namespace Brisvane
