#include "storage/History_win.h"

#include <algorithm>

#include <windows.h>

#include "storage/DiskState_win.h"
#include "storage/File_win.h"
#include "storage/RtfCheck.h"

namespace Brisvane {

namespace {

constexpr wchar_t jsonFile[] = L"note.json";
constexpr wchar_t textFile[] = L"text.rtf";

std::uint64_t sizeOf(const WIN32_FIND_DATAW& entry) {
    return (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

template <typename Visit> void eachEntry(const std::wstring& pattern, Visit visit) {
    WIN32_FIND_DATAW entry;
    if (UniqueFind find = findFirstFile(pattern, entry)) {
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") {
                visit(entry, name);
            }
        } while (findNextFile(find.get(), entry));
    }
}

std::uint64_t entrySize(const std::wstring& entryFolder) {
    std::uint64_t size = 0;
    eachEntry(entryFolder + L"\\*", [&](const WIN32_FIND_DATAW& file, const std::wstring&) {
        if (!(file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            size += sizeOf(file);
        }
    });
    return size;
}

// Bytes of a file in an entry; a missing one is empty, an unreadable one fails.
bool readPart(const std::wstring& path, std::string& bytes) {
    FileStamp stamp;
    const ErrorCode error = readBytesAt(path, bytes, stamp, maxBodyFileBytes);
    return error == errorSuccess || !stamp.present;
}

} // namespace

std::wstring historyFolder(const std::wstring& folder, const std::wstring& noteGuid) {
    return folder + L"history\\" + noteGuid + L"\\";
}

std::wstring machineName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &length) ? safeMachineName(std::wstring(name, length))
                                           : safeMachineName(L"");
}

std::uint64_t utcMillisecondsNow() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr std::uint64_t ticksTo1970 = 116444736000000000ull;
    return ticks > ticksTo1970 ? (ticks - ticksTo1970) / 10'000 : 0;
}

std::vector<VersionEntry> listVersions(const std::wstring& folder, const std::wstring& noteGuid) {
    std::vector<VersionEntry> versions;
    const std::wstring base = historyFolder(folder, noteGuid);
    eachEntry(base + L"*", [&](const WIN32_FIND_DATAW& entry, const std::wstring& name) {
        const std::optional<std::uint64_t> time = versionEntryTime(name);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && time) {
            versions.push_back({name, *time, entrySize(base + name)});
        }
    });
    std::sort(versions.begin(), versions.end(), [](const VersionEntry& a, const VersionEntry& b) {
        return a.time != b.time ? a.time > b.time : a.name > b.name;
    });
    return versions;
}

bool keepVersion(const std::wstring& folder, const std::wstring& noteGuid, const std::string& jsonBytes,
                 const std::string& textBytes, std::uint64_t now) {
    const std::vector<VersionEntry> versions = listVersions(folder, noteGuid);
    if (!versions.empty()) {
        std::string json, text;
        if (readVersion(folder, noteGuid, versions.front().name, json, text) && json == jsonBytes &&
            text == textBytes) {
            return true; // the newest version holds these very bytes
        }
    }
    const std::wstring base = historyFolder(folder, noteGuid);
    const std::wstring machine = machineName();
    createFolder(folder + L"history");
    createFolder(base);
    // A name taken (two versions in one millisecond) moves on by one.
    for (std::uint64_t at = now; at < now + 100; ++at) {
        const std::wstring entry = base + versionEntryName(at, machine);
        if (pathExists(entry) || !createFolder(entry)) {
            continue;
        }
        const bool written =
            (jsonBytes.empty() || writeFileBytes(entry + L"\\" + jsonFile, jsonBytes) == errorSuccess) &&
            (textBytes.empty() || writeFileBytes(entry + L"\\" + textFile, textBytes) == errorSuccess);
        if (!written) {
            removeFolderTree(entry);
        }
        return written;
    }
    return false;
}

bool readVersion(const std::wstring& folder, const std::wstring& noteGuid, const std::wstring& entry,
                 std::string& jsonBytes, std::string& textBytes) {
    const std::wstring base = historyFolder(folder, noteGuid) + entry + L"\\";
    const bool json = readPart(base + jsonFile, jsonBytes);
    const bool text = readPart(base + textFile, textBytes);
    return json && text && !(jsonBytes.empty() && textBytes.empty());
}

void removeHistory(const std::wstring& folder, const std::wstring& noteGuid, bool recycle) {
    const std::wstring path = folder + L"history\\" + noteGuid;
    if (!pathExists(path)) {
        return;
    }
    if (recycle ? recycleTree(path) : removeFolderTree(path)) {
        removeFolder(folder + L"history"); // only when it is empty now
    }
}

void HistoryThinning::start(const std::wstring& folder, const ThinningLimits& limits) {
    folder_ = folder;
    limits_ = limits;
    notes_.clear();
    versions_.clear();
    entries_.clear();
    doomed_.clear();
    sized_ = 0;
    decided_ = false;
    eachEntry(folder + L"history\\*", [&](const WIN32_FIND_DATAW& entry, const std::wstring& name) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            notes_.push_back(name);
        }
    });
    running_ = true;
}

bool HistoryThinning::step(std::uint64_t deadline) {
    if (!running_) {
        return false;
    }
    // Each pass of the loops is one listing or one entry: a slice ends soon
    // after its deadline however long a note's history is.
    while (sized_ < versions_.size() && GetTickCount64() < deadline) {
        versions_[sized_].size = entrySize(entries_[sized_]);
        ++sized_;
    }
    while (sized_ == versions_.size() && !notes_.empty() && GetTickCount64() < deadline) {
        const std::wstring note = notes_.back();
        notes_.pop_back();
        const std::wstring base = historyFolder(folder_, note);
        eachEntry(base + L"*", [&](const WIN32_FIND_DATAW& entry, const std::wstring& name) {
            const std::optional<std::uint64_t> time = versionEntryTime(name);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && time) {
                versions_.push_back({note, *time, 0, 0});
                entries_.push_back(base + name);
            }
        });
    }
    if (sized_ < versions_.size() || !notes_.empty()) {
        return true;
    }
    if (!decided_) {
        for (std::size_t index : versionsToRemove(versions_, limits_)) {
            doomed_.push_back(entries_[index]);
        }
        versions_.clear();
        entries_.clear();
        sized_ = 0;
        decided_ = true;
        running_ = !doomed_.empty();
        return running_; // the removals get slices of their own
    }
    while (!doomed_.empty() && GetTickCount64() < deadline) {
        removeFolderTree(doomed_.back());
        doomed_.pop_back();
    }
    running_ = !doomed_.empty();
    return running_;
}

} // namespace Brisvane
