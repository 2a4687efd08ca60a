#include "note/BodyFile_win.h"

#include <algorithm>
#include <cstring>
#include <new>

#include <richedit.h>

#include "storage/DiskState_win.h"
#include "storage/File_win.h"
#include "storage/RtfCheck.h"
#include "storage/TextCodec.h"

namespace Brisvane {

namespace {

// What is left to stream of the bytes read.
struct MemoryCookie {
    const char* next;
    size_t remaining;
};

DWORD CALLBACK memoryChunk(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG* transferred) {
    auto* source = reinterpret_cast<MemoryCookie*>(cookie);
    size_t count = std::min(static_cast<size_t>(std::max(requested, 0L)), source->remaining);
    std::memcpy(buffer, source->next, count);
    source->next += count;
    source->remaining -= count;
    *transferred = static_cast<LONG>(count);
    return 0;
}

// The whole file, or nothing when it cannot be opened or read or is too large.
bool readWholeFile(const std::wstring& path, std::string& bytes, bool& missing, FileStamp& seen) {
    seen = stampOnDisk(path);
    UniqueFile file = openForReading(path);
    if (!file) {
        DWORD error = GetLastError();
        missing = (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) && !pathExists(path);
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
        static_cast<unsigned long long>(size.QuadPart) > maxBodyFileBytes) {
        seen.hashed = seen.present; // too large is no passing state: seen as it is
        return false;
    }
    // Memory running out must not end the program: the body counts as not read.
    try {
        bytes.resize(static_cast<size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        DWORD wanted = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
        if (!ReadFile(file.get(), bytes.data() + done, wanted, &read, nullptr) || read == 0) {
            return false;
        }
        done += read;
    }
    seen = stampOfBytes(lastWriteTimeOf(file.get()), bytes);
    return true;
}

bool streamRtf(HWND body, const std::string& bytes) {
    MemoryCookie cookie{bytes.data(), bytes.size()};
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&cookie);
    stream.pfnCallback = memoryChunk;
    SendMessageW(body, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return stream.dwError == 0;
}

// An RTF file of this size or more that shows no text at all was not
// understood: what the control writes for an empty body is far smaller.
constexpr size_t emptyRtfLimit = 1024;

} // namespace

BodyLoad loadBodyFile(HWND body, const std::wstring& path, FileStamp* seen) {
    std::string bytes;
    bool missing = false;
    FileStamp stamp;
    bool read = readWholeFile(path, bytes, missing, stamp);
    if (seen) {
        *seen = stamp;
    }
    if (!read) {
        return missing ? BodyLoad::Missing : BodyLoad::Unreadable;
    }
    if (bytes.empty()) {
        streamRtf(body, bytes); // an empty file is an empty body
        return BodyLoad::Loaded;
    }
    if (!looksLikeRtf(bytes)) {
        std::wstring text;
        if (decodeTextFile(bytes, text) != errorSuccess || text.empty()) {
            return BodyLoad::Unreadable;
        }
        SETTEXTEX setText{ST_DEFAULT, 1200};
        SendMessageW(body, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&setText),
                     reinterpret_cast<LPARAM>(text.c_str()));
        return BodyLoad::PlainText;
    }
    bool streamed = streamRtf(body, bytes);
    if (!streamed || !isCompleteRtf(bytes) ||
        (bytes.size() >= emptyRtfLimit && GetWindowTextLengthW(body) == 0)) {
        return BodyLoad::Unreadable;
    }
    return BodyLoad::Loaded;
}

} // namespace Brisvane
