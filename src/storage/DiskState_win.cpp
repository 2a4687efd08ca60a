#include "storage/DiskState_win.h"

#include <algorithm>
#include <new>

#include "storage/OutsideChange.h"
#include "storage/PathRoot.h"
#include "storage/RtfCheck.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

std::uint64_t fileTimeValue(const FILETIME& time) {
    return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The largest file the program reads to compare: a body may be this large.
constexpr std::uint64_t largestReadBytes = std::max<std::uint64_t>(maxBodyFileBytes, maxStoredTextBytes);

bool copyNew(const std::wstring& from, const std::wstring& to) {
    return CopyFileW(longPathForm(from).c_str(), longPathForm(to).c_str(), TRUE) ||
           CopyFileW(from.c_str(), to.c_str(), TRUE);
}

} // namespace

FileStamp stampOnDisk(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(longPathForm(path).c_str(), GetFileExInfoStandard, &data) &&
        !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return {};
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        return {};
    }
    FileStamp stamp;
    stamp.present = true;
    stamp.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.writeTime = fileTimeValue(data.ftLastWriteTime);
    return stamp;
}

std::uint64_t lastWriteTimeOf(HANDLE file) {
    FILETIME written{};
    return GetFileTime(file, nullptr, nullptr, &written) ? fileTimeValue(written) : 0;
}

ErrorCode readBytesAt(const std::wstring& path, std::string& bytes, FileStamp& stamp, std::uint64_t limit) {
    bytes.clear();
    stamp = {};
    UniqueFile file = openForReading(path);
    if (!file) {
        ErrorCode error = GetLastError();
        stamp = stampOnDisk(path); // locked or refused is not gone
        return error ? error : ERROR_FILE_NOT_FOUND;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<std::uint64_t>(size.QuadPart) > limit) {
        // Too large to read is no passing state: known by size and time alone.
        stamp = stampOnDisk(path);
        stamp.hashed = stamp.present;
        return errorReadFault;
    }
    // Memory running out must not end the program: the file counts as not read.
    try {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        stamp = stampOnDisk(path);
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 24));
        if (!ReadFile(file.get(), bytes.data() + done, wanted, &read, nullptr) || read == 0) {
            ErrorCode error = GetLastError();
            bytes.clear();
            stamp = stampOnDisk(path);
            return error ? error : errorReadFault;
        }
        done += read;
    }
    stamp = stampOfBytes(lastWriteTimeOf(file.get()), bytes);
    return errorSuccess;
}

TextRead readTextSeen(DiskState& disk, const std::wstring& path, std::wstring& text) {
    text.clear();
    std::string bytes;
    FileStamp stamp;
    ErrorCode error = readBytesAt(path, bytes, stamp);
    disk.record(path, stamp);
    if (error != errorSuccess) {
        return {error, false};
    }
    return decodeTextFile(bytes, text);
}

FileStamp currentStamp(const DiskState& disk, const std::wstring& path, std::string* bytes) {
    FileStamp now = stampOnDisk(path);
    const FileStamp* last = disk.find(path);
    if (!now.present) {
        return now;
    }
    if (last && last->present && last->hashed && sameOnDisk(*last, now)) {
        return *last;
    }
    std::string read;
    readBytesAt(path, read, now, largestReadBytes);
    if (bytes) {
        *bytes = std::move(read);
    }
    return now;
}

ErrorCode writeIfChanged(DiskState& disk, const std::wstring& path, std::string_view bytes) {
    FileStamp now = stampOnDisk(path);
    if (disk.holds(path, now, bytes)) {
        return errorSuccess;
    }
    const FileStamp* last = disk.find(path);
    if (now.present && !(last && last->present && last->hashed && sameOnDisk(*last, now))) {
        std::string outside;
        FileStamp read;
        ErrorCode error = readBytesAt(path, outside, read, largestReadBytes);
        if (error != errorSuccess) {
            // Not read, so not written over (the save waits); one too large to
            // read is copied aside whole.
            if (error != errorReadFault || read.size <= largestReadBytes || keepOutsideCopy(path).empty()) {
                return error;
            }
        } else if (outside == bytes) {
            disk.record(path, read);
            return errorSuccess;
        } else if (compareStamps(last, read) != Outside::Unchanged && keepOutsideCopy(path).empty()) {
            return errorWriteFault; // the other version could not be kept: write nothing
        }
    }
    ErrorCode error = writeFileBytes(path, bytes);
    if (error == errorSuccess) {
        disk.record(path, stampOfBytes(stampOnDisk(path).writeTime, bytes));
    }
    return error;
}

std::wstring keepOutsideCopy(const std::wstring& path) {
    if (!isFile(path)) {
        return {};
    }
    std::size_t slash = path.rfind(L'\\');
    std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) {
        dot = path.size();
    }
    const std::wstring stem = path.substr(0, dot);
    const std::wstring extension = path.substr(dot);
    for (int n = 1; n < 1000; ++n) {
        std::wstring copy =
            stem + L".changed-elsewhere" + (n > 1 ? L"-" + std::to_wstring(n) : L"") + extension;
        if (copyNew(path, copy)) {
            return copy;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            return {};
        }
    }
    return {};
}

} // namespace Brisvane
