#include "storage/File_win.h"

#include <new>
#include <utility>
#include <vector>

#include <shellapi.h>

#include "storage/PathRoot.h"
#include "storage/Strings.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

std::wstring longPath(const std::wstring& path) {
    return longPathForm(path);
}

// Runs `attempt` on the long-path form, then once more on the path as given.
template <typename Attempt> auto withLongPathRetry(const std::wstring& path, Attempt attempt) {
    auto result = attempt(longPath(path));
    if (result) {
        return result;
    }
    return attempt(path);
}

DWORD fileAttributes(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(longPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES ? attributes : GetFileAttributesW(path.c_str());
}

ErrorCode ensureParentFolders(const std::wstring& path) {
    std::vector<std::wstring> pieces = splitAny(path, L"\\");
    // A drive, a share or a long-path root names no folder to create.
    const size_t root = rootPieceCount(pieces);
    std::wstring folder;
    for (size_t i = 0; i + 1 < pieces.size(); ++i) {
        folder += pieces[i];
        if (i >= root && !pieces[i].empty() && !pathExists(folder) && !createFolder(folder)) {
            return errorCannotMake;
        }
        folder += L'\\';
    }
    return errorSuccess;
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written != chunk) {
            return false;
        }
        bytes.remove_prefix(chunk);
    }
    return true;
}

} // namespace

std::wstring dataFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() >= 0x8000) {
            return {};
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

UniqueFile openFile(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
    return withLongPathRetry(path, [&](const std::wstring& p) {
        return UniqueFile(
            CreateFileW(p.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    });
}

UniqueFile openForReading(const std::wstring& path) {
    return openFile(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
}

bool pathExists(const std::wstring& path) {
    return fileAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool createFolder(const std::wstring& path) {
    return withLongPathRetry(path,
                             [](const std::wstring& p) { return CreateDirectoryW(p.c_str(), nullptr) != 0; });
}

UniqueFind findFirstFile(const std::wstring& pattern, WIN32_FIND_DATAW& entry) {
    return withLongPathRetry(
        pattern, [&](const std::wstring& p) { return UniqueFind(FindFirstFileW(p.c_str(), &entry)); });
}

bool findNextFile(HANDLE find, WIN32_FIND_DATAW& entry) {
    return FindNextFileW(find, &entry) != 0;
}

bool moveFile(const std::wstring& from, const std::wstring& to) {
    return withLongPathRetry(from,
                             [&](const std::wstring& p) { return MoveFileW(p.c_str(), to.c_str()) != 0; });
}

bool removeFolder(const std::wstring& path) {
    return withLongPathRetry(path, [](const std::wstring& p) { return RemoveDirectoryW(p.c_str()) != 0; });
}

bool deleteFile(const std::wstring& path) {
    return withLongPathRetry(path, [](const std::wstring& p) { return DeleteFileW(p.c_str()) != 0; });
}

bool removeFolderTree(const std::wstring& path) {
    WIN32_FIND_DATAW entry;
    std::vector<std::pair<std::wstring, DWORD>> children;
    if (UniqueFind find = findFirstFile(path + L"\\*", entry)) {
        do {
            std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") {
                children.emplace_back(path + L"\\" + name, entry.dwFileAttributes);
            }
        } while (findNextFile(find.get(), entry));
    }
    for (const auto& [child, attributes] : children) {
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            SetFileAttributesW(longPath(child).c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
        }
        // A link to a folder elsewhere goes as a link; what it points to stays.
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            removeFolderTree(child);
        } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            removeFolder(child);
        } else {
            deleteFile(child);
        }
    }
    return removeFolder(path);
}

bool isFile(const std::wstring& path) {
    DWORD attributes = fileAttributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool recycleTree(const std::wstring& path) {
    return withLongPathRetry(path, [](const std::wstring& p) {
        std::wstring list = p;
        list.append(2, L'\0'); // the shell reads a list of paths ended by an empty one
        SHFILEOPSTRUCTW operation{};
        operation.wFunc = FO_DELETE;
        operation.pFrom = list.c_str();
        operation.fFlags =
            FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI;
        return SHFileOperationW(&operation) == 0;
    });
}

TextRead readTextFile(HANDLE file, std::wstring& text) {
    text.clear();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > maxStoredTextBytes) {
        return {errorReadFault, false};
    }
    if (size.QuadPart == 0) {
        return {};
    }
    // Memory running out must not end the program: the file counts as not read.
    try {
        std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
            return {GetLastError(), false};
        }
        bytes.resize(read);
        return decodeTextFile(bytes, text);
    } catch (const std::bad_alloc&) {
        text.clear();
        return {ERROR_NOT_ENOUGH_MEMORY, false};
    }
}

TextRead readTextFileAt(const std::wstring& path, std::wstring& text) {
    text.clear();
    UniqueFile file = openForReading(path);
    if (!file) {
        ErrorCode error = GetLastError();
        return {error ? error : ERROR_FILE_NOT_FOUND, false};
    }
    return readTextFile(file.get(), text);
}

ErrorCode writeTextFile(const std::wstring& path, std::wstring_view text) {
    return writeFileBytes(path, encodeTextFile(text));
}

ErrorCode writeUtf8TextFile(const std::wstring& path, std::string_view utf8) {
    return writeFileBytes(path, utf8TextFileBytes(utf8));
}

std::string utf8TextFileBytes(std::string_view utf8) {
    std::string bytes = "\xEF\xBB\xBF";
    bytes += utf8;
    return bytes;
}

ErrorCode writeFileBytes(const std::wstring& path, std::string_view bytes) {
    if (ErrorCode error = ensureParentFolders(path)) {
        return error;
    }
    // Replacing by a move would pass over a read-only mark that an in-place
    // write has to respect, and some file systems let such a move through.
    DWORD attributes = fileAttributes(path);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        return ERROR_ACCESS_DENIED;
    }
    const std::wstring temporary = path + L".saving";
    {
        UniqueFile file = openFile(temporary, GENERIC_WRITE, 0, CREATE_ALWAYS);
        if (!file) {
            ErrorCode error = GetLastError();
            return error ? error : errorWriteFault;
        }
        if (!writeAll(file.get(), bytes) || !FlushFileBuffers(file.get())) {
            file.reset();
            deleteFile(temporary);
            return errorWriteFault;
        }
    }
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (!MoveFileExW(longPath(temporary).c_str(), longPath(path).c_str(), flags) &&
        !MoveFileExW(temporary.c_str(), path.c_str(), flags)) {
        ErrorCode error = GetLastError();
        deleteFile(temporary);
        return error ? error : errorWriteFault;
    }
    return errorSuccess;
}

} // namespace Brisvane
