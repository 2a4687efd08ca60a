#include "storage/KeptCopy_win.h"

#include <algorithm>

#include "storage/DiskState_win.h"
#include "storage/File_win.h"
#include "storage/PathRoot.h"

namespace Brisvane {

namespace {

constexpr std::wstring_view temporarySuffix = L".saving";

bool sameBytes(const std::wstring& a, const std::wstring& b) {
    std::string first, second;
    FileStamp stamp;
    return readBytesAt(a, first, stamp) == errorSuccess && readBytesAt(b, second, stamp) == errorSuccess &&
           first == second;
}

bool copyNew(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(longPathForm(from).c_str(), longPathForm(to).c_str(), TRUE) ||
           CopyFileW(from.c_str(), to.c_str(), TRUE);
}

// Never over an existing copy: it holds the bytes of an earlier incident. A
// copy of these very bytes is there already; other bytes get a numbered sibling.
bool copyOnce(const std::wstring& from, const std::wstring& to) {
    for (int n = 1; n < 1000; ++n) {
        const std::wstring copy = n == 1 ? to : to + L"-" + std::to_wstring(n);
        if (copyNew(from, copy)) {
            return true;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return false;
        }
        if (sameBytes(from, copy)) {
            return true;
        }
    }
    return false;
}

} // namespace

void KeptCopies::remember(const std::wstring& path) {
    if (!remembered(path)) {
        unread_.push_back(path);
    }
}

bool KeptCopies::remembered(const std::wstring& path) const {
    return std::find(unread_.begin(), unread_.end(), path) != unread_.end();
}

bool KeptCopies::beforeWrite(const std::wstring& path) {
    auto it = std::find(unread_.begin(), unread_.end(), path);
    if (it == unread_.end()) {
        return true;
    }
    if (!copyOnce(path, path + keptCopySuffix) && pathExists(path)) {
        return false;
    }
    unread_.erase(it);
    return true;
}

void removeLeftoverTemporaries(const std::wstring& folder) {
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'\\') {
        base += L'\\';
    }
    WIN32_FIND_DATAW entry;
    UniqueFind find = findFirstFile(base + L"*" + std::wstring(temporarySuffix), entry);
    if (!find) {
        return;
    }
    std::vector<std::wstring> names;
    do {
        std::wstring name = entry.cFileName;
        // The pattern also matches longer extensions on some file systems.
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() > temporarySuffix.size() &&
            std::wstring_view(name).substr(name.size() - temporarySuffix.size()) == temporarySuffix) {
            names.push_back(std::move(name));
        }
    } while (findNextFile(find.get(), entry));
    find.reset();
    for (const std::wstring& name : names) {
        std::wstring real = base + name.substr(0, name.size() - temporarySuffix.size());
        if (isFile(real)) {
            deleteFile(base + name);
        }
    }
}

} // namespace Brisvane
