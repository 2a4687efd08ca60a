#include "storage/DiskState.h"

namespace Brisvane {

std::uint64_t hashBytes(std::string_view bytes) {
    // FNV-1a: enough to tell versions of one file apart, and fast.
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : bytes) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}

FileStamp stampOfBytes(std::uint64_t writeTime, std::string_view bytes) {
    return {true, bytes.size(), writeTime, hashBytes(bytes), true};
}

bool sameOnDisk(const FileStamp& a, const FileStamp& b) {
    if (a.present != b.present) {
        return false;
    }
    return !a.present || (a.size == b.size && a.writeTime == b.writeTime);
}

void DiskState::record(const std::wstring& path, const FileStamp& stamp) {
    seen_[path] = stamp;
}

void DiskState::forgetFolder(std::wstring_view folder) {
    auto it = seen_.lower_bound(std::wstring(folder));
    while (it != seen_.end() && std::wstring_view(it->first).substr(0, folder.size()) == folder) {
        it = seen_.erase(it);
    }
}

const FileStamp* DiskState::find(const std::wstring& path) const {
    auto it = seen_.find(path);
    return it == seen_.end() ? nullptr : &it->second;
}

bool DiskState::holds(const std::wstring& path, const FileStamp& now, std::string_view bytes) const {
    const FileStamp* last = find(path);
    return last && last->present && last->hashed && sameOnDisk(*last, now) && last->size == bytes.size() &&
           last->hash == hashBytes(bytes);
}

bool DiskState::changedSince(const std::wstring& path, const FileStamp& now) const {
    const FileStamp* last = find(path);
    return last && !sameOnDisk(*last, now);
}

} // namespace Brisvane
