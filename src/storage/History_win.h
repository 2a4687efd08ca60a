#pragma once
// Earlier versions on disk: "history\<guid>\<entry>\" in the data folder holds
// note.json and text.rtf of a note as they stood. Nothing there is read as a
// note; a file there the program cannot read is skipped and never written over.
#include <cstdint>
#include <string>
#include <vector>

#include "storage/History.h"

namespace Brisvane {

struct VersionEntry {
    std::wstring name;      // the entry's folder name
    std::uint64_t time = 0; // UTC milliseconds
    std::uint64_t size = 0; // both files together
};

std::wstring historyFolder(const std::wstring& folder, const std::wstring& noteGuid);
// This machine's name, as entry names carry it.
std::wstring machineName();
// UTC milliseconds since 1970 now.
std::uint64_t utcMillisecondsNow();

// The versions of a note, newest first; folders not named as entries skipped.
std::vector<VersionEntry> listVersions(const std::wstring& folder, const std::wstring& noteGuid);

// Keeps both files as a new entry at `now`, unless the newest entry holds
// the same bytes already. True when the content is kept (now or before).
bool keepVersion(const std::wstring& folder, const std::wstring& noteGuid, const std::string& jsonBytes,
                 const std::string& textBytes, std::uint64_t now);

// Reads an entry's files; a missing file gives empty bytes. False when
// neither could be read.
bool readVersion(const std::wstring& folder, const std::wstring& noteGuid, const std::wstring& entry,
                 std::string& jsonBytes, std::string& textBytes);

// Removes the history of a note (purged with its trash entry).
void removeHistory(const std::wstring& folder, const std::wstring& noteGuid, bool recycle);

// Thinning over every note's history in slices, so that neither start-up nor a
// save waits for it: each step works until its deadline (a GetTickCount64 value).
class HistoryThinning {
public:
    void start(const std::wstring& folder, const ThinningLimits& limits);
    bool running() const { return running_; }
    // False once the pass is over.
    bool step(std::uint64_t deadline);

private:
    std::wstring folder_;
    ThinningLimits limits_;
    bool running_ = false;
    std::vector<std::wstring> notes_; // still to list
    std::vector<StoredVersion> versions_;
    std::vector<std::wstring> entries_; // the folder of each version
    std::size_t sized_ = 0;             // versions whose size is known
    std::vector<std::wstring> doomed_;  // still to remove
    bool decided_ = false;
};

} // namespace Brisvane
