#include "storage/FolderWatch_win.h"

#include <algorithm>

namespace Brisvane {

namespace {

constexpr DWORD treeBufferBytes = 64 * 1024;  // the most a network share passes at once
constexpr DWORD folderBufferBytes = 4 * 1024; // a note folder holds a few files
constexpr DWORD watchedChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                 FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

} // namespace

FolderWatch::~FolderWatch() {
    stop();
}

std::unique_ptr<FolderWatch::Watch> FolderWatch::open(const std::wstring& relative, DWORD bufferBytes) {
    auto watch = std::make_unique<Watch>();
    watch->relative = relative;
    std::wstring path = root_ + relative;
    if (!path.empty() && path.back() == L'\\') {
        path.pop_back();
    }
    watch->folder.reset(
        CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    if (!watch->folder) {
        return nullptr;
    }
    watch->bufferBytes = bufferBytes;
    watch->buffer = std::make_unique<DWORD[]>(bufferBytes / sizeof(DWORD));
    if (!issue(*watch)) {
        return nullptr;
    }
    return watch;
}

bool FolderWatch::start(const std::wstring& folder, HWND window, UINT_PTR timerId, UINT collectMilliseconds) {
    stop();
    if (!event_) {
        event_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    if (!event_) {
        return false;
    }
    root_ = folder;
    window_ = window;
    timerId_ = timerId;
    collectMilliseconds_ = collectMilliseconds;
    std::unique_ptr<Watch> tree = open(L"", treeBufferBytes);
    if (!tree) {
        return false;
    }
    watches_.push_back(std::move(tree));
    return true;
}

void FolderWatch::cancel(Watch& watch) {
    if (watch.folder && watch.pending) {
        // The cancelled read still completes and must end before the buffer goes.
        CancelIoEx(watch.folder.get(), &watch.overlapped);
        DWORD bytes = 0;
        GetOverlappedResult(watch.folder.get(), &watch.overlapped, &bytes, TRUE);
        watch.pending = false;
    }
    watch.folder.reset();
}

void FolderWatch::stop() {
    for (auto& watch : watches_) {
        cancel(*watch);
    }
    watches_.clear();
    if (timerArmed_ && window_) {
        KillTimer(window_, timerId_);
    }
    timerArmed_ = false;
    changes_ = {};
}

bool FolderWatch::watchFolder(const std::wstring& relative) {
    if (!watching() || watchesFolder(relative)) {
        return watching();
    }
    std::unique_ptr<Watch> watch = open(relative, folderBufferBytes);
    if (!watch) {
        return false;
    }
    watches_.push_back(std::move(watch));
    // Issuing a read resets the shared event: what completed meanwhile is taken now.
    poll();
    return true;
}

void FolderWatch::unwatchFolder(const std::wstring& relative) {
    auto it = std::find_if(watches_.begin() + (watches_.empty() ? 0 : 1), watches_.end(),
                           [&](const auto& watch) { return watch->relative == relative; });
    if (it != watches_.end()) {
        cancel(**it);
        watches_.erase(it);
    }
}

bool FolderWatch::watchesFolder(const std::wstring& relative) const {
    return std::any_of(watches_.begin(), watches_.end(), [&](const auto& watch) {
        return !watch->relative.empty() && watch->relative == relative;
    });
}

std::vector<std::wstring> FolderWatch::extraFolders() const {
    std::vector<std::wstring> folders;
    for (const auto& watch : watches_) {
        if (!watch->relative.empty()) {
            folders.push_back(watch->relative);
        }
    }
    return folders;
}

void FolderWatch::poll() {
    if (!watching()) {
        return;
    }
    ResetEvent(event_.get());
    // Every read shares the one event and a new read resets it: look at all
    // until a pass finds none completed.
    for (bool found = true; found;) {
        found = false;
        for (std::size_t i = 0; i < watches_.size();) {
            Watch& watch = *watches_[i];
            if (!watch.pending || !HasOverlappedIoCompleted(&watch.overlapped)) {
                ++i;
                continue;
            }
            found = true;
            DWORD bytes = 0;
            watch.pending = false;
            if (!GetOverlappedResult(watch.folder.get(), &watch.overlapped, &bytes, FALSE)) {
                bytes = 0; // lost: look at everything there
            }
            collect(watch, bytes);
            if (issue(watch)) {
                ++i;
                continue;
            }
            // The folder went away: what is left is looked at once.
            collect(watch, 0);
            watch.folder.reset();
            if (i == 0) {
                stop();
                changes_.everything = true;
                armTimer();
                return;
            }
            watches_.erase(watches_.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
}

FolderChanges FolderWatch::take() {
    if (timerArmed_ && window_) {
        KillTimer(window_, timerId_);
    }
    timerArmed_ = false;
    FolderChanges taken = std::move(changes_);
    changes_ = {};
    return taken;
}

void FolderWatch::postpone(const FolderChanges& changes) {
    changes_.settings = changes_.settings || changes.settings;
    changes_.everything = changes_.everything || changes.everything;
    for (const std::wstring& guid : changes.notes) {
        changes_.add({ChangedPath::Note, guid});
    }
    armTimer();
}

void FolderWatch::postpone(const std::wstring& noteGuid) {
    changes_.add({ChangedPath::Note, noteGuid});
    armTimer();
}

void FolderWatch::postponeSettings() {
    changes_.settings = true;
    armTimer();
}

bool FolderWatch::issue(Watch& watch) {
    watch.overlapped = {};
    watch.overlapped.hEvent = event_.get();
    watch.pending = ReadDirectoryChangesW(watch.folder.get(), watch.buffer.get(), watch.bufferBytes,
                                          watch.relative.empty(), watchedChanges, nullptr, &watch.overlapped,
                                          nullptr) != 0;
    return watch.pending;
}

void FolderWatch::collect(const Watch& watch, DWORD bytes) {
    const std::wstring prefix = watch.relative.empty() ? std::wstring() : watch.relative + L"\\";
    if (bytes == 0) {
        // Too many changes at once: look at everything the folder holds.
        changes_.add(watch.relative.empty() ? ChangedPath{ChangedPath::Everything, {}}
                                            : classifyChangedPath(watch.relative));
    } else {
        const auto* base = reinterpret_cast<const BYTE*>(watch.buffer.get());
        for (DWORD offset = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(base + offset);
            changes_.add(classifyChangedPath(
                prefix + std::wstring(entry->FileName, entry->FileNameLength / sizeof(WCHAR))));
            if (entry->NextEntryOffset == 0 || offset + entry->NextEntryOffset >= bytes) {
                break;
            }
            offset += entry->NextEntryOffset;
        }
    }
    if (!changes_.empty()) {
        armTimer();
    }
}

void FolderWatch::armTimer() {
    if (!timerArmed_ && window_) {
        timerArmed_ = SetTimer(window_, timerId_, collectMilliseconds_, nullptr) != 0;
    }
}

} // namespace Brisvane
