#pragma once
// What the program last saw of each file it read or wrote: size, last-write
// time and a hash of the bytes. A save compares against it to write only what
// changed, and the folder watch compares against it to tell changes made
// elsewhere from the program's own writes.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace Brisvane {

struct FileStamp {
    bool present = false;
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0; // the file system's last-write time, as it counts
    std::uint64_t hash = 0;
    bool hashed = false; // a stamp taken without reading the bytes carries no hash
};

std::uint64_t hashBytes(std::string_view bytes);

// A stamp of bytes just read or written.
FileStamp stampOfBytes(std::uint64_t writeTime, std::string_view bytes);

// Same presence, size and last-write time: nobody wrote the file in between.
bool sameOnDisk(const FileStamp& a, const FileStamp& b);

class DiskState {
public:
    void record(const std::wstring& path, const FileStamp& stamp);
    // Every path below `folder` (a folder path ending in "\") is forgotten.
    void forgetFolder(std::wstring_view folder);
    // Null when the program never read nor wrote the file.
    const FileStamp* find(const std::wstring& path) const;
    // True when `now`, taken from the disk, is what was last seen and that
    // held exactly `bytes`: writing them would change nothing.
    bool holds(const std::wstring& path, const FileStamp& now, std::string_view bytes) const;
    // True when the file was seen and `now` shows it rewritten, created or
    // removed since by someone else.
    bool changedSince(const std::wstring& path, const FileStamp& now) const;

private:
    std::map<std::wstring, FileStamp> seen_;
};

} // namespace Brisvane
