#include "storage/FolderWatch_win.h"

namespace Brisvane {

namespace {

constexpr DWORD bufferBytes = 64 * 1024; // the most a network share passes at once
constexpr DWORD watchedChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                 FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;

} // namespace

FolderWatch::~FolderWatch() {
    stop();
}

bool FolderWatch::start(const std::wstring& folder, HWND window, UINT_PTR timerId, UINT collectMilliseconds) {
    stop();
    std::wstring path = folder;
    if (!path.empty() && path.back() == L'\\') {
        path.pop_back();
    }
    if (!event_) {
        event_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    folder_.reset(CreateFileW(path.c_str(), FILE_LIST_DIRECTORY,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    if (!event_ || !folder_) {
        folder_.reset();
        return false;
    }
    window_ = window;
    timerId_ = timerId;
    collectMilliseconds_ = collectMilliseconds;
    buffer_ = std::make_unique<DWORD[]>(bufferBytes / sizeof(DWORD));
    if (!issue()) {
        folder_.reset();
        return false;
    }
    return true;
}

void FolderWatch::stop() {
    if (folder_ && pending_) {
        // The cancelled read still completes and must end before the buffer goes.
        CancelIoEx(folder_.get(), &overlapped_);
        DWORD bytes = 0;
        GetOverlappedResult(folder_.get(), &overlapped_, &bytes, TRUE);
        pending_ = false;
    }
    folder_.reset();
    if (timerArmed_ && window_) {
        KillTimer(window_, timerId_);
    }
    timerArmed_ = false;
    changes_ = {};
}

void FolderWatch::poll() {
    if (!folder_ || !pending_ || WaitForSingleObject(event_.get(), 0) != WAIT_OBJECT_0) {
        return;
    }
    DWORD bytes = 0;
    pending_ = false;
    if (!GetOverlappedResult(folder_.get(), &overlapped_, &bytes, FALSE)) {
        bytes = 0; // lost: look at everything
    }
    collect(bytes);
    if (!issue()) {
        // The folder went away; what is left is looked at once.
        changes_.everything = true;
        armTimer();
        folder_.reset();
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

bool FolderWatch::issue() {
    overlapped_ = {};
    overlapped_.hEvent = event_.get();
    pending_ = ReadDirectoryChangesW(folder_.get(), buffer_.get(), bufferBytes, TRUE, watchedChanges, nullptr,
                                     &overlapped_, nullptr) != 0;
    return pending_;
}

void FolderWatch::collect(DWORD bytes) {
    if (bytes == 0) {
        changes_.everything = true; // too many changes at once: look at everything
    } else {
        const auto* base = reinterpret_cast<const BYTE*>(buffer_.get());
        for (DWORD offset = 0;;) {
            const auto* entry = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(base + offset);
            changes_.add(classifyChangedPath(
                std::wstring_view(entry->FileName, entry->FileNameLength / sizeof(WCHAR))));
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
